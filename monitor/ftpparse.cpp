#include "monitor/ftpparse.h"

#include <cctype>

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
      }
    }
    if (lf == std::string_view::npos) break;
    if (overlong_) {
      overlong_ = false;
      inMulti_ = false;
      open_ = FtpReply{};
      ready_.push_back(FtpReply{0, {"reply line too long"}});
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
    if (open_.lines.size() < kMaxLines) open_.lines.push_back(std::move(line));
    if (last) {
      ready_.push_back(std::move(open_));
      open_ = FtpReply{};
      inMulti_ = false;
    }
    return;
  }
  if (code == 0) {
    ready_.push_back(FtpReply{0, {std::move(line)}});
    return;
  }
  if (sep == '-') {
    open_ = FtpReply{code, {std::move(line)}};
    inMulti_ = true;
    return;
  }
  ready_.push_back(FtpReply{code, {std::move(line)}});
}

std::optional<FtpReply> FtpReplyReader::Next() {
  if (readyHead_ >= ready_.size()) return std::nullopt;
  FtpReply r = std::move(ready_[readyHead_++]);
  if (readyHead_ == ready_.size()) {
    ready_.clear();
    readyHead_ = 0;
  }
  return r;
}

void FtpReplyReader::Clear() { *this = FtpReplyReader{}; }

void FtpLineSplitter::Feed(std::string_view bytes, std::vector<std::string>& out) {
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t lf = bytes.find('\n', start);
    if (lf == std::string_view::npos) {
      partial_.append(bytes.substr(start));
      return;
    }
    partial_.append(bytes.substr(start, lf - start));
    if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
    out.push_back(std::move(partial_));
    partial_.clear();
    start = lf + 1;
  }
}

void FtpLineSplitter::Finish(std::vector<std::string>& out) {
  if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
  if (!partial_.empty()) out.push_back(std::move(partial_));
  partial_.clear();
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

std::string ListingName(std::string_view line) {
  constexpr std::size_t kName = 55, kNameAfterBlank = 62;  // characters 56 and 63
  if (line.size() <= kName) return {};
  if (line[kName] != ' ') return std::string(line.substr(kName));
  if (line.size() <= kNameAfterBlank) return {};
  return std::string(line.substr(kNameAfterBlank));
}

bool ListingIsFolder(std::string_view line) { return !line.empty() && line[0] == 'd'; }

bool IsCsvName(std::string_view name) {
  const std::size_t dot = name.find('.');
  const std::string_view ext = dot == std::string_view::npos ? name.substr(0, 3) : name.substr(dot + 1, 3);
  return ext == "csv";
}

}  // namespace monitor
