#include "support/ftp_server.h"

#include <signal.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace testsupport {

namespace {

// pyftpdlib is the system's package: prefer the system's interpreter over any other
// python3 on the path.
QString Python() {
  if (QFile::exists(QStringLiteral("/usr/bin/python3"))) return QStringLiteral("/usr/bin/python3");
  return QStringLiteral("python3");
}

// Beside the samples folder, whose path the build gives in full (a compiler cache may
// give __FILE__ relative to the build folder, which the tests leave).
QString Script() {
  return QString::fromStdString(
      (std::filesystem::path(TK_SAMPLES_DIR).parent_path() / "ftp_server.py").string());
}

}  // namespace

FtpServer::FtpServer() = default;

FtpServer::~FtpServer() { Stop(); }

int FtpServer::Start(const std::string& user, const std::string& password,
                     const std::string& rootDir) {
  Stop();
  logPath_ = (std::filesystem::temp_directory_path() /
              ("tk_ftp_" + std::to_string(::getpid()) + "_" +
               std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".log"))
                 .string();
  std::filesystem::remove(logPath_);
  process_ = std::make_unique<QProcess>();
  process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  QStringList args{Script(),
                   QStringLiteral("--user"),
                   QString::fromStdString(user),
                   QStringLiteral("--password"),
                   QString::fromStdString(password),
                   QStringLiteral("--root"),
                   QString::fromStdString(rootDir),
                   QStringLiteral("--log"),
                   QString::fromStdString(logPath_)};
  if (sendLimit_ > 0) args << QStringLiteral("--send-limit") << QString::number(sendLimit_);
  if (retrWithoutData_) args << QStringLiteral("--retr-without-data");
  process_->start(Python(), args);
  if (!process_->waitForStarted(10000)) {
    process_.reset();
    throw std::runtime_error("the FTP server did not start");
  }
  QByteArray out;
  while (!out.contains('\n')) {
    if (!process_->waitForReadyRead(10000)) break;
    out += process_->readAllStandardOutput();
  }
  const int nl = out.indexOf('\n');
  if (nl < 0 || !out.startsWith("PORT ")) {
    Stop();
    throw std::runtime_error("the FTP server did not report its port");
  }
  port_ = out.mid(5, nl - 5).trimmed().toInt();
  return port_;
}

void FtpServer::Stop() {
  if (process_) {
    if (process_->state() != QProcess::NotRunning) {
      process_->terminate();
      if (!process_->waitForFinished(5000)) {
        process_->kill();
        process_->waitForFinished(5000);
      }
    }
    process_.reset();
  }
  port_ = 0;
  if (!logPath_.empty()) {
    std::error_code ec;
    std::filesystem::remove(logPath_, ec);
    logPath_.clear();
  }
}

bool FtpServer::Running() const { return process_ && process_->state() == QProcess::Running; }

std::vector<std::string> FtpServer::Commands() const {
  std::vector<std::string> lines;
  if (logPath_.empty()) return lines;
  std::ifstream in(logPath_, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::vector<std::string> FtpServer::Commands(const std::string& verb) const {
  std::vector<std::string> picked;
  for (const std::string& line : Commands())
    if (line.compare(0, verb.size(), verb) == 0 &&
        (line.size() == verb.size() || line[verb.size()] == ' '))
      picked.push_back(line);
  return picked;
}

void FtpServer::ClearCommands() {
  if (!logPath_.empty()) std::ofstream(logPath_, std::ios::binary | std::ios::trunc);
}

void FtpServer::DropClients() {
  if (Running()) ::kill(static_cast<pid_t>(process_->processId()), SIGUSR1);
}

}  // namespace testsupport
