// The configurator in SMS mode against the GSM modem simulator on a pty, with a simulated
// device answering the SMS it gets. The window's Com1 reaches the modem through a link in a
// temporary port folder; a settings file in an empty temporary folder starts it in SMS mode.
// The test runs the driver's poll tick and the window's one-second tick itself.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <ctime>
#include <memory>
#include <optional>

#include "configurator/form.h"
#include "configurator/portlink.h"
#include "configurator/core/setupconfig.h"
#include "platform/core/devicepath.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"
#include "serial/displayunit.h"
#include "serial/serialdrv.h"
#include "support/device_sim.h"
#include "support/modem_sim.h"
#include "support/scopedenv.h"
#include "support/sms_pdu.h"
#include "e2e_fixture.h"

namespace ts = testsupport;
namespace sms = testsupport::sms;
using Status = ts::ModemSimulator::Status;

namespace {

const char kDeviceNumber[] = "+4917012345603";

class SmsE2E : public WindowOnPeer<ts::ModemSimulator> {
 public:
  ts::ModemSimulator& PeerOnLine() override { return modem; }
  // A settings file that starts the window in SMS mode, the device answering each SMS.
  void BeforeWindow() override {
    // The PC in Berlin; the window is built at noon of the test's day.
    zone_.emplace("TZ", "Europe/Berlin");
    configurator::TForm1::ClockForNewWindows() = [day = day_] {
      return QDateTime(day, QTime(12, 0, 30));
    };
    modem.SetResponder([this](const std::string& text) { return device.SmsAnswer(text); });
    configurator::TSetupConfig cfg;
    cfg.SMSmode = 1;
    configurator::PutText(cfg.TKnumber, kDeviceNumber);
    configurator::PutText(cfg.TKnumber2, kDeviceNumber);
    ASSERT_EQ(configurator::WriteSetupConfigFile(configurator::kSetupFileName, cfg),
              configurator::CfgFileResult::Ok);
  }
  void SetUp() override {
    WindowOnPeer::SetUp();
    // Noon: far from the midnight window unless a test moves the clock.
    SetClock(12, 0);
  }
  void TearDown() override {
    WindowOnPeer::TearDown();
    configurator::TForm1::ClockForNewWindows() = nullptr;
    zone_.reset();
    ::tzset();
  }

  void SetClock(int hour, int minute, int second = 30) {
    form->Now = [=, day = day_] { return QDateTime(day, QTime(hour, minute, second)); };
  }
  // Lets the modem read what the window wrote, until it has `lines` command lines in all.
  bool ModemHasLines(std::size_t lines) {
    const bool ok = ts::WaitUntil([&] { return modem.AtLines().size() >= lines; }, 2000);
    Quiet();
    return ok;
  }
  // Ticks until the modem gets a new line, at most `limit` ticks; returns the ticks taken
  // (0 when none came). The modem's answer is polled in after it.
  int TicksUntilNewLine(int limit) {
    const std::size_t before = modem.AtLines().size();
    for (int t = 1; t <= limit; ++t) {
      Tick();
      // A poll raises PollPending at once; the modem then gets its line a moment later.
      ts::WaitUntil([&] { return modem.AtLines().size() > before; },
                    form->Exchange.PollPending() ? 2000 : 5);
      if (modem.AtLines().size() > before) {
        ModemHasLines(before + 1);
        Poll();
        return t;
      }
    }
    return 0;
  }
  // The start-up sequence against an answering modem: one step per tick after each answer.
  void RunStartup() {
    for (std::size_t step = 1; step <= 6; ++step) {
      Tick();
      ASSERT_TRUE(ModemHasLines(step)) << "step " << step;
      Poll();
    }
    Tick();  // step 7 ends the sequence
    ASSERT_FALSE(form->Exchange.ModemInitActive());
  }
  QColor StatusColour() const { return form->Status->palette().color(QPalette::Base); }
  std::size_t Count(const std::string& line) const {
    const auto l = modem.AtLines();
    return static_cast<std::size_t>(std::count(l.begin(), l.end(), line));
  }

  ts::ModemSimulator modem;
  ts::DeviceSimulator device;  // answers the SMS; not on a line of its own
  QDate day_{2026, 1, 5};      // winter: Berlin is at +01
  std::optional<ts::ScopedEnv> zone_;
};

// The same in summer, when Berlin is at +02.
class SmsE2ESummer : public SmsE2E {
 public:
  SmsE2ESummer() { day_ = QDate(2026, 7, 6); }
};

}  // namespace

TEST_F(SmsE2E, StartupSequenceOneStepPerAnsweredTick) {
  ASSERT_TRUE(boxes.empty()) << boxes[0].text;
  ASSERT_TRUE(form->SMSmode->isChecked());
  ASSERT_TRUE(form->Exchange.ModemInitActive());
  const std::vector<std::string> steps = {"AT+CGMI",   "AT+CSCS?",  "AT+CGMM",
                                          "AT+CMEE=2", "AT+CMGF=0", "AT+CMGL=1"};
  for (std::size_t i = 0; i < steps.size(); ++i) {
    Tick();
    ASSERT_TRUE(ModemHasLines(i + 1)) << steps[i];
    EXPECT_EQ(modem.AtLines()[i], steps[i]);
    // While the answer is outstanding further ticks send nothing.
    Tick();
    Tick();
    EXPECT_FALSE(ts::WaitUntil([&] { return modem.AtLines().size() > i + 1; }, 20)) << steps[i];
    Poll();
  }
  EXPECT_EQ(modem.Received().substr(0, 8), "AT+CGMI\r");
  EXPECT_NE(modem.Received().find("\n\rAT+CMGF=0\r"), std::string::npos);
  Tick();
  EXPECT_FALSE(form->Exchange.ModemInitActive());
  EXPECT_EQ(form->Status->text(), " ");
  EXPECT_EQ(form->Hersteller->text(), "GSM-SIM");
  EXPECT_EQ(form->ModelIDCode->text(), "GS64");
  EXPECT_EQ(StatusColour(), QColor(0, 255, 0));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SmsE2E, SilentPhoneTimesOutOnceAfter99Ticks) {
  modem.SetSilent(true);
  for (int t = 1; t <= 98; ++t) Tick();
  EXPECT_TRUE(boxes.empty());
  Tick();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Cell Phone not connected");
  EXPECT_EQ(boxes[0].caption, "Error");
  EXPECT_EQ(boxes[0].icon, platform::Icon::Stop);
  EXPECT_FALSE(form->Exchange.ModemInitActive());
  EXPECT_EQ(StatusColour(), QColor(0, 0, 0));
  ModemHasLines(1);
  EXPECT_EQ(modem.AtLines(),
            std::vector<std::string>{"AT+CGMI"});  // the sequence stalled at step 1
  // Further silence brings no second message; the polls go on unanswered.
  for (int t = 0; t < 150; ++t) Tick();
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(StatusColour(), QColor(0, 0, 0));
  // A later answer from the phone (to the poll under way) turns the field green again.
  modem.SetSilent(false);
  modem.Pty().Write("\r\nOK\r\n");
  ts::WaitUntil([&] { return modem.SlaveQueued() >= 6; }, 2000);
  form->SerialPort1->PollTick();
  Tick();
  EXPECT_EQ(StatusColour(), QColor(0, 255, 0));
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(SmsE2E, CommandGoesOutAsOneSubmitCycle) {
  RunStartup();
  const std::size_t before = modem.AtLines().size();
  form->ReadState->click();
  ASSERT_TRUE(ModemHasLines(before + 1));
  // 13 digits: 0D 91 and seven octets; with "GETST" CR the message has 21 octets.
  EXPECT_EQ(modem.AtLines().back(), "AT+CMGS=21");
  EXPECT_EQ(form->Exchange.Submit(), configurator::SubmitPhase::WaitingForPrompt);
  // The prompt's chunk brings the PDU and Ctrl-Z.
  Poll();
  ASSERT_TRUE(ts::WaitUntil([&] { return modem.Submissions().size() == 1; }, 2000));
  Quiet();
  const ts::ModemSimulator::Submission s = modem.Submissions()[0];
  ASSERT_TRUE(s.decoded.submit) << s.decoded.error << " in " << s.pdu;
  EXPECT_EQ(s.decoded.submit->destination, kDeviceNumber);
  EXPECT_EQ(s.decoded.submit->ascii, "GETST\r");
  EXPECT_EQ(s.decoded.submit->dataCoding, 0);
  EXPECT_EQ(s.messageReference, 1);
  EXPECT_EQ(modem.Received().find(std::string(1, '\0')),
            std::string::npos);  // no end mark on the wire
  EXPECT_EQ(form->Exchange.Submit(), configurator::SubmitPhase::PDUSent);
  // The tick arms the wait for the result; the result's chunk ends the cycle.
  Tick();
  EXPECT_EQ(form->SerialPort1->InputTimeout(), 5200u);
  Poll();
  EXPECT_EQ(form->Exchange.Submit(), configurator::SubmitPhase::Idle);
  EXPECT_NE(form->Exchange.Submit(), configurator::SubmitPhase::PDUSent);
  EXPECT_FALSE(form->Exchange.ModemBusy());
  EXPECT_EQ(form->SerialPort1->InputTimeout(), 700u);
  // The device's answer waits in the phone as an unread SMS from the device.
  ASSERT_EQ(modem.Store().size(), 1u);
  EXPECT_EQ(sms::DecodeDeliver(modem.Store()[0].pdu)->sender, kDeviceNumber);
}

TEST_F(SmsE2E, ListingsFirstMessageIsShownAndDeleted) {
  RunStartup();
  modem.AddDelivered(kDeviceNumber, "ST: IN 000000000001 OUT 00000000", Status::Read, 300);
  modem.AddDelivered(kDeviceNumber, "second answer", Status::Read, 301);
  const std::size_t before = modem.AtLines().size();
  ASSERT_GT(TicksUntilNewLine(25), 0);
  EXPECT_EQ(modem.AtLines()[before], "AT+CMGL=1");
  // The listing's chunk shows the first message and deletes it by the listed index.
  ASSERT_TRUE(ModemHasLines(before + 2));
  EXPECT_EQ(modem.AtLines()[before + 1], "AT+CMGD=300");
  EXPECT_FALSE(modem.Has(300));
  EXPECT_TRUE(modem.Has(301));
  EXPECT_NE(Input().find("ST: IN 000000000001 OUT 00000000"), std::string::npos) << Input();
  EXPECT_EQ(Input().find("second answer"), std::string::npos) << Input();
  Poll();  // the deletion's OK
  // The next poll of the read messages shows and deletes the other one.
  TicksUntilNewLine(25);  // AT+CMGL=0: nothing unread
  ASSERT_GT(TicksUntilNewLine(25), 0);
  EXPECT_EQ(modem.AtLines().back(), "AT+CMGL=1");
  ASSERT_TRUE(ModemHasLines(modem.AtLines().size() + 1));
  EXPECT_EQ(modem.AtLines().back(), "AT+CMGD=301");
  EXPECT_NE(Input().find("second answer"), std::string::npos) << Input();
  EXPECT_TRUE(modem.Store().empty());
}

// A listing longer than one read of the port is one listing: its first message is shown and
// deleted, once, and the modem stays busy until the listing's OK; a command given meanwhile
// goes out after it.
TEST_F(SmsE2E, ListingLongerThanOneReadIsOneListing) {
  RunStartup();
  for (int i = 0; i < 30; ++i)
    modem.AddDelivered(kDeviceNumber, "ANSWER " + std::to_string(i) + " " + std::string(140, 'x'),
                       Status::Read, 10 + i);
  const std::size_t before = modem.AtLines().size();
  for (int t = 0; t < 25 && modem.AtLines().size() == before; ++t) {
    Tick();
    ts::WaitUntil([&] { return modem.AtLines().size() > before; },
                  form->Exchange.PollPending() ? 2000 : 5);
  }
  ASSERT_EQ(modem.AtLines().at(before), "AT+CMGL=1");
  // The driver reads what has arrived, read by read.
  int reads = 0;
  while (form->Exchange.ListingOpen() && reads < 50) {
    ts::WaitUntil([&] { return modem.SlaveQueued() > 0; }, 500);
    form->SerialPort1->PollTick();
    Quiet();
    ++reads;
    if (form->Exchange.ListingOpen()) {
      EXPECT_TRUE(form->Exchange.ModemBusy());
      EXPECT_EQ(modem.AtLines().size(), before + 1);  // nothing deleted, nothing sent between
      if (reads == 1) form->ReadState->click();       // waits for the listing's end
    }
  }
  EXPECT_GT(reads, 1);
  ASSERT_TRUE(ModemHasLines(before + 3));
  EXPECT_EQ(modem.AtLines()[before + 1], "AT+CMGD=10");
  EXPECT_EQ(modem.AtLines()[before + 2], "AT+CMGS=21");
  EXPECT_EQ(modem.Deleted(), std::vector<int>{10});
  EXPECT_NE(Input().find("ANSWER 0 "), std::string::npos) << Input();
  EXPECT_EQ(Input().find("ANSWER 1 "), std::string::npos) << Input();
  polled_ = modem.SentTotal();
}

TEST_F(SmsE2E, DeviceAnswerOfACommandArrivesThroughThePoll) {
  RunStartup();
  form->ReadTH->click();
  ASSERT_TRUE(ModemHasLines(7));
  Poll();  // prompt: PDU and Ctrl-Z go out
  ASSERT_TRUE(ts::WaitUntil([&] { return modem.Submissions().size() == 1; }, 2000));
  Tick();
  Poll();  // result
  // The device's answer is unread: the polls alternate, so one of the next two lists it.
  for (int polls = 0; polls < 2 && modem.Has(1); ++polls) {
    ASSERT_GT(TicksUntilNewLine(25), 0);
    ts::WaitUntil([&] { return !modem.Has(1); }, 200);
    Quiet();
  }
  EXPECT_FALSE(modem.Has(1));
  EXPECT_NE(Input().find("TH: T 21.5C H 45%"), std::string::npos) << Input();
}

TEST_F(SmsE2E, PollsAlternateEvery21stQualifyingTick) {
  RunStartup();  // its last tick is the first qualifying one
  std::vector<std::pair<int, std::string>> polls;
  int tick = 1;
  for (int round = 0; round < 3; ++round) {
    const int t = TicksUntilNewLine(30);
    ASSERT_GT(t, 0) << "round " << round;
    tick += t;
    polls.emplace_back(tick, modem.AtLines().back());
  }
  EXPECT_EQ(polls, (std::vector<std::pair<int, std::string>>{
                       {21, "AT+CMGL=1"}, {42, "AT+CMGL=0"}, {63, "AT+CMGL=1"}}));
}

TEST_F(SmsE2E, MidnightWindowSendsOneDailyQueryAndHoldsThePolls) {
  RunStartup();
  const std::size_t before = modem.AtLines().size();
  SetClock(0, 0);
  for (int t = 0; t < 30; ++t) Tick();
  SetClock(0, 1);
  for (int t = 0; t < 30; ++t) Tick();
  ts::WaitUntil([&] { return modem.AtLines().size() > before; }, 20);
  EXPECT_EQ(modem.AtLines().size(), before)
      << modem.AtLines().back();  // no poll from 00:00 to 00:01

  SetClock(0, 2, 0);
  Tick();
  ASSERT_TRUE(ModemHasLines(before + 1));
  EXPECT_EQ(modem.AtLines().back().substr(0, 8), "AT+CMGS=");
  Poll();  // prompt
  ASSERT_TRUE(ts::WaitUntil([&] { return modem.Submissions().size() == 1; }, 2000));
  Quiet();
  ASSERT_TRUE(modem.Submissions()[0].decoded.submit);
  EXPECT_EQ(modem.Submissions()[0].decoded.submit->ascii, "GETMH\r");
  Tick();
  Poll();  // result
  SetClock(0, 2, 40);
  for (int t = 0; t < 30; ++t) Tick();
  ts::WaitUntil([&] { return modem.AtLines().size() > before + 1; }, 20);
  EXPECT_EQ(modem.AtLines().size(), before + 1);  // one GETMH, no poll in the 00:02 minute
  EXPECT_EQ(modem.Submissions().size(), 1u);

  SetClock(0, 3);
  const int t = TicksUntilNewLine(30);
  EXPECT_GT(t, 0);
  EXPECT_EQ(modem.AtLines().back().substr(0, 8), "AT+CMGL=");
}

// "Synchronize Modem Time" against a phone of the given make: the clock line it gets, and the
// clock that the next tick reads back.
void SyncModemCase(SmsE2E& t, const char* manufacturer, const char* line, const char* clock) {
  t.modem.SetManufacturer(manufacturer);
  t.modem.Clock().SetRunning(false);
  t.RunStartup();
  ASSERT_EQ(t.form->Hersteller->text().toStdString(), manufacturer);
  const std::size_t before = t.modem.AtLines().size();
  t.form->SyncModem->click();
  ASSERT_TRUE(t.ModemHasLines(before + 1));
  EXPECT_EQ(t.modem.AtLines().back(), line);
  EXPECT_EQ(t.modem.Clock().Text(), clock);
  t.Poll();
  t.Tick();
  ASSERT_TRUE(t.ModemHasLines(before + 2));
  EXPECT_EQ(t.modem.AtLines().back(), "AT+CCLK?");
  t.Poll();
  EXPECT_NE(t.form->Exchange.ClockText().find(clock), std::string::npos)
      << t.form->Exchange.ClockText();
}

// The Time Zone field starts with the PC's offset from UTC: Berlin's "+01" in winter goes to
// the modem as "+04" (quarter hours), its "+02" in summer as "+08".
TEST_F(SmsE2E, SynchronizeModemTimeWithZone) {
  EXPECT_EQ(form->TimeZone->text(), "+01");
  SyncModemCase(*this, "GSM-SIM", "AT+CCLK=\"26/01/05,12:00:30+04\"", "26/01/05,12:00:30+04");
}

TEST_F(SmsE2ESummer, SynchronizeModemTimeWithZone) {
  EXPECT_EQ(form->TimeZone->text(), "+02");
  SyncModemCase(*this, "GSM-SIM", "AT+CCLK=\"26/07/06,12:00:30+08\"", "26/07/06,12:00:30+08");
}

TEST_F(SmsE2E, SynchronizeModemTimeWithoutZoneForSiemensPhones) {
  SyncModemCase(*this, "SIEMENS", "AT+CCLK=\"26/01/05,12:00:30\"", "26/01/05,12:00:30");
}

// A command given while an AT answer is outstanding waits; it goes out as soon as the answer
// has come, and the start-up sequence goes on after the submit.
TEST_F(SmsE2E, CommandMeetingABusyModemWaitsForTheAnswer) {
  Tick();  // step 1: AT+CGMI is out, its answer not yet polled
  ASSERT_TRUE(ModemHasLines(1));
  ASSERT_TRUE(form->Exchange.ModemBusy());
  form->ReadState->click();
  EXPECT_FALSE(ts::WaitUntil([&] { return modem.AtLines().size() > 1; }, 50));
  EXPECT_EQ(form->Exchange.Waiting(), 1u);
  Poll();  // the answer to AT+CGMI frees the modem: the command goes out
  ASSERT_TRUE(ModemHasLines(2));
  EXPECT_EQ(modem.AtLines()[1], "AT+CMGS=21");
  EXPECT_EQ(form->Exchange.Waiting(), 0u);
  Tick();  // the sequence waits for the submit
  Poll();  // the prompt: the PDU goes out
  ASSERT_TRUE(ts::WaitUntil([&] { return modem.Submissions().size() == 1; }, 2000));
  Quiet();
  EXPECT_EQ(modem.Submissions()[0].decoded.submit->ascii, "GETST\r");
  Tick();
  Poll();  // the submit's result
  EXPECT_FALSE(form->Exchange.ModemBusy());
  Tick();
  ASSERT_TRUE(ModemHasLines(3));
  EXPECT_EQ(modem.AtLines()[2], "AT+CSCS?");
  EXPECT_TRUE(boxes.empty());
}

// An error answer to AT+CMGS ends the submit: no PDU, the answer shown, the modem free.
TEST_F(SmsE2E, ErrorInsteadOfThePromptSendsNoPdu) {
  RunStartup();
  modem.SetReply("AT+CMGS=21", "\r\n+CMS ERROR: 500\r\n");
  const std::size_t before = modem.AtLines().size();
  form->ReadState->click();
  ASSERT_TRUE(ModemHasLines(before + 1));
  Poll();
  EXPECT_FALSE(ts::WaitUntil([&] { return modem.AtLines().size() > before + 1; }, 100));
  EXPECT_EQ(modem.Received().find("0011"), std::string::npos);
  EXPECT_TRUE(modem.Submissions().empty());
  EXPECT_NE(Input().find("+CMS ERROR: 500"), std::string::npos) << Input();
  EXPECT_FALSE(form->Exchange.ModemBusy());
  EXPECT_EQ(form->Exchange.Submit(), configurator::SubmitPhase::Idle);
}

TEST_F(SmsE2E, UnreadableListedPduIsDeletedAllTheSame) {
  RunStartup();
  modem.AddPdu("0000000000", Status::Read, 7);  // fails the decoder's check: nothing to show
  ASSERT_GT(TicksUntilNewLine(25), 0);
  ASSERT_EQ(modem.AtLines().back(), "AT+CMGL=1");
  ASSERT_TRUE(ModemHasLines(modem.AtLines().size() + 1));
  EXPECT_EQ(modem.AtLines().back(), "AT+CMGD=7");
  EXPECT_FALSE(modem.Has(7));
  EXPECT_TRUE(ts::TrimText(Input(), true).empty()) << Input();
  EXPECT_TRUE(boxes.empty());
}

// Set Date/Time in SMS mode, in winter and in summer: the PC's clock and its offset from UTC.
void SetDateTimeCase(SmsE2E& t, const std::string& line) {
  t.RunStartup();
  const std::size_t before = t.modem.AtLines().size();
  t.modem.ClearLogs();
  t.form->SetDT->click();
  ASSERT_TRUE(t.ModemHasLines(before + 1));
  EXPECT_EQ(t.modem.Received(), line + "\r");  // no frame, no zero byte, no SMS
  EXPECT_TRUE(t.modem.Submissions().empty());
  t.Poll();  // the phone's ERROR for a line it does not know
  t.Tick();
  ASSERT_TRUE(t.ModemHasLines(before + 2));
  EXPECT_EQ(t.modem.AtLines().back(), "AT+CCLK?");
}

TEST_F(SmsE2E, SetDateTimeGoesToThePhoneUnframedThenTheClockIsAsked) {
  SetDateTimeCase(*this, "SETTM 26/01/05,12:00:30+01");
}

TEST_F(SmsE2ESummer, SetDateTimeGoesToThePhoneUnframedThenTheClockIsAsked) {
  SetDateTimeCase(*this, "SETTM 26/07/06,12:00:30+02");
}

TEST_F(SmsE2E, SetDateTimeTakesTheZoneTheUserTyped) {
  RunStartup();
  const std::size_t before = modem.AtLines().size();
  modem.ClearLogs();
  form->TimeZone->setText("-05");
  form->SetDT->click();
  ASSERT_TRUE(ModemHasLines(before + 1));
  EXPECT_EQ(modem.Received(), "SETTM 26/01/05,12:00:30-05\r");
}

// The line pulled in SMS mode: the next store poll meets it, the port closes and its lock
// goes, the user is told once; the polls after it neither write nor tell again, and once
// com1 leads to a new line the next poll goes out on it.
TEST_F(SmsE2E, LostLineAtAStorePollIsToldOnceAndTheRelinkedPortPollsAgain) {
  RunStartup();
  const std::string lock = form->SerialPort1->HeldLock();
  ASSERT_FALSE(lock.empty());
  boxes.clear();
  modem.StopServing();
  modem.Pty().Unplug();
  const std::uint64_t attempts = form->SerialPort1->WriteAttempts();
  for (int t = 0; t < 70; ++t) {
    Tick();
    QCoreApplication::processEvents();
    Quiet();
  }
  EXPECT_LE(form->SerialPort1->WriteAttempts() - attempts, 1u);
  EXPECT_FALSE(form->SerialPort1->Connected());
  EXPECT_FALSE(std::filesystem::exists(lock));
  EXPECT_EQ(form->Status->text().toStdString(), configurator::kLineLostStatus);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, configurator::kLineLostText);

  // Relinked to a new modem, the next store poll opens the port and goes out there.
  ts::ModemSimulator replugged;
  ASSERT_TRUE(replugged.Open());
  replugged.Serve();
  const std::string link = platform::PortFolder() + "/com1";
  std::filesystem::remove(link);
  std::filesystem::create_symlink(replugged.SlavePath(), link);
  for (int t = 0; t < 30 && !form->SerialPort1->Connected(); ++t) {
    Tick();
    QCoreApplication::processEvents();
  }
  Quiet();
  ASSERT_TRUE(ts::WaitUntil([&] { return !replugged.AtLines().empty(); }, 2000));
  EXPECT_EQ(replugged.AtLines().front().rfind("AT+CMGL=", 0), 0u) << replugged.AtLines().front();
  EXPECT_TRUE(form->SerialPort1->Connected());
  EXPECT_NE(form->Status->text().toStdString(), configurator::kLineLostStatus);
  EXPECT_EQ(boxes.size(), 1u);
}
