#pragma once
// The serial and modem exchange of the configurator as one state machine without widgets.
//
// Inputs: a received chunk, a one-second tick, a command to send with its kind, the window's
// Clear, the modem routines and the start-up. Outputs go to an ExchangeIO: bytes for the line,
// port timing, memo lines, the modem fields, the page edits a reply fills, the Status colour,
// the cursor and message boxes. The window only adapts it and holds none of its state.
//
// The state is a few explicit parts: the direct-mode reply (ReplyText, ReplyReady) and raw AT
// mode, the modem start-up sequence (ModemInitActive, ModemInitStep), the submit phase of an
// SMS, the listing of a poll, the answers awaited, the poll timing with its midnight window,
// and the commands that wait for a free modem. Every change of them goes through Set(), which
// reports it to Log when Log is set.
#include <QDateTime>

#include <concepts>
#include <deque>
#include <functional>
#include <string>

#include "configurator/core/replyparse.h"

namespace configurator {

// Where the exchange's outputs go (the window, or a recorder in tests).
class ExchangeIO {
 public:
  enum class Memo {
    InputLine,     // a line into the input memo at the shared current line
    InputChars,    // each character appended to the input memo's current line
    InputPutChar,  // each character put into the input memo as on a terminal
    InputAtTop,    // written at the top of the input memo
    InputAppend,   // appended to the input memo's whole text
    InputClear,    // the input memo emptied (text unused)
    SentLine,      // a line into the sent memo
  };
  enum class Field { Manufacturer, Model, Clock };
  enum class Box { PortError, NotConnected, PhoneNumber, TooLong };

  virtual ~ExchangeIO() = default;
  // The line: the bytes one by one; opening the port when it is closed.
  virtual void Write(const std::string& bytes) = 0;
  virtual bool Connect() = 0;
  // Port timing: the exchange's common timing, then single values.
  virtual void SerialTimeSetting() = 0;
  virtual void PollingDelay(int ms) = 0;
  virtual void InputTimeout(unsigned ms) = 0;
  // The window.
  virtual void MemoOut(Memo where, const std::string& text) = 0;
  virtual void FieldText(Field field, const std::string& text) = 0;
  virtual void PageEdit(const TEditValue& value) = 0;
  virtual void StatusColour(int r, int g, int b) = 0;
  virtual void StatusText(const std::string& text) = 0;
  virtual void BusyCursor(bool busy) = 0;
  virtual void Message(Box box) = 0;
};

// What the window shows at the time of an input.
struct ExchangeContext {
  bool smsMode = false;
  bool skipCRLF = false;  // the "Skip CR/LF" box, which is its own remembered state
  int page = 0;           // the page shown
  QDateTime now;
  std::string tkNumber;      // the device's phone number
  std::string manufacturer;  // the manufacturer field's text
  std::string timeZone;      // the Time Zone field's text
};

// The submit of one SMS: "AT+CMGS=" out, the PDU after the phone's "> ", then its result.
// Any phase but Idle is SubmitActive; the modem is busy through all of them.
enum class SubmitPhase {
  Idle,
  WaitingForPrompt,  // PromptPending: PendingPDU waits for "> "
  PDUSent,           // SubmitSent: PDU and Ctrl-Z are out
  WaitingForResult,  // SubmitResultWait: a tick has seen the PDU out; the next chunk ends it
};

// Answers of the modem's AT commands that may be awaited (CGMIPending ... CMGL1Pending), each
// at most once; several may be awaited at a time.
enum class Answer : unsigned {
  CGMI = 1u << 0,
  CSCS = 1u << 1,
  CGMM = 1u << 2,
  CMEE = 1u << 3,
  CMGF = 1u << 4,
  CCLK = 1u << 5,
  CMGL1 = 1u << 6,
};

// The AT routines of the modem start-up sequence and the clock query.
enum class Routine { GetHersteller, GetCharSet, GetModel, SetCMEE, SetCMGF, SetCMGL1, GetDateTime };

// The quarter hours of a zone in hours for the modem's clock ("+02" is "+08", "-05" is
// "-20"); empty for a text that is not a sign and one or two digits of at most 24 hours.
std::string ZoneInQuarterHours(const std::string& hours);

// True for an optional "+" followed by one or more digits and nothing else.
bool ValidPhoneNumber(const std::string& number);

// True when the modem's text holds a final result line: "OK", "ERROR", "+CMS ERROR..." or
// "+CME ERROR...". `line` carries a line that began in an earlier chunk.
bool FinalResultLine(const std::string& line);

// How a command goes out in direct mode (in SMS mode every command goes as an SMS).
enum class Line {
  AsModeStands,  // framed, or bare while raw AT mode is on; the reply flag as it stands
  RawAT,         // raw AT mode on first: the line goes bare and its answer is read raw
  AwaitReply,    // as AsModeStands, and the reply to come is shown (ReplyReady after the send)
};

class SerialExchange {
 public:
  explicit SerialExchange(ExchangeIO& io) : io_(io) {}

  // ---- inputs ------------------------------------------------------------------------
  // The start values of the reply and modem state: no reply waiting, raw AT mode off.
  void Reset();
  // The window's Clear: the next direct line goes framed and the reply to come is shown.
  void Clear();
  // Raw AT mode off, so the next direct line goes framed (the pages' Read boxes).
  void EndRawATMode();
  // Arms the modem start-up sequence in SMS mode.
  void ReadAllParameter(bool smsMode);
  // One received chunk.
  void Chunk(const std::string& raw, const ExchangeContext& c);
  // One tick of the one-second timer.
  void Tick(const ExchangeContext& c);
  // Frames and sends one command (direct, raw AT, or an SMS to c.tkNumber). In SMS mode a
  // command that meets a busy modem waits and goes out when the modem is free.
  void Command(const std::string& command, const ExchangeContext& c,
               Line line = Line::AsModeStands);
  // One AT routine of the start-up sequence or the clock query.
  void Run(Routine r);
  // A clock line to the phone on the cable: for Modem, "AT+CCLK=" with `text` (date and time
  // texts) and the zone; for Device, `text` as it stands. It waits for a busy modem like a
  // command. Returns false when the port could not be opened.
  enum class ClockLine { Modem, Device };
  bool SendClockLine(ClockLine kind, const ExchangeContext& c, const std::string& text);
  // Asks the modem's clock at the next tick in SMS mode.
  void RequestClock();
  // Opens the port; shows the port error at most once per run. False when closed.
  bool ConnectForModem();
  // Bytes did not reach the line (it was lost, or the port would not open): an answer
  // awaited for them is given up, so the next poll tries the port again.
  void LineLost();

  // ---- read-only view of the state ----------------------------------------------------
  const std::string& ReplyText() const { return ReplyText_; }
  bool ReplyReady() const { return ReplyReady_; }
  bool RawATMode() const { return RawATMode_; }
  bool PollPending() const { return PollPending_; }  // a poll was sent, no chunk since
  bool ModemBusy() const { return ModemBusy_; }
  bool ModemInitActive() const { return ModemInitActive_; }
  int ModemInitStep() const { return ModemInitStep_; }
  bool PhoneNotConnected() const { return PhoneNotConnected_; }
  SubmitPhase Submit() const { return Submit_; }
  const std::string& PendingPDU() const { return PendingPDU_; }
  bool ListingOpen() const { return ListingOpen_; }
  bool PollInhibit() const { return PollInhibit_; }
  bool Awaiting(Answer a) const { return (Awaited_ & static_cast<unsigned>(a)) != 0; }
  bool AwaitingAny() const { return Awaited_ != 0; }
  bool ClockQueryPending() const { return ClockQueryPending_; }
  bool DataArrived() const { return DataArrived_; }
  std::size_t Waiting() const { return waiting_.size(); }
  const std::string& ManufacturerText() const { return ManufacturerText_; }
  const std::string& ModelText() const { return ModelText_; }
  const std::string& ClockText() const { return ClockText_; }

  // Reports every state change ("ModemBusy 0 -> 1"); empty (off) by default.
  std::function<void(const std::string&)> Log;

  // For tests and the fuzz target: put the machine into a state directly.
  struct Snapshot {
    bool ModemBusy = false, ModemInitActive = false, PhoneNotConnected = false;
    bool RawATMode = false, ReplyReady = false, PollPending = false;
    int ModemInitStep = 0;
    SubmitPhase Submit = SubmitPhase::Idle;
    std::string PendingPDU;
    bool ListingOpen = false, PollInhibit = false, ClockQueryPending = false;
    unsigned Awaited = 0;
    std::string ClockText;
  };
  void Restore(const Snapshot& s);
  // The start values with what `edit` changes in them.
  template <std::invocable<Snapshot&> Edit>
  void Restore(Edit&& edit) {
    Snapshot s;
    edit(s);
    Restore(s);
  }

  // Ticks without a chunk after which a busy modem is taken as free again: an awaited prompt,
  // submit result, listing or AT answer is given up.
  static constexpr int kAnswerTimeoutTicks = 60;

 private:
  struct WaitingCommand {
    bool submit = true;  // an SMS submit (pdu) or a clock line (line)
    std::string pdu;
    std::string line;
    std::size_t count = 0;  // bytes of the line that go out
    bool echoLine = false;  // the line goes into the sent memo as it goes out
  };

  template <class T>
  void Set(T& field, T value, const char* name);
  void SetAwaited(Answer a, bool on);
  void Enqueue(const WaitingCommand& w);
  void Dequeue(std::size_t n);

  void Send(const std::string& command, const ExchangeContext& c);
  void SendStrings(const std::string& text, std::size_t count);
  void SendCR() { io_.Write("\r"); }
  void StartSubmit(const std::string& pdu);
  void SendPendingPDU();
  void EndSubmit();
  void SendLine(const WaitingCommand& w);
  void ReleaseWaiting();
  void SetListing(bool open);
  void FeedListing(const std::string& raw, const std::string& text);
  void ProcessSMSListing(const std::string& raw);
  void RunAnswerParsers(const std::string& raw);
  void SmsModeTick(const ExchangeContext& c);
  void RunModemInitStep();
  void RefreshModemFields();
  void SendCMGL(const std::string& command);
  void AnswerTimeOut();

  ExchangeIO& io_;
  std::string ReplyText_;  // the last direct-mode reply, for the tick
  bool ReplyReady_ = false;
  bool RawATMode_ = false;
  bool PollPending_ = false;
  int PollFactor_ = 1;
  bool ModemBusy_ = false;
  bool ModemInitActive_ = false;
  int ModemInitStep_ = 0;
  int NoReplyTicks_ = 0;
  bool PhoneNotConnected_ = false;
  bool PortErrorShown_ = false;
  SubmitPhase Submit_ = SubmitPhase::Idle;
  std::string PendingPDU_;  // with its end mark
  bool ListingOpen_ = false;
  std::string listingHead_;  // the listing's first bytes, as the listing rule reads them
  std::string listingLine_;  // its last line so far, for the final result
  int AnswerTicks_ = 0;
  bool PollInhibit_ = false;
  int PollTicks_ = 0;
  bool PollToggle_ = false;
  bool DailyQuerySent_ = false;
  unsigned Awaited_ = 0;
  bool ClockQueryPending_ = false;
  bool DataArrived_ = false;
  std::string ManufacturerText_, ModelText_, ClockText_;
  std::deque<WaitingCommand> waiting_;
  ExchangeContext last_;  // the context of the input under way
};

const char* ToString(SubmitPhase p);

}  // namespace configurator
