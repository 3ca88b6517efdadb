// Pseudo-terminal pair for tests and simulators: the program under test opens
// the slave path as its serial device, the test plays the device on the master.
#pragma once

#include <functional>
#include <string>
#include <termios.h>

namespace testsupport {

class PtyPair {
 public:
  PtyPair() = default;
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  // Opens a new pair: master raw and non-blocking, slave raw. The slave fd is
  // kept open by the pair so the master never sees a hang-up (EIO) while the
  // program under test reopens the slave path.
  bool Open();
  void Close();
  bool IsOpen() const { return master_ >= 0; }
  // The line goes away under the program, as when a USB adapter is pulled: the master
  // closes, the slave is hung up (its writes and queue counts fail with EIO, its poll reports
  // POLLHUP) and its path is gone. Close() ends the rest.
  void Unplug();

  std::string SlavePath() const { return slavePath_; }
  int MasterFd() const { return master_; }
  int SlaveFd() const { return slave_; }

  // Writes all bytes to the master (the program reads them on the slave).
  void Write(const std::string& bytes);
  // Collects what arrives on the master within ms, processing Qt events.
  std::string ReadFor(int ms);
  // Collects until needle is seen or ms elapse; returns all collected bytes.
  std::string ReadUntil(const std::string& needle, int ms);
  // Reads what is there now without waiting.
  std::string ReadAvailable();

  // Line settings as the program under test left them on the slave.
  termios SlaveTermios() const;
  // Speed of the slave in bits per second, custom (BOTHER) rates included.
  unsigned SlaveSpeed() const;

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

// Processes Qt events until pred() is true or ms elapse; returns pred().
bool WaitUntil(const std::function<bool()>& pred, int ms);

}  // namespace testsupport
