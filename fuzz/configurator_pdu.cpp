// Fuzz target: the PDU decoder and the chunk parsers that feed it, on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "configurator/core/pdu.h"
#include "configurator/core/replyparse.h"

using namespace configurator;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string in(reinterpret_cast<const char*>(data), size);

  // The bytes as a PDU of their own.
  const DecodedPdu d = DecodePdu(in);
  if (d.status == PduStatus::Decoded &&
      (d.udl <= 0 || d.text.size() > static_cast<std::size_t>(d.udl)))
    __builtin_trap();

  // The bytes as a chunk from the phone: the listing, then its PDU, as the receiver does.
  const TSmsListing l = FindListedSms(in);
  if (l.found) {
    std::string text;
    PDUTextConversion(l.pdu, text);
    if (l.hasIndex && l.index < 0) __builtin_trap();
  }
  ParseManufacturerReply(in);
  ParseClockReply(in);
  ParseCharsetReply(in);
  ConsumeCMGFReply(in);
  ReplyTextFromChunk(in);
  const std::string t = RemoveZeroBytes(in);
  if (!t.empty()) {
    const TDirectReply r = DirectModeReply(t, size % 2 == 0, size % 3 == 0);
    for (Page page : {Page::Abonents, Page::ExternalSMS, Page::IntExtSMS, Page::GprsFtp})
      ParsePageReply(PageIndex(page), r.replyText);
  }

  // The bytes as a command text: what the encoder packs, the decoder gives back.
  if (size <= 255) {
    std::string pdu;
    if (!TextToPDU(in, "+4912345678", pdu)) __builtin_trap();
    std::string back;
    if (!in.empty()) {
      if (!PDUTextConversion(pdu, back) || back.size() != in.size()) __builtin_trap();
      for (std::size_t i = 0; i < size; ++i)
        if (back[i] != GsmToText(data[i] & 0x7F)) __builtin_trap();
    }
  }
  return 0;
}
