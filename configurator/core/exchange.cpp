// The serial and modem exchange: framing, reply assembly, the SMS submit, the polls of the
// message store, the modem start-up sequence and the AT routines, on one state.
#include "configurator/core/exchange.h"

#include <algorithm>
#include <cctype>
#include <type_traits>
#include <utility>

#include "configurator/core/pdu.h"

namespace configurator {

namespace {
constexpr const char* kFramePrefix = "              SETUP:";  // 14 blanks and "SETUP:"
constexpr std::size_t kMaxSmsText = 160;                      // one SMS of the default alphabet
constexpr int kNoReplyLimit = 99;
constexpr int kPollTicks = 20;
// The listing rule reads the first 511 characters; a little more is kept.
constexpr std::size_t kListingHead = 1024;
constexpr std::size_t kLineCap = 64;
constexpr const char* kNoPromptText = "No answer from the modem: the command was not sent.";

std::string Filled(std::string command) {
  const std::string head = command.substr(0, 5);
  if ((head == "SETTX" || head == "GETTX") && command.size() < 48) command.resize(48, ' ');
  if ((head == "SETTI" || head == "GETTI") && command.size() < 23) command.resize(23, ' ');
  return command;
}

bool StartsWith(const std::string& s, const char* p) { return s.rfind(p, 0) == 0; }

// A final result line that reports an error.
bool ErrorResultLine(const std::string& line) {
  return line == "ERROR" || StartsWith(line, "+CMS ERROR") || StartsWith(line, "+CME ERROR");
}

// The first line of `t` that is an error result, or empty.
std::string ErrorLineOf(const std::string& t) {
  std::size_t i = 0;
  while (i < t.size()) {
    const std::size_t e = std::min(t.find_first_of("\r\n", i), t.size());
    const std::string line = t.substr(i, e - i);
    if (ErrorResultLine(line)) return line;
    i = e + 1;
  }
  return {};
}

std::string Text(bool v) { return v ? "1" : "0"; }
std::string Text(int v) { return std::to_string(v); }
std::string Text(unsigned v) { return std::to_string(v); }
std::string Text(std::size_t v) { return std::to_string(v); }
std::string Text(SubmitPhase v) { return ToString(v); }
// A text in quotes, its control characters and bytes above 126 as <0D>.
std::string Text(const std::string& v) {
  static const char* hex = "0123456789ABCDEF";
  std::string t = "\"";
  for (char ch : v) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 32 && b < 127)
      t += ch;
    else
      t += std::string("<") + hex[b >> 4] + hex[b & 15] + ">";
  }
  return t + "\"";
}
}  // namespace

const char* ToString(SubmitPhase p) {
  switch (p) {
    case SubmitPhase::Idle: return "Idle";
    case SubmitPhase::WaitingForPrompt: return "WaitingForPrompt";
    case SubmitPhase::PDUSent: return "PDUSent";
    case SubmitPhase::WaitingForResult: return "WaitingForResult";
  }
  return "?";
}

std::string ZoneInQuarterHours(const std::string& hours) {
  std::size_t i = 0;
  char sign = '+';
  if (!hours.empty() && (hours[0] == '+' || hours[0] == '-')) sign = hours[i++];
  const std::string digits = hours.substr(i);
  if (digits.empty() || digits.size() > 2 ||
      !std::all_of(digits.begin(), digits.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
    return {};
  const int quarters = std::stoi(digits) * 4;
  if (quarters > 96) return {};
  return std::string(1, sign) + (quarters < 10 ? "0" : "") + std::to_string(quarters);
}

bool ValidPhoneNumber(const std::string& number) {
  const std::size_t start = !number.empty() && number[0] == '+' ? 1 : 0;
  if (number.size() <= start) return false;
  return std::all_of(number.begin() + static_cast<std::ptrdiff_t>(start), number.end(),
                     [](char ch) { return ch >= '0' && ch <= '9'; });
}

bool FinalResultLine(const std::string& line) { return line == "OK" || ErrorResultLine(line); }

// ---- the one place where the state changes ------------------------------------------

template <class T>
void SerialExchange::Set(T& field, T value, const char* name) {
  if (field == value) return;
  if (Log) Log(std::string(name) + " " + Text(field) + " -> " + Text(value));
  field = std::move(value);
}

void SerialExchange::Enqueue(const WaitingCommand& w) {
  if (Log) Log("Waiting " + Text(waiting_.size()) + " -> " + Text(waiting_.size() + 1));
  waiting_.push_back(w);
}

void SerialExchange::Dequeue(std::size_t n) {
  if (n == 0) return;
  if (Log) Log("Waiting " + Text(waiting_.size()) + " -> " + Text(waiting_.size() - n));
  waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(n));
}

void SerialExchange::SetAwaited(Answer a, bool on) {
  const unsigned bits =
      on ? (Awaited_ | static_cast<unsigned>(a)) : (Awaited_ & ~static_cast<unsigned>(a));
  Set(Awaited_, bits, "Awaited");
}

void SerialExchange::Restore(const Snapshot& s) {
  Set(ModemBusy_, s.ModemBusy, "ModemBusy");
  Set(ModemInitActive_, s.ModemInitActive, "ModemInitActive");
  Set(ModemInitStep_, s.ModemInitStep, "ModemInitStep");
  Set(PhoneNotConnected_, s.PhoneNotConnected, "PhoneNotConnected");
  Set(Submit_, s.Submit, "Submit");
  Set(PendingPDU_, s.PendingPDU, "PendingPDU");
  Set(ListingOpen_, s.ListingOpen, "ListingOpen");
  listingHead_.clear();
  listingLine_.clear();
  Set(PollInhibit_, s.PollInhibit, "PollInhibit");
  Set(ClockQueryPending_, s.ClockQueryPending, "ClockQueryPending");
  Set(Awaited_, s.Awaited, "Awaited");
  Set(ClockText_, s.ClockText, "ClockText");
  Set(RawATMode_, s.RawATMode, "RawATMode");
  Set(ReplyReady_, s.ReplyReady, "ReplyReady");
  Set(PollPending_, s.PollPending, "PollPending");
  Set(NoReplyTicks_, 0, "NoReplyTicks");
  Set(AnswerTicks_, 0, "AnswerTicks");
  Dequeue(waiting_.size());
}

void SerialExchange::Reset() {
  Set(ModemBusy_, false, "ModemBusy");
  Set(ModemInitActive_, false, "ModemInitActive");
  Set(PhoneNotConnected_, false, "PhoneNotConnected");
  Set(ClockQueryPending_, false, "ClockQueryPending");
  Set(Submit_, SubmitPhase::Idle, "Submit");
  Set(Awaited_, 0u, "Awaited");
  Set(ModemInitStep_, 0, "ModemInitStep");
  Set(NoReplyTicks_, 0, "NoReplyTicks");
  Set(PollInhibit_, false, "PollInhibit");
  Set(PollPending_, false, "PollPending");
  Set(PollFactor_, 1, "PollFactor");
  Set(DataArrived_, false, "DataArrived");
  Set(PollTicks_, 0, "PollTicks");
  Set(PollToggle_, false, "PollToggle");
  Set(DailyQuerySent_, false, "DailyQuerySent");
  Set(ListingOpen_, false, "ListingOpen");
  Set(AnswerTicks_, 0, "AnswerTicks");
  Dequeue(waiting_.size());
  Set(RawATMode_, false, "RawATMode");
  Set(ReplyText_, std::string(), "ReplyText");
  Set(ReplyReady_, false, "ReplyReady");
}

void SerialExchange::Clear() {
  Set(ReplyReady_, true, "ReplyReady");
  Set(RawATMode_, false, "RawATMode");
}

void SerialExchange::EndRawATMode() { Set(RawATMode_, false, "RawATMode"); }

void SerialExchange::ReadAllParameter(bool smsMode) {
  if (!smsMode) return;
  Set(PhoneNotConnected_, false, "PhoneNotConnected");
  Set(ModemInitStep_, 0, "ModemInitStep");
  Set(ModemInitActive_, true, "ModemInitActive");
}

// ---- sending ------------------------------------------------------------------------

void SerialExchange::SendStrings(const std::string& text, std::size_t count) {
  if (count > 0) io_.Write(text.substr(0, count));
}

void SerialExchange::Command(const std::string& command, const ExchangeContext& c, Line line) {
  if (line == Line::RawAT) Set(RawATMode_, true, "RawATMode");
  Send(command, c);
  // Set after the send: a tick inside a message box of the send may have shown an older reply.
  if (line == Line::AwaitReply) Set(ReplyReady_, true, "ReplyReady");
}

void SerialExchange::Send(const std::string& command, const ExchangeContext& c) {
  last_ = c;
  io_.BusyCursor(true);
  const std::string line = Filled(command) + "\r";

  if (!c.smsMode) {
    if (!RawATMode_) SendStrings(kFramePrefix, 20);
    SendStrings(line, line.size());
    if (!RawATMode_) io_.Write(std::string(1, '\0'));
    io_.SerialTimeSetting();
    io_.PollingDelay(4000);
    return;
  }

  // SMS mode. What can't be sent is refused before anything goes out, with a message.
  if (line.size() > kMaxSmsText) {
    io_.BusyCursor(false);
    io_.Message(ExchangeIO::Box::TooLong);
    return;
  }
  std::string pdu;
  if (!ValidPhoneNumber(c.tkNumber) || !TextToPDU(line, c.tkNumber, pdu)) {
    io_.BusyCursor(false);
    io_.Message(ExchangeIO::Box::PhoneNumber);
    return;
  }
  Set(PollInhibit_, true, "PollInhibit");
  if (ModemBusy_) {
    // The modem is busy: the command waits and goes out as soon as it is free.
    Enqueue({true, pdu, {}, 0, false});
    return;
  }
  StartSubmit(pdu);
}

void SerialExchange::StartSubmit(const std::string& pdu) {
  Set(Submit_, SubmitPhase::WaitingForPrompt, "Submit");
  Set(ModemBusy_, true, "ModemBusy");
  Set(AnswerTicks_, 0, "AnswerTicks");
  io_.BusyCursor(true);
  const std::string announce = "AT+CMGS=" + std::to_string(CmgsLength(pdu));
  SendStrings(announce, announce.size());
  SendCR();
  Set(PendingPDU_, pdu, "PendingPDU");
  io_.SerialTimeSetting();
}

void SerialExchange::SendPendingPDU() {
  Set(Submit_, SubmitPhase::PDUSent, "Submit");
  const std::string chars = PendingPDU_.substr(0, PendingPDU_.empty() ? 0 : PendingPDU_.size() - 1);
  SendStrings(chars, chars.size());
  io_.MemoOut(ExchangeIO::Memo::SentLine, chars);
  io_.Write("\x1A");
  io_.BusyCursor(false);
}

void SerialExchange::EndSubmit() {
  Set(Submit_, SubmitPhase::Idle, "Submit");
  Set(PollInhibit_, false, "PollInhibit");
  Set(AnswerTicks_, 0, "AnswerTicks");
}

void SerialExchange::SendLine(const WaitingCommand& w) {
  Set(ModemBusy_, true, "ModemBusy");
  io_.BusyCursor(true);
  SendStrings(w.line, std::min(w.count, w.line.size()));
  if (w.echoLine) io_.MemoOut(ExchangeIO::Memo::SentLine, w.line);
  SendCR();
  Set(ClockQueryPending_, true, "ClockQueryPending");
  Set(ModemBusy_, false, "ModemBusy");
  io_.BusyCursor(false);
}

void SerialExchange::ReleaseWaiting() {
  // Only to the modem: in direct mode the device is on the line.
  if (!last_.smsMode) return;
  while (!ModemBusy_ && !waiting_.empty()) {
    const WaitingCommand w = waiting_.front();
    Dequeue(1);
    if (w.submit) {
      Set(PollInhibit_, true, "PollInhibit");
      StartSubmit(w.pdu);
    } else {
      SendLine(w);
    }
  }
}

void SerialExchange::RequestClock() { Set(ClockQueryPending_, true, "ClockQueryPending"); }

bool SerialExchange::ConnectForModem() {
  if (io_.Connect()) return true;
  if (!PortErrorShown_) {
    Set(PortErrorShown_, true, "PortErrorShown");
    io_.Message(ExchangeIO::Box::PortError);
  }
  return false;
}

bool SerialExchange::SendClockLine(ClockLine kind, const ExchangeContext& c,
                                   const std::string& text) {
  last_ = c;
  if (!ConnectForModem()) return false;
  WaitingCommand w{false, {}, text, text.size(), false};
  if (kind == ClockLine::Modem) {
    // The modem reads the zone in quarter hours; a manufacturer text beginning "SIEMENS"
    // gets no zone.
    w.line = "AT+CCLK=\"" + text;
    if (c.manufacturer.substr(0, 7) != "SIEMENS")
      w.line += ZoneInQuarterHours(c.timeZone.substr(0, 3));
    w.line += "\"";
    w.count = w.line.size();
    w.echoLine = true;
  }
  if (ModemBusy_ && !ModemInitActive_) {
    Enqueue(w);
    return true;
  }
  SendLine(w);
  return true;
}

// ---- the AT routines -------------------------------------------------------------------

void SerialExchange::Run(Routine r) {
  struct Row {
    const char* bytes;
    ExchangeIO::Memo echo;
    Answer answer;
  };
  static const Row kRows[] = {
      {"AT+CGMI", ExchangeIO::Memo::InputLine, Answer::CGMI},
      {"AT+CSCS?", ExchangeIO::Memo::InputLine, Answer::CSCS},
      {"AT+CGMM", ExchangeIO::Memo::InputLine, Answer::CGMM},
      {"AT+CMEE=2", ExchangeIO::Memo::InputChars, Answer::CMEE},
      {"\n\rAT+CMGF=0", ExchangeIO::Memo::InputPutChar, Answer::CMGF},
      {"\n\rAT+CMGL=1", ExchangeIO::Memo::InputPutChar, Answer::CMGL1},
      {"AT+CCLK?", ExchangeIO::Memo::InputLine, Answer::CCLK},
  };
  const Row& row = kRows[static_cast<int>(r)];
  auto refresh = [&] {
    if (r == Routine::GetHersteller)
      io_.FieldText(ExchangeIO::Field::Manufacturer, ManufacturerText_);
    if (r == Routine::GetDateTime) io_.FieldText(ExchangeIO::Field::Clock, ClockText_);
  };
  // The field is refreshed also when the modem is busy or the port stays closed, but not when
  // the port error is first shown.
  const bool shownBefore = PortErrorShown_;
  if (!ConnectForModem()) {
    if (shownBefore) refresh();
    return;
  }
  if (!ModemBusy_ || ModemInitActive_) {
    Set(ModemBusy_, true, "ModemBusy");
    io_.BusyCursor(true);
    io_.Write(row.bytes);
    io_.MemoOut(row.echo, row.bytes);
    SendCR();
    SetAwaited(row.answer, true);
    if (r == Routine::GetDateTime) Set(ClockQueryPending_, false, "ClockQueryPending");
    if (r == Routine::SetCMGL1) SetListing(true);
  }
  refresh();
}

void SerialExchange::SendCMGL(const std::string& command) {
  if (ModemBusy_) return;
  Set(ModemBusy_, true, "ModemBusy");
  io_.BusyCursor(true);
  SendStrings(command, 9);
  SendCR();
  io_.SerialTimeSetting();
  io_.BusyCursor(false);
  // The modem stays busy until the listing's final result line.
  SetListing(true);
}

// ---- the listing of the message store ------------------------------------------------

// Opens or closes the listing of a poll; either way it starts with nothing gathered.
void SerialExchange::SetListing(bool open) {
  Set(ListingOpen_, open, "ListingOpen");
  Set(AnswerTicks_, 0, "AnswerTicks");
  listingHead_.clear();
  listingLine_.clear();
}

// One chunk of an open listing: kept, and the listing handled as one when its final result
// line has come.
void SerialExchange::FeedListing(const std::string& raw, const std::string& text) {
  Set(AnswerTicks_, 0, "AnswerTicks");
  if (listingHead_.size() < kListingHead)
    listingHead_ += raw.substr(0, kListingHead - listingHead_.size());
  bool final = false;
  for (char ch : text) {
    if (ch == '\r' || ch == '\n') {
      final = final || FinalResultLine(listingLine_);
      listingLine_.clear();
    } else if (listingLine_.size() < kLineCap) {
      listingLine_ += ch;
    }
  }
  final = final || FinalResultLine(listingLine_);
  if (!final) return;
  const std::string listing = listingHead_;
  SetListing(false);
  ProcessSMSListing(listing);
}

void SerialExchange::ProcessSMSListing(const std::string& raw) {
  io_.StatusColour(0, 255, 0);
  const TSmsListing listing = FindListedSms(raw);
  if (listing.found) {
    if (last_.smsMode) {
      std::string text;
      configurator::PDUTextConversion(listing.pdu, text);
      io_.MemoOut(ExchangeIO::Memo::InputClear, {});
      io_.MemoOut(ExchangeIO::Memo::InputAtTop, "\r\n" + text + "\r\n");
    }
    if (listing.hasIndex) {
      const std::string del = DeleteSmsCommand(listing.index);
      SendStrings(del, del.size());
      SendCR();
    }
  }
  Set(PollInhibit_, false, "PollInhibit");
  io_.StatusColour(255, 0, 0);
}

void SerialExchange::RunAnswerParsers(const std::string& raw) {
  if (Awaiting(Answer::CGMI)) {
    const TAnswerParse r = ParseManufacturerReply(raw);
    if (r.done) {
      Set(ManufacturerText_, r.value, "ManufacturerText");
      SetAwaited(Answer::CGMI, false);
    }
  }
  if (Awaiting(Answer::CGMM)) {
    const TAnswerParse r = ParseModelReply(raw);
    if (r.done) {
      Set(ModelText_, r.value, "ModelText");
      SetAwaited(Answer::CGMM, false);
    }
  }
  if (Awaiting(Answer::CSCS) && ParseCharsetReply(raw).done) SetAwaited(Answer::CSCS, false);
  if (Awaiting(Answer::CCLK) || Awaiting(Answer::CMGL1)) {
    const TAnswerParse r = ParseClockReply(raw);
    if (r.done) {
      Set(ClockText_, r.value, "ClockText");
      SetAwaited(Answer::CCLK, false);
      SetAwaited(Answer::CMGL1, false);
    }
  }
  if (Awaiting(Answer::CMGF) && ConsumeCMGFReply(raw)) SetAwaited(Answer::CMGF, false);
  if (Awaiting(Answer::CMEE) && ConsumeCMEEReply(raw)) SetAwaited(Answer::CMEE, false);
}

// ---- one received chunk ------------------------------------------------------------------

void SerialExchange::Chunk(const std::string& raw, const ExchangeContext& c) {
  last_ = c;
  io_.SerialTimeSetting();
  io_.PollingDelay(4000);
  Set(ReplyText_, ReplyTextFromChunk(raw), "ReplyText");
  const std::string t = RemoveZeroBytes(raw);
  if (t.empty()) return;
  Set(PollInhibit_, false, "PollInhibit");
  Set(PollPending_, false, "PollPending");
  Set(AnswerTicks_, 0, "AnswerTicks");
  // The listing of a poll may come in several reads; it is handled once, whole.
  if (ListingOpen_)
    FeedListing(raw, t);
  else
    ProcessSMSListing(raw);
  Set(PhoneNotConnected_, false, "PhoneNotConnected");
  Set(NoReplyTicks_, 0, "NoReplyTicks");
  RunAnswerParsers(raw);
  // Direct mode: the chunk is the device's reply.
  if (!c.smsMode) {
    const TDirectReply r = DirectModeReply(t, c.skipCRLF, RawATMode_);
    Set(ReplyText_, r.replyText, "ReplyText");
    Set(RawATMode_, r.rawATMode, "RawATMode");
    Set(ReplyReady_, true, "ReplyReady");
  }
  // The PDU goes out on the phone's "> " only; an error answer ends the submit instead.
  if (Submit_ == SubmitPhase::WaitingForPrompt) {
    const std::string error = ErrorLineOf(t);
    if (!error.empty()) {
      io_.MemoOut(ExchangeIO::Memo::InputAppend, error + "\r\n");
      EndSubmit();
    } else if (t.find("> ") != std::string::npos) {
      SendPendingPDU();
    }
  }
  // Any chunk after the tick that saw the PDU out is the submit's result.
  if (Submit_ == SubmitPhase::WaitingForResult) {
    EndSubmit();
    io_.SerialTimeSetting();
    io_.InputTimeout(700);
  }
  if (Submit_ == SubmitPhase::Idle && !ListingOpen_) {
    Set(PollInhibit_, false, "PollInhibit");
    Set(ModemBusy_, false, "ModemBusy");
  }
  Set(DataArrived_, true, "DataArrived");
  ReleaseWaiting();
}

// ---- the one-second tick -----------------------------------------------------------------

void SerialExchange::Tick(const ExchangeContext& c) {
  last_ = c;
  if (c.smsMode) {
    SmsModeTick(c);
  } else if (!ReplyText_.empty() && ReplyReady_) {
    for (const TEditValue& v : ParsePageReply(c.page, ReplyText_)) io_.PageEdit(v);
  }
  // Tail, both modes.
  if (ReplyReady_ && !ReplyText_.empty()) {
    io_.MemoOut(ExchangeIO::Memo::InputAppend, ReplyText_ + "\r\n");
    Set(ReplyReady_, false, "ReplyReady");
  }
  if (DataArrived_) {
    io_.BusyCursor(false);
    Set(ReplyText_, std::string(), "ReplyText");
    Set(DataArrived_, false, "DataArrived");
  }
}

void SerialExchange::RefreshModemFields() {
  io_.FieldText(ExchangeIO::Field::Model, ModelText_);
  io_.FieldText(ExchangeIO::Field::Manufacturer, ManufacturerText_);
  io_.FieldText(ExchangeIO::Field::Clock, ClockText_);
}

void SerialExchange::RunModemInitStep() {
  Set(ModemBusy_, false, "ModemBusy");
  if (ModemInitStep_ >= 1 && ModemInitStep_ <= 6) Run(static_cast<Routine>(ModemInitStep_ - 1));
  RefreshModemFields();
}

void SerialExchange::AnswerTimeOut() {
  if (Submit_ == SubmitPhase::WaitingForPrompt)
    io_.MemoOut(ExchangeIO::Memo::InputAppend, std::string(kNoPromptText) + "\r\n");
  if (Submit_ != SubmitPhase::Idle) EndSubmit();
  if (ListingOpen_) SetListing(false);  // the messages stay in the phone for a later poll
  Set(ModemBusy_, false, "ModemBusy");
  io_.BusyCursor(false);
}

void SerialExchange::LineLost() {
  if (ModemBusy_) AnswerTimeOut();
}

void SerialExchange::SmsModeTick(const ExchangeContext& c) {
  // An SMS under way: its result is the next chunk.
  if (Submit_ == SubmitPhase::PDUSent || Submit_ == SubmitPhase::WaitingForResult) {
    io_.SerialTimeSetting();
    io_.InputTimeout(5200);
    Set(Submit_, SubmitPhase::WaitingForResult, "Submit");
  }
  // One step of the start-up sequence per tick, each after the answer to the one before.
  if (ModemInitActive_ && !ModemBusy_) {
    Set(ModemInitStep_, ModemInitStep_ + 1, "ModemInitStep");
    RunModemInitStep();
    if (ModemInitStep_ >= 7) {
      Set(ModemInitActive_, false, "ModemInitActive");
      io_.BusyCursor(false);
      Set(ModemBusy_, false, "ModemBusy");
      io_.StatusText(" ");
    }
  }
  if (ClockQueryPending_) Run(Routine::GetDateTime);
  if (PhoneNotConnected_)
    io_.StatusColour(0, 0, 0);
  else if (ModemBusy_)
    io_.StatusColour(255, 0, 0);
  else
    io_.StatusColour(0, 255, 0);
  // Time-out of a silent phone during the start-up sequence.
  if (ModemInitActive_) {
    Set(NoReplyTicks_, NoReplyTicks_ + 1, "NoReplyTicks");
    if (NoReplyTicks_ >= kNoReplyLimit) {
      Set(ModemInitActive_, false, "ModemInitActive");
      Set(NoReplyTicks_, 0, "NoReplyTicks");
      const bool tell = !PhoneNotConnected_;
      // The state is settled before the box opens: ticks keep running inside it.
      Set(PhoneNotConnected_, true, "PhoneNotConnected");
      if (Submit_ != SubmitPhase::Idle) EndSubmit();
      if (ListingOpen_) SetListing(false);
      Set(ModemBusy_, false, "ModemBusy");
      io_.BusyCursor(false);
      io_.StatusColour(0, 0, 0);
      if (tell) {
        io_.Message(ExchangeIO::Box::NotConnected);
        return;
      }
    }
  }
  // Time-out of a busy modem that has sent nothing for a while (a prompt, a submit result, a
  // listing or an AT answer that doesn't come).
  if (!ModemInitActive_ && ModemBusy_) {
    Set(AnswerTicks_, AnswerTicks_ + 1, "AnswerTicks");
    if (AnswerTicks_ >= kAnswerTimeoutTicks) AnswerTimeOut();
  }
  ReleaseWaiting();
  // Poll of the message store, AT+CMGL=1 and AT+CMGL=0 in turn.
  if (!ModemInitActive_ && !ModemBusy_ && !PollInhibit_ && waiting_.empty()) {
    Set(PollTicks_, PollTicks_ + 1, "PollTicks");
    if (PollTicks_ > kPollTicks * PollFactor_) {
      Set(PollPending_, true, "PollPending");
      io_.StatusColour(0, 255, 255);
      io_.BusyCursor(true);
      SendCMGL(PollToggle_ ? "AT+CMGL=0" : "AT+CMGL=1");
      Set(PollTicks_, 0, "PollTicks");
      Set(PollToggle_, !PollToggle_, "PollToggle");
      io_.BusyCursor(false);
      io_.StatusColour(0, 255, 0);
    }
  }
  // Midnight window: no polls from 00:00 to 00:02, one daily query at 00:02.
  const QTime now = c.now.time();
  if (now.hour() == 0) {
    const int minute = now.minute();
    if (minute == 0 || minute == 1) {
      Set(PollInhibit_, true, "PollInhibit");
    } else if (minute == 2) {
      Set(PollInhibit_, true, "PollInhibit");
      if (!DailyQuerySent_) {
        Set(DailyQuerySent_, true, "DailyQuerySent");
        Command("GETMH", c);
      }
    } else if (minute == 3) {
      Set(PollInhibit_, false, "PollInhibit");
      Set(DailyQuerySent_, false, "DailyQuerySent");
    }
  }
}

}  // namespace configurator
