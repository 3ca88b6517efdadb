// The GSM modem's AT functions: the routines of the start-up sequence and the clock query,
// the poll of the message store, the modem clock, the raw AT and band panels.
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"
#include "serial/DisplayUnit.h"
#include "serial/SerialDrv.h"

namespace configurator {

namespace {
constexpr const char* kPortErrorText =
    "Could not connect to serial port.\r\nPlease, check settings and try again.";

enum class Echo { Line, Append, PutChar };
}  // namespace

bool TForm1::ConnectForModem() {
  if (SerialPort1->Connect()) return true;
  if (!PortErrorShown) {
    PortErrorShown = true;
    platform::MessageBox(kPortErrorText, "Error", platform::Icon::Stop);
  }
  return false;
}

namespace {
// The pattern that every AT routine follows. `refresh` updates the routine's field from the
// text parsed last; it runs also when the modem is busy or the port stays closed (after the
// port error has been shown once).
void RunATRoutine(TForm1& f, const std::string& bytes, Echo echo, bool& answerFlag,
                  const std::function<void()>& refresh, bool& portErrorShown,
                  const std::function<bool()>& connect) {
  const bool shownBefore = portErrorShown;
  if (!connect()) {
    if (shownBefore && refresh) refresh();
    return;
  }
  if (!f.ModemBusy || f.ModemInitActive) {
    f.ModemBusy = true;
    platform::SetBusyCursor(true);
    for (char c : bytes) f.SerialPort1->SendByte(static_cast<std::uint8_t>(c));
    switch (echo) {
      case Echo::Line: serial::MemoWriteLn(f.InputMemo(), bytes); break;
      case Echo::Append:
        for (char c : bytes) serial::MemoWrite(f.InputMemo(), std::string(1, c));
        break;
      case Echo::PutChar:
        for (char c : bytes) serial::MemoPutChar(f.InputMemo(), c);
        break;
    }
    f.SendCR();
    answerFlag = true;
  }
  if (refresh) refresh();
}
}  // namespace

void TForm1::GetHersteller() {
  RunATRoutine(*this, "AT+CGMI", Echo::Line, CGMIPending,
               [this] { ui::SetText(Hersteller, ManufacturerText); }, PortErrorShown,
               [this] { return ConnectForModem(); });
}

void TForm1::GetCharSetClick() {
  RunATRoutine(*this, "AT+CSCS?", Echo::Line, CSCSPending, nullptr, PortErrorShown,
               [this] { return ConnectForModem(); });
}

void TForm1::GetModel() {
  RunATRoutine(*this, "AT+CGMM", Echo::Line, CGMMPending, nullptr, PortErrorShown,
               [this] { return ConnectForModem(); });
}

void TForm1::SetCMEE() {
  RunATRoutine(*this, "AT+CMEE=2", Echo::Append, CMEEPending, nullptr, PortErrorShown,
               [this] { return ConnectForModem(); });
}

void TForm1::SetCMGF() {
  RunATRoutine(*this, "\n\rAT+CMGF=0", Echo::PutChar, CMGFPending, nullptr, PortErrorShown,
               [this] { return ConnectForModem(); });
}

void TForm1::SetCMGL1() {
  RunATRoutine(*this, "\n\rAT+CMGL=1", Echo::PutChar, CMGL1Pending, nullptr, PortErrorShown,
               [this] { return ConnectForModem(); });
}

void TForm1::GetDateTime() {
  bool sent = false;
  // The field is refreshed as for the other routines: not when the port error is first shown.
  RunATRoutine(*this, "AT+CCLK?", Echo::Line, sent, [this] { ui::SetText(DateTime, ClockText); },
               PortErrorShown, [this] { return ConnectForModem(); });
  if (sent) {
    CCLKPending = true;
    ClockQueryPending = false;
  }
}

void TForm1::SendCMGL(const std::string& command) {
  PromptPending = false;
  SubmitSent = false;
  if (ModemBusy) return;
  ModemBusy = true;
  platform::SetBusyCursor(true);
  SendStrings(command, 9);
  SendCR();
  SerialTimeSetting();
  platform::SetBusyCursor(false);
  ModemBusy = false;
}

void TForm1::SyncModemClick() {
  Clear();
  if (!SMSModeOn) return;
  if (!ConnectForModem()) return;
  if (ModemBusy && !ModemInitActive) return;
  ModemBusy = true;
  platform::SetBusyCursor(true);
  std::string date, time;
  BuildDateTimeStrings(Now(), date, time);
  std::string line = "AT+CCLK=\"" + date + time;
  std::size_t count = 27;
  if (ui::Text(Hersteller).substr(0, 7) != "SIEMENS") {
    line += ui::Text(TimeZone).substr(0, 3);
    count = 30;
  }
  line += "\"";
  SendStrings(line, static_cast<int>(std::min(count, line.size())));
  serial::MemoWriteLn(SentMemo(), line);
  SendCR();
  ClockQueryPending = true;
  ModemBusy = false;
  platform::SetBusyCursor(false);
}

void TForm1::RunRawAT(const std::string& text, bool clearSentMemo) {
  if (clearSentMemo) MemoS->clear();
  SkipCRLFState = SkipCRLFcb->isChecked();
  RawATMode = true;
  MemoSMSinput->clear();
  SendSMS(text);
}

void TForm1::ctrlZbtnClick() {
  RunRawAT(std::string(1, '\x1A'), false);
  platform::SetBusyCursor(false);
}

void TForm1::bandClick(int n) { RunRawAT("  AT#BND=" + std::to_string(n), true); }
void TForm1::SupportedBandClick() { RunRawAT("  AT#BND=?", true); }
void TForm1::CurrentBandClick() { RunRawAT("  AT#BND?", true); }
void TForm1::SqualityClick() { RunRawAT("  AT+CSQ", true); }

void TForm1::ATcmdOpenClick() {
  if (!PanelAT->isHidden()) {
    PanelAT->setVisible(false);
    platform::SetCaption(ATcmdOpen, "AT Command enable");
  } else {
    PanelAT->setVisible(true);
    PanelBand->setVisible(false);
    platform::SetCaption(ATcmdOpen, "AT Command disable");
    platform::SetCaption(GSMbandOpen, "GSM Band enable");
  }
}

void TForm1::GSMbandOpenClick() {
  if (!PanelBand->isHidden()) {
    PanelBand->setVisible(false);
    platform::SetCaption(GSMbandOpen, "GSM Band enable");
  } else {
    PanelBand->setVisible(true);
    PanelAT->setVisible(false);
    platform::SetCaption(GSMbandOpen, "GSM Band disable");
    platform::SetCaption(ATcmdOpen, "AT Command enable");
  }
}

void TForm1::ReadAllParameterClick() {
  if (!SMSmode->isChecked()) return;
  PhoneNotConnected = false;
  ModemInitStep = 0;
  ModemInitActive = true;
}

}  // namespace configurator
