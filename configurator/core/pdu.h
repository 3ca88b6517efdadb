#pragma once
// SMS PDU codec of the configurator: SMS-SUBMIT encoding of a command for "AT+CMGS=" and
// decoding of the PDUs the phone lists for "AT+CMGL=". Texts are Windows-1252 bytes; a PDU
// is a text of upper-case hexadecimal digits, two per octet.
#include <array>
#include <cstdint>
#include <string>

namespace configurator {

// The message box shown when the device's phone number is empty.
inline constexpr const char* kPhoneNumberErrorText =
    "Phone Number Error.\r\nPlease, check settings and try again.";
inline constexpr const char* kPhoneNumberErrorCaption = "Error";

// The end mark that the encoder puts after the PDU's digits; it never goes on the wire.
inline constexpr char kPduEndMark = '\0';

// Value of one hexadecimal digit: the position in "0123456789ABCDEF", or -1 for any other
// character (lower-case digits included).
int HexDigitValue(char c);

// The octet at 1-based text position p: value(p) * 16 + value(p + 1). A digit that is not
// there (beyond the text) counts as -1 too; use PduHasOctetAt to tell.
int PduOctetAt(const std::string& pdu, std::size_t p);
bool PduHasOctetAt(const std::string& pdu, std::size_t p);

// Septet value 0..127 to the Windows-1252 character shown for it (default alphabet with the
// configurator's exceptions: characters the code page lacks become blank, the escape septet
// a blank, 0x5B..0x5F an asterisk).
extern const std::array<char, 128> kGsmToText;
inline char GsmToText(unsigned septet) { return kGsmToText[septet & 0x7F]; }

// Packs the characters of `text` (each taken as its code AND 0x7F, no alphabet translation)
// eight into seven octets, and returns the octets as upper-case hexadecimal digits.
std::string PackSeptets(const std::string& text);

// Unpacks at most `count` septets from the hexadecimal user data (inverse of PackSeptets),
// returning the raw septet values 0..127 as characters. Stops early when no whole octet
// (two characters) remains. A non-digit character gives a wrong octet, never a crash.
std::string UnpackSeptets(const std::string& hex, int count);

// UnpackSeptets with every septet looked up in kGsmToText.
std::string DecodeSeptets(const std::string& hex, int count);

// Builds the SMS-SUBMIT PDU of `text` to `phone`: "001130", the address, "00000B", the
// user-data length (text length mod 256), the packed text and the end mark.
// Returns false and leaves `pdu` unchanged when `phone` is empty (the caller shows the
// phone number error box).
bool TextToPDU(const std::string& text, const std::string& phone, std::string& pdu);

// The number announced after "AT+CMGS=": (length of the PDU with its end mark div 2) - 1,
// i.e. the octets after the service-centre length octet. -1 for an empty PDU.
int CmgsLength(const std::string& pduWithEndMark);

// Outcome of decoding one listed PDU.
enum class PduStatus {
  Rejected,    // digits 3, 4, 7, 8 add up to 0 or less, or the header is cut short
  NoUserData,  // user-data length 0 or less
  Decoded,     // `text` holds the message (possibly cut short where the PDU ends)
};

struct DecodedPdu {
  PduStatus status = PduStatus::Rejected;
  bool submit = false;            // first octet AND 3 nonzero: SMS-SUBMIT layout
  std::size_t firstOctetPos = 0;  // 1-based text positions of the header fields found
  std::size_t addressLengthPos = 0;
  std::size_t udlPos = 0;
  int addressDigits = 0;  // N, the address length octet
  int udl = 0;            // announced user-data length in septets
  std::string text;       // decoded text; empty unless status is Decoded
};

// Decodes an SMS-DELIVER (or SMS-SUBMIT) PDU as the configurator reads listed messages:
// every message as default-alphabet septets. Reads only characters the PDU holds.
DecodedPdu DecodePdu(const std::string& pdu);

// The receiver's form: `text` becomes the message when the PDU is decoded, and is left as it
// was when the PDU is rejected or announces no user data. Returns true when decoded.
bool PDUTextConversion(const std::string& pdu, std::string& text);

}  // namespace configurator
