#include "support/modem_sim.h"

#include <cctype>

namespace testsupport {

namespace {

const std::string kOk = "\r\nOK\r\n";

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// A decimal argument of 1 to 5 digits after `prefix`, or -1 when the rest is no such number.
int NumberAfter(const std::string& s, const std::string& prefix, std::string* tail = nullptr) {
  if (s.compare(0, prefix.size(), prefix) != 0) return -1;
  std::size_t p = prefix.size();
  int n = 0, digits = 0;
  while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p])) && digits < 5) {
    n = n * 10 + (s[p] - '0');
    ++p;
    ++digits;
  }
  if (digits == 0) return -1;
  if (tail)
    *tail = s.substr(p);
  else if (p != s.size())
    return -1;
  return n;
}

std::string Info(const std::string& text) { return "\r\n" + text + "\r\n" + kOk; }

}  // namespace

ModemSimulator::ModemSimulator() { clock_.Set("26/01/05,09:07:03+08"); }

int ModemSimulator::AddDelivered(const std::string& sender, const std::string& text, Status status,
                                 int index, const sms::DeliverOptions& options) {
  return AddPdu(sms::EncodeDeliver(sender, text, options), status, index);
}

int ModemSimulator::AddPdu(const std::string& pduHex, Status status, int index) {
  if (index < 0) {
    index = 1;
    while (store_.count(index)) ++index;
  }
  store_[index] = Message{index, status, pduHex};
  return index;
}

std::vector<ModemSimulator::Message> ModemSimulator::Store() const {
  std::vector<Message> out;
  for (const auto& [i, m] : store_) out.push_back(m);
  return out;
}

std::string ModemSimulator::Error(int cms) const {
  return cmee_ == 0 ? "\r\nERROR\r\n" : "\r\n+CMS ERROR: " + std::to_string(cms) + "\r\n";
}

std::string ModemSimulator::CmeError(const char* text, int code) const {
  if (cmee_ == 0) return "\r\nERROR\r\n";
  if (cmee_ == 1) return "\r\n+CME ERROR: " + std::to_string(code) + "\r\n";
  return std::string("\r\n+CME ERROR: ") + text + "\r\n";
}

void ModemSimulator::OnBytes(const std::string& bytes) {
  std::string echo;
  auto flushEcho = [&] {
    if (!silent_ && echo_) Send(echo);
    echo.clear();
  };
  for (char c : bytes) {
    if (inPdu_) {
      if (c == 0x1A || c == 0x1B) {
        flushEcho();
        FinishSubmit(c == 0x1A);
      } else {
        echo += c;
        pdu_ += c;
      }
      continue;
    }
    echo += c;
    if (c == '\r') {
      flushEcho();
      const std::string line = line_;
      line_.clear();
      HandleLine(line);
    } else if (c != '\n') {
      line_ += c;
      if (line_.size() > 1024) line_.clear();  // a line that never ends
    }
  }
  flushEcho();
}

void ModemSimulator::HandleLine(const std::string& raw) {
  std::size_t b = 0;
  while (b < raw.size() && static_cast<unsigned char>(raw[b]) <= ' ') ++b;
  const std::string line = raw.substr(b);
  if (line.empty()) return;
  atLines_.push_back(line);
  std::string answer;
  if (const auto fixed = replies_.find(line); fixed != replies_.end()) {
    answer = fixed->second;
  } else if (Upper(line.substr(0, 2)) != "AT") {
    answer = "\r\nERROR\r\n";
  } else {
    answer = Execute(line);
  }
  if (!silent_) Send(answer);
}

std::string ModemSimulator::Execute(const std::string& line) {
  const std::string at = Upper(line);
  if (at == "AT" || at == "ATZ" || at == "AT&F" || at.rfind("AT+CNMI=", 0) == 0) return kOk;
  if (at == "ATE0" || at == "ATE1" || at == "ATE") {
    echo_ = at == "ATE1";
    return kOk;
  }
  if (at == "AT+CGMI" || at == "AT+GMI") return Info(manufacturer_);
  if (at == "AT+CGMM" || at == "AT+GMM") return Info(model_);
  if (at == "AT+CGSN") return Info("356938035643809");
  if (at == "AT+CSCS?") return Info("+CSCS: \"" + charset_ + "\"");
  if (at == "AT+CSCS=?") return Info("+CSCS: (\"GSM\",\"IRA\",\"UCS2\")");
  if (at.rfind("AT+CSCS=\"", 0) == 0 && at.size() > 10 && at.back() == '"') {
    charset_ = at.substr(9, at.size() - 10);
    return kOk;
  }
  if (int n = NumberAfter(at, "AT+CMEE="); n >= 0) {
    if (n > 2) return "\r\nERROR\r\n";
    cmee_ = n;
    return kOk;
  }
  if (at == "AT+CMEE?") return Info("+CMEE: " + std::to_string(cmee_));
  if (int n = NumberAfter(at, "AT+CMGF="); n >= 0) {
    if (n > 1) return "\r\nERROR\r\n";
    cmgf_ = n;
    return kOk;
  }
  if (at == "AT+CMGF?") return Info("+CMGF: " + std::to_string(cmgf_));
  if (at == "AT+CSQ") return Info("+CSQ: " + std::to_string(rssi_) + ",99");
  if (int n = NumberAfter(at, "AT#BND="); n >= 0) {
    if (n > 3) return CmeError("operation not supported", 4);
    band_ = n;
    return kOk;
  }
  if (at == "AT#BND?") return Info("#BND: " + std::to_string(band_));
  if (at == "AT#BND=?") return Info("#BND: (0-3)");
  if (at == "AT+CCLK?") return Info("+CCLK: \"" + clock_.Text() + "\"");
  if (at.rfind("AT+CCLK=", 0) == 0) {
    const std::string arg = line.substr(8);
    if (arg.size() < 2 || arg.front() != '"' || arg.back() != '"' ||
        !clock_.Set(arg.substr(1, arg.size() - 2)))
      return CmeError("invalid characters in text string", 25);
    return kOk;
  }
  if (at == "AT+CPMS?") {
    const std::string n = std::to_string(store_.size());
    return Info("+CPMS: \"SM\"," + n + ",500,\"SM\"," + n + ",500,\"SM\"," + n + ",500");
  }
  if (at.rfind("AT+CMGS=", 0) == 0) {
    const int n = NumberAfter(at, "AT+CMGS=");
    if (cmgf_ != 0) return Error(302);
    if (n < 7 || n > 164) return Error(304);  // no SMS-SUBMIT is shorter than 7 octets
    inPdu_ = true;
    pduLength_ = n;
    pdu_.clear();
    return "\r\n> ";
  }
  if (at == "AT+CMGL" || at.rfind("AT+CMGL=", 0) == 0) {
    if (cmgf_ != 0) return Error(302);
    const int stat = at == "AT+CMGL" ? 0 : NumberAfter(at, "AT+CMGL=");
    if (stat < 0 || stat > 4) return Error(304);
    return List(stat);
  }
  if (at.rfind("AT+CMGR=", 0) == 0) {
    const int i = NumberAfter(at, "AT+CMGR=");
    const auto it = store_.find(i);
    if (it == store_.end()) return Error(321);
    Message& m = it->second;
    const std::string out = Info("+CMGR: " + std::to_string(static_cast<int>(m.status)) + ",," +
                                 std::to_string(sms::TpduLength(m.pdu)) + "\r\n" + m.pdu);
    if (m.status == Status::Unread) m.status = Status::Read;
    return out;
  }
  if (at.rfind("AT+CMGD=", 0) == 0) {
    std::string tail;
    const int i = NumberAfter(at, "AT+CMGD=", &tail);
    if (i < 0 || (!tail.empty() && tail[0] != ',')) return Error(304);
    if (tail == ",4") {  // delete every message
      for (const auto& [k, m] : store_) deleted_.push_back(k);
      store_.clear();
      return kOk;
    }
    if (!store_.erase(i)) return Error(321);
    deleted_.push_back(i);
    return kOk;
  }
  return "\r\nERROR\r\n";
}

std::string ModemSimulator::List(int stat) {
  std::string out;
  for (auto& [i, m] : store_) {
    if (stat != 4 && static_cast<int>(m.status) != stat) continue;
    out += "\r\n+CMGL: " + std::to_string(i) + "," + std::to_string(static_cast<int>(m.status)) +
           ",," + std::to_string(sms::TpduLength(m.pdu)) + "\r\n" + m.pdu;
    if (m.status == Status::Unread) m.status = Status::Read;
  }
  if (!out.empty()) out += "\r\n";
  return out + kOk;
}

void ModemSimulator::FinishSubmit(bool send) {
  inPdu_ = false;
  if (!send) {  // ESC abandons the message
    if (!silent_) Send(kOk);
    return;
  }
  Submission s;
  s.announcedLength = pduLength_;
  for (char c : pdu_)
    if (static_cast<unsigned char>(c) > ' ') s.pdu += c;
  s.decoded = sms::DecodeSubmit(s.pdu);
  if (s.decoded.submit) {
    // The announced length counts the octets after the service-centre part.
    const int tpdu = sms::TpduLength(s.pdu);
    if (tpdu != pduLength_) {
      s.decoded.error = "AT+CMGS announced " + std::to_string(pduLength_) + " octets, PDU has " +
                        std::to_string(tpdu);
      s.decoded.submit.reset();
    }
  }
  std::string answer;
  if (s.decoded.submit) {
    s.messageReference = nextReference_;
    nextReference_ = (nextReference_ + 1) % 256;
    answer = "\r\n+CMGS: " + std::to_string(s.messageReference) + "\r\n" + kOk;
  } else {
    answer = Error(304);
  }
  submissions_.push_back(s);
  if (!silent_) Send(answer);
  if (s.decoded.submit && responder_) {
    const std::string reply = responder_(s.decoded.submit->ascii);
    if (!reply.empty()) AddDelivered(s.decoded.submit->destination, reply);
  }
}

}  // namespace testsupport
