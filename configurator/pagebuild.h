#pragma once
// The platform's control makers with the geometry the pages place their controls at, and
// the rows the pages share. Each page passes its own sizes, names and accessible names.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QScrollBar>
#include <QString>

#include <functional>
#include <utility>

#include "platform/controls.h"
#include "platform/widgets.h"

namespace configurator::ui {

// A push button with its object name, caption, accessible name and geometry.
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& accessible, int x, int y, int w, int h);

// A check box with its object name, caption, accessible name and geometry.
QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption,
                     const QString& accessible, int x, int y, int w, int h);

// A group box with its object name, caption and geometry.
QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& caption, int x, int y,
                     int w, int h);

// A label. Left and vertically centred is a label's own alignment.
QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int w, int h,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);

// A read-only edit that shows a value. Left and vertically centred is an edit's own
// alignment.
QLineEdit* MakeShown(QWidget* parent, const QString& name, const QString& accessible,
                     const QString& text, int x, int y, int w, int h,
                     Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);

// An edit the user types into; `maxLength` limits typing only (0: no limit).
platform::Edit* MakeTyped(QWidget* parent, const QString& name, const QString& accessible,
                          const QString& text, int maxLength, int x, int y, int w, int h);

// Range, starting position and page step of a scroll bar.
struct BarRange {
  int min, max, position, pageStep;
};

// A horizontal scroll bar (single step 1).
QScrollBar* MakeBar(QWidget* parent, const QString& name, const QString& accessible,
                    const BarRange& range, int x, int y, int w, int h);

// One time-out filter row: its caption, its bar (0..max) and the edit that shows the value,
// "0" until the bar first moves.
QScrollBar* MakeFilterRow(QWidget* parent, const char* caption, const char* barName,
                          const char* editName, QLineEdit*& edit, int max, int y, int labelW,
                          int barW);

// A time-out filter alone on the page of its inputs: the group "Timeout Filter" at (x, y)
// with one filter row and its button, bound to their handlers.
void MakeFilterTwin(QObject* context, QWidget* page, const char* group, int x, int y,
                    const char* caption, const char* barName, const char* editName, int max,
                    const char* buttonName, const char* buttonCaption, QScrollBar*& bar,
                    QLineEdit*& edit, QPushButton*& button, std::function<void()> onChange,
                    std::function<void()> onClick);

}  // namespace configurator::ui
