// Copy ALL against curl: a local FTP server (pyftpdlib, or vsftpd with --vsftpd) on a free
// loopback port serves 100 and 1000 files of 1 to 50 KiB; Fernlog's window connects
// (timed: the listing a user waits for), then Copy ALL fetches every file (timed from the
// click to its end), then curl fetches the same files in active mode over one connection
// into another folder. Both copies are checked byte for byte against the originals.
//   bench_monitor_ftp_copy [--vsftpd] [counts...]     (default counts: 100 1000)
// Prints per count: files, connect+list s, Fernlog s, curl s, ratio Fernlog/curl.
// Run it under Xvfb with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 to time it with the
// accessibility bus on (make bench-ftp does both).
#include <sys/resource.h>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "monitor/form.h"
#include "monitor/ftpclient.h"
#include "monitor/folderlists.h"
#include "platform/messagebox.h"
#include "support/ftp_server.h"
#include "support/vsftpd_server.h"

namespace {

// CPU seconds of this process so far.
double CpuSeconds() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

constexpr char kUser[] = "5063";
constexpr char kPass[] = "bench";

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Files of 1 to 50 KiB of logger-like CSV lines, the same on every run.
std::vector<std::string> MakeFiles(const QString& dir, int count) {
  std::mt19937 random(5063 + count);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "%02d%02d%02d.csv", 18 + i / 372, 1 + i / 31 % 12, 1 + i % 31);
    std::string n = name;
    if (i >= 372 * 82) n = std::to_string(i) + ".csv";
    names.push_back(n);
    const std::size_t size = 1024 + random() % (49 * 1024);
    std::string body;
    while (body.size() < size)
      body += n.substr(0, 6) + ",08:00:00," + std::to_string(random() % 1000) + ",12.5,0,1\r\n";
    body.resize(size);
    QFile f(QDir(dir).filePath(QString::fromStdString(n)));
    if (!f.open(QIODevice::WriteOnly)) std::exit(2);
    f.write(body.data(), static_cast<qint64>(body.size()));
  }
  return names;
}

bool SameFiles(const QString& from, const QString& to, const std::vector<std::string>& names) {
  for (const std::string& n : names) {
    const QString q = QString::fromStdString(n);
    if (ReadAll(QDir(from).filePath(q)) != ReadAll(QDir(to).filePath(q))) {
      std::fprintf(stderr, "copy of %s differs\n", n.c_str());
      return false;
    }
  }
  return true;
}

struct Server {
  bool vsftpd = false;
  testsupport::FtpServer py;
  testsupport::VsftpdServer vs;
  std::string user, pass;
  int Start(const std::string& root) {
    if (vsftpd) {
      user = "anonymous";
      pass = "bench@";
      // vsftpd's account starts one level below root (see VsftpdServer).
      return vs.Start(root);
    }
    user = kUser;
    pass = kPass;
    return py.Start(kUser, kPass, root);
  }
  // The folder curl fetches from is the one Fernlog lists after its "CWD .." (encoded, so
  // that curl does not fold it away).
  std::string CurlBase() const { return vsftpd ? "/%2E%2E/" : "/"; }
  void Stop() {
    py.Stop();
    vs.Stop();
  }
};

// One count: returns false when a copy is wrong.
bool Run(Server& server, int count, bool& told) {
  QTemporaryDir root, local, curlDir;
  const std::vector<std::string> names = MakeFiles(root.path(), count);
  QDir::setCurrent(QDir::tempPath());  // the server's own folder outlives the run
  const int port = server.Start(root.path().toStdString());

  // Fernlog: the window in the working folder, as a user has it.
  QDir::setCurrent(local.path());
  double connectSeconds = 0, copySeconds = 0, copyCpu = 0;
  bool accessible = false;
  {
    monitor::TForm1 form;
    form.show();
    QApplication::processEvents();
    // The start-up connects with the stored account, which a fresh folder lacks: its
    // message is no failure; Disconnect makes Connect usable again.
    told = false;
    accessible = QAccessible::isActive();  // the bridge is up once a window shows
    form.DisConnectBtnClick();
    form.HostTxt->setText(QStringLiteral("127.0.0.1"));
    form.PortTxt->setText(QString::number(port));
    form.UserTxt->setText(QString::fromStdString(server.user));
    form.PassTxt->setText(QString::fromStdString(server.pass));
    QElapsedTimer t;
    t.start();
    form.ConnectBtn->click();
    QApplication::processEvents();
    connectSeconds = t.nsecsElapsed() / 1e9;
    if (!form.FTPConnected || form.FileListBoxFTP->count() != count) {
      std::fprintf(stderr, "Fernlog listed %d of %d files\n", form.FileListBoxFTP->count(), count);
      return false;
    }
    t.restart();
    const double cpu = CpuSeconds();
    form.CopyAll->click();
    QApplication::processEvents();
    copySeconds = t.nsecsElapsed() / 1e9;
    copyCpu = CpuSeconds() - cpu;
  }
  QDir::setCurrent(QDir::tempPath());
  if (!SameFiles(root.path(), local.path(), names)) return false;

  // curl: the same files over one connection in active mode.
  std::string glob;
  for (const std::string& n : names) glob += (glob.empty() ? "" : ",") + n;
  const QString url =
      QStringLiteral("ftp://127.0.0.1:%1%2{%3}")
          .arg(port)
          .arg(QString::fromStdString(server.CurlBase()), QString::fromStdString(glob));
  QProcess curl;
  QElapsedTimer t;
  t.start();
  curl.start(QStringLiteral("curl"),
             {QStringLiteral("-s"), QStringLiteral("-S"), QStringLiteral("-P"), QStringLiteral("-"),
              QStringLiteral("--user"), QString::fromStdString(server.user + ":" + server.pass),
              QStringLiteral("-o"), curlDir.path() + QStringLiteral("/#1"), url});
  if (!curl.waitForFinished(600000) || curl.exitCode() != 0) {
    std::fprintf(stderr, "curl failed: %s\n", curl.readAllStandardError().constData());
    return false;
  }
  const double curlSeconds = t.nsecsElapsed() / 1e9;
  server.Stop();
  if (!SameFiles(root.path(), curlDir.path(), names)) return false;

  std::printf(
      "%5d files  connect+list %.3f s  Fernlog Copy ALL %.3f s (CPU %.3f s)  curl %.3f s  ratio %.2f%s\n",
      count, connectSeconds, copySeconds, copyCpu, curlSeconds, copySeconds / curlSeconds,
      accessible ? "  (accessibility on)" : "");
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::SetApplicationTitle("Fernlog");
  // Any message box would wait for a click: count it as a failure instead.
  bool told = false;
  platform::SetMessageHook([&](const platform::MessageRequest& r) {
    std::fprintf(stderr, "message: %s\n", r.text.c_str());
    told = true;
    return platform::Answer::Ok;
  });
  Server server;
  std::vector<int> counts;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--vsftpd") == 0)
      server.vsftpd = true;
    else
      counts.push_back(std::atoi(argv[i]));
  }
  if (counts.empty()) counts = {100, 1000};
  if (server.vsftpd && !testsupport::VsftpdServer::Available()) {
    std::fprintf(stderr, "vsftpd is not installed\n");
    return 2;
  }
  std::printf("server %s, active mode, files of 1 to 50 KiB, platform %s\n",
              server.vsftpd ? "vsftpd" : "pyftpdlib", qPrintable(QGuiApplication::platformName()));
  for (int count : counts)
    if (count <= 0 || !Run(server, count, told) || told) return 1;
  return 0;
}
