// Fuzzes the serial and modem exchange: the first four bytes pick its state, the mode and the
// page; the rest is split into received chunks at 0xFF bytes, each followed by a tick. No
// window, no port: the outputs go to a sink that only checks them lightly.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "configurator/core/exchange.h"

namespace {

using configurator::ExchangeIO;

class Sink final : public ExchangeIO {
 public:
  void Write(const std::string& bytes) override { written += bytes.size(); }
  bool Connect() override { return connectOk; }
  void SerialTimeSetting() override {}
  void PollingDelay(int) override {}
  void InputTimeout(unsigned) override {}
  void MemoOut(Memo, const std::string& text) override { shown += text.size(); }
  void FieldText(Field, const std::string&) override {}
  void PageEdit(const configurator::TEditValue&) override {}
  void StatusColour(int, int, int) override {}
  void StatusText(const std::string&) override {}
  void BusyCursor(bool) override {}
  void Message(Box) override {}

  bool connectOk = true;
  std::size_t written = 0, shown = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  Sink sink;
  configurator::SerialExchange x(sink);
  const std::uint8_t a = data[0], b = data[1], c = data[2], d = data[3];

  configurator::ExchangeContext ctx;
  ctx.smsMode = a & 0x01;
  ctx.skipCRLF = a & 0x02;
  ctx.page = d % 13;
  ctx.tkNumber = (a & 0x04) ? "+1234567" : "+12 34";
  ctx.manufacturer = (a & 0x08) ? "SIEMENS" : "GSM";
  ctx.timeZone = (b & 0x80) ? "+02" : "x";
  // Midnight window or noon.
  ctx.now = QDateTime(QDate(2026, 3, 1), QTime((c & 0x80) ? 0 : 12, (c >> 5) & 0x03, 0));
  sink.connectOk = !(a & 0x10);

  configurator::SerialExchange::Snapshot s;
  s.ModemBusy = a & 0x20;
  s.ModemInitActive = a & 0x40;
  s.PhoneNotConnected = a & 0x80;
  s.ModemInitStep = b & 0x07;
  s.Submit = static_cast<configurator::SubmitPhase>((b >> 3) & 0x03);
  s.PendingPDU =
      (b & 0x20) ? std::string() : std::string("0011300791214365F700000B06C722754A6D00") + '\0';
  s.ListingOpen = b & 0x40;
  s.PollInhibit = c & 0x01;
  s.ClockQueryPending = c & 0x02;
  s.Awaited = (c >> 2) & 0x07 ? 0x7Fu >> ((c >> 2) & 0x07) : 0u;
  s.RawATMode = c & 0x10;
  s.ReplyReady = d & 0x80;
  s.PollPending = d & 0x40;
  x.Restore(s);
  if (d & 0x20)
    x.Command("GETST", ctx,
              (d & 0x40) ? configurator::Line::RawAT : configurator::Line::AwaitReply);

  std::size_t i = 4;
  while (i <= size) {
    std::size_t e = i;
    while (e < size && data[e] != 0xFF) ++e;
    x.Chunk(std::string(reinterpret_cast<const char*>(data + i), e - i), ctx);
    x.Tick(ctx);
    i = e + 1;
  }
  // Enough ticks to reach every time-out.
  for (int t = 0; t < configurator::SerialExchange::kAnswerTimeoutTicks + 100; ++t) x.Tick(ctx);
  return 0;
}
