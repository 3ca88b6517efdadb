#pragma once
// Makers of the controls both windows are built of, the binders that run a control's
// handler inside Guard, and an edit's base colour. A maker names the control for tests
// (object name) and for screen readers (accessible name); where a control goes is the
// caller's: a geometry or a layout. Texts cross between widgets and Windows-1252 bytes here.
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QString>

#include <functional>
#include <string>
#include <utility>

#include "platform/messagebox.h"

namespace platform {

// Name of member n of a numbered family: the stem and the number ("SetOut3").
QString Nr(const char* stem, int n);

// Gives a new control its object name and accessible name.
template <class W>
W* Named(W* w, const QString& name, const QString& accessible) {
  w->setObjectName(name);
  w->setAccessibleName(accessible);
  return w;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& accessible);
QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption,
                     const QString& accessible);
// An edit whose texts set by code show their beginning.
QLineEdit* MakeEdit(QWidget* parent, const QString& name, const QString& accessible,
                    const QString& text);
// A label, the caption of `buddy` when there is one.
QLabel* MakeLabel(QWidget* parent, const QString& text, QWidget* buddy = nullptr);

// The text of an edit as Windows-1252 bytes; empty for a missing edit.
std::string Text(const QLineEdit* edit);
void SetText(QLineEdit* edit, const std::string& bytes);

// The background colour of an edit, memo or list, with the text colour that reads on it
// (TextOn), so that a ground the program paints keeps its text readable under a light and a
// dark desktop theme alike. A disabled control keeps the theme's colour for disabled text.
void SetBase(QWidget* w, const QColor& colour);
QColor Base(const QWidget* w);

// The font the windows' fixed geometry is laid out for (DejaVu Sans 9 pt). A control placed by
// pixels carries it, so that a larger desktop font does not cut its texts; larger text comes
// from the desktop's scale, which grows the geometry with it.
QFont LayoutFont();

// The relative luminance of a colour, 0 (black) to 1 (white), and the contrast ratio of two
// colours, 1 to 21, as the web's accessibility guidelines define them.
double Luminance(const QColor& colour);
double ContrastRatio(const QColor& a, const QColor& b);
// Whether white text stands out more on `ground` than black text does.
bool IsDark(const QColor& ground);
// The text colour for a ground: black on a light one, white on a dark one.
QColor TextOn(const QColor& ground);

// Runs `handler` inside Guard on each `signal` of `sender`; `context` ends the connection
// when it goes.
template <class Sender, class Signal>
void OnSignal(QObject* context, Sender* sender, Signal signal, std::function<void()> handler) {
  QObject::connect(sender, signal, context,
                   [handler = std::move(handler)] { Guard([&] { handler(); }); });
}

// The same for a button's click, a box's real change of state and a bar's real change of
// position.
void OnClick(QObject* context, QAbstractButton* button, std::function<void()> handler);
void OnToggle(QObject* context, QAbstractButton* box, std::function<void()> handler);
void OnChange(QObject* context, QAbstractSlider* bar, std::function<void()> handler);

}  // namespace platform
