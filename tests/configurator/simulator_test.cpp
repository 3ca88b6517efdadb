// The device and modem simulators and the test-side PDU codec on their own, and the
// configurator's codec checked against the test-side one.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "configurator/core/pdu.h"
#include "platform/core/devicepath.h"
#include "support/device_sim.h"
#include "support/modem_sim.h"
#include "support/sms_pdu.h"

namespace ts = testsupport;
namespace sms = testsupport::sms;

namespace {

// The program's side of the line: writes to and reads from the pty's slave.
class SlaveSide {
 public:
  explicit SlaveSide(ts::PtyPeer& peer) : fd_(peer.Pty().SlaveFd()) {}
  void Write(const std::string& bytes) {
    ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Collects what comes back until `needle` is seen or ms pass (the peer answers in the
  // event loop).
  std::string ReadUntil(const std::string& needle, int ms = 2000) {
    return Collect([&] { return got_.find(needle) != std::string::npos; }, ms);
  }
  // Everything that comes back within ms.
  std::string ReadFor(int ms) {
    return Collect([] { return false; }, ms);
  }

 private:
  template <class Done>
  std::string Collect(Done done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
      QCoreApplication::processEvents();
      char buf[512];
      const ssize_t n = ::read(fd_, buf, sizeof buf);
      if (n > 0)
        got_.append(buf, static_cast<std::size_t>(n));
      else
        QThread::msleep(1);
    }
    std::string out;
    out.swap(got_);
    return out;
  }

  int fd_;
  std::string got_;
};

std::string Framed(const std::string& command) {
  return std::string(14, ' ') + "SETUP:" + command + "\r" + std::string(1, '\0');
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Test-side codec

TEST(SmsCodec, DeliverMatchesHandComputedPdu) {
  sms::DeliverOptions o;
  o.smsc = "";
  o.stamp = {26, 1, 5, 9, 7, 3, 8};
  // 00 SMSC | 04 DELIVER | 0A 91 9471103254 +4917012345 | PID DCS | 26-01-05 09:07:03 +2h |
  // 0A "hellohello" packed as in the standard's example.
  EXPECT_EQ(sms::EncodeDeliver("+4917012345", "hellohello", o),
            "00"
            "04"
            "0A91"
            "9471103254"
            "0000"
            "62105090703080"
            "0A"
            "E8329BFD4697D9EC37");
  o.smsc = "+4917";
  o.stamp.zoneQuarters = -4;
  // An odd number of digits ends in the F filler; the zone's sign is bit 3.
  EXPECT_EQ(sms::EncodeDeliver("123", "A", o),
            "03919471"
            "04"
            "038121F3"
            "0000"
            "62105090703048"
            "01"
            "41");
  const auto d = sms::DecodeDeliver(sms::EncodeDeliver("123", "A", o));
  ASSERT_TRUE(d);
  EXPECT_EQ(d->sender, "123");
  EXPECT_EQ(d->stamp.zoneQuarters, -4);
  EXPECT_EQ(d->text, "A");
  EXPECT_EQ(sms::TpduLength(sms::EncodeDeliver("123", "A", o)), 16);
}

TEST(SmsCodec, SubmitOfTheConfiguratorsExample) {
  const auto r = sms::DecodeSubmit("0011300791214365F700000B06C722754A6D00");
  ASSERT_TRUE(r.submit) << r.error;
  EXPECT_EQ(r.submit->destination, "+1234567");
  EXPECT_EQ(r.submit->messageReference, 0x30);
  EXPECT_EQ(r.submit->validityFormat, 2);
  ASSERT_EQ(r.submit->validity.size(), 1u);
  EXPECT_EQ(r.submit->validity[0], 0x0B);
  EXPECT_EQ(r.submit->ascii, "GETST\r");
  EXPECT_EQ(sms::TpduLength("0011300791214365F700000B06C722754A6D00"), 18);
}

TEST(SmsCodec, MalformedSubmitsAreRefusedWithAReason) {
  const struct {
    const char* pdu;
    const char* reason;
  } cases[] = {
      {"0011300791214365F700000B06C722754A6D0", "even number"},   // odd digit count
      {"0011300791214365F700000B06C722754A6DZZ", "even number"},  // not hex
      {"0004300791214365F700000B06C722754A6D00", "not SMS-SUBMIT"},
      {"0011300791214365F700000B07C722754A6D00", "user-data length 7"},    // UDL too long for data
      {"0011300791214365F700000B06C722754A6D0000", "user-data length 6"},  // data beyond UDL
      {"00113007912143", "ends inside the destination"},
      {"07", "ends inside the service-centre"},
  };
  for (const auto& c : cases) {
    const auto r = sms::DecodeSubmit(c.pdu);
    EXPECT_FALSE(r.submit) << c.pdu;
    EXPECT_NE(r.error.find(c.reason), std::string::npos) << c.pdu << ": " << r.error;
  }
}

TEST(SmsCodec, AlphabetAndPackingEdges) {
  // Characters outside ASCII go through the alphabet both ways; ones it lacks become '?'.
  EXPECT_EQ(sms::TextToSeptets("@\xA3$\xA5_\xE4"),
            (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x03, 0x11, 0x7B}));
  EXPECT_EQ(sms::SeptetsToText({0x00, 0x10, 0x1B, 0x5B, 0x7F}), "@??\xC4\xE0");
  EXPECT_EQ(sms::TextToSeptets("\x80"), std::vector<std::uint8_t>{0x3F});
  // 7 septets fill 7 octets with the top bit of the last one 0; 8 septets fill 7; 9 need 8.
  for (std::size_t n : {1u, 7u, 8u, 9u, 160u}) {
    std::vector<std::uint8_t> s(n);
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<std::uint8_t>((i * 37 + 5) & 0x7F);
    const auto packed = sms::PackSeptets(s);
    EXPECT_EQ(packed.size(), (n * 7 + 7) / 8) << n;
    EXPECT_EQ(sms::UnpackSeptets(packed, n), s) << n;
  }
  // Seven septets: the last octet's upper seven bits are fill.
  EXPECT_EQ(sms::ToHex(sms::PackSeptets(std::vector<std::uint8_t>(7, 0x7F))), "FFFFFFFFFFFF01");
}

// The configurator's codec against the test-side one, both directions.
TEST(SmsCodec, ConfiguratorCodecAgreesWithTestSide) {
  const struct {
    const char* number;
    const char* text;
    const char* destination;  // as the modem reads the address
  } cases[] = {
      {"+1234567", "GETST\r", "+1234567"},
      {"+4917012345678", "SETTX05 Alarm temperature 1 high               \r", "+4917012345678"},
      {"12345", "GETNR3\r", "12345"},
      {"+491701234567", "SETAP internet\r", "+491701234567"},
  };
  for (const auto& c : cases) {
    std::string pdu;
    ASSERT_TRUE(configurator::TextToPDU(c.text, c.number, pdu)) << c.number;
    ASSERT_FALSE(pdu.empty());
    ASSERT_EQ(pdu.back(), configurator::kPduEndMark);
    const std::string wire = pdu.substr(0, pdu.size() - 1);
    const auto r = sms::DecodeSubmit(wire);
    ASSERT_TRUE(r.submit) << c.number << ": " << r.error;
    EXPECT_EQ(r.submit->destination, c.destination);
    EXPECT_EQ(r.submit->ascii, c.text);
    EXPECT_EQ(configurator::CmgsLength(pdu), sms::TpduLength(wire)) << c.number;
  }
  // Listings as a modem gives them decode to their text in the configurator.
  const struct {
    std::string sender, text;
    std::string smsc;
  } delivered[] = {
      {"+4917012345603", "Temperature 1 Normal 21.5C", "+491710760000"},
      {"+49170123456", "AN: A1 1.23V", ""},
      {"0170123", "x", "+4917"},
  };
  for (const auto& d : delivered) {
    sms::DeliverOptions o;
    o.smsc = d.smsc;
    std::string text = "unchanged";
    EXPECT_TRUE(configurator::PDUTextConversion(sms::EncodeDeliver(d.sender, d.text, o), text));
    EXPECT_EQ(text, d.text);
  }
}

// ---------------------------------------------------------------------------------------
// Device simulator

class DeviceSimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device.Open());
    device.Serve();
  }
  ts::DeviceSimulator device;
};

TEST_F(DeviceSimTest, FramedGetGetsItsAnswerAndEverythingIsLogged) {
  SlaveSide line(device);
  line.Write(Framed("GETNR3"));
  EXPECT_EQ(line.ReadUntil("\r\n"), "Nr.3: +4917012345603\r\n");
  line.Write(Framed("  GETVR"));
  EXPECT_EQ(line.ReadUntil("\r\n", 2000).substr(0, 9), "\r\nVER: TK");
  EXPECT_EQ(device.Commands(), (std::vector<std::string>{"GETNR3", "  GETVR"}));
  EXPECT_EQ(device.Received(), Framed("GETNR3") + Framed("  GETVR"));
}

TEST_F(DeviceSimTest, SetCommandsChangeTheStateThatGetReads) {
  SlaveSide line(device);
  const struct {
    std::string set, confirm, get, answer;
  } cases[] = {
      {"SETTX05 Frost alarm" + std::string(29, ' '), "\r\nSETTX05,Frost alarm\r\nOK\r\n",
       "GETTX05 " + std::string(40, ' '), "05: Frost alarm\r\n"},
      {"SETTI58 Door open      ", "\r\nSETTI58,Door open\r\nOK\r\n",
       "GETTI58 " + std::string(15, ' '), "58: Door open\r\n"},
      {"SETNN2,+4930123456", "\r\nSETNN2,+4930123456\r\nOK\r\n", "GETNR2", "Nr.2: +4930123456\r\n"},
      {"SETAP web.example", "\r\nSETAP,web.example\r\nOK\r\n", "GETAP ", "APN: web.example\r\n"},
      {"SETAP    ", "\r\nSETAP\r\nOK\r\n", "GETAP ", "APN: \r\n"},
      {"SETRH,   ", "\r\nSETRH,\r\nOK\r\n", "GETRH ", "HTTP Host: \r\n"},
      {"SETOU3", "\r\nSETOU3\r\nOK\r\n", "GETOS3", "\r\nOUT3: ON\r\n"},
      {"SETTM 27/02/28,23:59:58+01", "\r\nSETTM,27/02/28,23:59:58+01\r\nOK\r\n", "  GETTM",
       "\r\nTM: 27/02/28,23:59:58+01\r\n"},
  };
  device.Clock().SetRunning(false);
  for (const auto& c : cases) {
    line.Write(Framed(c.set));
    EXPECT_EQ(line.ReadUntil("OK\r\n"), c.confirm) << c.set;
    line.Write(Framed(c.get));
    EXPECT_EQ(line.ReadUntil(c.answer), c.answer) << c.get;
  }
  // The phone book answers all seven entries in one line, each followed by a blank.
  EXPECT_EQ(device.Answer("  GETPB").substr(0, 22), " N1:+4917012345601 N2:");
}

TEST_F(DeviceSimTest, RawAndMisframedLinesAreKeptApart) {
  SlaveSide line(device);
  line.Write("  AT+CSQ\r");
  EXPECT_EQ(line.ReadUntil("OK\r\n"), "\r\n+CSQ: 17,99\r\n\r\nOK\r\n");
  line.Write(std::string(13, ' ') + "SETUP:GETST\r");  // one blank short: not a frame
  EXPECT_EQ(line.ReadFor(100), "");
  EXPECT_TRUE(device.Commands().empty());
  EXPECT_EQ(device.RawLines().size(), 2u);

  device.SetReply("GETST", "\r\nST: custom\r\n");
  line.Write(Framed("GETST"));
  EXPECT_EQ(line.ReadUntil("custom\r\n"), "\r\nST: custom\r\n");
  device.SetSilent(true);
  line.Write(Framed("GETTH"));
  EXPECT_EQ(line.ReadFor(100), "");
  EXPECT_EQ(device.Commands().size(), 2u);
}

// ---------------------------------------------------------------------------------------
// Modem simulator

class ModemSimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(modem.Open());
    modem.Serve();
  }
  ts::ModemSimulator modem;
};

TEST_F(ModemSimTest, AnswersWithEchoAndResultCodes) {
  SlaveSide line(modem);
  line.Write("AT+CGMI\r");
  EXPECT_EQ(line.ReadUntil("OK\r\n"), "AT+CGMI\r\r\nGSM-SIM\r\n\r\nOK\r\n");
  line.Write("\n\rAT+CMGF=0\r");  // the configurator's form: a line feed and an empty line first
  EXPECT_EQ(line.ReadUntil("OK\r\n"), "\n\rAT+CMGF=0\r\r\nOK\r\n");
  modem.Clock().SetRunning(false);
  line.Write("AT+CCLK=\"26/12/10,00:01:59+02\"\r");
  line.ReadUntil("OK\r\n");
  line.Write("AT+CCLK?\r");
  EXPECT_EQ(line.ReadUntil("OK\r\n"),
            "AT+CCLK?\r\r\n+CCLK: \"26/12/10,00:01:59+02\"\r\n\r\nOK\r\n");
  line.Write("AT+CMEE=2\rAT+CCLK=\"26/13/10,00:01:59\"\rAT+NOPE\r");
  const std::string errors = line.ReadUntil("\r\nERROR\r\n");
  EXPECT_NE(errors.find("+CME ERROR: invalid characters in text string"), std::string::npos)
      << errors;
  EXPECT_EQ(modem.AtLines(),
            (std::vector<std::string>{"AT+CGMI", "AT+CMGF=0", "AT+CCLK=\"26/12/10,00:01:59+02\"",
                                      "AT+CCLK?", "AT+CMEE=2", "AT+CCLK=\"26/13/10,00:01:59\"",
                                      "AT+NOPE"}));
}

TEST_F(ModemSimTest, SubmitCycleWithPromptAndDeviceAnswer) {
  ts::DeviceSimulator device;
  modem.SetResponder([&](const std::string& t) { return device.SmsAnswer(t); });
  SlaveSide line(modem);
  line.Write("AT+CMGS=18\r");
  EXPECT_EQ(line.ReadUntil("> "), "AT+CMGS=18\r\r\n> ");
  line.Write("0011300791214365F700000B06C722754A6D00\x1A");
  const std::string result = line.ReadUntil("OK\r\n");
  EXPECT_NE(result.find("\r\n+CMGS: 1\r\n\r\nOK\r\n"), std::string::npos) << result;
  ASSERT_EQ(modem.Submissions().size(), 1u);
  ASSERT_TRUE(modem.Submissions()[0].decoded.submit);
  EXPECT_EQ(modem.Submissions()[0].decoded.submit->ascii, "GETST\r");
  // The device's answer waits in the store as an unread SMS from the device's number.
  ASSERT_EQ(modem.Store().size(), 1u);
  const auto reply = sms::DecodeDeliver(modem.Store()[0].pdu);
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->sender, "+1234567");
  EXPECT_EQ(reply->text.substr(0, 11), "ST: IN 0000");

  // A length that does not match the PDU is refused and nothing is sent.
  line.Write("AT+CMGS=17\r");
  line.ReadUntil("> ");
  line.Write("0011300791214365F700000B06C722754A6D00\x1A");
  EXPECT_NE(line.ReadUntil("ERROR\r\n").find("\r\nERROR\r\n"), std::string::npos);
  EXPECT_FALSE(modem.Submissions()[1].decoded.submit);
  EXPECT_EQ(modem.Store().size(), 1u);
}

TEST_F(ModemSimTest, ListingOfTwoMessagesThenTheyAreRead) {
  modem.AddDelivered("+4917012345603", "first", ts::ModemSimulator::Status::Unread);
  modem.AddDelivered("+4917012345603", "second", ts::ModemSimulator::Status::Unread);
  SlaveSide line(modem);
  line.Write("AT+CMGL=0\r");
  const std::string listing = line.ReadUntil("OK\r\n");
  const std::string pdu1 = modem.Store()[0].pdu, pdu2 = modem.Store()[1].pdu;
  EXPECT_EQ(listing, "AT+CMGL=0\r\r\n+CMGL: 1,0,," + std::to_string(sms::TpduLength(pdu1)) +
                         "\r\n" + pdu1 + "\r\n+CMGL: 2,0,," +
                         std::to_string(sms::TpduLength(pdu2)) + "\r\n" + pdu2 + "\r\n\r\nOK\r\n");
  EXPECT_EQ(sms::DecodeDeliver(pdu2)->text, "second");
  // Listed unread messages are read now: the unread list is empty, the read list has both.
  line.Write("AT+CMGL=0\r");
  EXPECT_EQ(line.ReadUntil("OK\r\n"), "AT+CMGL=0\r\r\nOK\r\n");
  line.Write("AT+CMGL=1\r");
  EXPECT_NE(line.ReadUntil("OK\r\n").find("+CMGL: 2,1,,"), std::string::npos);
}

TEST_F(ModemSimTest, DeletesIndexAbove255) {
  EXPECT_EQ(modem.AddDelivered("+491", "x", ts::ModemSimulator::Status::Read, 300), 300);
  modem.AddDelivered("+491", "y", ts::ModemSimulator::Status::Read, 44);  // 300 mod 256
  SlaveSide line(modem);
  line.Write("AT+CMGD=300\r");
  EXPECT_EQ(line.ReadUntil("OK\r\n"), "AT+CMGD=300\r\r\nOK\r\n");
  EXPECT_FALSE(modem.Has(300));
  EXPECT_TRUE(modem.Has(44));
  EXPECT_EQ(modem.Deleted(), std::vector<int>{300});
  line.Write("AT+CMGD=300\r");  // gone: an error, nothing else deleted
  EXPECT_NE(line.ReadUntil("ERROR\r\n").find("ERROR"), std::string::npos);
  EXPECT_EQ(modem.Deleted(), std::vector<int>{300});
}

TEST_F(ModemSimTest, SilentModemLogsButSaysNothing) {
  modem.SetSilent(true);
  SlaveSide line(modem);
  line.Write("AT+CGMI\r");
  EXPECT_EQ(line.ReadFor(100), "");
  EXPECT_EQ(modem.AtLines(), std::vector<std::string>{"AT+CGMI"});
  EXPECT_EQ(modem.Received(), "AT+CGMI\r");
}

// ---------------------------------------------------------------------------------------
// The port links of the hand-run programs

TEST(SimulatorPortLink, MakesReplacesAndRemovesOnlyItsOwnLink) {
  namespace fs = std::filesystem;
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
  const std::string folder = platform::PortFolder();

  std::string link, error;
  ASSERT_TRUE(ts::MakePortLink(3, "/dev/pts/77", &link, &error)) << error;
  EXPECT_EQ(link, folder + "/com3");
  EXPECT_EQ(fs::read_symlink(link).string(), "/dev/pts/77");
  EXPECT_EQ(platform::ResolveDevicePath("\\\\.\\COM3"), link);
  // An older link is replaced; removal leaves a link that another program made since.
  ASSERT_TRUE(ts::MakePortLink(3, "/dev/pts/78", &link, &error)) << error;
  ts::RemovePortLink(link, "/dev/pts/77");
  EXPECT_TRUE(fs::is_symlink(link));
  ts::RemovePortLink(link, "/dev/pts/78");
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
  // A file of that name is never touched.
  { std::ofstream(folder + "/com4") << "mine"; }
  EXPECT_FALSE(ts::MakePortLink(4, "/dev/pts/77", &link, &error));
  EXPECT_NE(error.find("not a link"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_regular_file(folder + "/com4"));

  if (old)
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
}
