#include "support/device_sim.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/core/devicepath.h"
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace testsupport {

// ---------------------------------------------------------------------------------------
// PtyPeer

PtyPeer::PtyPeer() = default;

PtyPeer::~PtyPeer() { StopServing(); }

bool PtyPeer::Open() {
  StopServing();
  ClearLogs();
  sentTotal_ = 0;
  return pty_.Open();
}

void PtyPeer::Serve() {
  if (notifier_ || pty_.MasterFd() < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(pty_.MasterFd(), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                   [this] { Pump(); });
}

void PtyPeer::StopServing() { notifier_.reset(); }

void PtyPeer::RunBlocking(const std::atomic<bool>& stop) {
  while (!stop.load()) {
    pollfd p{pty_.MasterFd(), POLLIN, 0};
    const int n = ::poll(&p, 1, 200);
    if (n > 0 && (p.revents & POLLIN)) {
      if (Pump() == 0) ::usleep(20000);  // readable but empty: no slave open yet
    } else if (n > 0) {
      ::usleep(20000);
    }
  }
}

std::size_t PtyPeer::Pump() {
  const std::string bytes = pty_.ReadAvailable();
  if (bytes.empty()) return 0;
  received_ += bytes;
  if (Trace) Trace(bytes, true);
  OnBytes(bytes);
  return bytes.size();
}

void PtyPeer::ClearLogs() {
  received_.clear();
  sent_.clear();
}

int PtyPeer::SlaveQueued() const {
  int n = 0;
  if (pty_.SlaveFd() < 0 || ::ioctl(pty_.SlaveFd(), FIONREAD, &n) != 0) return 0;
  return n;
}

void PtyPeer::Send(const std::string& bytes) {
  if (bytes.empty()) return;
  sent_ += bytes;
  sentTotal_ += bytes.size();
  if (Trace) Trace(bytes, false);
  pty_.Write(bytes);
}

// ---------------------------------------------------------------------------------------
// SimClock

SimClock::SimClock() : base_(QDateTime::currentDateTime()), zone_("+02") { since_.start(); }

bool SimClock::Set(const std::string& text) {
  // yy/MM/dd,hh:mm:ss is 17 characters; a zone of a sign and one or two digits may follow.
  if (text.size() < 17) return false;
  const QDateTime t =
      QDateTime::fromString(QString::fromLatin1(text.substr(0, 17).c_str()), "yy/MM/dd,HH:mm:ss");
  if (!t.isValid()) return false;
  std::string zone = text.substr(17);
  if (!zone.empty()) {
    if ((zone[0] != '+' && zone[0] != '-') || zone.size() < 2 || zone.size() > 3) return false;
    for (std::size_t i = 1; i < zone.size(); ++i)
      if (zone[i] < '0' || zone[i] > '9') return false;
  }
  base_ = t.addYears(t.date().year() < 2000 ? 100 : 0);
  zone_ = zone;
  since_.restart();
  return true;
}

std::string SimClock::Text() const {
  const QDateTime now = running_ ? base_.addMSecs(since_.elapsed()) : base_;
  return now.toString("yy/MM/dd,HH:mm:ss").toStdString() + zone_;
}

// ---------------------------------------------------------------------------------------
// Helpers of the hand-run programs

bool MakePortLink(int n, const std::string& target, std::string* linkPath, std::string* error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path folder = platform::PortFolder();
  fs::create_directories(folder, ec);
  if (ec) {
    *error = "cannot make " + folder.string() + ": " + ec.message();
    return false;
  }
  const fs::path link = folder / ("com" + std::to_string(n));
  const fs::file_status st = fs::symlink_status(link, ec);
  if (fs::exists(st) && !fs::is_symlink(st)) {
    *error = link.string() + " exists and is not a link; left as it is";
    return false;
  }
  if (fs::is_symlink(st)) fs::remove(link, ec);
  fs::create_symlink(target, link, ec);
  if (ec) {
    *error = "cannot make " + link.string() + ": " + ec.message();
    return false;
  }
  *linkPath = link.string();
  return true;
}

void RemovePortLink(const std::string& linkPath, const std::string& target) {
  std::error_code ec;
  if (linkPath.empty() || !std::filesystem::is_symlink(linkPath, ec)) return;
  if (std::filesystem::read_symlink(linkPath, ec).string() == target)
    std::filesystem::remove(linkPath, ec);
}

std::string Printable(const std::string& bytes) {
  std::string out;
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\r')
      out += "<CR>";
    else if (c == '\n')
      out += "<LF>";
    else if (c == 0)
      out += "<NUL>";
    else if (c < 32 || c == 127) {
      char b[8];
      std::snprintf(b, sizeof b, "<%02X>", c);
      out += b;
    } else {
      out += ch;
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------
// DeviceSimulator

std::string TrimText(const std::string& s, bool controls) {
  auto drop = [controls](char c) {
    return c == ' ' || (controls && static_cast<unsigned char>(c) < 33);
  };
  std::size_t b = 0, e = s.size();
  while (b < e && drop(s[b])) ++b;
  while (e > b && drop(s[e - 1])) --e;
  return s.substr(b, e - b);
}

namespace {

const char kFrame[] = "              SETUP:";  // 14 blanks and SETUP:
constexpr std::size_t kFrameLength = 20;

std::string TwoDigits(int n) {
  char b[8];
  std::snprintf(b, sizeof b, "%02d", n);
  return b;
}

// The reply keys of the GPRS/FTP page, by the two letters of their command words.
const std::map<std::string, std::string>& GprsKeys() {
  static const std::map<std::string, std::string> keys = {
      {"AP", "APN"},          {"ID", "UserID"},   {"PW", "PASSWORD"},
      {"IP", "IP address"},   {"FT", "FTP host"}, {"AF", "UserName FTP"},
      {"PF", "Password FTP"}, {"DN", "DirName"},  {"RH", "HTTP Host"}};
  return keys;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

DeviceSimulator::DeviceSimulator() {
  const char* numbers[] = {"+4917012345601", "+4917012345602", "+4917012345603", "+4917012345604",
                           "+4917012345605", "+4917012345606", "+4917012345607"};
  for (int k = 1; k <= 7; ++k) {
    state_["NN" + std::to_string(k)] = numbers[k - 1];
    state_["PB" + std::to_string(k)] = numbers[k - 1];
  }
  const char* events[] = {"Min", "Normal", "Max"};
  for (int n = 1; n <= 57; ++n) {
    std::string t;
    if (n <= 9)
      t = "Temperature " + std::to_string((n + 2) / 3) + " " + events[(n - 1) % 3];
    else if (n <= 33)
      t = "Analog Input " + std::to_string((n - 7) / 3) + " " + events[(n - 10) % 3];
    else if (n <= 45)
      t = "Event INP" + std::to_string(n - 33) + " 0-1";
    else
      t = "Event INP" + std::to_string(n - 45) + " 1-0";
    state_["TX" + TwoDigits(n)] = t;
  }
  for (int n = 1; n <= 97; ++n) {
    std::string t;
    if (n >= 58 && n <= 69)
      t = "INP" + std::to_string(n - 57) + " 1";
    else if (n >= 70 && n <= 81)
      t = "INP" + std::to_string(n - 69) + " 0";
    else if (n >= 82 && n <= 89)
      t = "OUT" + std::to_string(n - 81) + " 1";
    else if (n >= 90)
      t = "OUT" + std::to_string(n - 89) + " 0";
    state_["TI" + TwoDigits(n)] = t;
  }
  state_["AP"] = "internet";
  state_["IP"] = "0.0.0.0";
  state_["FT"] = "ftp.tk5063.local";
  state_["AF"] = "logger";
  state_["PF"] = "secret";
  state_["DN"] = "IMEI";
  state_["ID"] = "";
  state_["PW"] = "";
  state_["RH"] = "";
  state_["ME"] = "FFF,,FFFFFFFF,FFFFFFFFFFFF";
  state_["IN"] = "000000000000";
  state_["OU"] = "00000000";
  state_["VR"] = "TK5063 V2.14";
  clock_.Set("26/01/05,09:07:03+02");
}

void DeviceSimulator::SetReply(const std::string& command, const std::string& reply) {
  replies_[TrimText(command)] = reply;
}

std::string DeviceSimulator::Setting(const std::string& key) const {
  const auto it = state_.find(key);
  return it == state_.end() ? std::string() : it->second;
}

void DeviceSimulator::SetSetting(const std::string& key, const std::string& value) {
  state_[key] = value;
}

void DeviceSimulator::OnBytes(const std::string& bytes) {
  pending_ += bytes;
  for (;;) {
    const std::size_t cr = pending_.find('\r');
    if (cr == std::string::npos) break;
    std::string line = pending_.substr(0, cr);
    pending_.erase(0, cr + 1);
    HandleLine(std::move(line));
  }
  // A line that never ends is not kept for ever.
  if (pending_.size() > 4096) {
    rawLines_.push_back(pending_);
    pending_.clear();
  }
}

void DeviceSimulator::HandleLine(std::string line) {
  // The zero byte that ends a framed line arrives before the next line's first byte.
  std::size_t b = 0;
  while (b < line.size() && line[b] == '\0') ++b;
  line.erase(0, b);
  if (line.empty()) return;
  std::string answer;
  if (line.size() >= kFrameLength && line.compare(0, kFrameLength, kFrame) == 0) {
    const std::string command = line.substr(kFrameLength);
    commands_.push_back(command);
    answer = Answer(command);
  } else {
    rawLines_.push_back(line);
    // Raw lines without the frame reach the device's own GSM modem.
    const std::string at = TrimText(line, true);
    if (at.rfind("AT", 0) == 0) {
      if (at == "AT+CSQ")
        answer = "\r\n+CSQ: 17,99\r\n\r\nOK\r\n";
      else if (at == "AT#BND?")
        answer = "\r\n#BND: 0\r\n\r\nOK\r\n";
      else if (at == "AT#BND=?")
        answer = "\r\n#BND: (0-3)\r\n\r\nOK\r\n";
      else
        answer = "\r\nOK\r\n";
    }
  }
  if (!silent_) Send(answer);
}

std::string DeviceSimulator::SmsAnswer(const std::string& smsText) {
  std::string a = TrimText(Answer(smsText), true);
  if (a.size() > 160) a.resize(160);
  return a;
}

std::string DeviceSimulator::Answer(const std::string& command) {
  const std::string cmd = TrimText(command, true);
  const auto fixed = replies_.find(cmd);
  if (fixed != replies_.end()) return fixed->second;
  return CannedAnswer(cmd);
}

std::string DeviceSimulator::CannedAnswer(const std::string& cmd) {
  // The echo of a write: the command with a comma in place of its first blank.
  std::string echo = cmd;
  if (const std::size_t blank = echo.find(' '); blank != std::string::npos && blank <= 7)
    echo[blank] = ',';
  const std::string confirm = "\r\n" + echo + "\r\nOK\r\n";
  const std::string word = cmd.substr(0, 5);
  const std::string rest = cmd.size() > 5 ? cmd.substr(5) : std::string();

  if (cmd == "OK") return "\r\nOK\r\n";
  if (cmd == "+EXIT") return "\r\n+EXIT OK\r\n";
  if (cmd == "GETST")
    return "\r\nST: IN " + state_["IN"] + " OUT " + state_["OU"] + " GSM 17 PWR 12.1V\r\n";
  if (cmd == "GETTH") return "\r\nTH: T 21.5C H 45%\r\n";
  if (cmd == "GETAN")
    return "\r\nAN: A1 1.23V A2 0.00V A3 4.56V A4 0.00V A5 2.50V A6 0.00V A7 0.00V A8 9.99V\r\n";
  if (cmd == "GETTC") return "\r\nTC: T1 21.5C T2 19.0C T3 18.2C\r\n";
  if (cmd == "TCLEV0") return "\r\nTCLEV: T1 -10 40 T2 -10 40 T3 -10 40\r\n";
  if (cmd == "ANLEV0") return "\r\nANLEV: A1 0.50 9.50 A2 0.50 9.50 A3 0.50 9.50 A4 0.50 9.50\r\n";
  if (cmd == "RSTRT") return "\r\nRESTART\r\n";
  if (cmd == "GETVR") return "\r\nVER: " + state_["VR"] + "\r\n";
  if (cmd == "GETTM") return "\r\nTM: " + clock_.Text() + "\r\n";
  if (cmd == "GETMH") return "\r\nMH: RT1 00012h RT2 00345h C1 000123 C2 000456\r\n";
  if (word == "SETTM") {
    if (!clock_.Set(TrimText(rest))) return "\r\n" + echo + "\r\nERROR\r\n";
    return confirm;
  }

  // Alarm numbers: GETNRk, SETNNk,number, CLRNRk.
  if ((word == "GETNR" || word == "CLRNR" || word == "SETNN") && !rest.empty() && rest[0] >= '1' &&
      rest[0] <= '7') {
    const std::string key = "NN" + rest.substr(0, 1);
    if (word == "GETNR") return "Nr." + rest.substr(0, 1) + ": " + state_[key] + "\r\n";
    if (word == "CLRNR")
      state_[key].clear();
    else
      state_[key] = rest.size() > 2 ? TrimText(rest.substr(2)) : std::string();
    return confirm;
  }
  // SIM phone book: GETPB answers all seven entries, SETPBk,number writes one.
  if (cmd == "GETPB") {
    std::string s = " ";
    for (int k = 1; k <= 7; ++k)
      s += "N" + std::to_string(k) + ":" + state_["PB" + std::to_string(k)] + " ";
    return s + "\r\n";
  }
  if (word == "SETPB" && !rest.empty() && rest[0] >= '1' && rest[0] <= '7') {
    state_["PB" + rest.substr(0, 1)] = rest.size() > 2 ? TrimText(rest.substr(2)) : std::string();
    return confirm;
  }
  // Texts: GETTXnn / SETTXnn text, GETTInn / SETTInn text.
  if ((word == "GETTX" || word == "SETTX" || word == "GETTI" || word == "SETTI") &&
      rest.size() >= 2 && IsDigit(rest[0]) && IsDigit(rest[1])) {
    const int n = (rest[0] - '0') * 10 + (rest[1] - '0');
    const bool longTable = word[4] == 'X';
    if (n < 1 || n > (longTable ? 57 : 97)) return "\r\n" + echo + "\r\nERROR\r\n";
    const std::string key = std::string(longTable ? "TX" : "TI") + rest.substr(0, 2);
    if (word[0] == 'G') return rest.substr(0, 2) + ": " + state_[key] + "\r\n";
    state_[key] = rest.size() > 3 ? TrimText(rest.substr(3)) : std::string();
    return confirm;
  }
  // Outputs: SETOUk / RSTOUk switch output k; GETOSk reads one (0: all), GETISkk an input.
  if ((word == "SETOU" || word == "RSTOU") && rest.size() == 1 && rest[0] >= '1' &&
      rest[0] <= '8') {
    std::string& ou = state_["OU"];
    ou.resize(8, '0');
    ou[static_cast<std::size_t>(rest[0] - '1')] = word[0] == 'S' ? '1' : '0';
    return confirm;
  }
  if (word == "GETOS" && rest.size() == 1 && rest[0] >= '0' && rest[0] <= '8') {
    std::string& ou = state_["OU"];
    ou.resize(8, '0');
    if (rest[0] == '0') return "\r\nOUT: " + ou + "\r\n";
    const std::size_t k = static_cast<std::size_t>(rest[0] - '1');
    return "\r\nOUT" + rest + ": " + (ou[k] == '1' ? "ON" : "OFF") + "\r\n";
  }
  if (word == "GETIS" && rest.size() == 2 && IsDigit(rest[0]) && IsDigit(rest[1])) {
    const int k = (rest[0] - '0') * 10 + (rest[1] - '0');
    std::string& in = state_["IN"];
    in.resize(12, '0');
    if (k == 0) return "\r\nINP: " + in + "\r\n";
    if (k > 12) return "\r\n" + echo + "\r\nERROR\r\n";
    return "\r\nINP" + std::to_string(k) + ": " + in.substr(static_cast<std::size_t>(k - 1), 1) +
           "\r\n";
  }
  if (word == "SETME") {
    state_["ME"] = rest.empty() ? std::string() : rest.substr(1);
    return confirm;
  }
  // GPRS, FTP and HTTP keys.
  if (cmd.size() >= 5) {
    const auto key = GprsKeys().find(cmd.substr(3, 2));
    if (key != GprsKeys().end()) {
      if (cmd.compare(0, 3, "GET") == 0) return key->second + ": " + state_[key->first] + "\r\n";
      if (cmd.compare(0, 3, "SET") == 0) {
        state_[key->first] = rest.empty() ? std::string() : TrimText(rest.substr(1));
        return confirm;
      }
    }
  }
  // Anything else: a GET reads the value its SET stored; other words are stored and confirmed.
  if (cmd.compare(0, 3, "GET") == 0 && cmd.size() >= 5) {
    const std::string v = Setting(cmd.substr(3, 2));
    return "\r\n" + cmd.substr(3) + ": " + (v.empty() ? "0" : v) + "\r\n";
  }
  if (cmd.compare(0, 3, "SET") == 0 && cmd.size() >= 5) {
    state_[cmd.substr(3, 2)] = rest;
    return confirm;
  }
  if (cmd.empty()) return "\r\nERROR\r\n";
  state_[word] = rest;
  return confirm;
}

}  // namespace testsupport
