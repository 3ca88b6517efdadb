#pragma once
// Pure parsing of what an FTP server sends: reply lines on the control connection, the
// lines of a listing, and the fields the monitor reads from a listing line. Bytes in,
// bytes out (Windows-1252 names), no sockets.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace monitor {

struct FtpReply {
  int code = 0;                    // 100..599; 0: the server sent a line that is no reply
  std::vector<std::string> lines;  // without their line ends
  // The lines joined by "\r\n", as an error text shows them.
  std::string Text() const;
};

// Collects control connection bytes into replies: a line "nnn text", or a multi-line
// reply that opens with "nnn-" and ends with a line that starts with the same "nnn ".
// Lines end with LF (a CR before it is dropped). A line that starts no reply (no three
// digits and a blank or dash) gives a reply with code 0. A line longer than kMaxLine
// without its end also gives code 0 (its bytes are dropped), so a server that never ends
// a line cannot fill memory.
class FtpReplyReader {
 public:
  static constexpr std::size_t kMaxLine = 8192;
  static constexpr std::size_t kMaxLines = 1000;

  void Feed(std::string_view bytes);
  // The next complete reply, if any.
  std::optional<FtpReply> Next();
  bool Pending() const { return !ready_.empty(); }
  void Clear();

 private:
  void Line(std::string line);

  std::string partial_;
  bool overlong_ = false;
  FtpReply open_;  // a multi-line reply still being read (code set)
  bool inMulti_ = false;
  std::vector<FtpReply> ready_;
  std::size_t readyHead_ = 0;
};

// Splits listing data into lines without their line ends: LF ends a line, a CR before it
// is dropped. Finish() gives the last line when the data did not end with a line end.
class FtpLineSplitter {
 public:
  // Appends the completed lines to out.
  void Feed(std::string_view bytes, std::vector<std::string>& out);
  void Finish(std::vector<std::string>& out);

 private:
  std::string partial_;
};

// The argument of "PORT" for an IPv4 address (host order) and a port: "h1,h2,h3,h4,p1,p2".
std::string PortArgument(std::uint32_t ipv4, std::uint16_t port);

// The size a "150" reply announces as "(n bytes)", if it does.
std::optional<std::int64_t> AnnouncedSize(std::string_view replyText);

// ---- the monitor's reading of a listing line (fixed columns) -----------------------------

// The name in a listing line: from character 56 (counted from 1) to the end, or from
// character 63 when character 56 is a blank. Empty when the line is too short.
std::string ListingName(std::string_view line);
// A listing line whose first character is 'd' describes a folder.
bool ListingIsFolder(std::string_view line);
// A data file name: the three characters after the name's first '.' (its first three
// characters when it has none) are exactly "csv" (case matters).
bool IsCsvName(std::string_view name);

}  // namespace monitor
