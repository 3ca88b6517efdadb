// Everything that arrives on the serial line: the receive handler, the SMS listing, the PDU
// of an SMS under way, the modem's answers; and the one-second tick with its direct-mode
// page parse and its tail.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/replyparse.h"
#include "platform/widgets.h"
#include "serial/DisplayUnit.h"
#include "serial/SerialDrv.h"

namespace configurator {

void TForm1::SerialPort1ReceiveData(serial::TSerialPortDriver*, const void* DataPtr,
                                    std::uint32_t DataSize) {
  // 1.
  SerialTimeSetting();
  SerialPort1->SetPollingDelay(4000);
  // 2, 3.
  const std::string raw = DataPtr && DataSize
                              ? std::string(static_cast<const char*>(DataPtr), DataSize)
                              : std::string();
  ReplyText = ReplyTextFromChunk(raw);
  // 4.
  const std::string t = RemoveZeroBytes(raw);
  if (t.empty()) return;
  // 5, 6.
  PollInhibit = false;
  PollPending = false;
  ProcessSMSListing(raw);
  // 7.
  PhoneNotConnected = false;
  NoReplyTicks = 0;
  RunAnswerParsers(raw);
  // 8. Direct mode: the chunk is the device's reply.
  if (!SMSmode->isChecked()) {
    const bool skip = SkipCRLFcb->isChecked();
    if (!skip) SkipCRLFcb->setChecked(SkipCRLFState);
    const TDirectReply r = DirectModeReply(t, skip, RawATMode);
    ReplyText = r.replyText;
    RawATMode = r.rawATMode;
    ReplyReady = true;
  }
  // 9. Any chunk counts as the phone's prompt.
  if (PromptPending) {
    SendPendingPDU();
    PromptPending = false;
  }
  // 10. Any chunk counts as the submit's result.
  if (SubmitResultWait) {
    PollInhibit = false;
    SubmitSent = false;
    SubmitResultWait = false;
    if (SubmitActive) {
      SubmitActive = false;
      SerialTimeSetting();
      SerialPort1->SetInputTimeout(700);
    }
  }
  // 11.
  if (!PromptPending && !SubmitSent) {
    PollInhibit = false;
    ModemBusy = false;
  }
  // 12.
  DataArrived = true;
}

void TForm1::ProcessSMSListing(const std::string& raw) {
  SetStatusColour(0, 255, 0);
  const TSmsListing listing = FindListedSms(raw);
  if (listing.found) {
    if (SMSmode->isChecked()) {
      std::string text;
      PDUTextConversion(listing.pdu, text);
      MemoSMSinput->clear();
      serial::MemoWriteAtTop(InputMemo(), "\r\n" + text + "\r\n");
    }
    if (listing.hasIndex) {
      const std::string del = DeleteSmsCommand(listing.index);
      SendStrings(del, static_cast<int>(del.size()));
      SendCR();
    }
  }
  PollInhibit = false;
  SetStatusColour(255, 0, 0);
}

void TForm1::SendPDUChars(const std::string& pdu, int count) {
  const std::string chars = pdu.substr(0, count < 0 ? 0 : static_cast<std::size_t>(count));
  for (char c : chars) SerialPort1->SendByte(static_cast<std::uint8_t>(c));
  serial::MemoWriteLn(SentMemo(), chars);
}

void TForm1::SendPendingPDU() {
  PromptPending = false;
  SendPDUChars(PendingPDU, static_cast<int>(PendingPDU.size()) - 1);
  SerialPort1->SendByte(0x1A);
  SubmitSent = true;
  ModemBusy = false;
  platform::SetBusyCursor(false);
}

void TForm1::RunAnswerParsers(const std::string& raw) {
  if (CGMIPending) {
    const TAnswerParse r = ParseManufacturerReply(raw);
    if (r.done) {
      ManufacturerText = r.value;
      CGMIPending = false;
    }
  }
  if (CGMMPending) {
    const TAnswerParse r = ParseModelReply(raw);
    if (r.done) {
      ModelText = r.value;
      CGMMPending = false;
    }
  }
  if (CSCSPending && ParseCharsetReply(raw).done) CSCSPending = false;
  if (CCLKPending || CMGL1Pending) {
    const TAnswerParse r = ParseClockReply(raw);
    if (r.done) {
      ClockText = r.value;
      CCLKPending = false;
      CMGL1Pending = false;
    }
  }
  if (CMGFPending && ConsumeCMGFReply(raw)) CMGFPending = false;
  if (CMEEPending && ConsumeCMEEReply(raw)) CMEEPending = false;
}

void TForm1::ParseReplyForPage(int page, const std::string& s) {
  for (const TEditValue& v : ParsePageReply(page, s))
    ui::SetText(ReplyEdit(v), v.value);
}

void TForm1::Timer1Timer() {
  if (SMSmode->isChecked()) {
    SmsModeTick();
  } else if (!ReplyText.empty() && ReplyReady) {
    ParseReplyForPage(PageControl1->currentIndex(), ReplyText);
  }
  // Tail, both modes.
  if (ReplyReady && !ReplyText.empty()) {
    ui::SetMemoText(MemoSMSinput, ui::MemoText(MemoSMSinput) + ReplyText + "\r\n");
    ReplyReady = false;
  }
  if (DataArrived) {
    platform::SetBusyCursor(false);
    ReplyText.clear();
    DataArrived = false;
  }
}

}  // namespace configurator
