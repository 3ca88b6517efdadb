#include "configurator/portlink.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

#include "configurator/form.h"
#include "platform/controls.h"
#include "platform/core/cp1252.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"
#include "serial/serialdrv.h"

namespace configurator {

PortLink::PortLink(TForm1& form) : QObject(&form), f_(form) {
  f_.SerialPort1->OnLineLost = [this](serial::TSerialPortDriver*) { LineLost(); };
}

bool PortLink::Connect() {
  serial::TSerialPortDriver& port = *f_.SerialPort1;
  if (!port.Connected() && (failed_ || !port.Connect())) return false;
  Opened();
  return true;
}

void PortLink::Write(const std::string& bytes) {
  if (failed_) return;
  serial::TSerialPortDriver& port = *f_.SerialPort1;
  if (!Connect()) {
    // In SMS mode the modem routines tell a closed port, once per run.
    Fail(f_.SMSmode->isChecked() ? Notice::None : Notice::PortError);
    return;
  }
  for (char c : bytes) {
    port.SendByte(static_cast<std::uint8_t>(c));
    if (!port.Connected()) return;  // the line failed under this byte
  }
}

void PortLink::StartupCheck() {
  if (!f_.SMSmode->isChecked() && !f_.SerialPort1->Connected()) Tell(Notice::PortError);
}

std::string PortLink::PortErrorText() const {
  const std::string why = serial::OpenFailureLine(f_.SerialPort1->LastOpenFailure());
  if (why.empty()) return kPortErrorText;
  // Paths are the system's bytes; the box shows Windows-1252.
  return std::string(kPortErrorText) + "\r\n" + platform::ToCp1252(QString::fromLocal8Bit(why));
}

void PortLink::LineLost() {
  if (!statusLost_) statusBefore_ = f_.Status->text();
  statusLost_ = true;
  platform::SetText(f_.Status, std::string(kLineLostStatus));
  Fail(Notice::LineLost);
}

void PortLink::Fail(Notice what) {
  failed_ = true;
  Tell(what);
}

void PortLink::Tell(Notice what) {
  // A loss outweighs a port that could not be opened within the same turn.
  if (what == Notice::LineLost || pending_ == Notice::None) {
    pending_ = what;
    if (what == Notice::PortError) pendingPortError_ = PortErrorText();
  }
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(0, this, [this] { EndOfTurn(); });
}

void PortLink::EndOfTurn() {
  scheduled_ = false;
  const bool dropped = failed_;
  failed_ = false;
  const Notice what = pending_;
  pending_ = Notice::None;
  // Bytes were dropped: an answer awaited for them is given up, so that the modem's next
  // poll tries the port again rather than waiting for the answer time-out.
  if (dropped) f_.Exchange.LineLost();
  if (what == Notice::None) return;
  platform::SetBusyCursor(false);
  platform::MessageBox(what == Notice::LineLost ? std::string(kLineLostText) : pendingPortError_,
                       "Error", platform::Icon::Stop);
}

void PortLink::Opened() {
  if (!statusLost_) return;
  statusLost_ = false;
  f_.Status->setText(statusBefore_);
}

}  // namespace configurator
