// A GSM modem on a pseudo-terminal, in SMS PDU mode: AT commands with echo and result
// codes, the "> " prompt of AT+CMGS and the PDU up to Ctrl-Z, a message store listed with
// AT+CMGL as SMS-DELIVER PDUs and emptied with AT+CMGD, and a settable clock (AT+CCLK).
// Optionally a device answers every submitted SMS with an SMS of its own.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/device_sim.h"
#include "support/sms_pdu.h"

namespace testsupport {

class ModemSimulator : public PtyPeer {
 public:
  // Message status as AT+CMGL numbers it in PDU mode.
  enum class Status { Unread = 0, Read = 1, Unsent = 2, Sent = 3 };

  struct Message {
    int index = 0;
    Status status = Status::Unread;
    std::string pdu;  // hex, with its service-centre part
  };

  struct Submission {
    int announcedLength = 0;  // n of AT+CMGS=n
    std::string pdu;          // the hex digits before Ctrl-Z, line ends removed
    sms::SubmitResult decoded;
    int messageReference = -1;  // -1: refused with +CMS ERROR
  };

  ModemSimulator();

  // Puts a received SMS into the store; returns its index (the lowest free one from 1
  // unless given; a given index replaces a message there).
  int AddDelivered(const std::string& sender, const std::string& text,
                   Status status = Status::Unread, int index = -1,
                   const sms::DeliverOptions& options = {});
  int AddPdu(const std::string& pduHex, Status status = Status::Unread, int index = -1);
  std::vector<Message> Store() const;
  bool Has(int index) const { return store_.count(index) != 0; }

  // Lines received in command mode (without line ends and leading blanks), in order.
  std::vector<std::string> AtLines() const { return atLines_; }
  std::vector<Submission> Submissions() const { return submissions_; }
  std::vector<int> Deleted() const { return deleted_; }

  // A silent modem reads and logs but never answers (not even the echo).
  void SetSilent(bool silent) { silent_ = silent; }
  void SetEcho(bool echo) { echo_ = echo; }
  void SetManufacturer(const std::string& s) { manufacturer_ = s; }
  void SetModel(const std::string& s) { model_ = s; }
  void SetSignal(int rssi) { rssi_ = rssi; }
  SimClock& Clock() { return clock_; }
  // A fixed answer (after the echo) for one command line, compared exactly.
  void SetReply(const std::string& line, const std::string& answer) { replies_[line] = answer; }
  // Every SMS submitted is handed to the responder; a non-empty answer is stored as an
  // unread SMS from the number it was sent to.
  void SetResponder(std::function<std::string(const std::string& smsText)> responder) {
    responder_ = std::move(responder);
  }

 protected:
  void OnBytes(const std::string& bytes) override;

 private:
  void HandleLine(const std::string& line);
  std::string Execute(const std::string& at);
  std::string List(int stat);
  void FinishSubmit(bool send);
  std::string Error(int cms) const;
  std::string CmeError(const char* text, int code) const;

  std::string line_;
  bool inPdu_ = false;
  int pduLength_ = 0;
  std::string pdu_;
  std::map<int, Message> store_;
  std::vector<std::string> atLines_;
  std::vector<Submission> submissions_;
  std::vector<int> deleted_;
  std::map<std::string, std::string> replies_;
  std::function<std::string(const std::string&)> responder_;
  std::string manufacturer_ = "GSM-SIM";
  std::string model_ = "GS64";
  std::string charset_ = "GSM";
  int rssi_ = 17;
  int band_ = 0;
  int cmee_ = 0;
  int cmgf_ = 0;
  int nextReference_ = 1;
  bool silent_ = false;
  bool echo_ = true;
  SimClock clock_;
};

}  // namespace testsupport
