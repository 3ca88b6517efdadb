#include "monitor/core/csvconfig.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/core/atomicfile.h"
#include "platform/core/error.h"

namespace monitor {
namespace {

using namespace csvcfg;

// The offsets chain field by field and end at the record's size.
static_assert(kWorkFolder == kDriveIndex + 4);
static_assert(kHost == kWorkFolder + 65);
static_assert(kUserID == kHost + 65);
static_assert(kPassword == kUserID + 65);
static_assert(kTLevel == kPassword + 65);
static_assert(kALevel == kTLevel + 4);
static_assert(kReserved1 == kALevel + 4);
static_assert(kMultipliers == kReserved1 + 8);
static_assert(kAnalogNames == kMultipliers + 8 * 8);
static_assert(kC1Name == kAnalogNames + 8 * 41);
static_assert(kC2Name == kC1Name + 41);
static_assert(kT1Name == kC2Name + 41);
static_assert(kPad == kT1Name + 41);
static_assert(kCopyFromDate == kPad + 1);
static_assert(kReserved2 == kCopyFromDate + 8);
static_assert(kCSVConfigSize == kReserved2 + 24);
static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559);

std::int32_t GetInt(const unsigned char* p) {
  const std::uint32_t u = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                          std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
  return static_cast<std::int32_t>(u);
}
void PutInt(unsigned char* p, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(u >> (8 * i));
}
double GetDouble(const unsigned char* p) {
  std::uint64_t u = 0;
  for (int i = 7; i >= 0; --i) u = u << 8 | p[i];
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}
void PutDouble(unsigned char* p, double d) {
  std::uint64_t u;
  std::memcpy(&u, &d, 8);
  for (int i = 0; i < 8; ++i) p[i] = static_cast<unsigned char>(u >> (8 * i));
}

// QDate's Julian day of 30 December 1899, day 0 of the stored dates.
constexpr qint64 kDayZeroJulian = 2415019;

}  // namespace

TCSVConfig TCSVConfig::Decode(const unsigned char* b) {
  TCSVConfig c;
  c.DriveIndex = GetInt(b + kDriveIndex);
  c.WorkFolder.load(b + kWorkFolder);
  c.Host.load(b + kHost);
  c.UserID.load(b + kUserID);
  c.Password.load(b + kPassword);
  c.TLevel = GetInt(b + kTLevel);
  c.ALevel = GetInt(b + kALevel);
  std::memcpy(c.Reserved1.data(), b + kReserved1, c.Reserved1.size());
  for (int k = 0; k < 8; ++k) {
    c.Coarse[k] = GetInt(b + kCoarse(k));
    c.Fine[k] = GetInt(b + kFine(k));
    c.AName[k].load(b + kAnalogName(k));
  }
  c.C1Name.load(b + kC1Name);
  c.C2Name.load(b + kC2Name);
  c.T1Name.load(b + kT1Name);
  c.Pad = b[kPad];
  c.CopyFromDate = GetDouble(b + kCopyFromDate);
  std::memcpy(c.Reserved2.data(), b + kReserved2, c.Reserved2.size());
  return c;
}

std::array<unsigned char, kCSVConfigSize> TCSVConfig::Encode() const {
  std::array<unsigned char, kCSVConfigSize> out{};
  unsigned char* b = out.data();
  PutInt(b + kDriveIndex, DriveIndex);
  WorkFolder.store(b + kWorkFolder);
  Host.store(b + kHost);
  UserID.store(b + kUserID);
  Password.store(b + kPassword);
  PutInt(b + kTLevel, TLevel);
  PutInt(b + kALevel, ALevel);
  std::memcpy(b + kReserved1, Reserved1.data(), Reserved1.size());
  for (int k = 0; k < 8; ++k) {
    PutInt(b + kCoarse(k), Coarse[k]);
    PutInt(b + kFine(k), Fine[k]);
    AName[k].store(b + kAnalogName(k));
  }
  C1Name.store(b + kC1Name);
  C2Name.store(b + kC2Name);
  T1Name.store(b + kT1Name);
  b[kPad] = Pad;
  PutDouble(b + kCopyFromDate, CopyFromDate);
  std::memcpy(b + kReserved2, Reserved2.data(), Reserved2.size());
  return out;
}

QDate TCSVConfig::CopyFromDay() const { return DateFromDays(CopyFromDate); }
void TCSVConfig::SetCopyFromDay(const QDate& day) { CopyFromDate = DaysFromDate(day); }

QDate DateFromDays(double days) {
  // Years 100 to 9999 lie well inside +-3e6 days of day zero.
  if (!std::isfinite(days) || days < -1.0e7 || days > 1.0e7) return QDate();
  const QDate d = QDate::fromJulianDay(kDayZeroJulian + static_cast<qint64>(std::trunc(days)));
  if (!d.isValid() || d.year() < 100 || d.year() > 9999) return QDate();
  return d;
}

double DaysFromDate(const QDate& day) {
  if (!day.isValid()) return 0.0;
  return static_cast<double>(day.toJulianDay() - kDayZeroJulian);
}

bool ReadCSVConfig(const std::string& path, TCSVConfig& cfg, platform::FileFailure* failure) {
  // Non-blocking, so that a pipe or device of that name cannot hang the window.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (failure) *failure = platform::FailureOfFile(path, errno);
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {  // a folder, pipe or device
    if (failure) *failure = platform::FailureOfFile(path, S_ISDIR(st.st_mode) ? EISDIR : ENODEV);
    ::close(fd);
    return false;
  }
  unsigned char buf[kCSVConfigSize];
  std::size_t got = 0;
  int err = 0;
  while (got < kCSVConfigSize) {
    const ssize_t n = ::read(fd, buf + got, kCSVConfigSize - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (err != 0) throw platform::Error(std::string("I/O error: ") + std::strerror(err));
  if (got < kCSVConfigSize) throw platform::Error("Read beyond end of file");
  cfg = TCSVConfig::Decode(buf);
  return true;
}

bool SaveCSVConfig(const std::string& path, const TCSVConfig& cfg, platform::FileFailure* failure) {
  const auto bytes = cfg.Encode();
  // Owner-only: the record holds the FTP password in plain text.
  return platform::WriteFileAtomically(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), 0600,
      failure);
}

}  // namespace monitor
