#include "support/vsftpd_server.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <stdexcept>

namespace testsupport {

namespace {

int FreePort() {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
  return probe.serverPort();
}

bool Answers(int port) {
  QTcpSocket s;
  s.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  if (!s.waitForConnected(500)) return false;
  // vsftpd greets with 220 once it serves.
  while (!s.canReadLine())
    if (!s.waitForReadyRead(1000)) return false;
  return s.readLine().startsWith("220");
}

}  // namespace

bool VsftpdServer::Available() { return QFile::exists(QString::fromLatin1(kBinary)); }

VsftpdServer::~VsftpdServer() { Stop(); }

int VsftpdServer::Start(const std::string& rootDir) {
  Stop();
  dir_ = std::make_unique<QTemporaryDir>();
  if (!dir_->isValid()) throw std::runtime_error("no temporary folder for vsftpd");
  const QString empty = dir_->filePath(QStringLiteral("empty"));
  QDir().mkpath(empty);
  // Run as the test's user, vsftpd cannot lock the account into its folder, and Fernlog's
  // Connect begins with "CWD ..": the account starts in a hidden folder (vsftpd lists no
  // dot files) one level below rootDir, so that ".." is rootDir.
  const std::string start = rootDir + "/.vsftpd-start";
  QDir().mkpath(QString::fromStdString(start));
  // The free port may be taken between the probe and the start: a few tries.
  for (int attempt = 0; attempt < 5; ++attempt) {
    const int port = FreePort();
    const QString conf = dir_->filePath(QStringLiteral("vsftpd.conf"));
    QFile f(conf);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
      throw std::runtime_error("cannot write vsftpd.conf");
    const std::string text =
        "listen=YES\nlisten_address=127.0.0.1\nlisten_port=" + std::to_string(port) +
        "\nbackground=NO\nrun_as_launching_user=YES\nanonymous_enable=YES\nlocal_enable=NO\n"
        "no_anon_password=YES\nanon_root=" +
        start +
        "\nwrite_enable=YES\nanon_upload_enable=YES\nanon_mkdir_write_enable=YES\n"
        "anon_other_write_enable=YES\nanon_world_readable_only=NO\nseccomp_sandbox=NO\n"
        "secure_chroot_dir=" +
        empty.toStdString() +
        "\nxferlog_enable=NO\ndirmessage_enable=NO\nport_enable=YES\nconnect_from_port_20=NO\n"
        "port_promiscuous=NO\nmax_per_ip=0\nmax_clients=0\n";
    f.write(text.data(), static_cast<qint64>(text.size()));
    f.close();
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::ForwardedChannels);
    process_->start(QString::fromLatin1(kBinary), {conf});
    if (!process_->waitForStarted(5000)) break;
    for (int i = 0; i < 50 && process_->state() == QProcess::Running; ++i) {
      if (Answers(port)) return port;
      QThread::msleep(20);
    }
    Stop();
  }
  throw std::runtime_error("vsftpd did not come up");
}

void VsftpdServer::Stop() {
  if (process_ && process_->state() != QProcess::NotRunning) {
    process_->terminate();
    if (!process_->waitForFinished(3000)) {
      process_->kill();
      process_->waitForFinished(3000);
    }
  }
  process_.reset();
}

}  // namespace testsupport
