#include "configurator/core/replyparse.h"

#include <gtest/gtest.h>

#include <string>

namespace configurator {
namespace {

using namespace std::string_literals;

TEST(ReplyChunk, ReplyTextUpToTheFirstZeroByte) {
  struct Case {
    std::string raw, reply;
  } cases[] = {
      {"no zero byte\r\n", ""},
      {"ab\rcd\0ef"s, "\rcd\0ef"s},  // from the carriage return, z = 6 characters
      {"\0abc"s, "\0"s},             // no carriage return: from the start
      {"abc\0"s, "abc\0"s},
  };
  for (const auto& c : cases) EXPECT_EQ(ReplyTextFromChunk(c.raw), c.reply);
  EXPECT_EQ(RemoveZeroBytes("\0a\0\0b\0"s), "ab");
}

TEST(ReplyChunk, DirectModeBlanksAndRawMode) {
  struct Case {
    std::string t;
    bool skip, raw;
    std::string reply;
    bool rawAfter;
  } cases[] = {
      {"05: Text\r\n", true, false, "05: Text  ", false},
      {"05: Text\r\n", false, false, "05: Text\r\n", false},
      {"\x01\x1f\x7f\xe4", true, false, "  \x7f\xe4", false},
      // Raw answers: a carriage return at 1..4 or none ends raw mode, with a zero byte
      // appended and no blank replacement.
      {"\r\nOK\r\n", true, true, "\r\nOK\r\n\0"s, false},
      {"OK", false, true, "OK\0"s, false},
      {"ABC\rD", true, true, "ABC\rD\0"s, false},
      // An echoed command line puts the first carriage return later: raw mode stays on.
      {"  AT+CSQ\r\r\n+CSQ: 15,0\r\n", true, true, "  AT+CSQ   +CSQ: 15,0  ", true},
      {"ABCD\r", false, true, "ABCD\r", true},
  };
  for (const auto& c : cases) {
    const TDirectReply r = DirectModeReply(c.t, c.skip, c.raw);
    EXPECT_EQ(r.replyText, c.reply) << c.t;
    EXPECT_EQ(r.rawATMode, c.rawAfter) << c.t;
  }
}

const std::string kPdu1 =
    "07911326040000F0040B916407281553F80000993092516195800AE8329BFD4697D9EC37";
const std::string kPdu2 =
    "0004"
    "0B916407281553F8"
    "0000"
    "99309251619580"
    "01"
    "41";

TEST(SmsListing, FirstListedMessageAndItsIndex) {
  struct Case {
    std::string raw;
    bool found;
    std::string pdu;
    bool hasIndex;
    int index;
  } cases[] = {
      {"\r\n+CMGL: 3,1,,24\r\n" + kPdu1 + "\r\n\r\nOK\r\n", true, kPdu1, true, 3},
      // Two messages: only the first is reported.
      {"\r\n+CMGL: 1,1,,24\r\n" + kPdu1 + "\r\n+CMGL: 2,1,,12\r\n" + kPdu2 + "\r\n\r\nOK\r\n", true,
       kPdu1, true, 1},
      // Echo line before the listing; an index above 255 is the one listed.
      {"AT+CMGL=1\r\r\n+CMGL: 300,1,,24\r\n" + kPdu1 + "\r\n\r\nOK\r\n", true, kPdu1, true, 300},
      {"\r\n+CMGL: 1234,1,,24\r\n" + kPdu1 + "\r\n", true, kPdu1, true, 1234},
      {"\r\n+CMGL:12,1,,24\r\n" + kPdu1 + "\r\n", true, kPdu1, true, 12},
      // The index comes from the announcing line, never from a comma of an earlier answer.
      {"\r\n+CSQ: 17,99\r\n\r\n+CMGL: 3,1,,24\r\n" + kPdu1 + "\r\n", true, kPdu1, true, 3},
      // The PDU runs into the chunk's last character: the chunk is cut, nothing is taken.
      {"\r\n+CMGL: 3,1,,24\r\n" + kPdu1, false, "", false, 0},
      {"\r\n+CMGL: 3,1,,24\r\n", false, "", false, 0},
      {"\r\nOK\r\n", false, "", false, 0},
      {"+CMGL:1", false, "", false, 0},
      // The listing must start within the first 510 characters.
      {std::string(506, ' ') + "+CMGL: 3,1,,24\r\n" + kPdu1 + "\r\n", false, "", false, 0},
      // No comma among characters 2 to 35: shown, but no index to delete.
      {std::string(40, '\n') + "+CMGL: 3,1,,24\r\n" + kPdu1 + "\r\n", true, kPdu1, false, 0},
      {"\r\n+CMGL: ,1,,24\r\n" + kPdu1 + "\r\n", true, kPdu1, false, 0},
  };
  for (const auto& c : cases) {
    const TSmsListing l = FindListedSms(c.raw);
    EXPECT_EQ(l.found, c.found) << c.raw;
    EXPECT_EQ(l.pdu, c.pdu) << c.raw;
    EXPECT_EQ(l.hasIndex, c.hasIndex) << c.raw;
    if (c.hasIndex) {
      EXPECT_EQ(l.index, c.index) << c.raw;
    }
  }
  EXPECT_EQ(DeleteSmsCommand(3), "AT+CMGD=3");
  EXPECT_EQ(DeleteSmsCommand(300), "AT+CMGD=300");
}

TEST(ModemAnswers, LineValues) {
  struct Case {
    std::string raw;
    bool done;
    std::string value;
  } cases[] = {
      {"\r\nSIEMENS\r\n\r\nOK\r\n", true, "SIEMENS"},
      {"AT+CGMI\r\r\nTelit\r\n\r\nOK\r\n", true, "Telit"},
      {"\r\n", false, ""},
      {"OK\r\n", false, ""},
      {"", false, ""},
      {"\r\nno end of line", false, ""},
      // A chunk that ends right after the value's carriage return.
      {"AT+CGMI\r\r\nSIEMENS\r", true, "SIEMENS"},
      // The value's line must end before character 250.
      {"\r\n" + std::string(260, 'x') + "\r\n", false, ""},
  };
  for (const auto& c : cases) {
    for (auto parse : {ParseManufacturerReply, ParseModelReply}) {
      const TAnswerParse p = parse(c.raw);
      EXPECT_EQ(p.done, c.done) << c.raw;
      EXPECT_EQ(p.value, c.value) << c.raw;
    }
  }
}

TEST(ModemAnswers, ClockAndCharacterSet) {
  struct Case {
    std::string raw;
    bool done;
    std::string value;
  } cases[] = {
      {"\r\n+CCLK: \"26/12/10,09:30:00+04\"\r\n\r\nOK\r\n", true, "\"26/12/10,09:30:00+04\""},
      {"AT+CCLK?\r\r\n+CCLK: \"26/12/10,09:30:00\"\r\n\r\nOK\r\n", true, "\"26/12/10,09:30:00\""},
      // Applied to a message listing: the text after "+CMGL: ".
      {"\r\n+CMGL: 1,1,,24\r\n" + kPdu1 + "\r\n", true, "1,1,,24"},
      {"\r\n\"quoted\"\r\n", true, "\"quoted\""},
      {"\r\n+CCLK:\r\n", false, ""},
      {"\r\nERROR\r\n", false, ""},
      {"\r\n+CCLK: \"26/12/10,09:30:00\"\r", true, "\"26/12/10,09:30:00\""},
  };
  for (const auto& c : cases) {
    const TAnswerParse p = ParseClockReply(c.raw);
    EXPECT_EQ(p.done, c.done) << c.raw;
    EXPECT_EQ(p.value, c.value) << c.raw;
  }
  EXPECT_EQ(ParseCharsetReply("\r\n+CSCS: \"GSM\"\r\n\r\nOK\r\n").value, "\"GSM\"");
  // The character-set scan goes four characters further than the clock's.
  const std::string late = "\r\n+X: " + std::string(245, 'a') + "\r\n\r\n";  // CR at 252
  EXPECT_FALSE(ParseClockReply(late).done);
  EXPECT_TRUE(ParseCharsetReply(late).done);
}

TEST(ModemAnswers, ModeAndErrorReportAnswers) {
  for (auto consume : {ConsumeCMGFReply, ConsumeCMEEReply}) {
    EXPECT_TRUE(consume("\r\nOK\r\n"));
    EXPECT_TRUE(consume("AT+CMGF=0\r\r\nOK\r\n"));
    EXPECT_FALSE(consume("\r\n"));
    EXPECT_FALSE(consume(""));
    EXPECT_FALSE(consume(std::string(260, 'x') + "\r\nOK\r\n"));
  }
}

TEST(PageParse, RulesByPage) {
  struct Case {
    Page page;
    std::string s;
    TEditValues out;
  } cases[] = {
      // "GPRS, FTP": key before the colon, the last two characters dropped.
      {Page::GprsFtp, "APN: internet\r\n", {{ReplyField::APN, 0, "internet"}}},
      {Page::GprsFtp, "APN: internet  ", {{ReplyField::APN, 0, "internet"}}},
      {Page::GprsFtp, "PASSWORD: pw\r\n", {{ReplyField::Password, 0, "pw"}}},
      {Page::GprsFtp, "UserID: me\r\n", {{ReplyField::UserID, 0, "me"}}},
      {Page::GprsFtp, "Password FTP: fp\r\n", {{ReplyField::PasswordFTP, 0, "fp"}}},
      {Page::GprsFtp, "UserName FTP: fu\r\n", {{ReplyField::UserNameFTP, 0, "fu"}}},
      {Page::GprsFtp, "Remote Host: r.example\r\n", {{ReplyField::HTTPhostName, 0, "r.example"}}},
      {Page::GprsFtp, "HTTP Host: h.example\r\n", {{ReplyField::HTTPhostName, 0, "h.example"}}},
      {Page::GprsFtp, "IP address: 10.1.2.3\r\n", {{ReplyField::IPaddress, 0, "10.1.2.3"}}},
      {Page::GprsFtp, "FTPHOST: f1\r\n", {{ReplyField::FTPHostName, 0, "f1"}}},
      {Page::GprsFtp, "FTP host: f2\r\n", {{ReplyField::FTPHostName, 0, "f2"}}},
      {Page::GprsFtp, "DirName: /up\r\n", {{ReplyField::DirName, 0, "/up"}}},
      {Page::GprsFtp, "APN:\r\n", {{ReplyField::APN, 0, ""}}},
      {Page::GprsFtp, "apn: x\r\n", {}},  // keys compare exactly
      {Page::GprsFtp, "Other: x\r\n", {}},
      {Page::GprsFtp, "APN internet\r\n", {}},
      {Page::GprsFtp, ": x\r\n", {}},
      // "External SMS": two digits, the text from character 5 on, line end included.
      {Page::ExternalSMS, "05: Text\r\n", {{ReplyField::TXTSMS, 5, "Text\r\n"}}},
      {Page::ExternalSMS, "05: Text  ", {{ReplyField::TXTSMS, 5, "Text  "}}},
      {Page::ExternalSMS, "57: x", {{ReplyField::TXTSMS, 57, "x"}}},
      {Page::ExternalSMS, "01:", {{ReplyField::TXTSMS, 1, ""}}},
      {Page::ExternalSMS, "99", {}},
      {Page::ExternalSMS, "58: x", {}},
      {Page::ExternalSMS, "00: x", {}},
      {Page::ExternalSMS, "1: x", {}},  // not two digits
      {Page::ExternalSMS, "5", {}},
      // "Int/Ext SMS" and "IOname": one character less at the end.
      {Page::IntExtSMS, "05: Text\r\n", {{ReplyField::iTXTSMS, 5, "Text\r"}}},
      {Page::IOname, "05: Text  ", {{ReplyField::iTXTSMS, 5, "Text "}}},
      {Page::IOname, "97: ab", {{ReplyField::iTXTSMS, 97, "a"}}},
      {Page::IOname, "98: ab", {}},
      {Page::IOname, "05:", {{ReplyField::iTXTSMS, 5, ""}}},
      // "Abonents": the fourth character of the key picks NNumber1..7.
      {Page::Abonents, "TEL3: 0123456 ", {{ReplyField::NNumber, 3, "0123456"}}},
      {Page::Abonents, "TEL3: 0123456\r\n", {{ReplyField::NNumber, 3, ""}}},  // no blank: empty
      {Page::Abonents, "TEL7: +4912345678901234567890", {{ReplyField::NNumber, 7, ""}}},
      {Page::Abonents, "TEL8: 1 ", {}},
      {Page::Abonents, "N1 111", {}},  // no colon: no key
      {Page::Abonents, ":abc", {}},
      // Phone-book listing behind one leading character.
      {Page::Abonents,
       " N1:111 N2:222 N3:333  ",
       {{ReplyField::PBnr, 1, "111"}, {ReplyField::PBnr, 2, "222"}, {ReplyField::PBnr, 3, "333"}}},
      // Without blanks at the end the last entry comes out empty.
      {Page::Abonents,
       " N1:111 N2:222\r\n",
       {{ReplyField::PBnr, 1, "111"}, {ReplyField::PBnr, 2, ""}}},
      {Page::Abonents, "N1: 0171 N2:0172 ", {{ReplyField::PBnr, 1, "0171"}}},
      {Page::Abonents, "IN1:111 ", {}},
      {Page::Abonents, "XY: 1 ", {}},
      // Pages without a rule.
      {Page::Main, "APN: internet\r\n", {}},
      {Page::Analog, "05: Text\r\n", {}},
  };
  for (const auto& c : cases) {
    const TEditValues got = ParsePageReply(PageIndex(c.page), c.s);
    EXPECT_EQ(got, c.out) << "page " << PageIndex(c.page) << ": " << c.s;
  }
}

}  // namespace
}  // namespace configurator
