// A TK5063 device on a pseudo-terminal: it reads the configurator's framed command lines
// ("              SETUP:" + command + CR + NUL), keeps a canned device state that SET
// commands change, and answers in the forms the configurator's reply rules read.
//
// The peer plays the device on the master side of the pty; the program under test opens
// the slave path. In tests it is served inside the Qt event loop (Serve()); the hand-run
// program serves it with a blocking loop (RunBlocking()).
#pragma once

#include <QDateTime>
#include <QElapsedTimer>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/pty.h"

class QSocketNotifier;

namespace testsupport {

// The master side of a pty with a byte log, served by the Qt event loop or a blocking loop.
class PtyPeer {
 public:
  PtyPeer();
  virtual ~PtyPeer();
  PtyPeer(const PtyPeer&) = delete;
  PtyPeer& operator=(const PtyPeer&) = delete;

  // Opens a fresh pty pair; false when the system has none to give.
  bool Open();
  std::string SlavePath() const { return pty_.SlavePath(); }
  PtyPair& Pty() { return pty_; }

  // Answers whenever bytes arrive while the Qt event loop runs.
  void Serve();
  void StopServing();
  // Serves until stop becomes true (checked at least every 200 ms); for the hand-run programs.
  void RunBlocking(const std::atomic<bool>& stop);
  // Handles whatever has arrived now; returns the number of bytes read.
  std::size_t Pump();

  // Every byte received from the program, and every byte sent to it, since Open or Clear.
  std::string Received() const { return received_; }
  std::string Sent() const { return sent_; }
  void ClearLogs();
  // Bytes sent since Open (not reset by ClearLogs), and bytes waiting in the slave's input
  // queue now. The kernel hands pty bytes to the slave a moment after they were written,
  // so a test that polls the program's port waits until the queue holds what was sent.
  std::size_t SentTotal() const { return sentTotal_; }
  int SlaveQueued() const;

  // Called with each chunk of sent and received bytes (the hand-run programs print them).
  std::function<void(const std::string& bytes, bool fromProgram)> Trace;

 protected:
  virtual void OnBytes(const std::string& bytes) = 0;
  void Send(const std::string& bytes);

 private:
  PtyPair pty_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::string received_;
  std::string sent_;
  std::size_t sentTotal_ = 0;
};

// A settable clock that runs on from the moment it was set, in the "yy/MM/dd,hh:mm:ss+zz"
// form of the device and of AT+CCLK.
class SimClock {
 public:
  SimClock();
  // Accepts "yy/MM/dd,hh:mm:ss" with an optional zone of a sign and two digits (quarter
  // hours for a modem, hours for the device: the text is kept as given). False on bad text.
  bool Set(const std::string& text);
  std::string Text() const;
  // A stopped clock keeps showing the time it was set to (for exact comparisons in tests).
  void SetRunning(bool running) { running_ = running; }

 private:
  QDateTime base_;
  std::string zone_;
  QElapsedTimer since_;
  bool running_ = true;
};

class DeviceSimulator : public PtyPeer {
 public:
  DeviceSimulator();

  // The device's answer to one command line (frame, CR and zero byte removed; leading and
  // trailing blanks don't matter). It changes the state as a SET command does. Empty: no answer.
  std::string Answer(const std::string& command);
  // The same answer as the device sends it by SMS: line ends at both ends dropped, at most
  // 160 characters.
  std::string SmsAnswer(const std::string& smsText);

  // Commands received in correct frames (without frame and CR), in order.
  std::vector<std::string> Commands() const { return commands_; }
  // Lines that came without the frame, or with a damaged one (raw AT lines among them).
  std::vector<std::string> RawLines() const { return rawLines_; }

  // A fixed answer for one command (compared without surrounding blanks); it replaces the
  // canned one. An empty reply means no answer at all.
  void SetReply(const std::string& command, const std::string& reply);
  // A silent device reads and logs but never answers.
  void SetSilent(bool silent) { silent_ = silent; }

  // Device state: "NN1".."NN7" alarm numbers, "PB1".."PB7" phone book, "TX01".."TX57" and
  // "TI01".."TI97" texts, "AP", "ID", "PW", "IP", "FT", "AF", "PF", "DN", "RH" GPRS/FTP keys,
  // "ME" masks, and for any other SET word its two letters ("SETOU1" -> "OU").
  std::string Setting(const std::string& key) const;
  void SetSetting(const std::string& key, const std::string& value);
  SimClock& Clock() { return clock_; }

 protected:
  void OnBytes(const std::string& bytes) override;

 private:
  void HandleLine(std::string line);
  std::string CannedAnswer(const std::string& cmd);

  std::string pending_;
  std::vector<std::string> commands_;
  std::vector<std::string> rawLines_;
  std::map<std::string, std::string> replies_;
  std::map<std::string, std::string> state_;
  SimClock clock_;
  bool silent_ = false;
};

// For the hand-run programs: makes the link comN in the user's port folder point at
// target (so that COMn of the configurator reaches it), replacing an older link but never
// a file; and removes it again if it still points at target.
bool MakePortLink(int n, const std::string& target, std::string* linkPath, std::string* error);
void RemovePortLink(const std::string& linkPath, const std::string& target);
// Bytes as a readable line: control characters as <CR>, <LF>, <NUL>, <1A> and so on.
std::string Printable(const std::string& bytes);

// Removes blanks (and with `controls`, every byte below 33) from both ends.
std::string TrimText(const std::string& s, bool controls = false);

}  // namespace testsupport
