// The SMS-mode share of the one-second tick: the modem start-up sequence and its time-out,
// the timing of an SMS under way, the clock query, the Status colour, the polls of the
// message store and the daily query just after midnight.
#include <QLineEdit>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"
#include "serial/SerialDrv.h"

namespace configurator {

namespace {
constexpr int kNoReplyLimit = 99;
constexpr int kPollTicks = 20;
}  // namespace

void TForm1::RefreshModemFields() {
  ui::SetText(ModelIDCode, ModelText);
  ui::SetText(Hersteller, ManufacturerText);
  ui::SetText(DateTime, ClockText);
}

void TForm1::RunModemInitStep() {
  ModemBusy = false;
  switch (ModemInitStep) {
    case 1: GetHersteller(); break;
    case 2: GetCharSetClick(); break;
    case 3: GetModel(); break;
    case 4: SetCMEE(); break;
    case 5: SetCMGF(); break;
    case 6: SetCMGL1(); break;
    default: break;
  }
  RefreshModemFields();
}

void TForm1::SmsModeTick() {
  // 1. An SMS under way: its result is the next chunk.
  if (SubmitSent) {
    SerialTimeSetting();
    SerialPort1->SetInputTimeout(5200);
    SubmitResultWait = true;
  }
  // 2. One step of the start-up sequence per tick, each after the answer to the one before.
  if (ModemInitActive && !ModemBusy) {
    ++ModemInitStep;
    RunModemInitStep();
    if (ModemInitStep >= 7) {
      ModemInitActive = false;
      platform::SetBusyCursor(false);
      ModemBusy = false;
      Status->setText(" ");
    }
  }
  // 3.
  if (ClockQueryPending) GetDateTime();
  // 4.
  if (PhoneNotConnected)
    SetStatusColour(0, 0, 0);
  else if (ModemBusy)
    SetStatusColour(255, 0, 0);
  else
    SetStatusColour(0, 255, 0);
  // 5. Time-out of a silent phone.
  if (ModemInitActive && ++NoReplyTicks >= kNoReplyLimit) {
    ModemInitActive = false;
    NoReplyTicks = 0;
    const bool tell = !PhoneNotConnected;
    // The state is settled before the box opens: ticks keep running inside it.
    PhoneNotConnected = true;
    ModemBusy = false;
    platform::SetBusyCursor(false);
    SetStatusColour(0, 0, 0);
    if (tell) {
      platform::MessageBox("Cell Phone not connected", "Error", platform::Icon::Stop);
      return;
    }
  }
  // 6. Poll of the message store, AT+CMGL=1 and AT+CMGL=0 in turn.
  if (!ModemInitActive && !ModemBusy && !PollInhibit) {
    if (++PollTicks > kPollTicks * PollFactor) {
      PollPending = true;
      SetStatusColour(0, 255, 255);
      platform::SetBusyCursor(true);
      SendCMGL(PollToggle ? "AT+CMGL=0" : "AT+CMGL=1");
      PollTicks = 0;
      PollToggle = !PollToggle;
      ModemBusy = false;
      platform::SetBusyCursor(false);
      SetStatusColour(0, 255, 0);
    }
  }
  // 7. Midnight window: no polls from 00:00 to 00:02, one daily query at 00:02.
  const QTime now = Now().time();
  if (now.hour() == 0) {
    const int minute = now.minute();
    if (minute == 0 || minute == 1) {
      PollInhibit = true;
    } else if (minute == 2) {
      PollInhibit = true;
      if (!DailyQuerySent) {
        DailyQuerySent = true;
        SendSMS("GETMH");
      }
    } else if (minute == 3) {
      PollInhibit = false;
      DailyQuerySent = false;
    }
  }
}

}  // namespace configurator
