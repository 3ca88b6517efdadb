#pragma once
#include <QGroupBox>
#include <QLineEdit>
#include <QStringList>
#include <QValidator>
#include <functional>
#include <string>
#include <vector>

class QRadioButton;
class QSlider;
class QGridLayout;

namespace platform {

// A titled group of radio buttons with one selected item (or none, -1).
// Setting the item from code raises Click only when it changes; the index clamps to -1..n-1.
class RadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  explicit RadioGroup(const QString& caption, QWidget* parent = nullptr);
  void SetItems(const QStringList& items, int columns = 1);
  int ItemIndex() const { return index_; }
  void SetItemIndex(int index);
  int Count() const { return static_cast<int>(buttons_.size()); }
  QRadioButton* Button(int i) const { return buttons_.at(static_cast<std::size_t>(i)); }

 signals:
  void Click();

 private:
  void Select(int index);
  std::vector<QRadioButton*> buttons_;
  QGridLayout* grid_ = nullptr;
  int index_ = -1;
};

// A line edit whose MaxLength limits what the user types, not what code puts in it
// (0 = no limit).
class Edit : public QLineEdit {
  Q_OBJECT
 public:
  explicit Edit(QWidget* parent = nullptr);
  void SetMaxLength(int n) { max_ = n; }
  int MaxLength() const { return max_; }

 protected:
  // User input arrives through these; each notes the length before the edit.
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  class Limit : public QValidator {
   public:
    explicit Limit(Edit* edit) : QValidator(edit), edit_(edit) {}
    State validate(QString& input, int& pos) const override;

   private:
    Edit* edit_;
  };
  template <class F>
  void UserEdit(F&& base);
  int max_ = 0;
  qsizetype before_ = -1;  // length before a user edit; -1 while code sets the text
};

// Sets a track bar's position without raising its change event.
void SetTrackPosition(QSlider* slider, int position);

// The hourglass cursor is a state, not a stack: on or off.
void SetBusyCursor(bool busy);
bool BusyCursor();

// The system's warning beep. Tests may count the beeps.
void Beep();
void SetBeepHook(std::function<void()> hook);

}  // namespace platform
