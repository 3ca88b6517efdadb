// The FTP client against a real server on 127.0.0.1 and against a scripted one.
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
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
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
using monitor::TFTPClient;

// ---- the client against a server --------------------------------------------------------

class FtpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    ASSERT_TRUE(local_.isValid());
  }
  std::string RootPath(const std::string& name) const {
    return root_.path().toStdString() + "/" + name;
  }
  std::string LocalPath(const std::string& name) const {
    return local_.path().toStdString() + "/" + name;
  }
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
    c.OnUnSupportedFunction = [this](int code) {
      events.push_back("unsupported " + std::to_string(code));
    };
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
  EXPECT_EQ(
      monitor::ReadListingLine(lines[0])->name + "|" + monitor::ReadListingLine(lines[1])->name,
      "181010.csv|2019");
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
      {"150 Opening ASCII mode data connection for a.csv (9000 bytes)", "", 9033,
       true},  // may grow
      {"150 Opening BINARY mode data connection for a.csv (9000 bytes)", "", 9033, false},  // exact
      {"125 Transfer starting.", "550 SIZE not allowed in ASCII mode.", 4516,
       true},  // nothing to hold against
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
      EXPECT_EQ(error,
                "Incomplete download of a.csv: " + std::to_string(k.sent) + " of " +
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

// A server that never stops sending: the download stops as soon as it holds more than it
// may, fails with the incomplete-download message and keeps the local copy; the server
// answers for the cut transfer, so the connection goes on. Without a size to hold it
// against, a full disk stops it at once.
TEST_F(ScriptedClientTest, ADownloadThatNeverEndsStopsAtItsBoundOrAtAFullDisk) {
  using Fault = testsupport::ScriptedFtpServer::Fault;
  script.faults["RETR"] = Fault::Endless;
  bool safety = false;  // the server is stopped by the safety time-out, not by the client
  QTimer stop;
  stop.setSingleShot(true);
  QObject::connect(&stop, &QTimer::timeout, [&] {
    safety = true;
    script.DropAll();
  });
  const std::int64_t mib = 1 << 20;
  enum class Ends { AtItsSize, PastTheUnsizedBound, AtAFullDisk };
  const struct {
    const char* opening;
    const char* size;
    Ends ends;
    std::int64_t most;  // AtItsSize: the bytes it may bring
  } cases[] = {
      {"150 Opening BINARY mode data connection for a.csv (1000 bytes).", "", Ends::AtItsSize,
       1000},
      {"150 Opening ASCII mode data connection for a.csv (1000 bytes).", "", Ends::AtItsSize,
       2000 + mib},
      {"150 8.8 kbytes to download", "213 1000", Ends::AtItsSize, 2000 + mib},
      // No size anywhere: the bound of the largest file the monitor loads (lowered here), or
      // the disk.
      {"125 Transfer starting.", "550 SIZE not allowed in ASCII mode.", Ends::PastTheUnsizedBound,
       0},
      {"150 Opening BINARY mode data connection for a.csv.", "550 Could not get file size.",
       Ends::AtAFullDisk, 0},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.opening);
    script.files["a.csv"] = {std::string(65536, 'x'), -1, k.opening, k.size};
    std::ofstream(LocalPath("a.csv"), std::ios::binary) << "older copy";
    events.clear();
    stop.start(20000);
    c.UnsizedDownloadLimit =
        k.ends == Ends::PastTheUnsizedBound ? 3 * mib : monitor::kMostUnsizedDownload;
    std::string error;
    if (k.ends == Ends::AtAFullDisk) {
      testsupport::FileSizeLimit full(100000, /*ignoreSignal=*/false);
      error = ErrorOf([&] { c.Download("a.csv", LocalPath("a.csv")); });
    } else {
      error = ErrorOf([&] { c.Download("a.csv", LocalPath("a.csv")); });
    }
    stop.stop();
    ASSERT_FALSE(safety) << error;
    if (k.ends == Ends::AtAFullDisk) {
      EXPECT_EQ(error, "Cannot write " + LocalPath("a.csv") + ": " + std::strerror(EFBIG));
    } else if (k.ends == Ends::PastTheUnsizedBound) {
      EXPECT_EQ(error, "Download of a.csv stopped: more than 3145728 bytes");
      EXPECT_GT(c.BytesRecvd(), 3 * mib);
      EXPECT_EQ(events.back(), "failure 8");
    } else {
      const std::string head = "Incomplete download of a.csv: ";
      const std::string tail = " of 1000 bytes received";
      ASSERT_EQ(error.substr(0, head.size()), head);
      ASSERT_GT(error.size(), head.size() + tail.size());
      EXPECT_EQ(error.substr(error.size() - tail.size()), tail);
      EXPECT_GT(std::stoll(error.substr(head.size())), k.most);
      EXPECT_EQ(events.back(), "failure 8");
    }
    EXPECT_TRUE(testsupport::WaitUntil([&] { return script.endlessEnded; }, 5000));
    EXPECT_EQ(Read(LocalPath("a.csv")), "older copy");
    EXPECT_EQ(QDir(local_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_TRUE(c.Connected());
    c.Disconnect();
    c.Connect();
  }
  // Below the bound a download of unknown size comes whole.
  script.faults.clear();
  const std::string body(3 * mib - 7, 'y');
  script.files["b.csv"] = {body, -1, "125 Transfer starting.", "550 Could not get file size."};
  c.UnsizedDownloadLimit = 3 * mib;
  EXPECT_EQ(ErrorOf([&] { c.Download("b.csv", LocalPath("b.csv")); }), "");
  EXPECT_EQ(Read(LocalPath("b.csv")), body);
}

// The local file of a download takes the remote name's bytes as they are, whatever their
// encoding, up to the longest name a Linux file name holds: the download's temporary file
// has a short name of its own.
TEST_F(ScriptedClientTest, ADownloadLandsUnderTheRemoteNamesOwnBytes) {
  const std::string names[] = {
      std::string(245, 'a') + ".csv",  // 249 bytes
      std::string(251, 'b') + ".csv",  // 255 bytes
      "Gr\xc3\xb6\xc3\x9f"
      "e \xc3\xa4.csv",  // UTF-8
      "Gr\xf6\xdf"
      "e \xe4.csv",  // Windows-1252
  };
  for (const std::string& name : names) {
    script.files[name] = {"1;2;3\r\n"};
    EXPECT_EQ(ErrorOf([&] { c.Download(name, LocalPath(name)); }), "") << name.size();
    EXPECT_EQ(script.Commands("RETR").back(), "RETR " + name);
    EXPECT_EQ(Read(LocalPath(name)), "1;2;3\r\n");
  }
  // The folder holds these four names and nothing else (no temporary file is left).
  std::set<std::string> found;
  for (const auto& e : std::filesystem::directory_iterator(local_.path().toStdString()))
    found.insert(e.path().filename().string());
  EXPECT_EQ(found, std::set<std::string>(std::begin(names), std::end(names)));
  // Qt's own clean-up takes names as text: the one that is no UTF-8 goes by its bytes.
  for (const std::string& name : names) std::remove(LocalPath(name).c_str());
}

// Replies nobody asked for, right after an answer or while the client is idle, are dropped:
// the next command gets its own answer, however much the server sent meanwhile.
TEST_F(ScriptedClientTest, RepliesNobodyAskedForNeverAnswerTheNextCommand) {
  std::string flood;
  while (flood.size() < (4u << 20)) flood += "550 a stale reply nobody asked for\r\n";
  const struct {
    const char* what;
    std::string after;  // sent right after the answer to "TYPE A"
    std::string idle;   // sent later, while the client is idle
  } cases[] = {
      {"a stale reply after the answer", "550 stale\r\n", ""},
      {"a multi-line reply after the answer", "550-stale\r\n more\r\n550 end\r\n", ""},
      {"junk and a reply begun", "junk\r\n550 half a li", ""},
      {"a flood while idle", "", flood},
      {"an endless line while idle", "", std::string(1u << 20, '5')},
      {"a multi-line reply that never ends while idle", "", "550-x\r\n" + flood},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    script.after["TYPE"] = k.after;
    EXPECT_EQ(ErrorOf([&] { c.TransferModeAscii(); }), "");
    EXPECT_EQ(c.LastReply(), "200 OK");
    if (!k.idle.empty()) script.SendControl(k.idle);
    // All of it is on its way before the next command goes out.
    ASSERT_TRUE(testsupport::WaitUntil([&] { return script.ControlBacklog() == 0; }, 30000));
    EXPECT_EQ(ErrorOf([&] { c.ChangeDir("x"); }), "");
    EXPECT_EQ(c.LastReply(), "200 OK");
    EXPECT_EQ(ErrorOf([&] { c.List(); }), "");
    EXPECT_TRUE(c.Connected());
  }
}

// A server that answers one command with more than any answer needs is taken as broken:
// the connection is closed with a message, and nothing of the flood is kept.
TEST_F(ScriptedClientTest, AnAnswerPastTheReplyBoundClosesTheConnection) {
  using Fault = testsupport::ScriptedFtpServer::Fault;
  script.faults["CWD"] = Fault::Stall;
  std::string flood;
  while (flood.size() < (1u << 20)) flood += "1\r\n";
  script.onCommand = [&](const std::string& line) {
    if (line.rfind("CWD", 0) == 0) script.SendControl(flood);
  };
  EXPECT_EQ(ErrorOf([&] { c.ChangeDir("x"); }), "Too long a reply from the server");
  EXPECT_FALSE(c.Connected());
  script.onCommand = nullptr;
  script.faults.clear();
  c.Connect();
  EXPECT_EQ(ErrorOf([&] { c.ChangeDir("x"); }), "");
}

// "421" is the server closing the connection: sent while nobody asked, it still closes it.
TEST_F(ScriptedClientTest, A421NobodyAskedForClosesTheConnection) {
  c.OnDisconnect = [this] { events.push_back("disconnect"); };
  for (const bool idle : {false, true}) {
    SCOPED_TRACE(idle ? "while idle" : "right after an answer");
    events.clear();
    script.after["TYPE"] = idle ? "" : "421 Timeout.\r\n";
    EXPECT_EQ(ErrorOf([&] { c.TransferModeAscii(); }), "");
    if (idle) script.SendControl("421 Timeout.\r\n");
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !c.Connected(); }, 5000));
    EXPECT_EQ(events, std::vector<std::string>{"disconnect"});
    EXPECT_EQ(ErrorOf([&] { c.ChangeDir("x"); }), "Not Connected");
    c.Connect();
  }
}

// A listing past one of its bounds (bytes, lines, the length of one line) stops: its data
// connection is closed, the failure says which bound, the lines up to it have been
// reported, and the connection goes on.
TEST_F(ScriptedClientTest, AListingPastItsBoundsStopsAndTheConnectionGoesOn) {
  using Fault = testsupport::ScriptedFtpServer::Fault;
  using monitor::ListingBounds;
  c.OnListItem = [this](const std::string& line) { lines.push_back(line); };
  std::string hundred;
  for (int i = 0; i < 100; ++i)
    hundred += "-rw-r--r--    1 0        0            9033 Dec 10 22:00 190101.csv\r\n";
  const struct {
    const char* what;
    bool endless;
    std::string chunk;                 // what the endless listing sends over and over
    std::vector<std::string> listing;  // else the listing
    std::string tail;                  // and a last line without its end
    ListingBounds bounds;
    const char* error;
  } cases[] = {
      // clang-format off
      {"endless lines", true, hundred, {}, "", {1 << 30, 1000, 4096},
       "Listing stopped: more than 1000 lines"},
      {"endless bytes", true, hundred, {}, "", {100000, 1 << 30, 4096},
       "Listing stopped: more than 100000 bytes"},
      {"one endless line", true, std::string(65536, 'x'), {}, "", {},
       "Listing stopped: a line of more than 4096 bytes"},
      {"one line too many", false, "", std::vector<std::string>(11, "x"), "", {1 << 20, 10, 4096},
       "Listing stopped: more than 10 lines"},
      {"one line too long", false, "", {"x", std::string(101, 'y')}, "", {1 << 20, 10, 100},
       "Listing stopped: a line of more than 100 bytes"},
      {"a last line without its end too long", false, "", {"x"}, std::string(101, 'y'),
       {1 << 20, 10, 100}, "Listing stopped: a line of more than 100 bytes"},
      // clang-format on
  };

  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    if (k.endless)
      script.faults["LIST"] = Fault::Endless;
    else
      script.faults.erase("LIST");
    script.endlessChunk = k.chunk;
    script.listing = k.listing;
    script.listingTail = k.tail;
    c.Listing = k.bounds;
    lines.clear();
    events.clear();
    EXPECT_EQ(ErrorOf([&] { c.List(); }), k.error);
    EXPECT_LE(static_cast<std::int64_t>(lines.size()), k.bounds.lines);
    for (const std::string& line : lines) EXPECT_LE(line.size(), k.bounds.lineLength);
    EXPECT_EQ(events, std::vector<std::string>{"failure 4"});
    if (k.endless) {
      EXPECT_TRUE(testsupport::WaitUntil([&] { return script.endlessEnded; }, 5000));
    }
    EXPECT_TRUE(c.Connected());
  }
  // The next listing within the bounds comes whole.
  script.faults.clear();
  script.listing = {"a", "b"};
  script.listingTail.clear();
  c.Listing = {};
  lines.clear();
  EXPECT_EQ(ErrorOf([&] { c.List(); }), "");
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace monitor_test
