#include "configurator/core/setupconfig.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/core/atomicfile.h"
#include "platform/core/error.h"

namespace configurator {

namespace {

// Calls v(offset, field) for every field of the record in file order. Encode, decode and
// the compile-time layout check below all walk the record through this one list.
template <class Rec, class V>
constexpr void VisitFields(Rec& c, V& v) {
  namespace o = cfgoff;
  v(o::RadioGroupRate, c.RadioGroupRate);
  v(o::RadioGroupPort, c.RadioGroupPort);
  v(o::TrackBar5, c.TrackBar5);
  v(o::Kept12, c.Kept12);
  v(o::TKnumber, c.TKnumber);
  v(o::Reserved37, c.Reserved37);
  v(o::TXTSMS, c.TXTSMS);
  v(o::iTXTSMS, c.iTXTSMS);
  v(o::Pad3151, c.Pad3151);
  v(o::TTimeout1SB, c.TTimeout1SB);
  v(o::Reserved3156, c.Reserved3156);
  v(o::ATimeout1SB, c.ATimeout1SB);
  v(o::Reserved3164, c.Reserved3164);
  v(o::DFilterSB, c.DFilterSB);
  v(o::PulseDsb, c.PulseDsb);
  v(o::SRateSB, c.SRateSB);
  v(o::DeleteSMS, c.DeleteSMS);
  v(o::SMSmode, c.SMSmode);
  v(o::Pad3210, c.Pad3210);
  v(o::AnalogLevels, c.AnalogLevels);
  v(o::TempLevels, c.TempLevels);
  v(o::Reserved3300, c.Reserved3300);
  v(o::TNrFilter, c.TNrFilter);
  v(o::ANrFilter, c.ANrFilter);
  v(o::DNrFilter, c.DNrFilter);
  v(o::APN, c.APN);
  v(o::UserID, c.UserID);
  v(o::Password, c.Password);
  v(o::IPaddress, c.IPaddress);
  v(o::FTPHostName, c.FTPHostName);
  v(o::UserNameFTP, c.UserNameFTP);
  v(o::PasswordFTP, c.PasswordFTP);
  v(o::DirName, c.DirName);
  v(o::Reserved3615, c.Reserved3615);
  v(o::Kept3624, c.Kept3624);
  v(o::DLoggerTmSB, c.DLoggerTmSB);
  v(o::OptionString, c.OptionString);
  v(o::Reserved3649, c.Reserved3649);
  v(o::HTTPhostName, c.HTTPhostName);
  v(o::NNumber, c.NNumber);
  v(o::PBnr, c.PBnr);
  v(o::TKnumber2, c.TKnumber2);
  v(o::ScheduleString, c.ScheduleString);
  v(o::Byte4017, c.Byte4017);
  v(o::Pad4018, c.Pad4018);
  v(o::AMode, c.AMode);
  v(o::Kept4052, c.Kept4052);
  v(o::Kept4056, c.Kept4056);
  v(o::AkoeffStr, c.AkoeffStr);
  v(o::ADividerStr, c.ADividerStr);
  v(o::Pad4078, c.Pad4078);
  v(o::Value4080, c.Value4080);
  v(o::Kept4084, c.Kept4084);
  v(o::Kept4086, c.Kept4086);
  v(o::SkipCRLFcb, c.SkipCRLFcb);
  v(o::Reserved4089, c.Reserved4089);
  v(o::RunTimeVariant, c.RunTimeVariant);
  v(o::ParityEven, c.ParityEven);
  v(o::SaveSettingAfterExitCB, c.SaveSettingAfterExitCB);
  v(o::Pad4094, c.Pad4094);
  v(o::eSRateSB, c.eSRateSB);
  v(o::eDLoggerTmSB, c.eDLoggerTmSB);
  v(o::MUX, c.MUX);
}

// Stored size of each kind of field.
template <class T>
struct StoredSize;
template <>
struct StoredSize<std::int32_t> {
  static constexpr std::size_t value = 4;
};
template <>
struct StoredSize<std::int16_t> {
  static constexpr std::size_t value = 2;
};
template <>
struct StoredSize<std::uint8_t> {
  static constexpr std::size_t value = 1;
};
template <std::size_t N>
struct StoredSize<platform::FixedText<N>> {
  static constexpr std::size_t value = N + 1;
};
template <class T, std::size_t M>
struct StoredSize<std::array<T, M>> {
  static constexpr std::size_t value = M * StoredSize<T>::value;
};

// Checks that every field starts where the one before it ends and that they fill 4136 bytes.
struct LayoutCheck {
  std::size_t pos = 0;
  bool ok = true;
  template <class T>
  constexpr void operator()(std::size_t offset, const T&) {
    ok = ok && offset == pos;
    pos = offset + StoredSize<T>::value;
  }
};
constexpr bool LayoutIsSound() {
  TSetupConfig c{};
  LayoutCheck k;
  VisitFields(c, k);
  return k.ok && k.pos == kSetupConfigSize;
}
static_assert(LayoutIsSound(), "the settings record's offsets must follow each other up to 4136");

struct Writer {
  unsigned char* out;
  void put(std::size_t at, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(u >> (8 * i));
  }
  void put(std::size_t at, std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    out[at] = static_cast<unsigned char>(u);
    out[at + 1] = static_cast<unsigned char>(u >> 8);
  }
  void put(std::size_t at, std::uint8_t v) { out[at] = v; }
  template <std::size_t N>
  void put(std::size_t at, const platform::FixedText<N>& t) {
    t.store(out + at);
  }
  template <class T, std::size_t M>
  void put(std::size_t at, const std::array<T, M>& a) {
    for (std::size_t i = 0; i < M; ++i) put(at + i * StoredSize<T>::value, a[i]);
  }
  template <class T>
  void operator()(std::size_t at, const T& field) {
    put(at, field);
  }
};

struct Reader {
  const unsigned char* in;
  void get(std::size_t at, std::int32_t& v) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(in[at + i]) << (8 * i);
    v = static_cast<std::int32_t>(u);
  }
  void get(std::size_t at, std::int16_t& v) {
    v = static_cast<std::int16_t>(static_cast<std::uint16_t>(in[at] | (in[at + 1] << 8)));
  }
  void get(std::size_t at, std::uint8_t& v) { v = in[at]; }
  template <std::size_t N>
  void get(std::size_t at, platform::FixedText<N>& t) {
    t.load(in + at);  // a length byte above N still reads only the field (FixedText::get)
  }
  template <class T, std::size_t M>
  void get(std::size_t at, std::array<T, M>& a) {
    for (std::size_t i = 0; i < M; ++i) get(at + i * StoredSize<T>::value, a[i]);
  }
  template <class T>
  void operator()(std::size_t at, T& field) {
    get(at, field);
  }
};

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now and reports the result of close.
  int release_close() {
    const int fd = fd_;
    fd_ = -1;
    return fd >= 0 ? ::close(fd) : 0;
  }

 private:
  int fd_;
};

}  // namespace

SetupBytes EncodeSetupConfig(const TSetupConfig& cfg) {
  SetupBytes bytes{};
  Writer w{bytes.data()};
  VisitFields(cfg, w);
  return bytes;
}

TSetupConfig DecodeSetupConfig(const unsigned char* bytes, std::size_t size) {
  TSetupConfig cfg;
  if (size < kSetupConfigSize) {
    SetupBytes padded{};
    if (size > 0) std::memcpy(padded.data(), bytes, size);  // no bytes may come as null
    Reader r{padded.data()};
    VisitFields(cfg, r);
    return cfg;
  }
  Reader r{bytes};
  VisitFields(cfg, r);
  return cfg;
}

TSetupConfig DecodeSetupConfig(const SetupBytes& bytes) {
  return DecodeSetupConfig(bytes.data(), bytes.size());
}

TKeptValues TKeptValues::FromRecord(const TSetupConfig& cfg) {
  TKeptValues k;
  k.v12 = cfg.Kept12;
  k.v3624 = cfg.Kept3624;
  k.v3649 = cfg.Reserved3649[0];
  k.v3650 = cfg.Reserved3649[1];
  k.v4052 = cfg.Kept4052;
  k.v4056 = cfg.Kept4056;
  k.v4080 = cfg.Value4080 > 4 ? 0 : cfg.Value4080;
  k.v4084 = cfg.Kept4084;
  k.v4086 = cfg.Kept4086;
  return k;
}

void TKeptValues::StoreInto(TSetupConfig& cfg) const {
  cfg.Kept12 = v12;
  cfg.Kept3624 = v3624;
  cfg.Kept4052 = v4052;
  cfg.Kept4056 = v4056;
  cfg.Value4080 = v4080;
  cfg.Kept4084 = v4084;
  cfg.Kept4086 = v4086;
}

CfgFileResult ReadSetupConfigFile(const std::string& path, TSetupConfig& cfg,
                                  platform::FileFailure* failure) {
  // Opened for reading and writing: a file the user may not write is refused here already.
  Fd fd(::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    if (failure) *failure = platform::FailureOfFile(path, errno);
    return CfgFileResult::AccessError;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    if (failure) *failure = platform::FailureOfFile(path, S_ISDIR(st.st_mode) ? EISDIR : ENODEV);
    return CfgFileResult::AccessError;
  }

  SetupBytes bytes = EncodeSetupConfig(cfg);  // a short file lands over the current record
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw platform::Error(platform::WriteErrorText("Disk read error", errno));
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  fd.release_close();
  if (got < bytes.size()) {
    cfg = DecodeSetupConfig(bytes);
    throw platform::Error(kReadBeyondEndText);
  }
  cfg = DecodeSetupConfig(bytes);
  return CfgFileResult::Ok;
}

CfgFileResult WriteSetupConfigFile(const std::string& path, const TSetupConfig& cfg,
                                   platform::FileFailure* failure) {
  const SetupBytes bytes = EncodeSetupConfig(cfg);
  // The record holds the device's GPRS and FTP passwords: the file is its owner's alone.
  const bool written = platform::WriteFileAtomically(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), 0600,
      failure);
  return written ? CfgFileResult::Ok : CfgFileResult::AccessError;
}

}  // namespace configurator
