// The window's side of the SMS PDU codec. The exchange core encodes the commands it sends
// by SMS itself.
#include "configurator/core/pdu.h"
#include "configurator/form.h"

namespace configurator {

void TForm1::PDUTextConversion(const std::string& pdu, std::string& text) {
  configurator::PDUTextConversion(pdu, text);
}

}  // namespace configurator
