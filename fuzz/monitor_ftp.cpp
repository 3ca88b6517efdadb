// Fuzz target: what an FTP server sends. The bytes go through the reply reader and the
// listing line splitter, whole and in chunks whose sizes the first byte chooses; each line
// is then read as the monitor reads a listing line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/core/ftpparse.h"

using namespace monitor;

namespace {

std::vector<FtpReply> Replies(std::string_view bytes, std::size_t chunk) {
  FtpReplyReader r;
  std::vector<FtpReply> out;
  for (std::size_t i = 0; i < bytes.size(); i += chunk) {
    r.Feed(bytes.substr(i, chunk));
    if (r.HeldBytes() > FtpReplyReader::kMaxHeld + FtpReplyReader::kMaxLine) __builtin_trap();
    while (auto x = r.Next()) out.push_back(std::move(*x));
  }
  return out;
}

// While idle the reader keeps no reply at all, whatever arrives.
void Idle(std::string_view bytes, std::size_t chunk) {
  FtpReplyReader r;
  r.Idle();
  for (std::size_t i = 0; i < bytes.size(); i += chunk) {
    r.Feed(bytes.substr(i, chunk));
    if (r.Pending() || r.HeldBytes() > FtpReplyReader::kMaxReply + FtpReplyReader::kMaxLine)
      __builtin_trap();
  }
}

// Small bounds, so short inputs reach them.
constexpr ListingBounds kBounds{4096, 64, 80};

std::vector<std::string> Lines(std::string_view bytes, std::size_t chunk,
                               FtpLineSplitter::Passed& passed) {
  FtpLineSplitter s(kBounds);
  std::vector<std::string> out;
  passed = FtpLineSplitter::Passed::None;
  for (std::size_t i = 0; i < bytes.size(); i += chunk) {
    passed = s.Feed(bytes.substr(i, chunk), out);
    if (s.HeldBytes() > 2 * kBounds.lineLength + 64) __builtin_trap();
  }
  passed = s.Finish(out);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t chunk = data[0] % 16 + 1;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  const auto whole = Replies(bytes, bytes.size() + 1);
  const auto pieces = Replies(bytes, chunk);
  if (whole.size() != pieces.size()) __builtin_trap();
  Idle(bytes, chunk);
  for (std::size_t i = 0; i < whole.size(); ++i) {
    const FtpReply& r = whole[i];
    if (r.code != pieces[i].code || r.lines != pieces[i].lines) __builtin_trap();
    if (r.code != 0 && (r.code < 100 || r.code > 599)) __builtin_trap();
    if (r.lines.empty() && r.code == 0) __builtin_trap();
    for (const std::string& l : r.lines)
      if (l.size() > FtpReplyReader::kMaxLine || l.find('\n') != std::string::npos)
        __builtin_trap();
    const auto size = AnnouncedSize(r.Text());
    if (size && *size < 0) __builtin_trap();
    const auto answered = SizeAnswer(r.Text());
    if (answered && (*answered < 0 || r.Text().compare(0, 4, "213 ") != 0)) __builtin_trap();
    (void)AnnouncesBinary(r.Text());
    // A transfer that brought fewer bytes than announced is never complete.
    if (size && *size > 0 &&
        (DownloadComplete(*size - 1, *size, false) || DownloadComplete(*size - 1, *size, true)))
      __builtin_trap();
  }

  FtpLineSplitter::Passed passed, passedWhole;
  const auto lines = Lines(bytes, chunk, passed);
  if (lines != Lines(bytes, bytes.size() + 1, passedWhole) || passed != passedWhole)
    __builtin_trap();
  if (static_cast<std::int64_t>(lines.size()) > kBounds.lines) __builtin_trap();
  std::size_t total = 0;
  for (const std::string& line : lines) {
    if (line.find('\n') != std::string::npos || line.size() > kBounds.lineLength) __builtin_trap();
    total += line.size();
    const auto entry = ReadListingLine(line);
    const std::string name = entry ? entry->name : std::string();
    if (entry &&
        (name.empty() || entry->folder != (line[0] == 'd') || (entry->size && *entry->size < 0)))
      __builtin_trap();
    // The name is the line's tail, after the fields of a Unix listing line.
    if (name.size() > line.size() ||
        line.compare(line.size() - name.size(), name.size(), name) != 0)
      __builtin_trap();
    if (!name.empty() &&
        (line.size() - name.size() < 20 || line[line.size() - name.size() - 1] != ' '))
      __builtin_trap();
    (void)IsCsvName(name);
  }
  if (total > bytes.size()) __builtin_trap();
  return 0;
}
