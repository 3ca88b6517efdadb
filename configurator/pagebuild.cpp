#include "configurator/pagebuild.h"

namespace configurator::ui {

namespace {
// Names a new control for tests and screen readers and puts it in place.
template <class W>
W* Place(W* w, const QString& name, const QString& accessible, int x, int y, int width,
         int height) {
  w->setObjectName(name);
  w->setAccessibleName(accessible);
  w->setGeometry(x, y, width, height);
  return w;
}
}  // namespace

QString Nr(const char* stem, int n) { return QString("%1%2").arg(stem).arg(n); }

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& accessible, int x, int y, int w, int h) {
  return Place(new QPushButton(caption, parent), name, accessible, x, y, w, h);
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption,
                     const QString& accessible, int x, int y, int w, int h) {
  return Place(new QCheckBox(caption, parent), name, accessible, x, y, w, h);
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
  auto* l = new QLabel(text, parent);
  l->setAlignment(align);
  l->setGeometry(x, y, w, h);
  return l;
}

QLineEdit* MakeShown(QWidget* parent, const QString& name, const QString& accessible,
                     const QString& text, int x, int y, int w, int h, Qt::Alignment align) {
  auto* e = Place(new QLineEdit(text, parent), name, accessible, x, y, w, h);
  e->setReadOnly(true);
  e->setAlignment(align);
  platform::ShowBeginningOfSetTexts(e);
  return e;
}

platform::Edit* MakeTyped(QWidget* parent, const QString& name, const QString& accessible,
                          const QString& text, int maxLength, int x, int y, int w, int h) {
  auto* e = Place(new platform::Edit(parent), name, accessible, x, y, w, h);
  e->SetMaxLength(maxLength);
  e->setText(text);
  return e;
}

QScrollBar* MakeBar(QWidget* parent, const QString& name, const QString& accessible,
                    const BarRange& range, int x, int y, int w, int h) {
  auto* b = Place(new QScrollBar(Qt::Horizontal, parent), name, accessible, x, y, w, h);
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
  edit = MakeShown(parent, editName, QString(caption).trimmed() + " value", "0",
                   16 + labelW + barW, y, 40, 24, Qt::AlignRight);
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
  OnChange(context, bar, std::move(onChange));
  OnClick(context, button, std::move(onClick));
}

void OnClick(QObject* context, QAbstractButton* button, std::function<void()> handler) {
  OnSignal(context, button, &QAbstractButton::clicked, std::move(handler));
}

void OnToggle(QObject* context, QAbstractButton* box, std::function<void()> handler) {
  OnSignal(context, box, &QAbstractButton::toggled, std::move(handler));
}

void OnChange(QObject* context, QAbstractSlider* bar, std::function<void()> handler) {
  OnSignal(context, bar, &QAbstractSlider::valueChanged, std::move(handler));
}

}  // namespace configurator::ui
