// The parsing of what an FTP server sends: reply lines, listing lines, the monitor's
// fixed-column reading of a listing line.
#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <optional>
#include <string>
#include <vector>

#include "monitor/core/ftpparse.h"
#include "support/turkishlocale.h"

namespace monitor_test {
namespace {

using monitor::FtpReply;
using monitor::FtpReplyReader;

// ---- reply reader -------------------------------------------------------------------------

std::vector<FtpReply> Drain(FtpReplyReader& r) {
  std::vector<FtpReply> out;
  while (auto x = r.Next()) out.push_back(*x);
  return out;
}

TEST(FtpReplyReader, ReadsSingleAndMultiLineRepliesAcrossChunks) {
  FtpReplyReader r;
  // A multi-line reply whose inner lines start with other codes and with its own code
  // followed by a dash; it ends only at "211 ".
  const std::string bytes =
      "220 ready\r\n211-Features:\r\n 211 not the end\r\n200-still not\r\n211-nor this\r\n211 End\r\n"
      "331 Password\n";
  for (char c : bytes) r.Feed(std::string_view(&c, 1));  // byte by byte
  const auto replies = Drain(r);
  ASSERT_EQ(replies.size(), 3u);
  EXPECT_EQ(replies[0].code, 220);
  EXPECT_EQ(replies[0].Text(), "220 ready");
  EXPECT_EQ(replies[1].code, 211);
  EXPECT_EQ(replies[1].lines.size(), 5u);
  EXPECT_EQ(replies[1].lines.back(), "211 End");
  EXPECT_EQ(replies[2].code, 331);  // a bare LF ends a line too
  EXPECT_FALSE(r.Pending());
}

TEST(FtpReplyReader, LinesThatStartNoReplyGiveCodeZero) {
  const struct {
    const char* bytes;
    int code;
  } cases[] = {
      {"hello\r\n", 0},    {"22 short\r\n", 0}, {"2200 four digits\r\n", 0},   {"099 low\r\n", 0},
      {"600 high\r\n", 0}, {"250\r\n", 250},    {"550 No such file\r\n", 550},
  };
  for (const auto& c : cases) {
    FtpReplyReader r;
    r.Feed(c.bytes);
    const auto replies = Drain(r);
    ASSERT_EQ(replies.size(), 1u) << c.bytes;
    EXPECT_EQ(replies[0].code, c.code) << c.bytes;
  }
}

TEST(FtpReplyReader, AnEndlessLineIsDroppedNotKept) {
  FtpReplyReader r;
  const std::string chunk(4096, 'x');
  for (int i = 0; i < 100; ++i) r.Feed(chunk);  // 400 KB without a line end
  EXPECT_FALSE(r.Pending());
  r.Feed("\r\n226 done\r\n");
  const auto replies = Drain(r);
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0].code, 0);
  EXPECT_LT(replies[0].Text().size(), 100u);
  EXPECT_EQ(replies[1].code, 226);
}

// What arrives while no command waits is never kept: no reply of it reaches the next
// command, and what the reader holds stays within one line and one multi-line reply.
TEST(FtpReplyReader, WhileIdleNothingIsKeptButA421IsNoticed) {
  FtpReplyReader r;
  r.Feed("200 OK\r\n550 stale\r\n");
  ASSERT_EQ(r.Next()->code, 200);
  r.Idle();  // the answer is taken: the rest is dropped, and so is what comes later
  EXPECT_FALSE(r.Pending());
  std::string flood;
  for (int i = 0; i < 100000; ++i) flood += "550 stale\r\n";
  r.Feed(flood);
  r.Feed("211-x\r\n" + flood);  // a multi-line reply that never ends
  EXPECT_FALSE(r.Pending());
  EXPECT_LE(r.HeldBytes(), FtpReplyReader::kMaxReply + FtpReplyReader::kMaxLine);
  EXPECT_FALSE(r.Closing());
  r.Feed("211 end\r\n421 Timeout.\r\n");
  EXPECT_FALSE(r.Pending());
  EXPECT_TRUE(r.Closing());

  // A command goes out: what came before it, a line begun included, is no answer to it.
  FtpReplyReader s;
  s.Feed("550 stale\r\n550 half a li");
  s.Expect();
  s.Feed("200 OK\r\n");
  const auto replies = Drain(s);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].Text(), "200 OK");
}

// Replies nobody takes are bounded too: past kMaxHeld the reader drops them and says so.
TEST(FtpReplyReader, WhatItHoldsIsBounded) {
  FtpReplyReader r;
  for (int i = 0; i < 100000; ++i) r.Feed("550 more than any answer needs\r\n");
  EXPECT_TRUE(r.Overflowed());
  EXPECT_LE(r.HeldBytes(), FtpReplyReader::kMaxHeld);
  // A long multi-line reply keeps its first lines and still ends at its last.
  FtpReplyReader m;
  m.Feed("211-Features:\r\n");
  for (int i = 0; i < 100000; ++i) m.Feed(" FEAT\r\n");
  m.Feed("211 End\r\n226 next\r\n");
  EXPECT_FALSE(m.Overflowed());
  const auto replies = Drain(m);
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0].code, 211);
  EXPECT_LT(replies[0].lines.size(), 2000u);
  EXPECT_EQ(replies[1].code, 226);
  EXPECT_EQ(m.HeldBytes(), 0u);
}

TEST(FtpLineSplitter, SplitsOnLfAndDropsTheCrBeforeIt) {
  monitor::FtpLineSplitter s;
  std::vector<std::string> out;
  s.Feed("a\r\nb", out);
  s.Feed("c\n\r\nd\r", out);
  s.Finish(out);
  EXPECT_EQ(out, (std::vector<std::string>{"a", "bc", "", "d"}));
}

// Past a bound the splitter takes nothing more: the lines before it count, and it holds no
// more than one line of the bound's length.
TEST(FtpLineSplitter, StopsPastItsBounds) {
  using Passed = monitor::FtpLineSplitter::Passed;
  const struct {
    const char* what;
    std::string chunk;  // fed over and over
    monitor::ListingBounds bounds;
    Passed passed;
    std::size_t lines;  // given before it stopped
  } cases[] = {
      {"lines", "abc\r\n", {1 << 20, 10, 100}, Passed::Lines, 10},
      {"bytes", "abc\r\n", {52, 1000, 100}, Passed::Bytes, 10},
      {"one endless line", std::string(1000, 'x'), {1 << 30, 1000, 4096}, Passed::LineLength, 0},
      {"a line one byte too long",
       std::string(101, 'x') + "\r\n",
       {1 << 20, 10, 100},
       Passed::LineLength,
       0},
  };
  for (const auto& c : cases) {
    monitor::FtpLineSplitter s(c.bounds);
    std::vector<std::string> out;
    Passed passed = Passed::None;
    for (int i = 0; i < 100000 && passed == Passed::None; ++i) passed = s.Feed(c.chunk, out);
    EXPECT_EQ(passed, c.passed) << c.what;
    EXPECT_EQ(out.size(), c.lines) << c.what;
    EXPECT_LE(s.HeldBytes(), c.bounds.lineLength + 32) << c.what;
    EXPECT_EQ(s.Feed("more\r\n", out), c.passed) << c.what;
    EXPECT_EQ(out.size(), c.lines) << c.what;
  }
  // The defaults: far above a logger folder of tens of thousands of files.
  const monitor::ListingBounds defaults;
  EXPECT_EQ(defaults.bytes, 16 << 20);
  EXPECT_EQ(defaults.lines, 200000);
  EXPECT_EQ(defaults.lineLength, 4096u);
  // A line of exactly the bound, CR LF after it, still counts.
  monitor::FtpLineSplitter s({1 << 20, 10, 100});
  std::vector<std::string> out;
  EXPECT_EQ(s.Feed(std::string(100, 'x') + "\r\n", out), Passed::None);
  EXPECT_EQ(s.Finish(out), Passed::None);
  EXPECT_EQ(out.size(), 1u);
}

TEST(FtpParse, PortArgumentAndAnnouncedSize) {
  EXPECT_EQ(monitor::PortArgument(0x7F000001u, 0x1234), "127,0,0,1,18,52");
  EXPECT_EQ(monitor::PortArgument(0xC0A80A01u, 21), "192,168,10,1,0,21");
  const struct {
    const char* text;
    std::int64_t size;  // -1: none
  } cases[] = {
      {"150 Opening BINARY mode data connection for a.csv (1234 bytes).", 1234},
      {"150 File status okay. About to open data connection.", -1},
      {"150 (12 bytes) x (34 bytes)", 34},
      {"150 (bytes)", -1},
      {"150 (12bytes)", -1},
      {"150 (99999999999999999999 bytes)", -1},  // too long to be a size
  };
  for (const auto& c : cases)
    EXPECT_EQ(monitor::AnnouncedSize(c.text).value_or(-1), c.size) << c.text;
  // The "150" replies of real servers, and whether they send the bytes as stored.
  EXPECT_TRUE(monitor::AnnouncesBinary(
      "150 Opening BINARY mode data connection for 190103.csv (9033 bytes)."));
  EXPECT_FALSE(monitor::AnnouncesBinary(
      "150 Opening ASCII mode data connection for 190103.csv (9033 bytes)"));
  EXPECT_FALSE(
      monitor::AnnouncesBinary("150-Connecting to port 33933\r\n150 8.8 kbytes to download"));
  EXPECT_FALSE(monitor::AnnouncesBinary("125 Data connection already open. Transfer starting."));
  EXPECT_TRUE(monitor::AnnouncesBinary("150 Opening binary mode data connection for a.csv"));
  EXPECT_EQ(monitor::AnnouncedSize("150-Connecting to port 33933\r\n150 8.8 kbytes to download")
                .value_or(-1),
            -1);
  EXPECT_EQ(monitor::SizeAnswer("213 9033").value_or(-1), 9033);
  for (const char* no :
       {"213 ", "213 12x", "550 SIZE not allowed in ASCII mode.", "213", "2139033"})
    EXPECT_FALSE(monitor::SizeAnswer(no).has_value()) << no;
}

// The protocol words are read in ASCII whatever the locale: in Turkish the C library's
// toupper('i') is not 'I'.
TEST(FtpParse, ATurkishLocaleReadsTheSameReplies) {
  testsupport::TurkishLocale turkish;
  if (!turkish.Active()) GTEST_SKIP() << "no Turkish locale on this machine (localedef missing)";
  ASSERT_NE(std::toupper('i'), 'I');  // the fold that the protocol words must not follow
  EXPECT_TRUE(monitor::AnnouncesBinary("150 Opening binary mode data connection"));
  EXPECT_FALSE(monitor::ReadListingLine("-rw-r--r-- 1 0 0 9 Mai 10 22:00 x.csv"));
  EXPECT_TRUE(monitor::ReadListingLine("-rw-r--r-- 1 0 0 9 MAY 10 22:00 x.csv"));
}

// A download of unknown size stops past the largest file the monitor loads.
TEST(FtpParse, TheMostADownloadMayBring) {
  EXPECT_EQ(monitor::MostDownloadBytes(-1, true), std::int64_t{2} * 1024 * 1024 * 1024);
  EXPECT_EQ(monitor::MostDownloadBytes(-1, false), std::int64_t{2} * 1024 * 1024 * 1024);
  EXPECT_EQ(monitor::MostDownloadBytes(1000, true), 1000);
  EXPECT_EQ(monitor::MostDownloadBytes(1000, false), 2000 + (1 << 20));
}

// A remote name is shown as UTF-8 where its bytes are valid UTF-8, else as Windows-1252.
TEST(FtpParse, RemoteNamesAreShownReadably) {
  const struct {
    std::string bytes;
    QString shown;
    std::string message;  // in a message text (Windows-1252)
  } cases[] = {
      {"190101.csv", QStringLiteral("190101.csv"), "190101.csv"},
      {"Gr\xc3\xb6\xc3\x9f"
       "e \xc3\xa4.csv",
       QStringLiteral("Gr\u00f6\u00dfe \u00e4.csv"),
       "Gr\xf6\xdf"
       "e \xe4.csv"},
      {"Gr\xf6\xdf"
       "e \xe4.csv",
       QStringLiteral("Gr\u00f6\u00dfe \u00e4.csv"),
       "Gr\xf6\xdf"
       "e \xe4.csv"},
      {"\xe2\x82\xac", QStringLiteral("\u20ac"), "\x80"},
      {"\x80 \xe2\x82\xac", QStringLiteral("\u20ac \u00e2\u201a\u00ac"), "\x80 \xe2\x82\xac"},
      {"\xc3", QStringLiteral("\u00c3"), "\xc3"},  // UTF-8 cut short: Windows-1252
      {"\xe6\x97\xa5.csv", QStringLiteral("\u65e5.csv"), "?.csv"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(monitor::ReadableName(c.bytes), c.shown) << c.bytes;
    EXPECT_EQ(monitor::MessageName(c.bytes), c.message) << c.bytes;
  }
}

TEST(FtpParse, ADownloadIsCompleteOnlyWithTheBytesTheServerGave) {
  const struct {
    std::int64_t received, expected;
    bool binary, complete;
  } cases[] = {
      {9033, 9033, true, true},   {4516, 9033, true, false}, {9034, 9033, true, false},
      {9033, 9033, false, true},  {9500, 9033, false, true},  // ASCII: CR LF line ends may add
      {4516, 9033, false, false}, {0, 0, true, true},        {0, 1, false, false},
      {5, -1, true, true},  // no size given: nothing to hold it against
  };
  for (const auto& c : cases)
    EXPECT_EQ(monitor::DownloadComplete(c.received, c.expected, c.binary), c.complete)
        << c.received << " of " << c.expected << (c.binary ? " binary" : " ascii");
}

// ---- the monitor's reading of listing lines -----------------------------------------------

// Listing lines as real servers sent them (LIST in active mode; the line end removed),
// for one tree: daily and merged files, a folder dated last year, names with blanks, a size
// wider than the columns, a name in capitals.
// The name a listing line gives, "" for none.
std::string NameOf(std::string_view line) {
  const auto entry = monitor::ReadListingLine(line);
  return entry ? entry->name : std::string();
}

struct ListedLine {
  const char* server;
  const char* line;
  const char* name;
};
const ListedLine kRealListings[] = {
    {"vsftpd 3.0.3", "-rw-r--r--    1 0        0               2 Dec 10 22:00   lead.csv",
     "  lead.csv"},
    {"vsftpd 3.0.3", "-rw-r--r--    1 0        0               3 Dec 10 22:00 -190101-190131.csv",
     "-190101-190131.csv"},
    {"vsftpd 3.0.3", "drwxr-xr-x    2 0        0            4096 Dec 10 22:00 -archiv", "-archiv"},
    {"vsftpd 3.0.3", "-rw-r--r--    1 0        0            9033 Jan 05  2026 190103.csv",
     "190103.csv"},
    {"vsftpd 3.0.3", "drwxr-xr-x    2 0        0            4096 Mar 01  2018 2019", "2019"},
    {"vsftpd 3.0.3", "-rw-r--r--    1 0        0               2 Dec 10 22:00 README.CSV",
     "README.CSV"},
    {"vsftpd 3.0.3", "-rw-r--r--    1 0        0               2 Mar 01  2018 a  b.csv",
     "a  b.csv"},
    {"vsftpd 3.0.3", "-rw-r--r--    1 0        0        12345678901 Dec 10 22:00 big.csv",
     "big.csv"},
    {"proftpd 1.3.8", "-rw-r--r--   1 0        0               2 Dec 10 22:00   lead.csv",
     "  lead.csv"},
    {"proftpd 1.3.8", "-rw-r--r--   1 0        0               3 Dec 10 22:00 -190101-190131.csv",
     "-190101-190131.csv"},
    {"proftpd 1.3.8", "drwxr-xr-x   2 0        0            4096 Dec 10 22:00 -archiv", "-archiv"},
    {"proftpd 1.3.8", "-rw-r--r--   1 0        0            9033 Jan  5  2026 190103.csv",
     "190103.csv"},
    {"proftpd 1.3.8", "drwxr-xr-x   2 0        0            4096 Mar  1  2018 2019", "2019"},
    {"proftpd 1.3.8", "-rw-r--r--   1 0        0               2 Dec 10 22:00 README.CSV",
     "README.CSV"},
    {"proftpd 1.3.8", "-rw-r--r--   1 0        0               2 Mar  1  2018 a  b.csv",
     "a  b.csv"},
    {"proftpd 1.3.8", "-rw-r--r--   1 0        0        12345678901 Dec 10 22:00 big.csv",
     "big.csv"},
    {"pure-ftpd 1.0.50", "-rw-r--r--    1 0          0                   2 Dec 10 22:00   lead.csv",
     "  lead.csv"},
    {"pure-ftpd 1.0.50",
     "-rw-r--r--    1 0          0                   3 Dec 10 22:00 -190101-190131.csv",
     "-190101-190131.csv"},
    {"pure-ftpd 1.0.50", "drwxr-xr-x    2 0          0                4096 Dec 10 22:00 -archiv",
     "-archiv"},
    {"pure-ftpd 1.0.50", "-rw-r--r--    1 0          0                9033 Jan  5  2026 190103.csv",
     "190103.csv"},
    {"pure-ftpd 1.0.50", "drwxr-xr-x    2 0          0                4096 Mar  1  2018 2019",
     "2019"},
    {"pure-ftpd 1.0.50", "-rw-r--r--    1 0          0                   2 Dec 10 22:00 README.CSV",
     "README.CSV"},
    {"pure-ftpd 1.0.50", "-rw-r--r--    1 0          0                   2 Mar  1  2018 a  b.csv",
     "a  b.csv"},
    {"pure-ftpd 1.0.50",
     "-rw-r--r--    1 0          0                 12345678901 Dec 10 22:00 big.csv", "big.csv"},
    {"pyftpdlib 1.5.7", "-rw-r--r--   1 root     root            2 Dec 10 22:00   lead.csv",
     "  lead.csv"},
    {"pyftpdlib 1.5.7", "-rw-r--r--   1 root     root            3 Dec 10 22:00 -190101-190131.csv",
     "-190101-190131.csv"},
    {"pyftpdlib 1.5.7", "drwxr-xr-x   2 root     root         4096 Dec 10 22:00 -archiv",
     "-archiv"},
    {"pyftpdlib 1.5.7", "-rw-r--r--   1 root     root         9033 Jan 05  2026 190103.csv",
     "190103.csv"},
    {"pyftpdlib 1.5.7", "drwxr-xr-x   2 root     root         4096 Mar 01  2018 2019", "2019"},
    {"pyftpdlib 1.5.7", "-rw-r--r--   1 root     root            2 Dec 10 22:00 README.CSV",
     "README.CSV"},
    {"pyftpdlib 1.5.7", "-rw-r--r--   1 root     root            2 Mar 01  2018 a  b.csv",
     "a  b.csv"},
    {"pyftpdlib 1.5.7", "-rw-r--r--   1 root     root     12345678901 Dec 10 22:00 big.csv",
     "big.csv"},
};

TEST(ListingLine, ReadsTheListingsOfRealServers) {
  for (const ListedLine& l : kRealListings) {
    const auto entry = monitor::ReadListingLine(l.line);
    ASSERT_TRUE(entry) << l.server << ": " << l.line;
    EXPECT_EQ(entry->name, l.name) << l.server << ": " << l.line;
    EXPECT_EQ(entry->folder, l.line[0] == 'd') << l.server << ": " << l.line;
    // The size column, as wide as it is.
    const std::int64_t size = entry->name == "big.csv"      ? 12345678901
                              : entry->name == "190103.csv" ? 9033
                              : entry->folder               ? 4096
                                                            : -1;
    if (size >= 0) {
      EXPECT_EQ(entry->size.value_or(-1), size) << l.server << ": " << l.line;
    }
  }
}

// The logger's own server: the same layout with the name from character 56.
std::string Line(char kind, const std::string& name) {
  std::string head =
      std::string(1, kind) + "rw-r--r--   1 owner    group        1234 Dec 10 13:57 ";
  EXPECT_EQ(head.size(), 55u);
  return head + name;
}

TEST(ListingLine, TheNameIsTheRestAfterTheTimeOrYearAndOtherLinesNameNothing) {
  EXPECT_EQ(NameOf(Line('d', "2019")), "2019");
  EXPECT_TRUE(monitor::ReadListingLine(Line('d', "2019"))->folder);
  EXPECT_FALSE(monitor::ReadListingLine(Line('-', "2019"))->folder);
  EXPECT_FALSE(monitor::ReadListingLine(Line('l', "2019 -> x"))->folder);
  EXPECT_EQ(NameOf(Line('-', "a b.csv")), "a b.csv");
  EXPECT_EQ(NameOf(Line('-', " 2018  2019")), " 2018  2019");  // blanks belong to it
  EXPECT_EQ(NameOf("-rw-r--r-- 1 owner 12 Oct 10 2018 nogroup.csv"), "nogroup.csv");
  EXPECT_EQ(monitor::ReadListingLine("-rw-r--r-- 1 owner 12 Oct 10 2018 nogroup.csv")->size, 12);
  EXPECT_EQ(NameOf("-rw-r--r--+ 1 u g 12 oct 10 9:05 acl.csv"), "acl.csv");
  // A size too long to be one is left out; the line still names its file.
  const auto huge = monitor::ReadListingLine("-rw-r--r-- 1 u g 1234567890123456789 Oct 10 2018 h");
  ASSERT_TRUE(huge);
  EXPECT_EQ(huge->name, "h");
  EXPECT_FALSE(huge->size);
  // Lines that are no Unix listing lines are read as naming nothing, never guessed at.
  for (const std::string& unread :
       {std::string("total 12"), std::string(""), Line('D', "2019"),
        std::string("12-10-18  01:57PM       <DIR>          2019"),
        std::string("12-10-18  01:57PM                 1234 181010.csv"),
        std::string("drwxr-xr-x    2 0        0            4096 Dec 10 22:00"),
        std::string("drwxr-xr-x    2 0        0            4096 Dec 10 22:00 "),
        std::string("-rw-r--r--    1 0        0            9033 Foo 05  2026 190103.csv"),
        std::string("-rw-r--r--    1 0        0            9033 Jan 32  2026 190103.csv"),
        std::string("-rw-r--r--    1 0        0            9033 Jan 05 26:0 190103.csv"),
        std::string("-rw-r--r--    1 0        0            90x3 Jan 05  2026 190103.csv"),
        std::string("type=file;size=9033;modify=20260105080700; 190103.csv"),
        std::string(200, 'x')})
    EXPECT_FALSE(monitor::ReadListingLine(unread)) << unread;
}

TEST(ListingLine, OnlyNamesWithTheExtensionCsvAreDataFiles) {
  const struct {
    const char* name;
    bool csv;
  } cases[] = {
      {"a.csv", true},  {"a.csv.bak", true}, {"csvdata", true}, {"A.CSV", false},
      {"a.txt", false}, {"a.b.csv", false},  // the first dot counts
      {"a.cs", false},  {"", false},         {".csv", true},    {"cs", false},
  };
  for (const auto& c : cases) EXPECT_EQ(monitor::IsCsvName(c.name), c.csv) << c.name;
}

}  // namespace
}  // namespace monitor_test
