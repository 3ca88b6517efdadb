#pragma once
// The window's hold on its serial line. Every byte of the exchange goes out here: a port
// found closed is opened again from its link first, so a replugged adapter works without a
// restart. A line that fails (the driver closes it) or a port that can't be opened ends the
// attempt: the rest of its bytes are dropped until the event loop's next turn, and the user
// is told once, when control is back in the event loop.
#include <QObject>
#include <QString>
#include <string>

namespace configurator {

class TForm1;

inline constexpr const char* kPortErrorText =
    "Could not connect to serial port.\r\nPlease, check settings and try again.";
inline constexpr const char* kLineLostText =
    "The serial line is lost.\r\nPlease, check the cable and try again.";
inline constexpr const char* kLineLostStatus = "Line lost";

class PortLink : public QObject {
 public:
  // Binds itself to the form's SerialPort1 (its line-lost event).
  explicit PortLink(TForm1& form);

  // The bytes one by one on the line, the port opened first when closed.
  void Write(const std::string& bytes);
  // Opens the port when closed; false when it stays closed (the caller tells the user).
  bool Connect();
  // The end of the start-up: in direct mode a port that can't be opened is told (in SMS
  // mode the modem's start-up routines tell it).
  void StartupCheck();
  // The port error's text: kPortErrorText, then a line naming the device and why the last
  // attempt to open it failed.
  std::string PortErrorText() const;

 private:
  enum class Notice { None, PortError, LineLost };
  void LineLost();
  // Drops the rest of this turn's bytes and tells.
  void Fail(Notice what);
  // Tells the user once control is back in the event loop.
  void Tell(Notice what);
  void EndOfTurn();
  void Opened();

  TForm1& f_;
  bool failed_ = false;     // this turn's bytes are dropped
  bool scheduled_ = false;  // the end of the turn is queued
  Notice pending_ = Notice::None;
  std::string pendingPortError_;  // the port error's text, taken when the attempt failed
  bool statusLost_ = false;       // Status shows the loss; statusBefore_ is its earlier text
  QString statusBefore_;
};

}  // namespace configurator
