#include "platform/controls.h"

#include <QPalette>

#include <algorithm>
#include <cmath>

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

std::string Text(const QLineEdit* edit) { return edit ? ToCp1252(edit->text()) : std::string(); }

void SetText(QLineEdit* edit, const std::string& bytes) {
  if (edit) edit->setText(FromCp1252(bytes));
}

void SetBase(QWidget* w, const QColor& colour) {
  if (!w) return;
  QPalette p = w->palette();
  p.setColor(QPalette::Base, colour);
  for (auto group : {QPalette::Active, QPalette::Inactive})
    p.setColor(group, QPalette::Text, TextOn(colour));
  w->setPalette(p);
}

double Luminance(const QColor& colour) {
  auto linear = [](double v) {
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
         0.0722 * linear(colour.blueF());
}

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsDark(const QColor& ground) {
  return ContrastRatio(ground, Qt::white) > ContrastRatio(ground, Qt::black);
}

QColor TextOn(const QColor& ground) {
  return IsDark(ground) ? QColor(Qt::white) : QColor(Qt::black);
}

QFont LayoutFont() { return QFont(QStringLiteral("DejaVu Sans"), 9); }

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
