#pragma once
// A scripted FTP server in the test's own process for the faults a real server rarely shows:
// a transfer cut short and still answered "226", a "150" reply of the test's choice, a
// "SIZE" answer of its choice, a listing of the test's own lines. Active mode only (PORT).
// It answers inside the test's event loop, which the client under test runs while it waits.
#include <QObject>
#include <QTcpServer>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QTcpSocket;

namespace testsupport {

class ScriptedFtpServer : public QObject {
 public:
  struct File {
    std::string bytes;
    // How many of the bytes go out before the data connection closes (-1: all).
    long long sent = -1;
    // The "150" reply; empty: "150 Opening BINARY mode data connection for <name> (<n> bytes)."
    std::string opening{};
    // The answer to "SIZE <name>"; empty: "213 <n>".
    std::string size{};
  };

  ScriptedFtpServer();
  int Port() const { return server_.serverPort(); }

  std::map<std::string, File> files;  // RETR of a name not here: "550 No such file."
  // The LIST lines, each sent with "\r\n"; empty: one line per file as vsftpd writes it.
  std::vector<std::string> listing;

  // Every command received, as sent.
  std::vector<std::string> commands;
  std::vector<std::string> Commands(const std::string& verb) const;

 private:
  void Accept();
  void Read(QTcpSocket* control);
  void Command(QTcpSocket* control, const std::string& line);
  // Connects to the client's PORT address, sends the bytes and closes.
  bool SendData(const std::string& bytes);

  QTcpServer server_;
  std::string partial_;
  std::string dataHost_;
  int dataPort_ = 0;
};

}  // namespace testsupport
