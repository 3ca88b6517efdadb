#pragma once
// Small helpers the window's files share: the plain message box, the Yes/No/Cancel
// question, an edit's base colour, and a step that runs when a handler's scope ends.
#include <QColor>
#include <QPalette>
#include <QPoint>
#include <QWidget>
#include <string>
#include <utility>

#include "platform/messagebox.h"

namespace monitor {

// A message box with the application title and OK.
inline void Tell(const std::string& text) { platform::MessageBox(text, std::string()); }

// The question box at (200, 200); true for Yes only.
inline bool Confirm(const std::string& question) {
  return platform::MessageBox(question, std::string(), platform::Icon::Question,
                              platform::Buttons::YesNoCancel, QPoint(200, 200)) ==
         platform::Answer::Yes;
}

// The background colour of an edit or list.
inline void SetBase(QWidget* w, const QColor& colour) {
  QPalette p = w->palette();
  p.setColor(QPalette::Base, colour);
  w->setPalette(p);
}

// Runs at the end of a scope, also when an error ends the handler.
template <class F>
class AtExit {
 public:
  explicit AtExit(F f) : f_(std::move(f)) {}
  ~AtExit() { f_(); }
  AtExit(const AtExit&) = delete;
  AtExit& operator=(const AtExit&) = delete;

 private:
  F f_;
};

}  // namespace monitor
