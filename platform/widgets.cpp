#include "platform/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

#include <unordered_map>
#include <utility>


namespace platform {

RadioGroup::RadioGroup(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {
  grid_ = new QGridLayout(this);
  grid_->setContentsMargins(6, 4, 6, 4);
  grid_->setSpacing(2);
  exclusive_ = new QButtonGroup(this);
  exclusive_->setExclusive(true);
  setAccessibleName(caption.simplified());
}

void RadioGroup::SetItems(const QStringList& items, int columns) {
  for (auto* b : buttons_) delete b;
  buttons_.clear();
  index_ = -1;
  if (columns < 1) columns = 1;
  const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
  for (int i = 0; i < items.size(); ++i) {
    auto* b = new QRadioButton(items[i], this);
    b->setObjectName(objectName() + QString::number(i));
    b->setAccessibleName(items[i].simplified());
    grid_->addWidget(b, rows ? i % rows : 0, rows ? i / rows : 0);
    // The group keeps one item checked (a checked item can't be unticked) and unticks the
    // item before; whatever checks an item makes it the selected one.
    exclusive_->addButton(b, i);
    connect(b, &QAbstractButton::toggled, this, [this, i](bool checked) {
      if (checked) Checked(i);
    });
    buttons_.push_back(b);
  }
}

void RadioGroup::Checked(int index) {
  if (index == index_) return;
  index_ = index;
  emit Click();
}

void RadioGroup::SetItemIndex(int index) {
  if (index < -1) index = -1;
  if (index >= Count()) index = Count() - 1;
  if (index >= 0) {
    buttons_[static_cast<std::size_t>(index)]->setChecked(true);  // raises Click when it changes
    return;
  }
  // No item: the exclusive group would keep its checked item, so it steps aside meanwhile.
  exclusive_->setExclusive(false);
  for (auto* b : buttons_) b->setChecked(false);
  exclusive_->setExclusive(true);
  Checked(-1);
}

Edit::Edit(QWidget* parent) : QLineEdit(parent) {
  setValidator(new Limit(this));
  // A text put in by code shows its beginning; a user's edit keeps its cursor.
  connect(this, &QLineEdit::textChanged, this, [this] {
    if (before_ < 0) setCursorPosition(0);
  });
}

template <class F>
void Edit::UserEdit(F&& base) {
  const qsizetype outer = before_;
  before_ = text().size();
  base();
  before_ = outer;
}

void Edit::keyPressEvent(QKeyEvent* event) {
  UserEdit([&] { QLineEdit::keyPressEvent(event); });
}
void Edit::inputMethodEvent(QInputMethodEvent* event) {
  UserEdit([&] { QLineEdit::inputMethodEvent(event); });
}
void Edit::dropEvent(QDropEvent* event) {
  UserEdit([&] { QLineEdit::dropEvent(event); });
}
void Edit::contextMenuEvent(QContextMenuEvent* event) {
  UserEdit([&] { QLineEdit::contextMenuEvent(event); });  // its Paste runs inside
}

QValidator::State Edit::Limit::validate(QString& input, int&) const {
  const int max = edit_->max_;
  if (max <= 0 || edit_->before_ < 0) return Acceptable;  // code may put any text
  // The user may not make the text longer than the limit, nor longer than it already is.
  if (input.size() > max && input.size() > edit_->before_) return Invalid;
  return Acceptable;
}

void ShowBeginningOfSetTexts(QLineEdit* edit) {
  // setText clears the modified flag, every edit of the user sets it.
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] {
    if (!edit->isModified()) edit->setCursorPosition(0);
  });
}

namespace {
// The controls named after a label, kept as a child of the label; the label finds them
// through the table of links below, which each entry leaves with its label.
class NameFollowers : public QObject {
 public:
  explicit NameFollowers(QLabel* label) : QObject(label), label_(label) { Links()[label] = this; }
  ~NameFollowers() override { Links().erase(label_); }
  static NameFollowers* Of(QLabel* label, bool make) {
    const auto it = Links().find(label);
    if (it != Links().end()) return it->second;
    return make ? new NameFollowers(label) : nullptr;
  }
  void Add(QWidget* control, const QString& suffix) { followers_.emplace_back(control, suffix); }
  void Rename(const QString& caption) const {
    for (const auto& [control, suffix] : followers_)
      if (control) control->setAccessibleName(Joined(caption, suffix));
  }
  static QString Joined(const QString& caption, const QString& suffix) {
    return suffix.isEmpty() ? caption.simplified() : (caption + ' ' + suffix).simplified();
  }

 private:
  // Never destroyed, so that a label that outlives the program's statics still leaves it.
  static std::unordered_map<const QLabel*, NameFollowers*>& Links() {
    static auto* links = new std::unordered_map<const QLabel*, NameFollowers*>;
    return *links;
  }
  const QLabel* label_;  // the key of this entry only; never followed
  std::vector<std::pair<QPointer<QWidget>, QString>> followers_;
};

QString CaptionOf(const QWidget* w) {
  if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
  if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
  if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
  return {};
}
}  // namespace

void SetCaption(QWidget* control, const QString& caption) {
  if (auto* b = qobject_cast<QAbstractButton*>(control)) {
    b->setText(caption);
  } else if (auto* g = qobject_cast<QGroupBox*>(control)) {
    g->setTitle(caption);
  } else if (auto* l = qobject_cast<QLabel*>(control)) {
    l->setText(caption);
    if (const auto* followers = NameFollowers::Of(l, false)) followers->Rename(caption);
    // A label without a name of its own is read by its text, which the toolkit follows.
    if (l->accessibleName().isEmpty()) return;
  }
  control->setAccessibleName(caption.simplified());
}

void NameAfter(QWidget* control, QLabel* label, const QString& suffix) {
  NameFollowers::Of(label, true)->Add(control, suffix);
  control->setAccessibleName(NameFollowers::Joined(label->text(), suffix));
}

void NameByCaptions(QWidget* root) {
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QGroupBox*>(w)) continue;
    const QString caption = CaptionOf(w).simplified();
    // Without a caption the control keeps the name it was given; without a name the toolkit
    // reads the caption itself.
    if (caption.isEmpty() || w->accessibleName().isEmpty() || w->accessibleName() == caption)
      continue;
    if (w->accessibleDescription().isEmpty()) w->setAccessibleDescription(w->accessibleName());
    w->setAccessibleName(caption);
  }
}

namespace {
// Watches its widget for the first Show event, then runs its function and goes.
class FirstShow : public QObject {
 public:
  FirstShow(QWidget* w, std::function<void()> apply) : QObject(w), apply_(std::move(apply)) {
    w->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && apply_) {
      watched->removeEventFilter(this);
      const auto apply = std::move(apply_);
      apply_ = nullptr;
      deleteLater();
      apply();
    }
    return false;
  }

 private:
  std::function<void()> apply_;
};
}  // namespace

void OnFirstShow(QWidget* w, std::function<void()> apply) { new FirstShow(w, std::move(apply)); }

void SetTrackPosition(QSlider* slider, int position) {
  QSignalBlocker block(slider);
  slider->setValue(position);
}

namespace {
bool g_busy = false;
std::function<void()>& BeepHookFn() {
  static std::function<void()> hook;
  return hook;
}
}  // namespace

void SetBusyCursor(bool busy) {
  if (busy == g_busy) return;
  g_busy = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

bool BusyCursor() { return g_busy; }

void Beep() {
  if (auto& h = BeepHookFn()) return h();
  QApplication::beep();
}

void SetBeepHook(std::function<void()> hook) { BeepHookFn() = std::move(hook); }

}  // namespace platform
