#include "configurator/core/pdu.h"

#include <gtest/gtest.h>

#include <string>

namespace configurator {
namespace {

std::string WithoutEndMark(const std::string& pdu) {
  EXPECT_FALSE(pdu.empty());
  EXPECT_EQ(pdu.back(), kPduEndMark);
  return pdu.substr(0, pdu.size() - 1);
}

TEST(PduEncode, SubmitPdusForNumbersAndTexts) {
  struct Case {
    std::string text, phone, hex;
  } cases[] = {
      // The command example: octets 00 11 30 07 91 21 43 65 F7 00 00 0B 06 C7 22 75 4A 6D 00.
      {"GETST\r", "+1234567", "0011300791214365F700000B06C722754A6D00"},
      // National number, odd length: padded with F, type 81; five digits take three octets.
      {"A", "12345", "00113005812143F500000B0141"},
      // International number of eleven digits: length 0B, type 91, F fills the last pair.
      {"A", "+49123456789", "0011300B919421436587F900000B0141"},
      // Even national number: no padding.
      {"", "1234",
       "00113004812143"
       "00000B00"},
      // A blank counts in the address length but is left out of the digits.
      {"", "12 34",
       "0011300581213F4"
       "00000B00"},
      // The plus sign alone: address length 0, no semi-octets.
      {"", "+",
       "0011300091"
       "00000B00"},
  };
  for (const auto& c : cases) {
    std::string pdu = "untouched";
    ASSERT_TRUE(TextToPDU(c.text, c.phone, pdu)) << c.phone;
    EXPECT_EQ(WithoutEndMark(pdu), c.hex) << c.phone;
  }
}

TEST(PduEncode, EmptyNumberBuildsNothing) {
  std::string pdu = "kept";
  EXPECT_FALSE(TextToPDU("GETST\r", "", pdu));
  EXPECT_EQ(pdu, "kept");
  // The exchange still announces a length for an empty PDU.
  EXPECT_EQ(CmgsLength(""), -1);
}

TEST(PduEncode, AnnouncedLengthCountsOctetsAfterServiceCentre) {
  std::string pdu;
  ASSERT_TRUE(TextToPDU("GETST\r", "+1234567", pdu));
  EXPECT_EQ(pdu.size(), 39u);  // 38 digits and the end mark
  EXPECT_EQ(CmgsLength(pdu), 18);
}

TEST(PduEncode, SeptetPackingAtGroupBoundaries) {
  struct Case {
    std::string text, hex;
  } cases[] = {
      {"", ""},
      {"@", "40"},
      {"1234567", "31D98C56B3DD00"},      // 7 characters: 7 octets, top 7 bits of the last 0
      {"12345678", "31D98C56B3DD70"},     // 8 characters fill 7 octets
      {"123456789", "31D98C56B3DD7039"},  // the ninth starts a new group
      {"hellohello", "E8329BFD4697D9EC37"},
      // Codes above 127 lose their top bit; no alphabet translation.
      {std::string(1, static_cast<char>(0xC1)), "41"},
  };
  for (const auto& c : cases) EXPECT_EQ(PackSeptets(c.text), c.hex) << c.text;
}

TEST(PduEncode, LongTextAnnouncesLengthModulo256ButPacksAll) {
  const std::string text(300, 'A');
  std::string pdu;
  ASSERT_TRUE(TextToPDU(text, "+1234567", pdu));
  const std::string hex = WithoutEndMark(pdu);
  EXPECT_EQ(hex.substr(24, 2), "2C");
  EXPECT_EQ(hex.size(), 26u + 2 * 263);  // 2100 bits in 263 octets
  EXPECT_EQ(UnpackSeptets(hex.substr(26), 300), text);
}

TEST(PduSeptets, EverySeptetSurvivesPackingAtEveryLength) {
  std::string all;
  for (int i = 0; i < 128; ++i) all += static_cast<char>(i);
  EXPECT_EQ(UnpackSeptets(PackSeptets(all), 128), all);
  // Every prefix length, so that each position in a group of eight is the last one once.
  for (std::size_t n = 0; n <= 17; ++n) {
    const std::string part = all.substr(127 - n, n);
    EXPECT_EQ(UnpackSeptets(PackSeptets(part), static_cast<int>(n)), part) << n;
  }
}

TEST(PduSeptets, UnpackStopsAtCountOrAtTheLastWholeOctet) {
  // Seven octets hold eight septets; a count of seven must not produce the eighth.
  EXPECT_EQ(UnpackSeptets("31D98C56B3DD70", 7), "1234567");
  EXPECT_EQ(UnpackSeptets("31D98C56B3DD70", 8), "12345678");
  // Fewer octets than announced: what is there, and a dangling digit is ignored.
  EXPECT_EQ(UnpackSeptets("31D98", 8), "12");
  EXPECT_EQ(UnpackSeptets("", 5), "");
  EXPECT_EQ(UnpackSeptets("31", 0), "");
  EXPECT_EQ(UnpackSeptets("31", -3), "");
}

TEST(PduSeptets, TextTableAndItsExceptions) {
  struct Case {
    unsigned septet;
    unsigned char shown;
  } cases[] = {
      {0x00, '@'},  {0x01, ' '},  {0x02, '$'},  {0x03, 'Y'},  {0x04, 0xE8}, {0x08, 0xF2},
      {0x09, 0xE7}, {0x0A, '\n'}, {0x0B, ' '},  {0x0C, 0xF8}, {0x0D, '\r'}, {0x0E, ' '},
      {0x0F, 0xE5}, {0x10, ' '},  {0x11, '_'},  {0x12, ' '},  {0x1A, ' '},  {0x1B, ' '},
      {0x1C, 0xC6}, {0x1F, 0xC9}, {0x20, ' '},  {0x23, '#'},  {0x24, 0xA4}, {0x25, '%'},
      {0x40, 0xA1}, {0x41, 'A'},  {0x5A, 'Z'},  {0x5B, '*'},  {0x5F, '*'},  {0x60, 0xBF},
      {0x61, 'a'},  {0x7A, 'z'},  {0x7B, 0xE4}, {0x7E, 0xFC}, {0x7F, 0xE0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(static_cast<unsigned char>(GsmToText(c.septet)), c.shown) << std::hex << c.septet;
  // The escape septet is not interpreted: a blank, then the next septet as itself.
  EXPECT_EQ(DecodeSeptets(PackSeptets(std::string("\x1B\x41", 2)), 2), " A");
}

TEST(PduHex, DigitValuesAreUpperCaseOnly) {
  EXPECT_EQ(HexDigitValue('0'), 0);
  EXPECT_EQ(HexDigitValue('9'), 9);
  EXPECT_EQ(HexDigitValue('A'), 10);
  EXPECT_EQ(HexDigitValue('F'), 15);
  EXPECT_EQ(HexDigitValue('a'), -1);
  EXPECT_EQ(HexDigitValue('G'), -1);
  EXPECT_EQ(HexDigitValue('\0'), -1);
}

// A DELIVER PDU with a 7-octet service-centre part and an 11-digit originating number.
const std::string kDeliver =
    "07911326040000F0"  // service centre
    "04"                // first octet: SMS-DELIVER
    "0B916407281553F8"  // originating address, 11 digits
    "0000"              // protocol identifier, data coding scheme
    "99309251619580"    // time stamp
    "0A"                // user-data length: 10 septets
    "E8329BFD4697D9EC37";

TEST(PduDecode, DeliverAndSubmitLayouts) {
  const DecodedPdu d = DecodePdu(kDeliver);
  EXPECT_EQ(d.status, PduStatus::Decoded);
  EXPECT_FALSE(d.submit);
  EXPECT_EQ(d.firstOctetPos, 17u);
  EXPECT_EQ(d.addressLengthPos, 19u);
  EXPECT_EQ(d.udlPos, 53u);
  EXPECT_EQ(d.text, "hellohello");

  struct Case {
    std::string pdu, text;
  } cases[] = {
      // No service-centre part: the first octet at 3.
      {"0004"
       "0B916407281553F8"
       "0000"
       "99309251619580"
       "0A"
       "E8329BFD4697D9EC37",
       "hellohello"},
      // A SUBMIT (our own encoder's output, end mark included) decodes back to its text.
      {"0011300791214365F700000B06C722754A6D00" + std::string(1, '\0'), "GETST\r"},
      // Septets through the text table.
      {"0004"
       "0B916407281553F8"
       "0000"
       "99309251619580"
       "03" +
           PackSeptets(std::string("\x00\x5B\x1B", 3)),
       "@* "},
      // The data coding scheme is not looked at: 8-bit data still decode as septets.
      {"0004"
       "0B916407281553F8"
       "0004"
       "99309251619580"
       "02"
       "C122",
       "AE"},
  };
  for (const auto& c : cases) {
    std::string text = "old";
    EXPECT_TRUE(PDUTextConversion(c.pdu, text)) << c.pdu;
    EXPECT_EQ(text, c.text) << c.pdu;
  }
}

TEST(PduDecode, RejectedOrEmptyPdusLeaveTheTextAsItWas) {
  struct Case {
    std::string pdu;
    PduStatus status;
  } cases[] = {
      {"", PduStatus::Rejected},
      {"0", PduStatus::Rejected},
      {"0004", PduStatus::Rejected},
      // Characters 3, 4, 7 and 8 all "0".
      {"0000000000000000000000000000000000000000", PduStatus::Rejected},
      // Lower-case digits count -1 each.
      {"00ab0bcd"
       "916407281553F8"
       "0000"
       "99309251619580"
       "0A"
       "E8329BFD",
       PduStatus::Rejected},
      // A service-centre length that points past the end.
      {"FF04"
       "0B91",
       PduStatus::Rejected},
      // The header ends before the user-data length.
      {"0004"
       "0B916407281553F8"
       "0000"
       "993092",
       PduStatus::Rejected},
      // User-data length 0.
      {"0004"
       "0B916407281553F8"
       "0000"
       "99309251619580"
       "00"
       "E832",
       PduStatus::NoUserData},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodePdu(c.pdu).status, c.status) << c.pdu;
    std::string text = "old";
    EXPECT_FALSE(PDUTextConversion(c.pdu, text)) << c.pdu;
    EXPECT_EQ(text, "old") << c.pdu;
  }
}

TEST(PduDecode, ShortOrDamagedUserDataYieldWhatIsThere) {
  // Ten septets announced, three octets given: three septets come out.
  std::string text;
  EXPECT_TRUE(PDUTextConversion(kDeliver.substr(0, 54 + 6), text));
  EXPECT_EQ(text, "hel");
  // An odd trailing digit is not read.
  EXPECT_TRUE(PDUTextConversion(kDeliver.substr(0, 54 + 7), text));
  EXPECT_EQ(text, "hel");
  // Bad digits inside the user data make wrong characters, not a failure.
  std::string damaged = kDeliver;
  damaged[56] = 'x';
  EXPECT_TRUE(PDUTextConversion(damaged, text));
  EXPECT_EQ(text.size(), 10u);
  EXPECT_EQ(text.substr(3), "lohello");
}

}  // namespace
}  // namespace configurator
