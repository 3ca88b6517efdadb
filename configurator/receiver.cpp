// The window's side of the exchange: what it reads from the widgets for each input, and the
// exchange's outputs put on the line and into the widgets. Also the receive handler and the
// one-second tick, which only hand their input on.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/core/pdu.h"
#include "configurator/portlink.h"
#include "platform/controls.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"
#include "serial/displayunit.h"
#include "serial/serialdrv.h"

namespace configurator {

namespace {
class WindowExchangeIO final : public ExchangeIO {
 public:
  explicit WindowExchangeIO(TForm1& f) : f_(f) {}

  void Write(const std::string& bytes) override { f_.SerialLink->Write(bytes); }
  bool Connect() override { return f_.SerialLink->Connect(); }
  void SerialTimeSetting() override { f_.SerialTimeSetting(); }
  void PollingDelay(int ms) override { f_.SerialPort1->SetPollingDelay(ms); }
  void InputTimeout(unsigned ms) override { f_.SerialPort1->SetInputTimeout(ms); }

  void MemoOut(Memo where, const std::string& text) override {
    switch (where) {
      case Memo::InputLine: serial::MemoWriteLn(f_.InputMemo(), text); break;
      case Memo::InputChars:
        for (char c : text) serial::MemoWrite(f_.InputMemo(), std::string(1, c));
        break;
      case Memo::InputPutChar:
        for (char c : text) serial::MemoPutChar(f_.InputMemo(), c);
        break;
      case Memo::InputAtTop: serial::MemoWriteAtTop(f_.InputMemo(), text); break;
      case Memo::InputAppend:
        ui::SetMemoText(f_.MemoSMSinput, ui::MemoText(f_.MemoSMSinput) + text);
        break;
      case Memo::InputClear: f_.MemoSMSinput->clear(); break;
      case Memo::SentLine: serial::MemoWriteLn(f_.SentMemo(), text); break;
    }
  }
  void FieldText(Field field, const std::string& text) override {
    switch (field) {
      case Field::Manufacturer: platform::SetText(f_.Hersteller, text); break;
      case Field::Model: platform::SetText(f_.ModelIDCode, text); break;
      case Field::Clock: platform::SetText(f_.DateTime, text); break;
    }
  }
  void PageEdit(const TEditValue& v) override { platform::SetText(f_.ReplyEdit(v), v.value); }
  void StatusColour(int r, int g, int b) override { platform::SetBase(f_.Status, QColor(r, g, b)); }
  void StatusText(const std::string& text) override { platform::SetText(f_.Status, text); }
  void BusyCursor(bool busy) override { platform::SetBusyCursor(busy); }
  void Message(Box box) override {
    switch (box) {
      case Box::PortError:
        platform::MessageBox(f_.SerialLink->PortErrorText(), "Error", platform::Icon::Stop);
        break;
      case Box::NotConnected:
        platform::MessageBox("Cell Phone not connected", "Error", platform::Icon::Stop);
        break;
      case Box::PhoneNumber:
        platform::MessageBox(kPhoneNumberErrorText, kPhoneNumberErrorCaption, platform::Icon::Stop);
        break;
      case Box::TooLong:
        platform::MessageBox(
            "The command does not fit in one SMS (at most 160 characters "
            "with its line end).\r\nIt was not sent.",
            "Error", platform::Icon::Warning);
        break;
    }
  }

 private:
  TForm1& f_;
};
}  // namespace

std::unique_ptr<ExchangeIO> TForm1::MakeExchangeIO(TForm1& form) {
  return std::make_unique<WindowExchangeIO>(form);
}

ExchangeContext TForm1::Context() const {
  ExchangeContext c;
  c.smsMode = SMSmode && SMSmode->isChecked();
  c.skipCRLF = SkipCRLFcb && SkipCRLFcb->isChecked();
  c.page = PageControl1 ? PageControl1->currentIndex() : 0;
  c.now = Now();
  if (TKnumber) c.tkNumber = platform::Text(TKnumber);
  if (Hersteller) c.manufacturer = platform::Text(Hersteller);
  if (TimeZone) c.timeZone = platform::Text(TimeZone);
  return c;
}

void TForm1::SerialPort1ReceiveData(serial::TSerialPortDriver*, const void* DataPtr,
                                    std::uint32_t DataSize) {
  const std::string raw = DataPtr && DataSize
                              ? std::string(static_cast<const char*>(DataPtr), DataSize)
                              : std::string();
  Exchange.Chunk(raw, Context());
}

void TForm1::Timer1Timer() { Exchange.Tick(Context()); }

}  // namespace configurator
