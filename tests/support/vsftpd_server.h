#pragma once
// Debian's vsftpd on 127.0.0.1 for the tests: started as the user who runs the test, from a
// configuration in a temporary folder, on a free port; one anonymous account whose root is
// a given folder, with the rights to fetch and delete. Stopped with the object (its configuration folder goes with it).
#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <string>

namespace testsupport {

class VsftpdServer {
 public:
  static constexpr char kBinary[] = "/usr/sbin/vsftpd";
  static bool Available();  // the program is installed

  VsftpdServer() = default;
  ~VsftpdServer();
  VsftpdServer(const VsftpdServer&) = delete;
  VsftpdServer& operator=(const VsftpdServer&) = delete;

  // Starts the server for rootDir and returns its port; the account is "anonymous" with any
  // password. It is not locked into rootDir: it starts in rootDir/.vsftpd-start, so that
  // the "CWD .." of Fernlog's Connect lands in rootDir ("/" is the machine's root).
  // Throws std::runtime_error when the server does not come up.
  int Start(const std::string& rootDir);
  void Stop();

 private:
  std::unique_ptr<QProcess> process_;
  std::unique_ptr<QTemporaryDir> dir_;
};

}  // namespace testsupport
