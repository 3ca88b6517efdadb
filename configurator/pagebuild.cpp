#include "configurator/pagebuild.h"

namespace configurator::ui {

namespace {
// Puts a new control in place.
template <class W>
W* Place(W* w, int x, int y, int width, int height) {
  w->setGeometry(x, y, width, height);
  return w;
}
}  // namespace

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& accessible, int x, int y, int w, int h) {
  return Place(platform::MakeButton(parent, name, caption, accessible), x, y, w, h);
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption,
                     const QString& accessible, int x, int y, int w, int h) {
  return Place(platform::MakeCheck(parent, name, caption, accessible), x, y, w, h);
}

QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& caption, int x, int y,
                     int w, int h) {
  auto* g = new QGroupBox(caption, parent);
  g->setObjectName(name);
  g->setGeometry(x, y, w, h);
  return g;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int w, int h,
                  Qt::Alignment align) {
  auto* l = platform::MakeLabel(parent, text);
  l->setAlignment(align);
  return Place(l, x, y, w, h);
}

QLineEdit* MakeShown(QWidget* parent, const QString& name, const QString& accessible,
                     const QString& text, int x, int y, int w, int h, Qt::Alignment align) {
  auto* e = Place(platform::MakeEdit(parent, name, accessible, text), x, y, w, h);
  e->setReadOnly(true);
  e->setAlignment(align);
  return e;
}

platform::Edit* MakeTyped(QWidget* parent, const QString& name, const QString& accessible,
                          const QString& text, int maxLength, int x, int y, int w, int h) {
  auto* e = Place(platform::Named(new platform::Edit(parent), name, accessible), x, y, w, h);
  e->SetMaxLength(maxLength);
  if (!text.isEmpty()) e->setText(text);  // a new edit is empty already
  return e;
}

QScrollBar* MakeBar(QWidget* parent, const QString& name, const QString& accessible,
                    const BarRange& range, int x, int y, int w, int h) {
  auto* b =
      Place(platform::Named(new QScrollBar(Qt::Horizontal, parent), name, accessible), x, y, w, h);
  b->setRange(range.min, range.max);
  b->setSingleStep(1);
  b->setPageStep(range.pageStep);
  b->setValue(range.position);
  return b;
}

QScrollBar* MakeFilterRow(QWidget* parent, const char* caption, const char* barName,
                          const char* editName, QLineEdit*& edit, int max, int y, int labelW,
                          int barW) {
  auto* label = MakeLabel(parent, caption, 10, y, labelW, 22);
  auto* bar = MakeBar(parent, barName, QString(caption).trimmed(), {0, max, 0, max >= 10 ? 10 : 1},
                      10 + labelW, y + 2, barW, 20);
  edit = MakeShown(parent, editName, QString(caption).trimmed() + " value", "0", 16 + labelW + barW,
                   y, 40, 24, Qt::AlignRight);
  label->setBuddy(bar);
  return bar;
}

void MakeFilterTwin(QObject* context, QWidget* page, const char* group, int x, int y,
                    const char* caption, const char* barName, const char* editName, int max,
                    const char* buttonName, const char* buttonCaption, QScrollBar*& bar,
                    QLineEdit*& edit, QPushButton*& button, std::function<void()> onChange,
                    std::function<void()> onClick) {
  QGroupBox* box = MakeGroup(page, group, "Timeout Filter", x, y, 340, 84);
  bar = MakeFilterRow(box, caption, barName, editName, edit, max, 20, 170, 110);
  button = MakeButton(box, buttonName, buttonCaption, QString(buttonCaption).trimmed(), 180, 50,
                      150, 27);
  platform::OnChange(context, bar, std::move(onChange));
  platform::OnClick(context, button, std::move(onClick));
}

}  // namespace configurator::ui
