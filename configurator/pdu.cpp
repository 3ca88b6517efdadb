// The window's side of the SMS PDU codec: the phone number check and its message box.
#include "configurator/core/exchange.h"
#include "configurator/form.h"
#include "configurator/core/pdu.h"
#include "platform/messagebox.h"

namespace configurator {

void TForm1::TextToPDUConversion(const std::string& text, const std::string& phone,
                                 std::string& pdu) {
  // A number other than an optional "+" and digits would shift every field after it.
  if (!ValidPhoneNumber(phone) || !TextToPDU(text, phone, pdu))
    platform::MessageBox(kPhoneNumberErrorText, kPhoneNumberErrorCaption, platform::Icon::Stop);
}

void TForm1::PDUTextConversion(const std::string& pdu, std::string& text) {
  configurator::PDUTextConversion(pdu, text);
}

}  // namespace configurator
