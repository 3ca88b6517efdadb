// The command road out: framing for direct mode, raw AT lines, and SMS submits through the
// GSM modem; the memo echo; the buttons below the pages.
#include <QCheckBox>
#include <QPlainTextEdit>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/pdu.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"
#include "serial/DisplayUnit.h"
#include "serial/SerialDrv.h"

namespace configurator {

namespace {
constexpr const char* kFramePrefix = "              SETUP:";  // 14 blanks and "SETUP:"
// One SMS of the default alphabet holds 160 characters.
constexpr std::size_t kMaxSmsText = 160;

std::string Filled(std::string command) {
  const std::string head = command.substr(0, 5);
  if ((head == "SETTX" || head == "GETTX") && command.size() < 48) command.resize(48, ' ');
  if ((head == "SETTI" || head == "GETTI") && command.size() < 23) command.resize(23, ' ');
  return command;
}
}  // namespace

void TForm1::SendStrings(const std::string& text, int count) {
  const std::size_t n = std::min<std::size_t>(text.size(), count < 0 ? 0 : count);
  for (std::size_t i = 0; i < n; ++i) SerialPort1->SendByte(static_cast<std::uint8_t>(text[i]));
}

void TForm1::SendCR() {
  const char cr = '\r';
  SerialPort1->SendData(&cr, 1);
}

void TForm1::SerialTimeSetting() {
  SerialPort1->SetPollingDelay(4000);
  SerialPort1->SetInputTimeout(700);
  SerialPort1->SetOutputTimeout(1500);
}

void TForm1::Clear() {
  MemoSMSinput->clear();
  MemoS->clear();
  ReplyReady = true;
  RawATMode = false;
}

void TForm1::DisplayInputSMS() { ui::SetMemoText(MemoSMSinput, "\r\n"); }

void TForm1::DisplayOnMemo(const std::string& echo) {
  DisplayInputSMS();
  MemoS->clear();
  serial::MemoWrite(SentMemo(), echo);
}

void TForm1::RunCommand(const std::string& command, const std::string& echo) {
  Clear();
  RunCommandNoClear(command, echo);
}

void TForm1::RunCommandNoClear(const std::string& command, const std::string& echo) {
  SendSMS(command);
  DisplayOnMemo(echo.empty() ? command : echo);
}

void TForm1::SendSMS(const std::string& command) {
  platform::SetBusyCursor(true);
  const std::string line = Filled(command) + "\r";

  if (!SMSmode->isChecked()) {
    if (!RawATMode) SendStrings(kFramePrefix, 20);
    SendStrings(line, static_cast<int>(line.size()));
    if (!RawATMode) {
      const char zero = '\0';
      SerialPort1->SendData(&zero, 1);
    }
    SerialTimeSetting();
    SerialPort1->SetPollingDelay(4000);
    return;
  }

  // SMS mode. A text that doesn't fit one SMS is refused before anything goes out.
  if (line.size() > kMaxSmsText) {
    platform::SetBusyCursor(false);
    platform::MessageBox("The command does not fit in one SMS (at most 160 characters "
                         "with its line end).\r\nIt was not sent.",
                         "Error", platform::Icon::Warning);
    return;
  }
  PollInhibit = true;
  if (ModemBusy) return;  // dropped; the poll inhibition lasts until the next chunk
  SubmitActive = true;
  PromptPending = false;
  SubmitSent = false;
  std::string pdu;
  TextToPDUConversion(line, ui::Text(TKnumber), pdu);
  if (pdu.empty()) {
    // No number to send to (the box has told the user): nothing goes to the modem.
    SubmitActive = false;
    PollInhibit = false;
    platform::SetBusyCursor(false);
    return;
  }
  ModemBusy = true;
  platform::SetBusyCursor(true);
  const std::string announce = "AT+CMGS=" + std::to_string(CmgsLength(pdu));
  SendStrings(announce, static_cast<int>(announce.size()));
  SendCR();
  PendingPDU = pdu;
  SerialTimeSetting();
  PromptPending = true;
}

void TForm1::ClearBtnClick() {
  SkipCRLFcb->setChecked(SkipCRLFState);
  platform::SetBusyCursor(false);
  MemoSMSinput->clear();
}

void TForm1::ConnectBtnClick() {
  MemoSMSinput->clear();
  MemoS->clear();
  SendSMS("  OK");
}

void TForm1::TestBtnClick() { SendSMS("  +EXIT"); }

void TForm1::SendATClick() {
  MemoSMSinput->clear();
  SkipCRLFState = SkipCRLFcb->isChecked();
  RawATMode = true;
  SendSMS("  " + ui::Text(ATcmd));
}

}  // namespace configurator
