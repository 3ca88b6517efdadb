#pragma once
// The window's two message boxes: the plain message and the Yes/No/Cancel question.
#include <QPoint>
#include <string>

#include "platform/messagebox.h"

namespace monitor {

// A message box with the application title and OK.
inline void Tell(const std::string& text) { platform::MessageBox(text, std::string()); }

// The question box at (200, 200); true for Yes only.
inline bool Confirm(const std::string& question) {
  return platform::MessageBox(question, std::string(), platform::Icon::Question,
                              platform::Buttons::YesNoCancel,
                              QPoint(200, 200)) == platform::Answer::Yes;
}

}  // namespace monitor
