#include "monitor/core/ftpparse.h"

#include <QStringDecoder>

#include "platform/core/ascii.h"
#include "platform/core/cp1252.h"

namespace monitor {

std::string FtpReply::Text() const {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  return text;
}

namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }

// The code of a line that opens or ends a reply ("nnn " or "nnn-" or a bare "nnn"),
// else 0; sep gets the character after the digits (0 for a bare code).
int LineCode(const std::string& line, char& sep) {
  if (line.size() < 3 || !Digit(line[0]) || !Digit(line[1]) || !Digit(line[2])) return 0;
  sep = line.size() > 3 ? line[3] : ' ';
  if (sep != ' ' && sep != '-') return 0;
  const int code = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
  return code >= 100 && code <= 599 ? code : 0;
}

}  // namespace

namespace {
std::size_t Cost(const FtpReply& r) {
  std::size_t n = 0;
  for (const std::string& l : r.lines) n += l.size() + FtpReplyReader::kLineCost;
  return n;
}
}  // namespace

void FtpReplyReader::Feed(std::string_view bytes) {
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t lf = bytes.find('\n', start);
    const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
    if (!overlong_) {
      partial_.append(bytes.substr(start, end - start));
      if (partial_.size() > kMaxLine) {
        overlong_ = true;
        partial_.clear();
        partial_.shrink_to_fit();
      }
    }
    if (lf == std::string_view::npos) break;
    if (overlong_) {
      overlong_ = false;
      if (inMulti_) held_ -= openCost_;
      openCost_ = 0;
      inMulti_ = false;
      open_ = FtpReply{};
      Ready(FtpReply{0, {"reply line too long"}});
    } else {
      std::string line;
      line.swap(partial_);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      Line(std::move(line));
    }
    start = lf + 1;
  }
}

void FtpReplyReader::Line(std::string line) {
  char sep = 0;
  const int code = LineCode(line, sep);
  if (inMulti_) {
    const bool last = code == open_.code && sep == ' ';
    const std::size_t cost = line.size() + kLineCost;
    if (openCost_ + cost <= kMaxReply) {
      openCost_ += cost;
      held_ += cost;
      open_.lines.push_back(std::move(line));
    }
    if (last) {
      held_ -= openCost_;
      openCost_ = 0;
      inMulti_ = false;
      Ready(std::move(open_));
      open_ = FtpReply{};
    }
    return;
  }
  if (code != 0 && sep == '-') {
    open_ = FtpReply{code, {}};
    inMulti_ = true;
    openCost_ = line.size() + kLineCost;  // within kMaxReply: the line is no longer than kMaxLine
    held_ += openCost_;
    open_.lines.push_back(std::move(line));
    return;
  }
  Ready(FtpReply{code, {std::move(line)}});
}

void FtpReplyReader::Ready(FtpReply reply) {
  if (idle_) return Drop(reply);
  const std::size_t cost = Cost(reply);
  if (held_ + cost > kMaxHeld) {
    overflow_ = true;
    return Drop(reply);
  }
  held_ += cost;
  ready_.push_back(std::move(reply));
}

void FtpReplyReader::Drop(const FtpReply& reply) {
  if (reply.code == 421) closing_ = true;
}

std::optional<FtpReply> FtpReplyReader::Next() {
  if (readyHead_ >= ready_.size()) return std::nullopt;
  FtpReply r = std::move(ready_[readyHead_++]);
  held_ -= Cost(r);
  if (readyHead_ == ready_.size()) {
    ready_.clear();
    readyHead_ = 0;
  }
  return r;
}

void FtpReplyReader::Clear() { *this = FtpReplyReader{}; }

void FtpReplyReader::Expect() {
  const bool closing = closing_;
  Clear();
  closing_ = closing;
}

void FtpReplyReader::Idle() {
  while (std::optional<FtpReply> r = Next()) Drop(*r);
  ready_ = {};
  idle_ = true;
}

FtpLineSplitter::Passed FtpLineSplitter::Feed(std::string_view bytes,
                                              std::vector<std::string>& out) {
  if (passed_ != Passed::None) return passed_;
  if (bytes_ + static_cast<std::int64_t>(bytes.size()) > bounds_.bytes) {
    // The lines up to the bound still count.
    bytes = bytes.substr(0, static_cast<std::size_t>(bounds_.bytes - bytes_));
    passed_ = Passed::Bytes;
  }
  bytes_ += static_cast<std::int64_t>(bytes.size());
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t lf = bytes.find('\n', start);
    const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
    // One byte over: the CR a line end may bring.
    if (partial_.size() + (end - start) > bounds_.lineLength + 1) {
      partial_ = {};
      return passed_ = Passed::LineLength;
    }
    partial_.append(bytes.substr(start, end - start));
    if (lf == std::string_view::npos) break;
    if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
    if (Line(out) != Passed::None) return passed_;
    start = lf + 1;
  }
  return passed_;
}

FtpLineSplitter::Passed FtpLineSplitter::Line(std::vector<std::string>& out) {
  if (partial_.size() > bounds_.lineLength) {
    partial_ = {};
    return passed_ = Passed::LineLength;
  }
  if (++lines_ > bounds_.lines) {
    partial_ = {};
    return passed_ = Passed::Lines;
  }
  out.push_back(partial_);
  partial_.clear();
  return Passed::None;
}

FtpLineSplitter::Passed FtpLineSplitter::Finish(std::vector<std::string>& out) {
  if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
  if (passed_ == Passed::None && !partial_.empty()) Line(out);
  partial_ = {};
  return passed_;
}

std::string PortArgument(std::uint32_t ipv4, std::uint16_t port) {
  return std::to_string((ipv4 >> 24) & 0xFF) + ',' + std::to_string((ipv4 >> 16) & 0xFF) + ',' +
         std::to_string((ipv4 >> 8) & 0xFF) + ',' + std::to_string(ipv4 & 0xFF) + ',' +
         std::to_string(port >> 8) + ',' + std::to_string(port & 0xFF);
}

std::optional<std::int64_t> AnnouncedSize(std::string_view text) {
  // The last "(digits bytes" in the text; servers put it at the end of the line.
  std::optional<std::int64_t> size;
  for (std::size_t open = text.find('('); open != std::string_view::npos;
       open = text.find('(', open + 1)) {
    std::size_t i = open + 1;
    std::int64_t value = 0;
    std::size_t digits = 0;
    while (i < text.size() && Digit(text[i]) && digits < 18) {
      value = value * 10 + (text[i] - '0');
      ++i;
      ++digits;
    }
    if (digits == 0 || (i < text.size() && Digit(text[i]))) continue;
    if (text.substr(i, 6) == " bytes") size = value;
  }
  return size;
}

bool AnnouncesBinary(std::string_view text) {
  // "Opening BINARY mode data connection", as vsftpd and proftpd say it.
  for (std::size_t at = text.find("mode"); at != std::string_view::npos;
       at = text.find("mode", at + 1)) {
    if (at >= 7 && platform::AsciiEqualNoCase(text.substr(at - 7, 6), "BINARY")) return true;
  }
  return false;
}

std::optional<std::int64_t> SizeAnswer(std::string_view text) {
  if (text.size() < 5 || text.substr(0, 4) != "213 ") return std::nullopt;
  std::int64_t value = 0;
  std::size_t i = 4;
  while (i < text.size() && Digit(text[i]) && i < 4 + 18) value = value * 10 + (text[i++] - '0');
  if (i == 4 || (i < text.size() && text[i] != ' ')) return std::nullopt;
  return value;
}

bool DownloadComplete(std::int64_t received, std::int64_t expected, bool binary) {
  if (expected < 0) return true;  // nothing to hold it against
  return binary ? received == expected : received >= expected;
}

std::int64_t MostDownloadBytes(std::int64_t expected, bool exact, std::int64_t unsized) {
  if (expected < 0) return unsized;
  return exact ? expected : 2 * expected + (std::int64_t{1} << 20);
}

QString ReadableName(std::string_view bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (!utf8.hasError()) return text;
  return platform::FromCp1252(std::string(bytes));
}

std::string MessageName(std::string_view bytes) { return platform::ToCp1252(ReadableName(bytes)); }

namespace {

struct Field {
  std::size_t begin, end;
};

bool AllDigits(std::string_view t) {
  if (t.empty()) return false;
  for (char c : t)
    if (!Digit(c)) return false;
  return true;
}

// "drwxr-xr-x": the kind, then nine rights; some servers add one mark ('+', '@', '.').
bool RightsField(std::string_view t) {
  if (t.size() != 10 && t.size() != 11) return false;
  if (std::string_view("-dlbcps").find(t[0]) == std::string_view::npos) return false;
  for (std::size_t i = 1; i < 10; ++i)
    if (std::string_view("rwxsStTlL-").find(t[i]) == std::string_view::npos) return false;
  return true;
}

bool MonthField(std::string_view t) {
  static const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
  for (const char* m : kMonths)
    if (platform::AsciiEqualNoCase(t, m)) return true;
  return false;
}

bool DayField(std::string_view t) {
  if (!AllDigits(t) || t.size() > 2) return false;
  const int day = t.size() == 1 ? t[0] - '0' : (t[0] - '0') * 10 + (t[1] - '0');
  return day >= 1 && day <= 31;
}

// "13:57", "9:05" or a year "2018".
bool TimeOrYearField(std::string_view t) {
  if (t.size() == 4 && AllDigits(t)) return true;
  const std::size_t colon = t.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 2 || t.size() != colon + 3)
    return false;
  return AllDigits(t.substr(0, colon)) && AllDigits(t.substr(colon + 1));
}

}  // namespace

std::optional<ListingEntry> UnixListingEntry(std::string_view line) {
  // The fields up to the date: rights, links, owner, [group], size, month, day, time/year.
  constexpr std::size_t kMostFields = 8;
  Field f[kMostFields];
  std::size_t n = 0, i = 0;
  while (n < kMostFields) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size()) break;
    const std::size_t b = i;
    while (i < line.size() && line[i] != ' ') ++i;
    f[n++] = Field{b, i};
  }
  auto text = [&](std::size_t k) { return line.substr(f[k].begin, f[k].end - f[k].begin); };
  if (n < 7 || !RightsField(text(0)) || !AllDigits(text(1))) return std::nullopt;
  // With a group the month is the sixth field, without one the fifth.
  for (std::size_t month : {std::size_t{5}, std::size_t{4}}) {
    if (month + 2 >= n) continue;
    if (!AllDigits(text(month - 1)) || !MonthField(text(month)) || !DayField(text(month + 1)) ||
        !TimeOrYearField(text(month + 2)))
      continue;
    const std::size_t name = f[month + 2].end + 1;  // one blank after the time or year
    if (name >= line.size()) return std::nullopt;
    ListingEntry entry{std::string(line.substr(name)), line[0] == 'd', std::nullopt};
    const std::string_view size = text(month - 1);
    if (size.size() <= 18) {
      std::int64_t value = 0;
      for (char c : size) value = value * 10 + (c - '0');
      entry.size = value;
    }
    return entry;
  }
  return std::nullopt;
}

std::optional<ListingEntry> ReadListingLine(std::string_view line) {
  for (ListingParser parse : kListingParsers)
    if (std::optional<ListingEntry> entry = parse(line)) return entry;
  return std::nullopt;
}

bool IsCsvName(std::string_view name) {
  const std::size_t dot = name.find('.');
  const std::string_view ext =
      dot == std::string_view::npos ? name.substr(0, 3) : name.substr(dot + 1, 3);
  return ext == "csv";
}

}  // namespace monitor
