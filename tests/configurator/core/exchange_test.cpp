// The serial and modem exchange on its own: inputs (chunks, ticks, commands) in, the bytes for
// the line and the window's outputs recorded. No window, no port.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "configurator/core/exchange.h"
#include "configurator/core/pages.h"
#include "configurator/core/pdu.h"
#include "configurator/core/replyparse.h"

namespace {

using configurator::Answer;
using configurator::ExchangeContext;
using configurator::ExchangeIO;
using configurator::Line;
using configurator::Page;
using configurator::PageIndex;
using configurator::ReplyField;
using configurator::SerialExchange;
using configurator::SubmitPhase;
using configurator::TEditValue;
using configurator::TEditValues;

class Recorder final : public ExchangeIO {
 public:
  void Write(const std::string& bytes) override { wire += bytes; }
  bool Connect() override { return portOpens; }
  void SerialTimeSetting() override { timing.push_back("T"); }
  void PollingDelay(int ms) override { timing.push_back("P" + std::to_string(ms)); }
  void InputTimeout(unsigned ms) override { timing.push_back("I" + std::to_string(ms)); }
  void MemoOut(Memo where, const std::string& text) override {
    if (where == Memo::InputAppend || where == Memo::InputAtTop) memo += text;
    if (where == Memo::InputClear) memo.clear();
    if (where == Memo::SentLine) sent.push_back(text);
  }
  void FieldText(Field f, const std::string& text) override { fields[static_cast<int>(f)] = text; }
  void PageEdit(const TEditValue& v) override { edits.push_back(v); }
  void StatusColour(int r, int g, int b) override { colour = {r, g, b}; }
  void StatusText(const std::string& text) override { statusText = text; }
  void BusyCursor(bool busy) override { cursor = busy; }
  void Message(Box box) override { boxes.push_back(box); }

  // What went on the line since the last call.
  std::string Wire() { return std::exchange(wire, {}); }

  bool portOpens = true;
  std::string wire, memo, statusText;
  std::vector<std::string> timing, sent;
  std::vector<TEditValue> edits;
  std::string fields[3];
  std::vector<int> colour;
  bool cursor = false;
  std::vector<Box> boxes;
};

class Exchange : public ::testing::Test {
 protected:
  Exchange() {
    sms.smsMode = true;
    sms.tkNumber = "+1234567";
    sms.now = QDateTime(QDate(2026, 3, 1), QTime(12, 0, 0));
    sms.manufacturer = "GSM";
    sms.timeZone = "+02";
    direct = sms;
    direct.smsMode = false;
  }
  void Ticks(int n, const ExchangeContext& c) {
    for (int i = 0; i < n; ++i) x.Tick(c);
  }
  void Chunk(const std::string& bytes) { x.Chunk(bytes, sms); }
  // Ticks until the poll goes out; returns its line.
  std::string PollNow() {
    Ticks(21, sms);
    return io.Wire();
  }

  Recorder io;
  SerialExchange x{io};
  ExchangeContext sms, direct;
};

// An SMS-DELIVER PDU from +4917012345678 with the given text.
std::string DeliverPdu(const std::string& text) {
  char udl[3];
  std::snprintf(udl, sizeof udl, "%02X", static_cast<unsigned>(text.size()));
  return std::string(
             "07919471000000F0"
             "040C91947110325476"
             "0000"
             "62105021000000") +
         udl + configurator::PackSeptets(text);
}
std::string Listed(int index, const std::string& text) {
  return "\r\n+CMGL: " + std::to_string(index) + ",0,,26\r\n" + DeliverPdu(text);
}

constexpr const char* kGetstPdu = "0011300791214365F700000B06C722754A6D00";
const std::vector<int> kRed{255, 0, 0}, kGreen{0, 255, 0};

// ---- framing ---------------------------------------------------------------------------

TEST_F(Exchange, DirectAndRawLines) {
  const std::string frame(14, ' ');
  struct Case {
    std::string command;
    bool raw;
    std::string wire;
  } cases[] = {
      {"GETST", false, frame + "SETUP:GETST\r" + std::string(1, '\0')},
      {"GETTX01 ", false,
       frame + "SETUP:GETTX01 " + std::string(40, ' ') + "\r" + std::string(1, '\0')},
      {"SETTI05 abc", false,
       frame + "SETUP:SETTI05 abc" + std::string(12, ' ') + "\r" + std::string(1, '\0')},
      {"SETTX" + std::string(45, 'x'), false,
       frame + "SETUP:SETTX" + std::string(45, 'x') + "\r" + std::string(1, '\0')},
      {"  AT+CSQ", true, "  AT+CSQ\r"},
      {"\x1A", true, "\x1A\r"},
  };
  for (const Case& c : cases) {
    if (!c.raw) x.Clear();
    io.timing.clear();
    x.Command(c.command, direct, c.raw ? Line::RawAT : Line::AsModeStands);
    EXPECT_EQ(io.Wire(), c.wire) << c.command;
    EXPECT_EQ(io.timing, (std::vector<std::string>{"T", "P4000"})) << c.command;
  }
}

// Raw AT mode lasts from a raw AT line until its answer, the window's Clear, a Read box or the
// start values; the lines given as the mode stands go out bare while it lasts.
TEST_F(Exchange, RawATModeLastsUntilItsAnswerOrAClear) {
  const std::string frame = std::string(14, ' ') + "SETUP:RSTEN0\r" + std::string(1, '\0');
  const std::function<void()> ends[] = {
      [&] { x.Chunk("\r\n+CSQ: 17,0\r\n", direct); },
      [&] { x.Clear(); },
      [&] { x.EndRawATMode(); },
      [&] { x.Reset(); },
  };
  for (const auto& end : ends) {
    x.Command("  AT+CSQ", direct, Line::RawAT);
    EXPECT_EQ(io.Wire(), "  AT+CSQ\r");
    x.Command("RSTEN0", direct);
    EXPECT_EQ(io.Wire(), "RSTEN0\r");
    x.Chunk("AT+CSQ\r\r\n", direct);  // the echo: its carriage return comes late
    x.Command("RSTEN0", direct);
    EXPECT_EQ(io.Wire(), "RSTEN0\r");
    end();
    x.Command("RSTEN0", direct);
    EXPECT_EQ(io.Wire(), frame);
    x.Tick(direct);
  }
}

// A chunk of zero bytes leaves a reply text but doesn't flag it: it is shown only where the
// window awaits a reply (its Clear, or a command that awaits one) and not after the start-up.
TEST_F(Exchange, ZeroByteReplyIsShownOnlyWhereAReplyIsAwaited) {
  const std::string zero(1, '\0');
  const std::pair<std::function<void(SerialExchange&)>, std::string> cases[] = {
      {[](SerialExchange&) {}, ""},
      {[&](SerialExchange& e) { e.Clear(); }, zero + "\r\n"},
      {[&](SerialExchange& e) { e.Command("GETMP", direct, Line::AwaitReply); }, zero + "\r\n"},
      {[&](SerialExchange& e) { e.Command("GETMP", direct); }, ""},
      {[&](SerialExchange& e) {
         e.Clear();
         e.Reset();
       },
       ""},
  };
  for (const auto& [before, shown] : cases) {
    Recorder rio;
    SerialExchange e(rio);
    before(e);
    e.Chunk(zero, direct);
    e.Tick(direct);
    EXPECT_EQ(rio.memo, shown);
  }
}

// ---- the submit of one SMS ----------------------------------------------------------------

TEST_F(Exchange, SubmitCycle) {
  x.Command("GETST", sms);
  EXPECT_EQ(io.Wire(), "AT+CMGS=18\r");
  EXPECT_EQ(x.Submit(), SubmitPhase::WaitingForPrompt);
  x.Tick(sms);
  EXPECT_EQ(io.colour, kRed);
  // The PDU kept since the announcement goes out on the prompt.
  Chunk("AT+CMGS=18\r\r\n> ");
  EXPECT_EQ(io.Wire(), std::string(kGetstPdu) + "\x1A");
  EXPECT_EQ(io.sent, std::vector<std::string>{kGetstPdu});
  EXPECT_EQ(x.Submit(), SubmitPhase::PDUSent);
  io.timing.clear();
  x.Tick(sms);
  EXPECT_EQ(x.Submit(), SubmitPhase::WaitingForResult);
  EXPECT_EQ(io.timing, (std::vector<std::string>{"T", "I5200"}));
  EXPECT_EQ(io.colour, kRed);
  Chunk("\r\n+CMGS: 5\r\n\r\nOK\r\n");
  EXPECT_EQ(x.Submit(), SubmitPhase::Idle);
  EXPECT_EQ(io.timing.back(), "I700");
  EXPECT_EQ(io.Wire(), "");
  x.Tick(sms);
  EXPECT_EQ(io.colour, kGreen);
}

// The PDU goes out on the prompt only; an error answer ends the submit, is shown, and leaves
// the modem free; anything else keeps the submit waiting for its prompt.
TEST_F(Exchange, OnlyThePromptBringsThePdu) {
  struct Case {
    std::string chunk;
    std::string wire;
    SubmitPhase after;
    std::string shown;
  } cases[] = {
      {"> ", std::string(kGetstPdu) + "\x1A", SubmitPhase::PDUSent, ""},
      {"\r\n> ", std::string(kGetstPdu) + "\x1A", SubmitPhase::PDUSent, ""},
      {"AT+CMGS=18\r", "", SubmitPhase::WaitingForPrompt, ""},
      {"\r\nRING\r\n", "", SubmitPhase::WaitingForPrompt, ""},
      {"AT+CMGS=18\r\r\nERROR\r\n", "", SubmitPhase::Idle, "ERROR\r\n"},
      {"\r\n+CMS ERROR: 304\r\n", "", SubmitPhase::Idle, "+CMS ERROR: 304\r\n"},
      {"\r\n+CME ERROR: SIM not inserted\r\n", "", SubmitPhase::Idle,
       "+CME ERROR: SIM not inserted\r\n"},
  };
  for (const Case& c : cases) {
    Recorder rio;
    SerialExchange e(rio);
    e.Command("GETST", sms);
    rio.Wire();
    e.Chunk(c.chunk, sms);
    EXPECT_EQ(rio.Wire(), c.wire) << c.chunk;
    EXPECT_EQ(e.Submit(), c.after) << c.chunk;
    EXPECT_EQ(rio.memo, c.shown) << c.chunk;
    e.Tick(sms);
    EXPECT_EQ(rio.colour, c.after != SubmitPhase::Idle ? kRed : kGreen) << c.chunk;
  }
}

TEST_F(Exchange, PhoneNumberMustBeAPlusAndDigits) {
  struct Case {
    std::string number;
    bool ok;
  } cases[] = {
      {"+1234567", true}, {"1234567", true},        {"+4917012345678", true}, {"", false},
      {"+", false},       {"+4917 1234567", false}, {"12a4", false},          {"++12", false},
      {"+49-171", false}, {" +4917", false},        {"+4917\r", false},
  };
  for (const Case& c : cases) {
    Recorder rio;
    SerialExchange e(rio);
    ExchangeContext ctx = sms;
    ctx.tkNumber = c.number;
    e.Command("GETST", ctx);
    if (c.ok) {
      EXPECT_EQ(rio.Wire().substr(0, 8), "AT+CMGS=") << c.number;
      EXPECT_TRUE(rio.boxes.empty()) << c.number;
    } else {
      EXPECT_EQ(rio.Wire(), "") << c.number;
      EXPECT_EQ(rio.boxes, std::vector<ExchangeIO::Box>{ExchangeIO::Box::PhoneNumber}) << c.number;
      EXPECT_FALSE(e.PollInhibit()) << c.number;
      EXPECT_EQ(e.Submit(), SubmitPhase::Idle) << c.number;
      EXPECT_FALSE(rio.cursor) << c.number;
      e.Tick(ctx);
      EXPECT_EQ(rio.colour, kGreen) << c.number;
      // No lone Ctrl-Z later either.
      e.Chunk("\r\n> ", ctx);
      EXPECT_EQ(rio.Wire(), "") << c.number;
    }
  }
}

TEST_F(Exchange, CommandTooLongForOneSmsIsRefused) {
  x.Command(std::string(160, 'A'), sms);
  EXPECT_EQ(io.Wire(), "");
  EXPECT_EQ(io.boxes, std::vector<ExchangeIO::Box>{ExchangeIO::Box::TooLong});
  x.Command(std::string(159, 'A'), sms);
  EXPECT_EQ(io.Wire().substr(0, 8), "AT+CMGS=");
}

// Commands given while the modem is busy wait, in order, and each goes out when the exchange
// before it has ended.
TEST_F(Exchange, CommandsMeetingABusyModemWaitInTurn) {
  x.Run(configurator::Routine::GetHersteller);
  EXPECT_EQ(io.Wire(), "AT+CGMI\r");
  x.Command("GETST", sms);
  x.Command("GETTH", sms);
  EXPECT_EQ(io.Wire(), "");
  EXPECT_EQ(x.Waiting(), 2u);
  EXPECT_TRUE(io.cursor);
  Chunk("AT+CGMI\r\r\nGSM\r\n\r\nOK\r\n");
  EXPECT_EQ(io.Wire(), "AT+CMGS=18\r");
  EXPECT_EQ(x.Waiting(), 1u);
  Chunk("> ");
  EXPECT_EQ(io.Wire(), std::string(kGetstPdu) + "\x1A");
  x.Tick(sms);
  EXPECT_EQ(io.Wire(), "");  // the second waits for the first one's result
  Chunk("\r\n+CMGS: 5\r\n\r\nOK\r\n");
  EXPECT_EQ(io.Wire(), "AT+CMGS=18\r");
  EXPECT_EQ(x.Waiting(), 0u);
}

// A waiting SMS goes to the modem only: a reply in direct mode does not let it out.
TEST_F(Exchange, WaitingCommandStaysWhileInDirectMode) {
  x.Run(configurator::Routine::GetModel);
  x.Command("GETST", sms);
  io.Wire();
  x.Chunk("\r\nOK\r\n", direct);
  EXPECT_EQ(io.Wire(), "");
  EXPECT_EQ(x.Waiting(), 1u);
  x.Tick(sms);
  EXPECT_EQ(io.Wire(), "AT+CMGS=18\r");
}

TEST_F(Exchange, PromptThatNeverComesEndsTheSubmitAfterTheTimeOut) {
  x.Command("GETST", sms);
  io.Wire();
  x.Command("GETTH", sms);
  Ticks(SerialExchange::kAnswerTimeoutTicks - 1, sms);
  EXPECT_EQ(x.Submit(), SubmitPhase::WaitingForPrompt);
  EXPECT_EQ(io.Wire(), "");
  x.Tick(sms);
  EXPECT_NE(io.memo.find("the command was not sent"), std::string::npos) << io.memo;
  // The waiting command goes out now.
  EXPECT_EQ(io.Wire(), "AT+CMGS=18\r");
  EXPECT_EQ(x.Submit(), SubmitPhase::WaitingForPrompt);
}

TEST_F(Exchange, SilentModemIsFreeAgainAfterTheTimeOut) {
  x.Run(configurator::Routine::GetDateTime);
  EXPECT_EQ(io.Wire(), "AT+CCLK?\r");
  x.Command("GETST", sms);
  Ticks(SerialExchange::kAnswerTimeoutTicks - 1, sms);
  EXPECT_EQ(io.Wire(), "");
  x.Tick(sms);
  EXPECT_EQ(io.Wire(), "AT+CMGS=18\r");
  EXPECT_TRUE(x.Awaiting(Answer::CCLK));  // its parser still waits for a value
}

// ---- the polls of the message store -----------------------------------------------------

TEST_F(Exchange, PollsAlternateAndHoldTheModemUntilTheListingEnds) {
  EXPECT_EQ(PollNow(), "AT+CMGL=1\r");
  EXPECT_TRUE(x.PollPending());
  // A command now waits for the listing, also past its first read.
  x.Command("GETST", sms);
  EXPECT_EQ(io.Wire(), "");
  Chunk("AT+CMGL=1\r" + Listed(3, "VERSION 1.2"));
  EXPECT_EQ(io.Wire(), "");
  EXPECT_FALSE(x.PollPending());
  Chunk("\r\n\r\nOK\r\n");
  EXPECT_EQ(io.Wire(), "AT+CMGD=3\rAT+CMGS=18\r");
  EXPECT_NE(io.memo.find("VERSION 1.2"), std::string::npos);
  // The submit runs its course; the next poll is AT+CMGL=0 twenty-one free ticks later.
  Chunk("> ");
  x.Tick(sms);
  Chunk("\r\n+CMGS: 5\r\n\r\nOK\r\n");
  io.Wire();
  Ticks(20, sms);
  EXPECT_EQ(io.Wire(), "");
  x.Tick(sms);
  EXPECT_EQ(io.Wire(), "AT+CMGL=0\r");
  Chunk("\r\nERROR\r\n");  // an error ends the listing too
  x.Tick(sms);
  EXPECT_EQ(io.colour, kGreen);
}

// A listing in several reads is one listing: its first message is shown and deleted once.
TEST_F(Exchange, ListingInSeveralReadsIsOneListing) {
  std::string listing = "AT+CMGL=1\r";
  for (int i = 1; i <= 40; ++i) listing += Listed(i, "MESSAGE " + std::to_string(i));
  listing += "\r\n\r\nOK\r\n";
  ASSERT_EQ(PollNow(), "AT+CMGL=1\r");
  const std::size_t piece = 1000;
  for (std::size_t at = 0; at < listing.size(); at += piece) {
    EXPECT_EQ(io.Wire(), "");
    EXPECT_EQ(io.memo, "");
    Chunk(listing.substr(at, piece));
  }
  EXPECT_EQ(io.Wire(), "AT+CMGD=1\r");
  EXPECT_NE(io.memo.find("MESSAGE 1\r\n"), std::string::npos) << io.memo;
  EXPECT_EQ(io.memo.find("MESSAGE 2"), std::string::npos) << io.memo;
  x.Tick(sms);
  EXPECT_EQ(io.colour, kGreen);
}

// The final OK may be split between two reads.
TEST_F(Exchange, FinalResultSplitBetweenReads) {
  ASSERT_EQ(PollNow(), "AT+CMGL=1\r");
  Chunk(Listed(7, "X") + "\r\n\r\nO");
  EXPECT_EQ(io.Wire(), "");
  Chunk("K\r\n");
  EXPECT_EQ(io.Wire(), "AT+CMGD=7\r");
  x.Tick(sms);
  EXPECT_EQ(io.colour, kGreen);
}

TEST_F(Exchange, SilentListingIsGivenUpAndNothingDeleted) {
  ASSERT_EQ(PollNow(), "AT+CMGL=1\r");
  Chunk(Listed(3, "HALF"));
  Ticks(SerialExchange::kAnswerTimeoutTicks - 1, sms);
  EXPECT_EQ(io.colour, kRed);
  x.Tick(sms);
  EXPECT_EQ(io.Wire(), "");
  EXPECT_EQ(io.memo, "");
  // Polling goes on; the tick of the time-out was the first free one.
  Ticks(19, sms);
  EXPECT_EQ(io.colour, kGreen);
  EXPECT_EQ(io.Wire(), "");
  x.Tick(sms);
  EXPECT_EQ(io.Wire(), "AT+CMGL=0\r");
}

TEST_F(Exchange, MidnightWindowSendsOneDailyQuery) {
  ExchangeContext night = sms;
  auto at = [&](int h, int m) {
    night.now = QDateTime(QDate(2026, 3, 2), QTime(h, m, 0));
    return night;
  };
  at(0, 0);
  Ticks(40, night);
  EXPECT_EQ(io.Wire(), "");
  at(0, 2);
  x.Tick(night);
  EXPECT_EQ(io.Wire(), "AT+CMGS=18\r");
  x.Chunk("> ", night);
  io.Wire();
  x.Tick(night);
  x.Chunk("\r\nOK\r\n", night);
  Ticks(40, night);
  EXPECT_EQ(io.Wire(), "");
  at(0, 3);
  Ticks(21, night);
  EXPECT_EQ(io.Wire(), "AT+CMGL=1\r");
}

// ---- the modem's start-up and clock ---------------------------------------------------------

TEST_F(Exchange, StartUpSequenceOneStepPerAnsweredTick) {
  x.ReadAllParameter(true);
  struct Step {
    const char* wire;
    const char* answer;
  } steps[] = {
      {"AT+CGMI\r", "AT+CGMI\r\r\nSIEMENS\r\n\r\nOK\r\n"},
      {"AT+CSCS?\r", "AT+CSCS?\r\r\n+CSCS: \"GSM\"\r\n\r\nOK\r\n"},
      {"AT+CGMM\r", "AT+CGMM\r\r\nMC35i\r\n\r\nOK\r\n"},
      {"AT+CMEE=2\r", "AT+CMEE=2\r\r\nOK\r\n"},
      {"\n\rAT+CMGF=0\r", "AT+CMGF=0\r\r\nOK\r\n"},
      {"\n\rAT+CMGL=1\r", "AT+CMGL=1\r\r\n+CMGL: 1,1,,26\r\n"},
  };
  for (const Step& s : steps) {
    x.Tick(sms);
    EXPECT_EQ(io.Wire(), s.wire);
    x.Tick(sms);
    EXPECT_EQ(io.Wire(), "") << s.wire;
    Chunk(s.answer);
  }
  // The listing of the last step is open until its OK.
  x.Tick(sms);
  EXPECT_TRUE(x.ModemInitActive());
  Chunk("\r\nOK\r\n");
  x.Tick(sms);
  EXPECT_FALSE(x.ModemInitActive());
  EXPECT_EQ(io.statusText, " ");
  EXPECT_EQ(io.fields[0], "SIEMENS");
  EXPECT_EQ(io.fields[1], "MC35i");
  EXPECT_EQ(io.fields[2], "1,1,,26");  // the SIM status line, read by the clock rule
  EXPECT_FALSE(x.AwaitingAny());
}

TEST_F(Exchange, SilentPhoneTimesOutOnce) {
  x.ReadAllParameter(true);
  Ticks(98, sms);
  EXPECT_TRUE(io.boxes.empty());
  x.Tick(sms);
  EXPECT_EQ(io.boxes, std::vector<ExchangeIO::Box>{ExchangeIO::Box::NotConnected});
  EXPECT_TRUE(x.PhoneNotConnected());
  EXPECT_EQ(io.colour, (std::vector<int>{0, 0, 0}));
  // The modem is free again: a command goes out at once.
  io.Wire();
  x.Command("GETST", sms);
  EXPECT_EQ(io.Wire(), "AT+CMGS=18\r");
}

TEST(ExchangeZone, HoursToQuarterHours) {
  struct Case {
    std::string hours, quarters;
  } cases[] = {
      {"+02", "+08"}, {"-05", "-20"}, {"02", "+08"},  {"+2", "+08"}, {"+00", "+00"},
      {"+13", "+52"}, {"-12", "-48"}, {"+24", "+96"}, {"+25", ""},   {"abc", ""},
      {"", ""},       {"+", ""},      {"+0a", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(configurator::ZoneInQuarterHours(c.hours), c.quarters) << c.hours;
}

TEST_F(Exchange, ModemClockLineCarriesQuarterHours) {
  struct Case {
    std::string manufacturer, zone, wire;
  } cases[] = {
      {"GSM", "+02", "AT+CCLK=\"26/01/05,09:07:03+08\"\r"},
      {"GSM", "-05", "AT+CCLK=\"26/01/05,09:07:03-20\"\r"},
      {"GSM", "bad", "AT+CCLK=\"26/01/05,09:07:03\"\r"},
      {"SIEMENS MC35", "+02", "AT+CCLK=\"26/01/05,09:07:03\"\r"},
  };
  for (const Case& c : cases) {
    ExchangeContext ctx = sms;
    ctx.manufacturer = c.manufacturer;
    ctx.timeZone = c.zone;
    EXPECT_TRUE(x.SendClockLine(SerialExchange::ClockLine::Modem, ctx, "26/01/05,09:07:03"));
    EXPECT_EQ(io.Wire(), c.wire) << c.zone;
    EXPECT_TRUE(x.ClockQueryPending());
  }
  // The device's own clock line goes as it stands, its zone in hours.
  x.SendClockLine(SerialExchange::ClockLine::Device, sms, "SETTM 26/01/05,09:07:03+02");
  EXPECT_EQ(io.Wire(), "SETTM 26/01/05,09:07:03+02\r");
}

TEST_F(Exchange, ClockLineWaitsForABusyModem) {
  x.Run(configurator::Routine::GetModel);
  io.Wire();
  x.SendClockLine(SerialExchange::ClockLine::Modem, sms, "26/01/05,09:07:03");
  EXPECT_EQ(io.Wire(), "");
  Chunk("AT+CGMM\r\r\nX\r\n\r\nOK\r\n");
  EXPECT_EQ(io.Wire(), "AT+CCLK=\"26/01/05,09:07:03+08\"\r");
  // The clock query follows on the next tick.
  x.Tick(sms);
  EXPECT_EQ(io.Wire(), "AT+CCLK?\r");
}

// ---- direct-mode replies ------------------------------------------------------------------

TEST_F(Exchange, DirectReplyIsParsedByPageAndAppended) {
  struct Case {
    int page;
    bool skip;
    std::string chunk;
    TEditValues edits;
    std::string memo;
  } cases[] = {
      {PageIndex(Page::GprsFtp),
       false,
       "APN: internet\r\n",
       {{ReplyField::APN, 0, "internet"}},
       "APN: internet\r\n\r\n"},
      {PageIndex(Page::ExternalSMS),
       true,
       "05: Door open\r\n",
       {{ReplyField::TXTSMS, 5, "Door open  "}},
       "05: Door open  \r\n"},
      {PageIndex(Page::ExternalSMS), false, "99", {}, "99\r\n"},
  };
  for (const Case& c : cases) {
    Recorder rio;
    SerialExchange e(rio);
    ExchangeContext ctx = direct;
    ctx.page = c.page;
    ctx.skipCRLF = c.skip;
    e.Chunk(c.chunk, ctx);
    e.Tick(ctx);
    EXPECT_EQ(rio.edits, c.edits) << c.chunk;
    EXPECT_EQ(rio.memo, c.memo) << c.chunk;
    // Shown once: the next tick has nothing left.
    e.Tick(ctx);
    EXPECT_EQ(rio.edits, c.edits) << c.chunk;
    EXPECT_EQ(rio.memo, c.memo) << c.chunk;
  }
}

TEST_F(Exchange, ZeroBytesOnlyChangeNothingButTheTiming) {
  x.Restore([](auto& s) { s.PollInhibit = true; });
  x.Chunk(std::string(3, '\0'), direct);
  EXPECT_TRUE(x.PollInhibit());
  EXPECT_FALSE(x.DataArrived());
  EXPECT_EQ(io.timing, (std::vector<std::string>{"T", "P4000"}));
}

TEST_F(Exchange, EveryStateChangeCanBeLogged) {
  std::vector<std::string> log;
  x.Log = [&](const std::string& s) { log.push_back(s); };
  x.Command("GETST", sms);
  EXPECT_EQ(log, (std::vector<std::string>{
                     "PollInhibit 0 -> 1", "Submit Idle -> WaitingForPrompt", "ModemBusy 0 -> 1",
                     "PendingPDU \"\" -> \"" + std::string(kGetstPdu) + "<00>\""}));
  // What the window changes is an input too, and logged like the rest.
  log.clear();
  x.Command("  AT", direct, Line::RawAT);
  x.Clear();
  EXPECT_EQ(
      log, (std::vector<std::string>{"RawATMode 0 -> 1", "ReplyReady 0 -> 1", "RawATMode 1 -> 0"}));
}

}  // namespace
