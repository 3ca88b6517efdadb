#pragma once
#include <QGroupBox>
#include <QLineEdit>
#include <QStringList>
#include <QValidator>
#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QLabel;
class QRadioButton;
class QSlider;
class QGridLayout;

namespace platform {

// A titled group of radio buttons with one selected item (or none, -1). An item is selected
// whichever way it gets checked: a click, the keyboard, an accessibility action or code.
// Exactly one item is checked (none at -1), and Click is raised once per change of the item;
// setting the item from code raises it only when it changes; the index clamps to -1..n-1.
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
  void Checked(int index);
  std::vector<QRadioButton*> buttons_;
  QButtonGroup* exclusive_ = nullptr;
  QGridLayout* grid_ = nullptr;
  int index_ = -1;
};

// A line edit whose MaxLength limits what the user types, not what code puts in it
// (0 = no limit). A text that code puts in shows its beginning.
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

// A one-line edit shows the beginning of every text that code puts in it (the cursor goes to
// its start); what the user types leaves the cursor where the typing put it.
void ShowBeginningOfSetTexts(QLineEdit* edit);

// Captions and accessible names. A control's accessible name is its caption (blanks
// simplified); a control without a caption of its own is named after its label.
// Sets the caption of a button, check box, label or group and its accessible name with it;
// the controls named after a label follow the label's new caption.
void SetCaption(QWidget* control, const QString& caption);
// Names `control` after `label`: the label's caption, then `suffix` when given, now and on
// every later SetCaption of the label.
void NameAfter(QWidget* control, QLabel* label, const QString& suffix = {});
// Makes every button and group under `root` that has a caption carry it as its accessible
// name; a name given before that differs from the caption becomes the control's accessible
// description, so nothing a reader said before is lost. Run once the window is built.
void NameByCaptions(QWidget* root);

// Runs `apply` once, when `w` is first shown, before it is painted: for what only the eye
// needs (a font of a page not opened yet), so that a start does not pay for it.
void OnFirstShow(QWidget* w, std::function<void()> apply);

// Sets a track bar's position without raising its change event.
void SetTrackPosition(QSlider* slider, int position);

// The hourglass cursor is a state, not a stack: on or off.
void SetBusyCursor(bool busy);
bool BusyCursor();

// The system's warning beep. Tests may count the beeps.
void Beep();
void SetBeepHook(std::function<void()> hook);

}  // namespace platform
