// The FTP client against a real server on 127.0.0.1, and the parsing of what a server sends
// (reply lines, listing lines, the monitor's fixed-column reading of a listing line).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "monitor/ftpclient.h"
#include "monitor/core/ftpparse.h"
#include "support/filesizelimit.h"
#include "support/ftp_server.h"
#include "support/pty.h"
#include "support/scripted_ftp.h"

namespace monitor_test {
namespace {

using monitor::FtpError;
using monitor::FtpReply;
using monitor::FtpReplyReader;
using monitor::TFTPClient;

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
      {"hello\r\n", 0}, {"22 short\r\n", 0}, {"2200 four digits\r\n", 0}, {"099 low\r\n", 0},
      {"600 high\r\n", 0}, {"250\r\n", 250}, {"550 No such file\r\n", 550},
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

TEST(FtpLineSplitter, SplitsOnLfAndDropsTheCrBeforeIt) {
  monitor::FtpLineSplitter s;
  std::vector<std::string> out;
  s.Feed("a\r\nb", out);
  s.Feed("c\n\r\nd\r", out);
  s.Finish(out);
  EXPECT_EQ(out, (std::vector<std::string>{"a", "bc", "", "d"}));
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
  EXPECT_TRUE(monitor::AnnouncesBinary("150 Opening BINARY mode data connection for 190103.csv (9033 bytes)."));
  EXPECT_FALSE(monitor::AnnouncesBinary("150 Opening ASCII mode data connection for 190103.csv (9033 bytes)"));
  EXPECT_FALSE(monitor::AnnouncesBinary("150-Connecting to port 33933\r\n150 8.8 kbytes to download"));
  EXPECT_FALSE(monitor::AnnouncesBinary("125 Data connection already open. Transfer starting."));
  EXPECT_EQ(monitor::AnnouncedSize("150-Connecting to port 33933\r\n150 8.8 kbytes to download").value_or(-1), -1);
  EXPECT_EQ(monitor::SizeAnswer("213 9033").value_or(-1), 9033);
  for (const char* no : {"213 ", "213 12x", "550 SIZE not allowed in ASCII mode.", "213", "2139033"})
    EXPECT_FALSE(monitor::SizeAnswer(no).has_value()) << no;
}

TEST(FtpParse, ADownloadIsCompleteOnlyWithTheBytesTheServerGave) {
  const struct {
    std::int64_t received, expected;
    bool binary, complete;
  } cases[] = {
      {9033, 9033, true, true},  {4516, 9033, true, false}, {9034, 9033, true, false},
      {9033, 9033, false, true}, {9500, 9033, false, true},  // ASCII: CR LF line ends may add
      {4516, 9033, false, false}, {0, 0, true, true},       {0, 1, false, false},
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
struct ListedLine {
  const char* server;
  const char* line;
  const char* name;
};
const ListedLine kRealListings[] = {
    {"vsftpd 3.0.3", "-rw-r--r--    1 0        0               2 Dec 10 22:00   lead.csv", "  lead.csv"},
    {"vsftpd 3.0.3", "-rw-r--r--    1 0        0               3 Dec 10 22:00 -190101-190131.csv", "-190101-190131.csv"},
    {"vsftpd 3.0.3", "drwxr-xr-x    2 0        0            4096 Dec 10 22:00 -archiv", "-archiv"},
    {"vsftpd 3.0.3", "-rw-r--r--    1 0        0            9033 Jan 05  2026 190103.csv", "190103.csv"},
    {"vsftpd 3.0.3", "drwxr-xr-x    2 0        0            4096 Mar 01  2018 2019", "2019"},
    {"vsftpd 3.0.3", "-rw-r--r--    1 0        0               2 Dec 10 22:00 README.CSV", "README.CSV"},
    {"vsftpd 3.0.3", "-rw-r--r--    1 0        0               2 Mar 01  2018 a  b.csv", "a  b.csv"},
    {"vsftpd 3.0.3", "-rw-r--r--    1 0        0        12345678901 Dec 10 22:00 big.csv", "big.csv"},
    {"proftpd 1.3.8", "-rw-r--r--   1 0        0               2 Dec 10 22:00   lead.csv", "  lead.csv"},
    {"proftpd 1.3.8", "-rw-r--r--   1 0        0               3 Dec 10 22:00 -190101-190131.csv", "-190101-190131.csv"},
    {"proftpd 1.3.8", "drwxr-xr-x   2 0        0            4096 Dec 10 22:00 -archiv", "-archiv"},
    {"proftpd 1.3.8", "-rw-r--r--   1 0        0            9033 Jan  5  2026 190103.csv", "190103.csv"},
    {"proftpd 1.3.8", "drwxr-xr-x   2 0        0            4096 Mar  1  2018 2019", "2019"},
    {"proftpd 1.3.8", "-rw-r--r--   1 0        0               2 Dec 10 22:00 README.CSV", "README.CSV"},
    {"proftpd 1.3.8", "-rw-r--r--   1 0        0               2 Mar  1  2018 a  b.csv", "a  b.csv"},
    {"proftpd 1.3.8", "-rw-r--r--   1 0        0        12345678901 Dec 10 22:00 big.csv", "big.csv"},
    {"pure-ftpd 1.0.50", "-rw-r--r--    1 0          0                   2 Dec 10 22:00   lead.csv", "  lead.csv"},
    {"pure-ftpd 1.0.50", "-rw-r--r--    1 0          0                   3 Dec 10 22:00 -190101-190131.csv", "-190101-190131.csv"},
    {"pure-ftpd 1.0.50", "drwxr-xr-x    2 0          0                4096 Dec 10 22:00 -archiv", "-archiv"},
    {"pure-ftpd 1.0.50", "-rw-r--r--    1 0          0                9033 Jan  5  2026 190103.csv", "190103.csv"},
    {"pure-ftpd 1.0.50", "drwxr-xr-x    2 0          0                4096 Mar  1  2018 2019", "2019"},
    {"pure-ftpd 1.0.50", "-rw-r--r--    1 0          0                   2 Dec 10 22:00 README.CSV", "README.CSV"},
    {"pure-ftpd 1.0.50", "-rw-r--r--    1 0          0                   2 Mar  1  2018 a  b.csv", "a  b.csv"},
    {"pure-ftpd 1.0.50", "-rw-r--r--    1 0          0                 12345678901 Dec 10 22:00 big.csv", "big.csv"},
    {"pyftpdlib 1.5.7", "-rw-r--r--   1 root     root            2 Dec 10 22:00   lead.csv", "  lead.csv"},
    {"pyftpdlib 1.5.7", "-rw-r--r--   1 root     root            3 Dec 10 22:00 -190101-190131.csv", "-190101-190131.csv"},
    {"pyftpdlib 1.5.7", "drwxr-xr-x   2 root     root         4096 Dec 10 22:00 -archiv", "-archiv"},
    {"pyftpdlib 1.5.7", "-rw-r--r--   1 root     root         9033 Jan 05  2026 190103.csv", "190103.csv"},
    {"pyftpdlib 1.5.7", "drwxr-xr-x   2 root     root         4096 Mar 01  2018 2019", "2019"},
    {"pyftpdlib 1.5.7", "-rw-r--r--   1 root     root            2 Dec 10 22:00 README.CSV", "README.CSV"},
    {"pyftpdlib 1.5.7", "-rw-r--r--   1 root     root            2 Mar 01  2018 a  b.csv", "a  b.csv"},
    {"pyftpdlib 1.5.7", "-rw-r--r--   1 root     root     12345678901 Dec 10 22:00 big.csv", "big.csv"},
};

TEST(ListingLine, ReadsTheListingsOfRealServers) {
  for (const ListedLine& l : kRealListings) {
    EXPECT_EQ(monitor::ListingName(l.line), l.name) << l.server << ": " << l.line;
    EXPECT_EQ(monitor::ListingIsFolder(l.line), l.line[0] == 'd') << l.server << ": " << l.line;
  }
}

// The logger's own server: the same layout with the name from character 56.
std::string Line(char kind, const std::string& name) {
  std::string head = std::string(1, kind) + "rw-r--r--   1 owner    group        1234 Dec 10 13:57 ";
  EXPECT_EQ(head.size(), 55u);
  return head + name;
}

TEST(ListingLine, TheNameIsTheRestAfterTheTimeOrYearAndOtherLinesNameNothing) {
  EXPECT_EQ(monitor::ListingName(Line('d', "2019")), "2019");
  EXPECT_TRUE(monitor::ListingIsFolder(Line('d', "2019")));
  EXPECT_FALSE(monitor::ListingIsFolder(Line('-', "2019")));
  EXPECT_EQ(monitor::ListingName(Line('-', "a b.csv")), "a b.csv");
  EXPECT_EQ(monitor::ListingName(Line('-', " 2018  2019")), " 2018  2019");  // blanks belong to it
  EXPECT_EQ(monitor::ListingName("-rw-r--r-- 1 owner 12 Oct 10 2018 nogroup.csv"), "nogroup.csv");
  EXPECT_EQ(monitor::ListingName("-rw-r--r--+ 1 u g 12 oct 10 9:05 acl.csv"), "acl.csv");
  // Lines that are no Unix listing lines are read as naming nothing, never guessed at.
  for (const std::string& unread : {
           std::string("total 12"), std::string(""), Line('D', "2019"),
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
    EXPECT_EQ(monitor::ListingName(unread), "") << unread;
}

TEST(ListingLine, OnlyNamesWithTheExtensionCsvAreDataFiles) {
  const struct {
    const char* name;
    bool csv;
  } cases[] = {
      {"a.csv", true}, {"a.csv.bak", true}, {"csvdata", true}, {"A.CSV", false}, {"a.txt", false},
      {"a.b.csv", false},  // the first dot counts
      {"a.cs", false},     {"", false},      {".csv", true},    {"cs", false},
  };
  for (const auto& c : cases) EXPECT_EQ(monitor::IsCsvName(c.name), c.csv) << c.name;
}

// ---- the client against a server --------------------------------------------------------

class FtpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    ASSERT_TRUE(local_.isValid());
  }
  std::string RootPath(const std::string& name) const { return root_.path().toStdString() + "/" + name; }
  std::string LocalPath(const std::string& name) const { return local_.path().toStdString() + "/" + name; }
  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(RootPath(name), std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Starts the server and points the client at it, recording its events.
  void Serve(const std::string& user = "5063", const std::string& pass = "pw") {
    const int port = server.Start(user, pass, root_.path().toStdString());
    c.Host = "127.0.0.1";
    c.Port = port;
    c.UserID = user;
    c.Password = pass;
    c.OnSuccess = [this](int code) { events.push_back("success " + std::to_string(code)); };
    c.OnFailure = [this](bool&, int code) { events.push_back("failure " + std::to_string(code)); };
    c.OnUnSupportedFunction = [this](int code) { events.push_back("unsupported " + std::to_string(code)); };
    c.OnConnect = [this] { events.push_back("connect"); };
    c.OnDisconnect = [this] { events.push_back("disconnect"); };
    c.OnTransactionStart = [this] { events.push_back("start"); };
    c.OnTransactionStop = [this] { events.push_back("stop"); };
    c.OnInvalidHost = [this](bool&) { events.push_back("invalid host"); };
    c.OnConnectionFailed = [this] { events.push_back("connection failed"); };
    c.OnListItem = [this](const std::string& line) { lines.push_back(line); };
    c.OnPacketRecvd = [this](std::int64_t got, std::int64_t total) {
      lastPacket = {got, total};
      ++packets;
    };
  }
  // The error text an operation raises ("" when it raises none).
  template <class F>
  static std::string ErrorOf(F f) {
    try {
      f();
    } catch (const FtpError& e) {
      return e.what();
    }
    return {};
  }

  QTemporaryDir root_, local_;
  testsupport::FtpServer server;
  std::vector<std::string> events, lines;
  std::pair<std::int64_t, std::int64_t> lastPacket{0, 0};
  int packets = 0;
  TFTPClient c;  // last: its destructor's disconnect event still finds the records above
};

TEST_F(FtpClientTest, LogsInListsAndAsksTheServerKindOnlyOnce) {
  Put("181010.csv", "1");
  ASSERT_TRUE(QDir(root_.path()).mkdir("2019"));
  Serve();
  c.Connect();
  EXPECT_TRUE(c.Connected());
  c.List();
  c.List();
  EXPECT_EQ(server.Commands("SYST").size(), 1u);
  EXPECT_EQ(server.Commands("LIST").size(), 2u);
  EXPECT_EQ(server.Commands("PORT").size(), 2u);
  EXPECT_EQ(server.Commands("USER"), std::vector<std::string>{"USER 5063"});
  EXPECT_EQ(server.Commands("PASS"), std::vector<std::string>{"PASS pw"});
  EXPECT_FALSE(c.SystemType().empty());
  ASSERT_EQ(lines.size(), 4u);  // line ends removed, one call per line
  for (const std::string& l : lines) EXPECT_EQ(l.find_first_of("\r\n"), std::string::npos) << l;
  EXPECT_EQ(monitor::ListingName(lines[0]) + "|" + monitor::ListingName(lines[1]), "181010.csv|2019");
  EXPECT_EQ(events, (std::vector<std::string>{"connect", "start", "stop", "success 4", "start",
                                              "stop", "success 4"}));
}

TEST_F(FtpClientTest, DownloadWritesTheFileAndReportsProgress) {
  std::string big;
  for (int i = 0; i < 20000; ++i) big += "181010," + std::to_string(i) + ",x\r\n";
  Put("181010.csv", big);
  Serve();
  c.Connect();
  std::ofstream(LocalPath("181010.csv")) << "old and longer than nothing";
  c.Download("181010.csv", LocalPath("181010.csv"));
  EXPECT_EQ(Read(LocalPath("181010.csv")), big);  // replaced, byte for byte
  EXPECT_GE(packets, 1);
  EXPECT_EQ(lastPacket.first, static_cast<std::int64_t>(big.size()));
  EXPECT_EQ(server.Commands("RETR"), std::vector<std::string>{"RETR 181010.csv"});
  EXPECT_EQ(events, (std::vector<std::string>{"connect", "start", "stop", "success 8"}));
}

TEST_F(FtpClientTest, AFailedDownloadLeavesTheLocalFileAsItWas) {
  Serve();
  c.Connect();
  std::ofstream(LocalPath("gone.csv")) << "kept";
  EXPECT_NE(ErrorOf([&] { c.Download("gone.csv", LocalPath("gone.csv")); }), "");
  EXPECT_EQ(Read(LocalPath("gone.csv")), "kept");
  EXPECT_EQ(events.back(), "failure 8");
  EXPECT_TRUE(c.Connected());  // a failure reply keeps the connection

  // A full disk cuts the local write short: the download fails, the old file stays.
  Put("big.csv", std::string(5000, 'b'));
  std::ofstream(LocalPath("big.csv")) << "kept too";
  {
    // The client itself survives the kernel's signal for the limit.
    testsupport::FileSizeLimit full(1000, /*ignoreSignal=*/false);
    EXPECT_EQ(ErrorOf([&] { c.Download("big.csv", LocalPath("big.csv")); }),
              "Cannot write " + LocalPath("big.csv") + ": " + std::strerror(EFBIG));
  }
  EXPECT_EQ(Read(LocalPath("big.csv")), "kept too");
  EXPECT_EQ(QDir(local_.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST_F(FtpClientTest, ADownloadThatOpensNoDataTransferFailsAndKeepsTheLocalFile) {
  Put("a.csv", "remote");
  server.SetRetrWithoutData(true);
  Serve();
  c.Connect();
  std::ofstream(LocalPath("a.csv")) << "kept";
  EXPECT_NE(ErrorOf([&] { c.Download("a.csv", LocalPath("a.csv")); }), "");
  EXPECT_EQ(Read(LocalPath("a.csv")), "kept");
  EXPECT_EQ(events.back(), "failure 8");
  EXPECT_EQ(QDir(local_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(FtpClientTest, FolderAndFileCommands) {
  Put("a.csv", "1");
  Serve();
  c.Connect();
  c.MakeDir("logs");
  EXPECT_TRUE(QDir(QString::fromStdString(RootPath("logs"))).exists());
  c.Rename("logs", "logs2");
  EXPECT_TRUE(QDir(QString::fromStdString(RootPath("logs2"))).exists());
  c.ChangeDir("logs2");
  c.ChangeDir("..");
  c.RemoveDir("logs2");
  EXPECT_FALSE(QDir(QString::fromStdString(RootPath("logs2"))).exists());
  c.TransferModeAscii();
  c.Delete("a.csv");
  EXPECT_FALSE(QFile::exists(QString::fromStdString(RootPath("a.csv"))));
  EXPECT_EQ(server.Commands("RNFR"), std::vector<std::string>{"RNFR logs"});
  EXPECT_EQ(server.Commands("RNTO"), std::vector<std::string>{"RNTO logs2"});
  EXPECT_EQ(server.Commands("TYPE"), std::vector<std::string>{"TYPE A"});
  EXPECT_EQ(events, (std::vector<std::string>{"connect", "success 1", "success 5", "success 0",
                                              "success 0", "success 3", "success 2"}));
}

TEST_F(FtpClientTest, AFailureReplyRaisesTheServersTextAfterItsEvents) {
  Serve();
  c.Connect();
  const std::string text = ErrorOf([&] { c.ChangeDir("missing"); });
  EXPECT_EQ(text.substr(0, 4), "550 ");
  EXPECT_EQ(events.back(), "failure 0");
  // A syntax error (501) is also an unsupported function, reported before the failure.
  events.clear();
  EXPECT_EQ(ErrorOf([&] { c.Delete(""); }).substr(0, 4), "501 ");
  EXPECT_EQ(events, (std::vector<std::string>{"unsupported 2", "failure 2"}));
  // A handler that marks the failure handled takes the error away.
  c.OnFailure = [](bool& handled, int) { handled = true; };
  EXPECT_EQ(ErrorOf([&] { c.RemoveDir("missing"); }), "");
  EXPECT_TRUE(c.Connected());
}

TEST_F(FtpClientTest, WithoutAConnectionEveryOperationRaisesNotConnected) {
  Serve();
  const std::vector<std::function<void()>> ops = {
      [&] { c.List(); },
      [&] { c.ChangeDir("x"); },
      [&] { c.MakeDir("x"); },
      [&] { c.Delete("x"); },
      [&] { c.RemoveDir("x"); },
      [&] { c.Rename("x", "y"); },
      [&] { c.Download("x", LocalPath("x")); },
      [&] { c.TransferModeAscii(); },
      [&] { c.Disconnect(); },
  };
  for (const auto& op : ops) EXPECT_EQ(ErrorOf(op), "Not Connected");
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(server.Commands().empty());
  EXPECT_FALSE(QFile::exists(QString::fromStdString(LocalPath("x"))));
}

TEST_F(FtpClientTest, ConnectFailures) {
  Serve();
  // A refused login.
  c.Password = "wrong";
  EXPECT_NE(ErrorOf([&] { c.Connect(); }), "");
  EXPECT_EQ(events, std::vector<std::string>{"connection failed"});
  EXPECT_FALSE(c.Connected());
  // A port where nobody listens.
  events.clear();
  QTcpServer probe;
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
  c.Port = probe.serverPort();
  probe.close();
  EXPECT_NE(ErrorOf([&] { c.Connect(); }), "");
  EXPECT_EQ(events, std::vector<std::string>{"connection failed"});
  // A host that does not resolve ("invalid" is reserved for that).
  for (const char* host : {"nohost.invalid", ""}) {
    events.clear();
    c.Host = host;
    EXPECT_EQ(ErrorOf([&] { c.Connect(); }), "Invalid Host") << host;
    EXPECT_EQ(events, std::vector<std::string>{"invalid host"}) << host;
  }
  EXPECT_FALSE(c.Connected());
}

TEST_F(FtpClientTest, AServerThatStopsAnsweringTimesOut) {
  // Accepts the connection and never greets.
  QTcpServer mute;
  ASSERT_TRUE(mute.listen(QHostAddress::LocalHost));
  c.Host = "127.0.0.1";
  c.Port = mute.serverPort();
  c.TimeOut = 300;
  bool failed = false;
  c.OnConnectionFailed = [&] { failed = true; };
  EXPECT_NE(ErrorOf([&] { c.Connect(); }).find("No answer"), std::string::npos);
  EXPECT_TRUE(failed);
  EXPECT_FALSE(c.Connected());
}

TEST_F(FtpClientTest, ThroughAProxyTheUserNamesTheHost) {
  Serve("5063@logger.example.org", "pw");
  c.Proxy = "127.0.0.1";
  c.ProxyPort = c.Port;
  c.Port = 1;  // the host's own port is not used
  c.Host = "logger.example.org";
  c.UserID = "5063";
  c.Connect();
  EXPECT_TRUE(c.Connected());
  EXPECT_EQ(server.Commands("USER"), std::vector<std::string>{"USER 5063@logger.example.org"});
}

TEST_F(FtpClientTest, DisconnectSaysQuitAndADroppedConnectionIsNoticed) {
  Serve();
  c.Connect();
  c.Disconnect();
  EXPECT_FALSE(c.Connected());
  EXPECT_EQ(server.Commands("QUIT").size(), 1u);
  EXPECT_EQ(events, (std::vector<std::string>{"connect", "disconnect"}));

  events.clear();
  c.Connect();
  server.DropClients();
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !c.Connected(); }, 5000));
  EXPECT_EQ(events, (std::vector<std::string>{"connect", "disconnect"}));
  EXPECT_EQ(ErrorOf([&] { c.List(); }), "Not Connected");
}

TEST_F(FtpClientTest, DestroyingALiveClientSaysQuit) {
  Serve();
  bool disconnected = false;
  {
    TFTPClient live;
    live.Host = "127.0.0.1";
    live.Port = c.Port;
    live.UserID = "5063";
    live.Password = "pw";
    live.OnDisconnect = [&] { disconnected = true; };
    live.Connect();
  }
  EXPECT_TRUE(disconnected);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return server.Commands("QUIT").size() == 1; }, 5000));
}

// While an operation waits, the window's messages run; a handler that then starts another
// operation of the same client is turned away and sends nothing.
TEST_F(FtpClientTest, WaitingLetsMessagesThroughButNoSecondOperation) {
  std::string data(20000, 'x');
  Put("slow.csv", data);
  server.SetSendLimit(8000);
  Serve();
  c.Connect();
  server.ClearCommands();
  bool ran = false;
  std::string nested;
  QTimer::singleShot(0, [&] {
    ran = true;
    nested = ErrorOf([&] { c.MakeDir("x"); });
  });
  c.Download("slow.csv", LocalPath("slow.csv"));
  EXPECT_TRUE(ran);
  EXPECT_NE(nested, "");
  EXPECT_EQ(Read(LocalPath("slow.csv")), data);
  EXPECT_TRUE(server.Commands("MKD").empty());
  // The connection is still in step: the next command gets its own reply.
  c.ChangeDir("/");
  EXPECT_EQ(events.back(), "success 0");
}

TEST_F(FtpClientTest, NamesWithALineBreakAreRefusedUnsent) {
  Serve();
  c.Connect();
  server.ClearCommands();
  EXPECT_NE(ErrorOf([&] { c.Delete("a.csv\r\nRMD logs"); }), "");
  EXPECT_NE(ErrorOf([&] { c.Rename("a", std::string("b\nDELE c")); }), "");
  EXPECT_TRUE(server.Commands().empty());
  EXPECT_TRUE(c.Connected());
}

// ---- the client against a scripted server: transfers that end too early ----------------

class ScriptedClientTest : public FtpClientTest {
 protected:
  void SetUp() override {
    FtpClientTest::SetUp();
    c.Host = "127.0.0.1";
    c.Port = script.Port();
    c.UserID = "u";
    c.Password = "p";
    c.OnFailure = [this](bool&, int code) { events.push_back("failure " + std::to_string(code)); };
    c.Connect();
  }
  testsupport::ScriptedFtpServer script;
};

// A transfer that the server cuts short and still answers "226" brings no file: the local
// copy stays, no partial file is left, the connection goes on.
TEST_F(ScriptedClientTest, ATransferCutShortFailsAndKeepsTheLocalCopy) {
  const std::string body(9033, 'x');
  const struct {
    const char* opening;  // the 150 reply ("": vsftpd's, with the size)
    const char* size;     // the SIZE answer ("": the true size)
    long long sent;
    bool complete;
  } cases[] = {
      {"", "", 4516, false},  // the size announced in the 150 reply
      {"", "", 9033, true},
      {"150 8.8 kbytes to download", "", 4516, false},  // pure-ftpd: no size there, SIZE says
      {"150 8.8 kbytes to download", "", 9033, true},
      {"150 Opening ASCII mode data connection for a.csv (9000 bytes)", "", 9033, true},  // may grow
      {"150 Opening BINARY mode data connection for a.csv (9000 bytes)", "", 9033, false},  // exact
      {"125 Transfer starting.", "550 SIZE not allowed in ASCII mode.", 4516, true},  // nothing to hold against
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::string(k.opening) + " sent " + std::to_string(k.sent));
    script.files["a.csv"] = {body, k.sent, k.opening, k.size};
    std::ofstream(LocalPath("a.csv"), std::ios::binary) << "older copy";
    events.clear();
    const std::string error = ErrorOf([&] { c.Download("a.csv", LocalPath("a.csv")); });
    if (k.complete) {
      EXPECT_EQ(error, "");
      EXPECT_EQ(Read(LocalPath("a.csv")), body.substr(0, k.sent));
    } else {
      EXPECT_EQ(error, "Incomplete download of a.csv: " + std::to_string(k.sent) + " of " +
                           (std::string(k.opening).find("9000") != std::string::npos ? "9000" : "9033") +
                           " bytes received");
      EXPECT_EQ(events.back(), "failure 8");
      EXPECT_EQ(Read(LocalPath("a.csv")), "older copy");
    }
    EXPECT_EQ(QDir(local_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_TRUE(c.Connected());
    c.Disconnect();  // each case on a connection of its own: what the server showed is forgotten
    c.Connect();
  }
}

// SIZE is asked only until the server shows that its 150 replies give the size, or that it
// answers no SIZE for a file it then sends.
TEST_F(ScriptedClientTest, SizeIsAskedOnlyWhileItIsNeeded) {
  for (const char* n : {"1.csv", "2.csv", "3.csv"}) script.files[n] = {"data", -1, "", ""};
  for (const char* n : {"1.csv", "2.csv", "3.csv"}) c.Download(n, LocalPath(n));
  EXPECT_EQ(script.Commands("SIZE"), std::vector<std::string>{"SIZE 1.csv"});

  c.Disconnect();
  c.Connect();
  script.commands.clear();
  for (const char* n : {"1.csv", "2.csv", "3.csv"})
    script.files[n] = {"data", -1, "125 Transfer starting.", "550 SIZE not allowed in ASCII mode."};
  script.files.erase("1.csv");
  EXPECT_NE(ErrorOf([&] { c.Download("1.csv", LocalPath("1.csv")); }), "");  // vanished: no verdict
  for (const char* n : {"2.csv", "3.csv"}) c.Download(n, LocalPath(n));
  EXPECT_EQ(script.Commands("SIZE"), (std::vector<std::string>{"SIZE 1.csv", "SIZE 2.csv"}));
}

}  // namespace
}  // namespace monitor_test
