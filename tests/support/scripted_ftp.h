#pragma once
// A scripted FTP server in the test's own process for the faults a real server rarely shows:
// a transfer cut short and still answered "226", a "150" reply of the test's choice, a
// "SIZE" answer of its choice, a listing of the test's own lines, and servers that stall,
// never connect back, close the connection, never stop sending, or send what nobody asked
// for on the control connection. Active mode only (PORT).
// It answers inside the test's event loop, which the client under test runs while it waits.
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <functional>
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

  // What the server does on a command instead of answering it.
  enum class Fault {
    Stall,      // nothing: no reply, the connection stays open
    NoConnect,  // LIST, RETR: the "150" reply, then nothing; it never connects back
    StallData,  // LIST, RETR: "150", half the data, then nothing with the data connection open
    Close,      // closes the control connection
    Endless,    // LIST, RETR: "150", then the data over and over until the client closes the
                // data connection; then "426"
  };

  ScriptedFtpServer();
  int Port() const { return server_.serverPort(); }

  // The faults by command verb ("PASS", "LIST", "RETR", "DELE", ...).
  std::map<std::string, Fault> faults;
  // Called with each command line as it arrives, before the server acts on it.
  std::function<void(const std::string& line)> onCommand;
  // Closes every connection, control and data (a test's way out of a stall).
  void DropAll();
  // Bytes an endless sender has sent, and whether its data connection has ended.
  long long endlessSent = 0;
  bool endlessEnded = false;
  // What an endless sender sends over and over; empty: the listing or file it would send.
  std::string endlessChunk;

  // Bytes sent on the control connection right after the reply to a verb ("TYPE", "PASS").
  std::map<std::string, std::string> after;
  // Sends bytes on the last control connection now, whatever the client is doing.
  void SendControl(const std::string& bytes);
  // Bytes still waiting to go out on the last control connection.
  long long ControlBacklog() const;

  std::map<std::string, File> files;  // RETR of a name not here: "550 No such file."
  // The LIST lines, each sent with "\r\n"; empty: one line per file as vsftpd writes it.
  std::vector<std::string> listing;
  // Sent after the LIST lines as it is (a last line without its end).
  std::string listingTail;

  // Every command received, as sent.
  std::vector<std::string> commands;
  std::vector<std::string> Commands(const std::string& verb) const;

 private:
  void Accept();
  void Read(QTcpSocket* control);
  void Command(QTcpSocket* control, const std::string& line);
  // Connects to the client's PORT address, sends the bytes and closes.
  bool SendData(const std::string& bytes);
  // Connects to the client's PORT address and sends `bytes` (all but empty) over and over
  // without waiting, until the client closes the connection; then "426" on `control`.
  void SendEndless(QTcpSocket* control, const std::string& bytes);
  // The data `verb` would send; false when there is nothing to send (no such file).
  bool Payload(const std::string& verb, const std::string& arg, std::string& bytes,
               std::string& opening) const;

  QTcpServer server_;
  QPointer<QTcpSocket> control_;
  std::vector<QPointer<QTcpSocket>> sockets_;  // every connection made, to drop them
  std::string partial_;
  std::string dataHost_;
  int dataPort_ = 0;
};

}  // namespace testsupport
