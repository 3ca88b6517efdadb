// A small SMS PDU codec for the simulators and tests (3GPP TS 23.040 layouts, 7-bit
// default alphabet of TS 23.038). It is written apart from the configurator's own codec
// so that tests check the product against an independent reading of the standard.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testsupport::sms {

// Service-centre time stamp of an SMS-DELIVER (local fields, zone in quarter hours).
struct TimeStamp {
  int year = 26, month = 1, day = 5, hour = 9, minute = 7, second = 3;
  int zoneQuarters = 8;  // +02:00
};

// GSM default alphabet <-> Windows-1252. A septet whose character the code page lacks
// (the Greek capitals, the escape) maps to '?'; a byte without a septet maps to '?'.
std::string SeptetsToText(const std::vector<std::uint8_t>& septets);
std::vector<std::uint8_t> TextToSeptets(const std::string& cp1252);

// 7-bit packing: eight septets into seven octets, low bits first.
std::vector<std::uint8_t> PackSeptets(const std::vector<std::uint8_t>& septets);
std::vector<std::uint8_t> UnpackSeptets(const std::vector<std::uint8_t>& octets, std::size_t count);

// Hex text of octets, upper case; parsing accepts either case and fails on anything else.
std::string ToHex(const std::vector<std::uint8_t>& octets);
std::optional<std::vector<std::uint8_t>> FromHex(const std::string& hex);

// Address field: length in digits, type (0x91 with a leading '+', else 0x81), BCD digits.
std::vector<std::uint8_t> EncodeAddress(const std::string& number);

struct DeliverOptions {
  std::string smsc = "+491710760000";  // empty: the "00" service-centre part
  TimeStamp stamp;
};

// An SMS-DELIVER PDU as a modem lists it (with its service-centre part), from a sender
// and a Windows-1252 text, or from raw septets.
std::string EncodeDeliver(const std::string& sender, const std::string& text,
                          const DeliverOptions& options = {});
std::string EncodeDeliverSeptets(const std::string& sender,
                                 const std::vector<std::uint8_t>& septets,
                                 const DeliverOptions& options = {});
// Octets of a PDU after its service-centre part (what +CMGL and AT+CMGS count).
int TpduLength(const std::string& pduHex);

// A decoded SMS-SUBMIT, as the modem receives it after AT+CMGS.
struct Submit {
  int firstOctet = 0;
  int messageReference = 0;
  std::string destination;  // '+' for international numbers; 'F' filler dropped
  int addressDigits = 0;    // the announced address length
  int typeOfAddress = 0;
  int protocolId = 0;
  int dataCoding = 0;
  int validityFormat = 0;  // bits 3-4 of the first octet
  std::vector<std::uint8_t> validity;
  int userDataLength = 0;
  std::vector<std::uint8_t> septets;  // only for the default alphabet
  std::string text;                   // septets through the alphabet
  std::string ascii;                  // septets taken as ASCII codes (the device reads commands so)
  int smscLength = 0;                 // octets of the service-centre part after its length octet
};

struct SubmitResult {
  std::optional<Submit> submit;
  std::string error;  // why the PDU is not a well-formed SMS-SUBMIT
};

// Decodes a whole PDU (service-centre part first). Every length is checked against the data.
SubmitResult DecodeSubmit(const std::string& pduHex);

// A decoded SMS-DELIVER (for checking the simulator's own listings).
struct Deliver {
  std::string sender;
  TimeStamp stamp;
  std::string text;
};
std::optional<Deliver> DecodeDeliver(const std::string& pduHex);

}  // namespace testsupport::sms
