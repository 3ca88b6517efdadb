#include "platform/widgets.h"

#include <QApplication>
#include <QGridLayout>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>


namespace platform {

RadioGroup::RadioGroup(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {
  grid_ = new QGridLayout(this);
  grid_->setContentsMargins(6, 4, 6, 4);
  grid_->setSpacing(2);
  setAccessibleName(caption.trimmed());
}

void RadioGroup::SetItems(const QStringList& items, int columns) {
  for (auto* b : buttons_) delete b;
  buttons_.clear();
  index_ = -1;
  if (columns < 1) columns = 1;
  const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
  for (int i = 0; i < items.size(); ++i) {
    auto* b = new QRadioButton(items[i], this);
    b->setAutoExclusive(false);  // the group keeps the one selection itself
    b->setObjectName(objectName() + QString::number(i));
    b->setAccessibleName(items[i]);
    grid_->addWidget(b, rows ? i % rows : 0, rows ? i / rows : 0);
    connect(b, &QRadioButton::clicked, this, [this, i] {
      Select(i);  // a click on the selected item leaves it selected
    });
    buttons_.push_back(b);
  }
}

void RadioGroup::Select(int index) {
  const bool changed = index != index_;
  index_ = index;
  for (int i = 0; i < Count(); ++i) {
    QSignalBlocker block(buttons_[static_cast<std::size_t>(i)]);
    buttons_[static_cast<std::size_t>(i)]->setChecked(i == index_);
  }
  if (changed) emit Click();
}

void RadioGroup::SetItemIndex(int index) {
  if (index < -1) index = -1;
  if (index >= Count()) index = Count() - 1;
  Select(index);
}

Edit::Edit(QWidget* parent) : QLineEdit(parent) { setValidator(new Limit(this)); }

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
