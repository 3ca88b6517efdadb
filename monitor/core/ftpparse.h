#pragma once
// Pure parsing of what an FTP server sends: reply lines on the control connection, the
// lines of a listing, and the fields the monitor reads from a listing line. Bytes in,
// bytes out, no sockets: a remote name stays the bytes the server sent.
#include <QString>
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
//
// What it holds is bounded: the kept lines of the replies not taken yet, each counted with
// kLineCost for its bookkeeping, stay within kMaxHeld. Lines of a multi-line reply beyond
// kMaxReply are dropped (the reply still ends at its last line); a complete reply beyond it is
// dropped and marks the reader Overflowed(): the server sends more than any answer needs.
// While Idle (no command outstanding) complete replies are not kept at all: none of them
// may become the answer to the next command. Only a "421" (the server closes the
// connection) is remembered, as Closing().
class FtpReplyReader {
 public:
  static constexpr std::size_t kMaxLine = 8192;
  static constexpr std::size_t kMaxHeld = 64 * 1024;
  static constexpr std::size_t kMaxReply = 16 * 1024;
  static constexpr std::size_t kLineCost = 64;

  void Feed(std::string_view bytes);
  // The next complete reply, if any.
  std::optional<FtpReply> Next();
  bool Pending() const { return !ready_.empty(); }
  void Clear();
  // A command goes out: whatever arrived before it (replies, a line begun) is dropped, and
  // the replies from here on are kept for it.
  void Expect();
  // The command has its answer: replies still queued are dropped, and so is every reply
  // until the next Expect().
  void Idle();
  bool Closing() const { return closing_; }
  bool Overflowed() const { return overflow_; }
  // Bytes held for the replies not taken yet and the line being read (kept lines counted
  // with kLineCost each).
  std::size_t HeldBytes() const { return held_ + partial_.size(); }

 private:
  void Line(std::string line);
  void Ready(FtpReply reply);
  void Drop(const FtpReply& reply);

  std::string partial_;
  bool overlong_ = false;
  FtpReply open_;  // a multi-line reply still being read (code set)
  bool inMulti_ = false;
  std::vector<FtpReply> ready_;
  std::size_t readyHead_ = 0;
  std::size_t held_ = 0;
  std::size_t openCost_ = 0;  // of open_'s kept lines
  bool idle_ = false;
  bool closing_ = false;
  bool overflow_ = false;
};

// The most one listing may bring: far above a logger folder of tens of thousands of files
// (about 70 bytes a line), and still a bounded cost for the lists that show it.
struct ListingBounds {
  std::int64_t bytes = 16 * 1024 * 1024;
  std::int64_t lines = 200000;
  std::size_t lineLength = 4096;  // without the line end
};

// Splits listing data into lines without their line ends: LF ends a line, a CR before it
// is dropped. Finish() gives the last line when the data did not end with a line end.
// Past one of its bounds it takes nothing more and says which; it holds no more than one
// line of the bound's length.
class FtpLineSplitter {
 public:
  enum class Passed { None, Bytes, Lines, LineLength };
  explicit FtpLineSplitter(ListingBounds bounds = {}) : bounds_(bounds) {}
  // Appends the completed lines to out.
  Passed Feed(std::string_view bytes, std::vector<std::string>& out);
  Passed Finish(std::vector<std::string>& out);
  std::size_t HeldBytes() const { return partial_.capacity(); }

 private:
  Passed Line(std::vector<std::string>& out);
  ListingBounds bounds_;
  std::string partial_;
  std::int64_t bytes_ = 0;
  std::int64_t lines_ = 0;
  Passed passed_ = Passed::None;
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

// A download of unknown size stops past the largest file the monitor loads.
constexpr std::int64_t kMostUnsizedDownload = std::int64_t{1} << 31;  // 2 GiB
// The most a download may bring before it is stopped: exactly the size the server gave for
// a binary transfer; for one that may grow (ASCII line ends, a file still being written)
// twice that and a MiB; with no size given, `unsized`.
std::int64_t MostDownloadBytes(std::int64_t expected, bool exact,
                               std::int64_t unsized = kMostUnsizedDownload);

// ---- remote names ----------------------------------------------------------------------

// A remote name as the lists show it: its bytes read as UTF-8 where they are valid UTF-8,
// as Windows-1252 otherwise. Commands and local file names take the bytes themselves.
QString ReadableName(std::string_view bytes);
// The same for a message text, which is Windows-1252 (what it cannot hold becomes '?').
std::string MessageName(std::string_view bytes);

// ---- the monitor's reading of a listing line --------------------------------------------

// What one listing line names: the name (the server's bytes), whether it is a folder, and
// its size where the line gives one.
struct ListingEntry {
  std::string name;
  bool folder = false;
  std::optional<std::int64_t> size;
};

// One parser per listing form: the entry of a line of its form, none for any other line.
using ListingParser = std::optional<ListingEntry> (*)(std::string_view line);

// A Unix "ls -l" listing line as FTP servers write it: the kind and rights, the link count,
// owner, group (some servers leave it out), size, month, day, and time or year, then one
// blank and the name, which is the rest of the line whatever the column widths. A folder's
// kind is 'd'.
std::optional<ListingEntry> UnixListingEntry(std::string_view line);

// The listing forms the monitor reads, in the order they are tried.
inline constexpr ListingParser kListingParsers[] = {UnixListingEntry};

// The entry of a listing line by the first form that reads it; none for a line that names
// nothing (a "total" line, a form the monitor does not read).
std::optional<ListingEntry> ReadListingLine(std::string_view line);

// A data file name: the three characters after the name's first '.' (its first three
// characters when it has none) are exactly "csv" (case matters).
bool IsCsvName(std::string_view name);

}  // namespace monitor
