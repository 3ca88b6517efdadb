#include "serial/serialdrv.h"

#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/utsname.h>
#include <termios.h>
#include <unistd.h>

#include "platform/core/devicepath.h"
#include "platform/core/filefailure.h"
#include "platform/core/tick.h"
#include "serial/linespeed.h"
#include "serial/linetermios.h"

namespace serial {

namespace {

constexpr std::uint32_t kNoPacketStart = 0xFFFFFFFFu;
constexpr std::uint32_t kMinBufSize = 128;
constexpr std::uint32_t kMaxBufSize = 8192;

constexpr std::uint32_t kRates[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                    14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};

// The B constant of a rate, or 0 when the rate has none and goes on the line by termios2.
speed_t SpeedConstant(std::uint32_t rate) {
  switch (rate) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 500000: return B500000;
    case 576000: return B576000;
    case 921600: return B921600;
    case 1000000: return B1000000;
    case 1152000: return B1152000;
    case 1500000: return B1500000;
    case 2000000: return B2000000;
    case 2500000: return B2500000;
    case 3000000: return B3000000;
    case 3500000: return B3500000;
    case 4000000: return B4000000;
    default: return 0;
  }
}

std::uint32_t ClampBufSize(std::uint32_t v) { return std::clamp(v, kMinBufSize, kMaxBufSize); }

// ---- UUCP lock files: LCK..<device> holding the owner's PID -----------------------------

std::string& Folder() {
  static std::string folder = "/var/lock";
  return folder;
}

// The PID a lock file names, read from an open lock file; 0 when it names none.
pid_t LockOwnerOfFile(int fd) {
  char bytes[64];
  ssize_t n;
  do {
    n = ::read(fd, bytes, sizeof bytes);
  } while (n < 0 && errno == EINTR);
  // A lock file is small: what one read gives is all of it, or at least its first line.
  return n > 0 ? LockFilePid(std::string(bytes, static_cast<std::size_t>(n))) : 0;
}

// The PID a lock file names (0 when it names none); `exists` tells whether there is a file
// at all (one that can't be read counts as there).
pid_t LockOwner(const std::string& path, bool& exists) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  exists = fd >= 0 || errno != ENOENT;
  if (fd < 0) return 0;
  const pid_t pid = LockOwnerOfFile(fd);
  ::close(fd);
  return pid;
}

bool Alive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

enum class Lock { kBusy, kTaken, kNone };

// Takes the lock of a device. A lock naming a live process (this one too: another driver),
// or one whose owner can't be read, means the port is in use. A lock of a process that is
// gone is removed. Where the folder can't be written the port goes unlocked, as before there
// were lock files.
Lock TakeLock(const std::string& path, pid_t& owner) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    bool exists = false;
    owner = LockOwner(path, exists);
    if (exists) {
      if (owner <= 0 || Alive(owner)) return Lock::kBusy;
      if (::unlink(path.c_str()) != 0 && errno != ENOENT) return Lock::kNone;  // stale, not ours
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd >= 0) {
      char text[16];
      const int len = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(::getpid()));
      const bool written = ::write(fd, text, static_cast<std::size_t>(len)) == len;
      ::close(fd);
      if (written) return Lock::kTaken;
      ::unlink(path.c_str());
      return Lock::kNone;
    }
    if (errno != EEXIST) return Lock::kNone;
    // Another program took it meanwhile: look at its lock.
  }
  bool exists = false;
  owner = LockOwner(path, exists);
  return Lock::kBusy;
}

// The name a process runs under, empty when it can't be read.
std::string ProgramName(pid_t pid) {
  std::string name;
  if (FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/comm").c_str(), "re")) {
    char text[64] = {};
    if (std::fgets(text, sizeof text, f)) name = text;
    std::fclose(f);
  }
  while (!name.empty() && (name.back() == '\n' || name.back() == ' ')) name.pop_back();
  return name;
}

// The process that holds an flock on the device node `target`, from the kernel's list of
// locks; 0 when none does.
pid_t ProcessWithDeviceLocked(const struct stat& target) {
  FILE* f = std::fopen("/proc/locks", "re");
  if (!f) return 0;
  pid_t found = 0;
  char line[256];
  while (!found && std::fgets(line, sizeof line, f)) {
    // "1: FLOCK  ADVISORY  WRITE 1234 00:19:5 0 EOF": the holder and major:minor:inode
    char kind[16];
    long pid = 0;
    unsigned devMajor = 0, devMinor = 0;
    unsigned long inode = 0;
    if (std::sscanf(line, "%*d: %15s %*s %*s %ld %x:%x:%lu", kind, &pid, &devMajor, &devMinor,
                    &inode) == 5 &&
        std::strcmp(kind, "FLOCK") == 0 && pid > 0 && devMajor == major(target.st_dev) &&
        devMinor == minor(target.st_dev) && inode == target.st_ino)
      found = static_cast<pid_t>(pid);
  }
  std::fclose(f);
  return found;
}

// A process that holds `device`: the one with an flock on it, else another process that has it
// open, among those whose descriptors may be looked at (a user's own, or all for root); 0
// when none is found.
pid_t ProcessHoldingDevice(const std::string& device) {
  struct stat target {};
  if (::stat(device.c_str(), &target) != 0 || !S_ISCHR(target.st_mode)) return 0;
  if (const pid_t locker = ProcessWithDeviceLocked(target)) return locker;
  DIR* proc = ::opendir("/proc");
  if (!proc) return 0;
  pid_t found = 0;
  while (const dirent* e = ::readdir(proc)) {
    char* end = nullptr;
    const long pid = std::strtol(e->d_name, &end, 10);
    if (pid <= 0 || *end != '\0' || pid == ::getpid()) continue;
    const std::string fdFolder = std::string("/proc/") + e->d_name + "/fd";
    DIR* fds = ::opendir(fdFolder.c_str());
    if (!fds) continue;
    while (const dirent* d = ::readdir(fds)) {
      struct stat st {};
      if (d->d_name[0] != '.' && ::stat((fdFolder + "/" + d->d_name).c_str(), &st) == 0 &&
          S_ISCHR(st.st_mode) && st.st_rdev == target.st_rdev) {
        found = static_cast<pid_t>(pid);
        break;
      }
    }
    ::closedir(fds);
    if (found) break;
  }
  ::closedir(proc);
  return found;
}

std::string GroupName(gid_t gid) {
  std::vector<char> buffer(16384);
  group g{};
  group* result = nullptr;
  if (::getgrgid_r(gid, &g, buffer.data(), buffer.size(), &result) == 0 && result)
    return result->gr_name;
  return std::to_string(gid);
}

std::string UserName(uid_t uid) {
  std::vector<char> buffer(16384);
  passwd p{};
  passwd* result = nullptr;
  if (::getpwuid_r(uid, &p, buffer.data(), buffer.size(), &result) == 0 && result)
    return result->pw_name;
  return std::to_string(uid);
}

// Where a link leads, as an absolute path; empty when `path` is no link.
std::string LinkTarget(const std::string& path) {
  char text[PATH_MAX];
  const ssize_t n = ::readlink(path.c_str(), text, sizeof text - 1);
  if (n <= 0) return {};
  std::string target(text, static_cast<std::size_t>(n));
  if (target[0] != '/') {
    const auto slash = path.rfind('/');
    target = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + target;
  }
  return target;
}

// Removes a lock file when it is this process's own.
void RemoveOwnLock(const std::string& path) {
  bool exists = false;
  if (LockOwner(path, exists) == ::getpid()) ::unlink(path.c_str());
}

// The locks this process holds, removed at exit too, when no destructor runs.
std::vector<std::string>& HeldLocks() {
  static auto* held = new std::vector<std::string>;  // outlives every exit handler
  return *held;
}

void RemoveHeldLocks() {
  for (const std::string& path : HeldLocks()) RemoveOwnLock(path);
}

void Hold(const std::string& path) {
  static const bool atExit = std::atexit(RemoveHeldLocks) == 0;
  (void)atExit;
  HeldLocks().push_back(path);
}

void Release(const std::string& path) {
  auto& held = HeldLocks();
  held.erase(std::remove(held.begin(), held.end(), path), held.end());
  RemoveOwnLock(path);
}

}  // namespace

// Linux never hands out a PID above 2^22 (PID_MAX_LIMIT on 64-bit systems).
constexpr long kPidLimit = 4194304;

pid_t LockFilePid(const std::string& bytes) {
  // Four bytes are a binary PID in host order, whatever they look like: 14649 is "99\0\0".
  // Four ASCII bytes such as "123\n" make no PID a system can have and are read as text.
  if (bytes.size() == sizeof(std::int32_t)) {
    std::int32_t binary = 0;
    std::memcpy(&binary, bytes.data(), sizeof binary);
    if (binary > 0 && binary <= kPidLimit) return static_cast<pid_t>(binary);
  }
  // Text: blanks, up to ten digits, then the end, a line end or a blank and whatever a
  // program writes after its PID ("%10d prog user\n").
  std::size_t i = bytes.find_first_not_of(' ');
  if (i == std::string::npos) return 0;
  const std::size_t first = i;
  long pid = 0;
  while (i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9' && i - first < 10)
    pid = pid * 10 + (bytes[i++] - '0');
  if (i == first) return 0;
  if (i < bytes.size() && bytes[i] != '\n' && bytes[i] != ' ' && bytes[i] != '\t') return 0;
  return pid > 0 && pid <= kPidLimit ? static_cast<pid_t>(pid) : 0;
}

const std::string& LockFolder() { return Folder(); }
void SetLockFolder(const std::string& folder) { Folder() = folder; }

// Lock files are named after the base name of the device the path leads to, as the Linux
// convention has it: /dev/ttyUSB0 is LCK..ttyUSB0, and a device in a subfolder, such as the
// pty /dev/pts/3, is LCK..3, the name other serial programs give it.
std::string LockFileOf(const std::string& device) {
  char real[PATH_MAX];
  const std::string path = ::realpath(device.c_str(), real) ? std::string(real) : device;
  return Folder() + "/LCK.." + path.substr(path.rfind('/') + 1);
}

std::uint32_t BaudRateValueOf(TBaudRate rate) {
  const int i = static_cast<int>(rate);
  if (i < 0 || i >= static_cast<int>(std::size(kRates))) return 0;
  return kRates[i];
}

int TransferTimeMs(std::uint32_t bitsPerSecond, std::uint32_t count) {
  // count / (rate / 10) * 1000 ms, exactly, rounded half to even; no rate takes no time.
  if (bitsPerSecond == 0) return 0;
  const std::uint64_t num = static_cast<std::uint64_t>(count) * 10000u;
  std::uint64_t q = num / bitsPerSecond;
  const std::uint64_t twiceRest = 2 * (num % bitsPerSecond);
  if (twiceRest > bitsPerSecond || (twiceRest == bitsPerSecond && (q & 1u))) ++q;
  return q > static_cast<std::uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(q);
}

// On Linux there is no Windows platform id. The kernel counts as the NT line ("WNT"): a
// system whose driver queues take large XON/XOFF limits; its version is the kernel's
// major.minor, so the 4096 cap of the limits applies from kernel 4.0 on.
std::string GetPlatformTag() {
  utsname u{};
  if (::uname(&u) != 0) return "??";
  return "WNT";
}

std::uint32_t GetOsVersion() {
  utsname u{};
  if (::uname(&u) != 0) return 0;
  unsigned major = 0, minor = 0;
  if (std::sscanf(u.release, "%u.%u", &major, &minor) < 1) return 0;
  return (static_cast<std::uint32_t>(major & 0xFFFFu) << 16) | (minor & 0xFFFFu);
}

void MakeLineTermios(const TSerialPortDriver& d, termios& t) {
  // Raw bytes both ways: no echo, no signals, no line editing, no CR/LF translation, no
  // input parity check (bytes with a parity error arrive as they are).
  t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | IGNPAR | PARMRK | ISTRIP | INLCR | IGNCR |
                                      ICRNL | IXON | IXOFF | IXANY | INPCK | IUCLC | IMAXBEL);
  t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CIBAUD);
  t.c_cflag |= CLOCAL | CREAD;

  static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
  t.c_cflag |= kSizes[std::clamp(static_cast<int>(d.DataBits()), 0, 3)];
  // Linux has no 1.5 stop bits: sb1HALFBITS asks for CSTOPB, which a UART sends as 1.5 stop
  // bits with 5 data bits and as 2 otherwise, as it does for sb2BITS.
  if (d.StopBits() == sb1HALFBITS || d.StopBits() == sb2BITS) t.c_cflag |= CSTOPB;
  switch (d.Parity()) {
    case ptODD: t.c_cflag |= PARENB | PARODD; break;
    case ptEVEN: t.c_cflag |= PARENB; break;
    case ptMARK: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case ptSPACE: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
  }
  if (d.HwFlow() == hfRTSCTS) t.c_cflag |= CRTSCTS;
  if (d.SwFlow() == sfXONXOFF) t.c_iflag |= IXON | IXOFF;
  t.c_cc[VSTART] = 0x11;
  t.c_cc[VSTOP] = 0x13;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
}

bool IsPseudoTerminal(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
  const unsigned m = major(st.st_rdev);
  return m >= 136 && m <= 143;  // the kernel's Unix98 pty slave majors
}

TSerialPortDriver::TSerialPortDriver(QObject* owner)
    : QObject(owner), timer_(new QTimer(this)), receiveBuffer_(inBufSize_, 0) {
  connect(timer_, &QTimer::timeout, this, &TSerialPortDriver::PollTick);
}

TSerialPortDriver::~TSerialPortDriver() { Disconnect(); }

bool TSerialPortDriver::Connect() {
  if (Connected()) return true;
  openFailure_ = {};
  const std::string device = platform::ResolveDevicePath(portName_);
  // Another program's lock keeps the device untouched (opening it may raise its lines).
  const std::string lock = LockFileOf(device);
  pid_t owner = 0;
  switch (TakeLock(lock, owner)) {
    case Lock::kBusy:
      Refuse(TOpenFailure::kLocked, 0, device, lock);
      openFailure_.holder = owner > 0 && Alive(owner) ? owner : 0;
      if (openFailure_.holder) openFailure_.holderName = ProgramName(owner);
      return false;
    case Lock::kTaken:
      lock_ = lock;
      Hold(lock);
      break;
    case Lock::kNone: break;
  }
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    DropLock();
    // EBUSY: another user's program has marked the device exclusive.
    return Refuse(error == EBUSY ? TOpenFailure::kHeld : TOpenFailure::kSystem, error, device);
  }
  // Exclusive use: TIOCEXCL keeps other users out. Root gets through another holder's
  // TIOCEXCL, so a flag already set means the device is held; the lock keeps out programs
  // that lock the device instead, and any second driver on it.
  int heldExclusive = 0;
  if ((::ioctl(fd, TIOCGEXCL, &heldExclusive) == 0 && heldExclusive != 0) ||
      ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    DropLock();
    return Refuse(TOpenFailure::kHeld, EBUSY, device);
  }
  ::ioctl(fd, TIOCEXCL);
  fd_ = fd;
  errno = 0;
  if (!ApplyLineSettings()) {
    const int error = errno != 0 ? errno : EINVAL;
    Disconnect();
    return Refuse(TOpenFailure::kSettings, error, device);
  }
  openedDevice_ = device;
  lost_ = false;
  timer_->start(pollingDelay_);
  return true;
}

bool TSerialPortDriver::Refuse(TOpenFailure::Kind kind, int error, const std::string& device,
                               const std::string& lock) {
  TOpenFailure& f = openFailure_;
  f.kind = kind;
  f.error = error;
  f.device = platform::FullPath(device);
  f.linkTarget = LinkTarget(f.device);
  f.lockFile = lock;
  if (kind == TOpenFailure::kHeld) {
    f.holder = ProcessHoldingDevice(f.device);
    if (f.holder) f.holderName = ProgramName(f.holder);
  }
  struct stat st {};
  if (kind == TOpenFailure::kSystem && (error == EACCES || error == EPERM) &&
      ::stat(f.device.c_str(), &st) == 0) {
    f.group = GroupName(st.st_gid);
    f.groupMayOpen = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    f.owner = UserName(st.st_uid);
  }
  return false;
}

std::string OpenFailureLine(const TOpenFailure& f) {
  static const char* const kNoSerialPort = " is not a serial port: choose another port.";
  const std::string dev =
      f.linkTarget.empty() ? f.device : f.device + " (a link to " + f.linkTarget + ")";
  const std::string holder = f.holderName.empty()
                                 ? "process " + std::to_string(f.holder)
                                 : f.holderName + " (process " + std::to_string(f.holder) + ")";
  const std::string close = ": close that program first.";
  switch (f.kind) {
    case TOpenFailure::kNone: return {};
    case TOpenFailure::kLocked:
      if (f.holder > 0)
        return dev + " is in use by " + holder + ", which holds its lock file " + f.lockFile +
               close;
      return dev + " is locked by the file " + f.lockFile +
             ", which names no running program that could be read: remove that file if no "
             "program uses the port.";
    case TOpenFailure::kHeld:
      return dev + " is in use by " + (f.holder > 0 ? holder : "another program") + close;
    case TOpenFailure::kSettings:
      if (f.error == ENOTTY) return dev + kNoSerialPort;
      return dev + " does not take the line settings (" + std::strerror(f.error) + ").";
    case TOpenFailure::kSystem: break;
  }
  switch (f.error) {
    case EACCES:
    case EPERM:
      if (f.groupMayOpen && f.group != "root")
        return dev + ": permission denied. You must be a member of the group \"" + f.group +
               "\" that owns the device: add yourself (sudo usermod -aG " + f.group +
               " $USER), then log out and log in again.";
      return dev + ": permission denied. Only " + (f.owner.empty() ? "its owner" : f.owner) +
             " may open the device: ask your administrator for access.";
    case ENOENT:
    case ENOTDIR:
      if (!f.linkTarget.empty())
        return "The port link " + f.device + " points to " + f.linkTarget +
               ", which does not exist: nothing is plugged in there. Plug in the device, or "
               "point the link to where it is.";
      return f.device +
             " does not exist: nothing is plugged in there. Plug in the device, or choose "
             "another port.";
    case EISDIR: return dev + kNoSerialPort;
    case ENXIO:
    case ENODEV:
    case EIO:
      return dev + ": no device answers there (" + std::strerror(f.error) +
             "). Check that it is plugged in, or choose another port.";
    default: return dev + ": " + std::strerror(f.error) + ".";
  }
}

void TSerialPortDriver::Disconnect() {
  if (!Connected()) return;
  timer_->stop();
  // The exclusive flag would outlive us on a tty that someone else keeps open.
  ::ioctl(fd_, TIOCNXCL);
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
  DropLock();
}

void TSerialPortDriver::LoseLine() {
  Disconnect();
  lost_ = true;
  if (OnLineLost) OnLineLost(this);
}

bool TSerialPortDriver::HungUp(short events, int waitMs) const {
  pollfd p{fd_, events, 0};
  return ::poll(&p, 1, waitMs) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void TSerialPortDriver::DropLock() {
  if (lock_.empty()) return;
  Release(lock_);
  lock_.clear();
}

bool TSerialPortDriver::ApplyLineSettings() {
  if (!Connected()) return false;
  termios t{};
  if (::tcgetattr(fd_, &t) != 0) return false;

  MakeLineTermios(*this, t);
  if (IsPseudoTerminal(fd_)) {
    // No wire: the kernel keeps a pty at 8 bits without a parity bit and may refuse the
    // whole setting otherwise. Odd, mark and space stay visible in PARODD and CMSPAR.
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    t.c_cflag |= CS8;
  }

  // XON/XOFF thresholds: a quarter of the input buffer, capped at 4096 on the NT line from
  // version 4 on. The kernel keeps its own thresholds; the figure is kept for inspection.
  xonLimit_ = inBufSize_ / 4;
  if (GetPlatformTag() == "WNT" && (GetOsVersion() >> 16) >= 4)
    xonLimit_ = std::min(xonLimit_, 4096u);

  if (baudRateValue_ == 0) {  // no line runs at 0 bit/s (B0 would hang up)
    errno = EINVAL;
    return false;
  }
  const speed_t constant = SpeedConstant(baudRateValue_);
  if (constant != 0) {
    ::cfsetispeed(&t, constant);
    ::cfsetospeed(&t, constant);
  }
  if (::tcsetattr(fd_, TCSANOW, &t) != 0) return false;
  if (constant == 0 && !SetOtherLineSpeed(fd_, baudRateValue_)) return false;

  // DTR and RTS as the control flags say; a pty has no such lines, so failures are ignored.
  int dtr = TIOCM_DTR, rts = TIOCM_RTS;
  ::ioctl(fd_, enableDTROnOpen_ ? TIOCMBIS : TIOCMBIC, &dtr);
  ::ioctl(fd_, hwFlow_ == hfNONE ? TIOCMBIC : TIOCMBIS, &rts);

  if (!PurgeBuffers(true, true)) return false;
  // The kernel's queues have fixed sizes: the requested sizes are accepted as they are.
  return true;
}

unsigned TSerialPortDriver::GetModemLines() const {
  if (!Connected()) return 0;
  int bits = 0;
  if (::ioctl(fd_, TIOCMGET, &bits) != 0) return 0;
  unsigned lines = 0;
  if (bits & TIOCM_CTS) lines |= kLineCTS;
  if (bits & TIOCM_DSR) lines |= kLineDSR;
  if (bits & TIOCM_RNG) lines |= kLineRING;
  if (bits & TIOCM_CAR) lines |= kLineRLSD;
  return lines;
}

bool TSerialPortDriver::PurgeBuffers(bool input, bool output) {
  if (!Connected()) return false;
  bool ok;
  if (input && output) {
    ok = ::tcflush(fd_, TCIOFLUSH) == 0;
  } else if (input) {
    ok = ::tcflush(fd_, TCIFLUSH) == 0;
  } else if (output) {
    ok = ::tcflush(fd_, TCOFLUSH) == 0;
  } else {
    termios t{};
    ok = ::tcgetattr(fd_, &t) == 0;  // nothing to flush; succeeds on a working port
  }
  if (ok) packetStartTime_ = kNoPacketStart;
  return ok;
}

bool TSerialPortDriver::FreeSpace(std::uint16_t& space) const {
  int queued = 0;
  space = 0;
  if (::ioctl(fd_, TIOCOUTQ, &queued) != 0) return false;
  space = static_cast<std::uint16_t>(outBufSize_ - static_cast<std::uint32_t>(queued));
  return true;
}

std::uint16_t TSerialPortDriver::FreeOutputSpace() const {
  if (!Connected()) return 0xFFFF;
  // A queue that can't be counted takes nothing: the line has failed.
  std::uint16_t space = 0;
  FreeSpace(space);
  return space;
}

std::uint32_t TSerialPortDriver::SendDataTimed(const void* data, std::uint32_t count,
                                               std::uint32_t timeoutMs) {
  if (!Connected()) return 0;
  const auto* p = static_cast<const std::uint8_t*>(data);
  std::uint32_t mark = platform::TickCount();
  std::uint32_t written = 0;
  while (written < count) {
    // A line that fails (the queue can't be counted, the write is refused, the descriptor
    // reports a hang-up) is lost at once: the port closes rather than retrying until the
    // time-out.
    std::uint16_t space = 0;
    if (!FreeSpace(space)) {
      LoseLine();
      break;
    }
    if (space > 0) {
      if (checkLineStatus_ && GetModemLines() == 0) break;
      const std::uint32_t chunk = std::min<std::uint32_t>(count - written, space);
      ++writeAttempts_;
      const long n = ::write(fd_, p + written, chunk);
      if (n > 0) {
        written += static_cast<std::uint32_t>(n);
        mark = platform::TickCount();
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        LoseLine();
        break;
      }
    }
    if (platform::TickCount() - mark > timeoutMs) break;
    // No progress: wait until the line takes bytes again, at most a millisecond, rather
    // than spinning on the non-blocking descriptor.
    if (HungUp(POLLOUT, 1)) {
      LoseLine();
      break;
    }
  }
  return written;
}

std::uint32_t TSerialPortDriver::SendData(const void* data, std::uint32_t count) {
  return SendDataTimed(data, count, outputTimeout_);
}

bool TSerialPortDriver::SendByte(std::uint8_t value) { return SendData(&value, 1) == 1; }

long TSerialPortDriver::ReadInto(std::uint8_t* buffer, std::uint32_t size) {
  for (;;) {
    const long n = ::read(fd_, buffer, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) LoseLine();
    return n;
  }
}

void TSerialPortDriver::RaiseData(const std::uint8_t* data, std::uint32_t size) {
  if (!OnReceiveData) return;
  ++eventDepth_;
  OnReceiveData(this, data, size);
  --eventDepth_;
}

void TSerialPortDriver::RaisePacket(const std::uint8_t* data, std::uint32_t size) {
  if (!OnReceivePacket) return;
  ++eventDepth_;
  OnReceivePacket(this, data, size);
  --eventDepth_;
}

void TSerialPortDriver::PollTick() {
  if (!Connected() || pollPauseCount_ > 0) return;
  int queued = 0;
  // A count that can't be read, or a hang-up, means the line has gone.
  if (::ioctl(fd_, FIONREAD, &queued) != 0 || HungUp(POLLIN, 0)) {
    LoseLine();
    return;
  }
  if (queued <= 0) return;
  auto inQueue = static_cast<std::uint32_t>(queued);

  // A handler that runs a nested event loop (a modal box) lets this tick run again while it
  // still looks at the receive buffer; the nested tick reads into a buffer of its own.
  std::vector<std::uint8_t> nested;
  std::uint8_t* buffer = receiveBuffer_.data();
  if (eventDepth_ > 0) {
    nested.assign(inBufSize_, 0);
    buffer = nested.data();
  }

  if (packetSize_ <= 0) {
    const long n = ReadInto(buffer, std::min(inQueue, inBufSize_));
    if (n > 0) RaiseData(buffer, static_cast<std::uint32_t>(n));
    return;
  }

  const auto packet = static_cast<std::uint32_t>(packetSize_);
  if (inQueue >= packet) {
    const bool startKnown = packetStartTime_ != kNoPacketStart;
    while (inQueue >= packet) {
      const long n = ReadInto(buffer, packet);
      if (n > 0) RaisePacket(buffer, static_cast<std::uint32_t>(n));
      if (!Connected()) return;  // the handler closed the port
      packetStartTime_ += static_cast<std::uint32_t>(TransferTimeMs(baudRateValue_, packet));
      inQueue -= packet;
    }
    if (inQueue == 0) {
      packetStartTime_ = kNoPacketStart;
    } else if (!startKnown) {
      // A remainder came with whole packets: its time-out runs from now.
      packetStartTime_ = platform::TickCount();
    }
    return;
  }

  // A partial packet.
  if (packetTimeout_ > 0 && packetStartTime_ != kNoPacketStart &&
      platform::TickCount() - packetStartTime_ > static_cast<std::uint32_t>(packetTimeout_)) {
    const long n = ReadInto(buffer, inQueue);
    packetStartTime_ = kNoPacketStart;
    if (packetMode_ == pmPass && n > 0) RaisePacket(buffer, static_cast<std::uint32_t>(n));
  } else if (packetStartTime_ == kNoPacketStart) {
    packetStartTime_ = platform::TickCount();
  }
}

void TSerialPortDriver::SetPort(TPortNumber value) {
  if (Connected()) return;
  port_ = value;
  if (value != pnCustom) portName_ = "\\\\.\\COM" + std::to_string(static_cast<int>(value));
}

void TSerialPortDriver::SetPortName(const std::string& value) {
  if (Connected()) return;
  port_ = pnCustom;
  portName_ = value;
}

void TSerialPortDriver::SetBaudRate(TBaudRate value) {
  baudRate_ = value;
  if (value != brCustom) baudRateValue_ = BaudRateValueOf(value);
  if (Connected()) ApplyLineSettings();
}

void TSerialPortDriver::SetBaudRateValue(std::uint32_t value) {
  baudRate_ = brCustom;
  baudRateValue_ = value;
  if (Connected()) ApplyLineSettings();
}

void TSerialPortDriver::SetDataBits(TDataBits value) {
  dataBits_ = value;
  if (Connected()) ApplyLineSettings();
}

void TSerialPortDriver::SetStopBits(TStopBits value) {
  stopBits_ = value;
  if (Connected()) ApplyLineSettings();
}

void TSerialPortDriver::SetParity(TParity value) {
  parity_ = value;
  if (Connected()) ApplyLineSettings();
}

void TSerialPortDriver::SetHwFlow(THwFlowControl value) {
  hwFlow_ = value;
  if (Connected()) ApplyLineSettings();
}

void TSerialPortDriver::SetSwFlow(TSwFlowControl value) {
  swFlow_ = value;
  if (Connected()) ApplyLineSettings();
}

void TSerialPortDriver::SetInBufSize(std::uint32_t value) {
  if (Connected()) return;
  inBufSize_ = ClampBufSize(value);
  receiveBuffer_.assign(inBufSize_, 0);
  SetPacketSize(packetSize_);
}

void TSerialPortDriver::SetOutBufSize(std::uint32_t value) {
  if (Connected()) return;
  outBufSize_ = ClampBufSize(value);
}

void TSerialPortDriver::SetPacketSize(std::int16_t value) {
  if (value <= 0) {
    packetSize_ = -1;
    return;
  }
  // A packet never outgrows the receive buffer: the buffer grows with it (up to its largest
  // size, and not while open); what still doesn't fit is cut to the buffer.
  value = static_cast<std::int16_t>(
      std::min<std::uint32_t>(static_cast<std::uint32_t>(value), kMaxBufSize));
  packetSize_ = value;
  if (static_cast<std::uint32_t>(value) > inBufSize_) {
    SetInBufSize(static_cast<std::uint32_t>(value));
    if (static_cast<std::uint32_t>(packetSize_) > inBufSize_)
      packetSize_ = static_cast<std::int16_t>(inBufSize_);
  }
}

void TSerialPortDriver::SetPacketTimeout(int value) {
  if (value < 1) {
    packetTimeout_ = -1;
  } else if (value < pollingDelay_) {
    packetTimeout_ = pollingDelay_ + pollingDelay_ * 40 / 100;
  } else {
    packetTimeout_ = value;
  }
}

void TSerialPortDriver::SetPollingDelay(std::uint16_t value) {
  if (value < 5) value = 5;
  if (value == pollingDelay_) return;
  pollingDelay_ = value;
  if (Connected()) {
    timer_->stop();
    timer_->start(pollingDelay_);
  }
  SetPacketTimeout(packetTimeout_);
}

}  // namespace serial
