// The command road out (framed and sent by the exchange), the memo echo and the
// buttons below the pages.
#include <QCheckBox>
#include <QPlainTextEdit>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "platform/controls.h"
#include "platform/widgets.h"
#include "serial/displayunit.h"
#include "serial/serialdrv.h"

namespace configurator {

void TForm1::SerialTimeSetting() {
  SerialPort1->SetPollingDelay(4000);
  SerialPort1->SetInputTimeout(700);
  SerialPort1->SetOutputTimeout(1500);
}

void TForm1::Clear() {
  MemoSMSinput->clear();
  MemoS->clear();
  Exchange.Clear();
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

void TForm1::SendSMS(const std::string& command, Line line) {
  Exchange.Command(command, Context(), line);
}

void TForm1::ClearBtnClick() {
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
  SendSMS("  " + platform::Text(ATcmd), Line::RawAT);
}

}  // namespace configurator
