// The window's side of the GSM modem: the modem clock and the raw AT and band panels. The AT
// routines of the start-up sequence and the clock query run in the exchange core.
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "platform/widgets.h"

namespace configurator {

void TForm1::SyncModemClick() {
  Clear();
  if (!SMSModeOn) return;
  std::string date, time;
  BuildDateTimeStrings(Now(), date, time);
  Exchange.SendClockLine(SerialExchange::ClockLine::Modem, Context(), date + time);
}

void TForm1::RunRawAT(const std::string& text, bool clearSentMemo) {
  if (clearSentMemo) MemoS->clear();
  MemoSMSinput->clear();
  SendSMS(text, Line::RawAT);
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

void TForm1::ReadAllParameterClick() { Exchange.ReadAllParameter(SMSmode->isChecked()); }

}  // namespace configurator
