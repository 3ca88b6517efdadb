#include "platform/messagebox.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/core/cp1252.h"

namespace platform {
namespace {
MessageHook& Hook() {
  static MessageHook hook;
  return hook;
}
std::string& Title() {
  static std::string title;
  return title;
}
}  // namespace

void SetMessageHook(MessageHook hook) { Hook() = std::move(hook); }

void SetApplicationTitle(const std::string& title) {
  Title() = title;
  QApplication::setApplicationName(FromCp1252(title));
  QApplication::setApplicationDisplayName(FromCp1252(title));
}

std::string ApplicationTitle() { return Title(); }

Answer MessageBox(const MessageRequest& request) {
  MessageRequest r = request;
  if (r.caption.empty()) r.caption = Title();
  if (auto& h = Hook()) return h(r);

  QMessageBox box;
  box.setWindowTitle(FromCp1252(r.caption));
  QString text = FromCp1252(r.text);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  box.setText(text);
  switch (r.icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Stop: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
  }
  switch (r.buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  if (r.position) box.move(*r.position);
  const int pressed = box.exec();
  switch (pressed) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return r.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
  }
}

void ShowErrorBox(const std::string& message) {
  std::string text = message;
  if (text.empty() || text.back() != '.') text += '.';
  MessageBox(text, Title(), Icon::Stop, Buttons::Ok);
}

}  // namespace platform
