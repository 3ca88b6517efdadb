#pragma once
// A real FTP server on 127.0.0.1 for the tests: tests/support/ftp_server.py on
// pyftpdlib, one account with full rights on a root folder, on a free port.
#include <memory>
#include <string>
#include <vector>

class QProcess;

namespace testsupport {

class FtpServer {
 public:
  FtpServer();
  ~FtpServer();  // stops the server
  FtpServer(const FtpServer&) = delete;
  FtpServer& operator=(const FtpServer&) = delete;

  // Data connections send at most this many bytes per second (0: no limit); set before
  // Start. A slow server lets a test act while a download is running.
  void SetSendLimit(int bytesPerSecond) { sendLimit_ = bytesPerSecond; }
  // RETR is answered "226" at once, without opening a data transfer (a faulty server).
  void SetRetrWithoutData(bool on) { retrWithoutData_ = on; }

  // Starts the server for one account whose root is rootDir (an existing folder) and
  // returns its port. Throws std::runtime_error when the server does not come up.
  int Start(const std::string& user, const std::string& password, const std::string& rootDir);
  void Stop();
  bool Running() const;
  int Port() const { return port_; }

  // Every command the server received so far, one line each as sent ("DELE a.csv"),
  // in order; Start clears the record.
  std::vector<std::string> Commands() const;
  // The received commands that start with a verb ("DELE"): their full lines.
  std::vector<std::string> Commands(const std::string& verb) const;
  void ClearCommands();

  // Closes every client connection and keeps serving (a dropped connection).
  void DropClients();

 private:
  std::unique_ptr<QProcess> process_;
  std::string logPath_;
  int port_ = 0;
  int sendLimit_ = 0;
  bool retrWithoutData_ = false;
};

}  // namespace testsupport
