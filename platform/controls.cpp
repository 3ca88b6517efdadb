#include "platform/controls.h"

#include <QPalette>

#include "platform/core/cp1252.h"
#include "platform/widgets.h"

namespace platform {

QString Nr(const char* stem, int n) { return QString::fromUtf8(stem) + QString::number(n); }

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& accessible) {
  return Named(new QPushButton(caption, parent), name, accessible);
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption,
                     const QString& accessible) {
  return Named(new QCheckBox(caption, parent), name, accessible);
}

QLineEdit* MakeEdit(QWidget* parent, const QString& name, const QString& accessible,
                    const QString& text) {
  auto* e = Named(new QLineEdit(text, parent), name, accessible);
  ShowBeginningOfSetTexts(e);
  return e;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, QWidget* buddy) {
  auto* l = new QLabel(text, parent);
  if (buddy) l->setBuddy(buddy);
  return l;
}

std::string Text(const QLineEdit* edit) {
  return edit ? ToCp1252(edit->text()) : std::string();
}

void SetText(QLineEdit* edit, const std::string& bytes) {
  if (edit) edit->setText(FromCp1252(bytes));
}

void SetBase(QWidget* w, const QColor& colour) {
  if (!w) return;
  QPalette p = w->palette();
  p.setColor(QPalette::Base, colour);
  w->setPalette(p);
}

QColor Base(const QWidget* w) { return w ? w->palette().color(QPalette::Base) : QColor(); }

void OnClick(QObject* context, QAbstractButton* button, std::function<void()> handler) {
  OnSignal(context, button, &QAbstractButton::clicked, std::move(handler));
}

void OnToggle(QObject* context, QAbstractButton* box, std::function<void()> handler) {
  OnSignal(context, box, &QAbstractButton::toggled, std::move(handler));
}

void OnChange(QObject* context, QAbstractSlider* bar, std::function<void()> handler) {
  OnSignal(context, bar, &QAbstractSlider::valueChanged, std::move(handler));
}

}  // namespace platform
