#include "support/scripted_ftp.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <cstdio>

#include <linux/sockios.h>
#include <sys/ioctl.h>

namespace testsupport {

ScriptedFtpServer::ScriptedFtpServer() {
  server_.listen(QHostAddress::LocalHost, 0);
  connect(&server_, &QTcpServer::newConnection, this, &ScriptedFtpServer::Accept);
}

std::vector<std::string> ScriptedFtpServer::Commands(const std::string& verb) const {
  std::vector<std::string> picked;
  for (const std::string& c : commands)
    if (c.compare(0, verb.size(), verb) == 0 && (c.size() == verb.size() || c[verb.size()] == ' '))
      picked.push_back(c);
  return picked;
}

void ScriptedFtpServer::DropAll() {
  for (const QPointer<QTcpSocket>& s : sockets_)
    if (s) s->abort();
  sockets_.clear();
}

void ScriptedFtpServer::Accept() {
  while (QTcpSocket* s = server_.nextPendingConnection()) {
    sockets_.emplace_back(s);
    control_ = s;
    partial_.clear();
    connect(s, &QTcpSocket::readyRead, this, [this, s] { Read(s); });
    connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
    s->write("220 scripted server ready\r\n");
  }
}

void ScriptedFtpServer::Read(QTcpSocket* control) {
  partial_ += control->readAll().toStdString();
  for (std::size_t lf; (lf = partial_.find("\r\n")) != std::string::npos;) {
    const std::string line = partial_.substr(0, lf);
    partial_.erase(0, lf + 2);
    commands.push_back(line);
    if (onCommand) onCommand(line);
    Command(control, line);
    const auto extra = after.find(line.substr(0, line.find(' ')));
    if (extra != after.end() && control->state() == QAbstractSocket::ConnectedState)
      control->write(extra->second.data(), static_cast<qint64>(extra->second.size()));
  }
}

void ScriptedFtpServer::SendControl(const std::string& bytes) {
  if (control_) control_->write(bytes.data(), static_cast<qint64>(bytes.size()));
}

long long ScriptedFtpServer::ControlBacklog() const {
  if (!control_) return 0;
  // What the socket holds, and what the system has not yet handed to the client.
  int unsent = 0;
  if (::ioctl(static_cast<int>(control_->socketDescriptor()), SIOCOUTQ, &unsent) != 0) unsent = 0;
  return control_->bytesToWrite() + unsent;
}

bool ScriptedFtpServer::SendData(const std::string& bytes) {
  QTcpSocket data;
  data.connectToHost(QString::fromStdString(dataHost_), static_cast<quint16>(dataPort_));
  if (!data.waitForConnected(5000)) return false;
  data.write(bytes.data(), static_cast<qint64>(bytes.size()));
  while (data.bytesToWrite() > 0 && data.waitForBytesWritten(5000)) {
  }
  data.disconnectFromHost();
  if (data.state() != QAbstractSocket::UnconnectedState) data.waitForDisconnected(5000);
  return true;
}

void ScriptedFtpServer::SendEndless(QTcpSocket* control, const std::string& bytes) {
  auto* data = new QTcpSocket(this);
  sockets_.emplace_back(data);
  endlessSent = 0;
  endlessEnded = false;
  const QByteArray chunk = QByteArray::fromStdString(!endlessChunk.empty() ? endlessChunk
                                                     : bytes.empty()       ? std::string(65536, 'x')
                                                                           : bytes);
  auto more = [this, data, chunk] {
    // Keeps a few chunks queued: as fast as the client reads, and no faster.
    while (data->state() == QAbstractSocket::ConnectedState &&
           data->bytesToWrite() < 4 * chunk.size()) {
      data->write(chunk);
      endlessSent += chunk.size();
    }
  };
  connect(data, &QTcpSocket::connected, this, more);
  connect(data, &QTcpSocket::bytesWritten, this, more);
  const QPointer<QTcpSocket> reply(control);
  auto ended = [this, data, reply] {
    if (endlessEnded) return;
    endlessEnded = true;
    if (reply && reply->state() == QAbstractSocket::ConnectedState) {
      reply->write("426 Connection closed; transfer aborted.\r\n");
      reply->flush();
    }
    data->deleteLater();
  };
  connect(data, &QTcpSocket::disconnected, this, ended);
  connect(data, &QTcpSocket::errorOccurred, this, ended);
  data->connectToHost(QString::fromStdString(dataHost_), static_cast<quint16>(dataPort_));
}

bool ScriptedFtpServer::Payload(const std::string& verb, const std::string& arg, std::string& bytes,
                                std::string& opening) const {
  if (verb == "LIST") {
    if (listing.empty()) {
      // The files as vsftpd lists them (the name at column 57).
      for (const auto& [name, f] : files) {
        char head[80];
        std::snprintf(head, sizeof head, "-rw-r--r--    1 0        0        %8zu Dec 10 22:00 ",
                      f.bytes.size());
        bytes += head + name + "\r\n";
      }
    }
    for (const std::string& l : listing) bytes += l + "\r\n";
    bytes += listingTail;
    opening = "150 Here comes the directory listing.";
    return true;
  }
  auto file = files.find(arg);
  if (file == files.end()) return false;
  const File& f = file->second;
  opening = f.opening.empty() ? "150 Opening BINARY mode data connection for " + arg + " (" +
                                    std::to_string(f.bytes.size()) + " bytes)."
                              : f.opening;
  const std::size_t n = f.sent < 0 ? f.bytes.size() : static_cast<std::size_t>(f.sent);
  bytes = f.bytes.substr(0, n);
  return true;
}

void ScriptedFtpServer::Command(QTcpSocket* control, const std::string& line) {
  const std::size_t blank = line.find(' ');
  const std::string verb = line.substr(0, blank);
  const std::string arg = blank == std::string::npos ? std::string() : line.substr(blank + 1);
  auto reply = [control](const std::string& text) {
    control->write((text + "\r\n").c_str());
    control->flush();
  };
  if (const auto fault = faults.find(verb); fault != faults.end()) {
    std::string bytes, opening;
    switch (fault->second) {
      case Fault::Stall: return;
      case Fault::Close: control->disconnectFromHost(); return;
      case Fault::NoConnect:
      case Fault::StallData:
      case Fault::Endless:
        if (!Payload(verb, arg, bytes, opening)) return reply("550 Failed to open file.");
        reply(opening);
        if (fault->second == Fault::Endless) return SendEndless(control, bytes);
        if (fault->second == Fault::StallData) {
          auto* data = new QTcpSocket(this);
          sockets_.emplace_back(data);
          data->connectToHost(QString::fromStdString(dataHost_), static_cast<quint16>(dataPort_));
          data->write(QByteArray::fromStdString(bytes.substr(0, bytes.size() / 2)));
          connect(data, &QTcpSocket::disconnected, data, &QObject::deleteLater);
        }
        return;
    }
  }
  if (verb == "USER") return reply("331 Password required");
  if (verb == "PASS") return reply("230 Logged in");
  if (verb == "SYST") return reply("215 UNIX Type: L8");
  if (verb == "TYPE" || verb == "CWD") return reply("200 OK");
  if (verb == "QUIT") {
    reply("221 Goodbye");
    control->disconnectFromHost();
    return;
  }
  if (verb == "PORT") {
    int h[4], p[2];
    if (std::sscanf(arg.c_str(), "%d,%d,%d,%d,%d,%d", &h[0], &h[1], &h[2], &h[3], &p[0], &p[1]) !=
        6)
      return reply("501 Bad PORT");
    dataHost_ = std::to_string(h[0]) + "." + std::to_string(h[1]) + "." + std::to_string(h[2]) +
                "." + std::to_string(h[3]);
    dataPort_ = p[0] * 256 + p[1];
    return reply("200 PORT command successful");
  }
  if (verb == "LIST") {
    std::string bytes, opening;
    Payload(verb, arg, bytes, opening);
    reply(opening);
    if (!SendData(bytes)) return reply("425 Cannot open data connection");
    return reply("226 Directory send OK.");
  }
  auto file = files.find(arg);
  if (verb == "SIZE") {
    if (file == files.end()) return reply("550 Could not get file size.");
    return reply(file->second.size.empty() ? "213 " + std::to_string(file->second.bytes.size())
                                           : file->second.size);
  }
  if (verb == "DELE") {
    if (file == files.end()) return reply("550 Delete operation failed.");
    files.erase(file);
    return reply("250 Delete operation successful.");
  }
  if (verb == "RETR") {
    std::string bytes, opening;
    if (!Payload(verb, arg, bytes, opening)) return reply("550 Failed to open file.");
    reply(opening);
    if (!SendData(bytes)) return reply("425 Cannot open data connection");
    return reply("226 Transfer complete.");
  }
  reply("502 Command not implemented.");
}

}  // namespace testsupport
