#pragma once
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include <QPoint>

#include "platform/core/error.h"

namespace platform {

enum class Icon { None, Information, Warning, Stop, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct MessageRequest {
  std::string text;     // Windows-1252 bytes; "\r\n" breaks lines
  std::string caption;  // empty: the application title
  Icon icon = Icon::None;
  Buttons buttons = Buttons::Ok;
  std::optional<QPoint> position;  // top-left corner on the screen, else centred
};

// Shows a modal message box and returns the button pressed (closing it counts as Cancel,
// or as Ok when Ok is the only button). Timers keep firing while it is open.
Answer MessageBox(const MessageRequest& request);
inline Answer MessageBox(const std::string& text, const std::string& caption,
                         Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
                         std::optional<QPoint> position = std::nullopt) {
  return MessageBox(MessageRequest{text, caption, icon, buttons, position});
}

// Tests answer message boxes through a hook; an empty function restores the real boxes.
using MessageHook = std::function<Answer(const MessageRequest&)>;
void SetMessageHook(MessageHook hook);

// The application title, the caption of the error box.
void SetApplicationTitle(const std::string& title);
std::string ApplicationTitle();

// The application's error box: the message with a full stop appended, the title as
// caption, the stop icon and OK.
void ShowErrorBox(const std::string& message);

// Runs a handler; an exception it raises ends it and is shown in the error box,
// so that no exception crosses the event loop. Returns false when it raised.
template <class F>
bool Guard(F&& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    ShowErrorBox(e.what());
  } catch (...) {
    ShowErrorBox("Unknown error");
  }
  return false;
}

}  // namespace platform
