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

// What a "150" reply says about the transfer: the size it announces as "(n bytes)", and
// whether the data go as they are stored ("BINARY mode").
std::optional<std::int64_t> AnnouncedSize(std::string_view replyText);
bool AnnouncesBinary(std::string_view replyText);
// The size in a "213 n" answer to "SIZE".
std::optional<std::int64_t> SizeAnswer(std::string_view replyText);

// Whether a download brought the whole file: the bytes received against the size the server
// gave for it (negative: none given). A binary transfer must bring exactly that many bytes;
// an ASCII transfer may bring more (line ends made CR LF), never fewer.
bool DownloadComplete(std::int64_t received, std::int64_t expected, bool binary);

// ---- the monitor's reading of a listing line --------------------------------------------

// The name in a Unix "ls -l" listing line as FTP servers write it: the kind and rights, the
// link count, owner, group (some servers leave it out), size, month, day, and time or year,
// then one blank and the name, which is the rest of the line whatever the column widths.
// Empty when the line is no such line (a "total" line, another listing format): such a line
// names nothing.
std::string ListingName(std::string_view line);
// A listing line whose first character is 'd' describes a folder.
bool ListingIsFolder(std::string_view line);
// A data file name: the three characters after the name's first '.' (its first three
// characters when it has none) are exactly "csv" (case matters).
bool IsCsvName(std::string_view name);

}  // namespace monitor
