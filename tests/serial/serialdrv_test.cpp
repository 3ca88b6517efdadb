// The serial port driver on a real pseudo-terminal: the test plays the device on the master.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <dirent.h>
#include <functional>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "configurator/unprivileged.h"
#include "platform/core/tick.h"
#include "serial/linetermios.h"
#include "serial/serialdrv.h"
#include "support/lockfolder.h"
#include "support/pty.h"

using namespace serial;
using testsupport::PtyPair;
using testsupport::WaitUntil;

namespace {

int OpenFdCount() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d)) ++n;
    closedir(d);
  }
  return n;
}

int InputQueued(int fd) {
  int n = -1;
  ioctl(fd, FIONREAD, &n);
  return n;
}

// A fake tick counter for the packet time-outs.
struct FakeClock {
  std::uint32_t now = 1000;
  FakeClock() {
    platform::SetTickSource([this] { return now; });
  }
  ~FakeClock() { platform::SetTickSource({}); }
};

class Driver : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.Open());
    drv.SetPortName(pty.SlavePath());
    drv.SetPollingDelay(60000);  // ticks are driven by hand unless a test says otherwise
    drv.OnReceiveData = [this](TSerialPortDriver*, const void* p, std::uint32_t n) {
      data.emplace_back(static_cast<const char*>(p), n);
    };
    drv.OnReceivePacket = [this](TSerialPortDriver*, const void* p, std::uint32_t n) {
      packets.emplace_back(static_cast<const char*>(p), n);
    };
  }

  // Puts bytes into the driver's input queue and waits until the kernel shows all of them.
  void Feed(const std::string& bytes) {
    const int before = InputQueued(pty.SlaveFd());
    pty.Write(bytes);
    ASSERT_TRUE(WaitUntil(
        [&] { return InputQueued(pty.SlaveFd()) >= before + static_cast<int>(bytes.size()); },
        2000));
  }

  PtyPair pty;
  TSerialPortDriver drv;
  std::vector<std::string> data, packets;
};

TEST_F(Driver, ConnectFailsOnMissingDeviceAndNoTickArrives) {
  drv.SetPortName("/dev/tk5063-no-such-device");
  drv.SetPollingDelay(5);
  EXPECT_FALSE(drv.Connect());
  EXPECT_FALSE(drv.Connected());
  EXPECT_FALSE(drv.PollTimer()->isActive());
  pty.Write("abc");
  WaitUntil([] { return false; }, 50);
  drv.PollTick();
  EXPECT_TRUE(data.empty());
  drv.SetPortName("/dev/null");  // opens, but is no serial line
  EXPECT_FALSE(drv.Connect());
  EXPECT_FALSE(drv.Connected());
}

TEST_F(Driver, ConnectTwiceOpensNothingMore) {
  ASSERT_TRUE(drv.Connect());
  EXPECT_EQ(drv.OpenedDevice(), pty.SlavePath());
  EXPECT_TRUE(drv.PollTimer()->isActive());
  const int fds = OpenFdCount();
  EXPECT_TRUE(drv.Connect());
  EXPECT_EQ(OpenFdCount(), fds);
  drv.Disconnect();
  EXPECT_FALSE(drv.Connected());
  EXPECT_FALSE(drv.PollTimer()->isActive());
  EXPECT_EQ(OpenFdCount(), fds - 1);
}

TEST_F(Driver, DeviceHeldByAnotherDriverCannotBeOpened) {
  auto first = std::make_unique<TSerialPortDriver>();
  first->SetPortName(pty.SlavePath());
  ASSERT_TRUE(first->Connect());
  EXPECT_FALSE(drv.Connect());
  EXPECT_FALSE(drv.Connected());
  first.reset();  // destroying the holder releases the device
  EXPECT_TRUE(drv.Connect());
  drv.Disconnect();
  // The exclusive flag doesn't outlive the driver on a tty that stays open elsewhere.
  int excl = -1;
  ASSERT_EQ(ioctl(pty.SlaveFd(), TIOCGEXCL, &excl), 0);
  EXPECT_EQ(excl, 0);
}

// Another program holds the device, marked exclusive or locked: the driver stays out until
// it lets go (the test may run as root, which the exclusive mark alone would let through).
TEST_F(Driver, DeviceHeldByAnotherProgramCannotBeOpened) {
  enum Hold { kExclusive, kLock };
  for (const Hold hold : {kExclusive, kLock}) {
    SCOPED_TRACE(hold == kExclusive ? "exclusive mark" : "lock");
    int ready[2], release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const std::string path = pty.SlavePath();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {  // the other program: only async-signal-safe calls
      const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
      const bool held = fd >= 0 && (hold == kExclusive ? ioctl(fd, TIOCEXCL) == 0
                                                       : flock(fd, LOCK_EX | LOCK_NB) == 0);
      char c = held ? 'y' : 'n';
      (void)!write(ready[1], &c, 1);
      (void)!read(release[0], &c, 1);
      if (hold == kExclusive) ioctl(fd, TIOCNXCL);
      _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    EXPECT_FALSE(drv.Connect());
    EXPECT_FALSE(drv.Connected());
    EXPECT_FALSE(drv.PollTimer()->isActive());
    ASSERT_EQ(write(release[1], "x", 1), 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
    EXPECT_TRUE(drv.Connect());
    drv.Disconnect();
  }
}

// ---- UUCP lock files ---------------------------------------------------------------------

std::string Slurp(const std::string& path) {
  std::string out;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[64];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
  }
  return out;
}

void Spit(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

std::string AsciiPid(long pid) {
  char text[16];
  std::snprintf(text, sizeof text, "%10ld\n", pid);
  return text;
}

std::string BinaryPid(std::int32_t pid) { return std::string(reinterpret_cast<char*>(&pid), 4); }

// What some serial programs write: the PID, their name and their user.
std::string WithProgram(long pid) {
  char text[48];
  std::snprintf(text, sizeof text, "%10ld minicom user\n", pid);
  return text;
}

// The PID a lock file's content names, in both formats; 0 where it names none.
TEST(LockFiles, ThePidIsReadInBothFormats) {
  const struct {
    std::string bytes;
    pid_t pid;
  } cases[] = {
      {"      1234\n", 1234},
      {"1234\n", 1234},
      {"      1234 minicom user\n", 1234},
      {"1234", 1234},             // four ASCII bytes make no PID a system can have
      {"123\n", 123},             // nor do these
      {BinaryPid(14649), 14649},  // "99\0\0": looks like digits, is binary
      {BinaryPid(4194304), 4194304},
      {BinaryPid(12345678), 0},  // beyond every PID, and no text either
      {BinaryPid(-1), 0},
      {BinaryPid(0), 0},
      {"", 0},
      {"   \n", 0},
      {"garbage\n", 0},
      {"12ab\n", 0},
      {"12345678901\n", 0},    // eleven digits
      {"      5000000\n", 0},  // above the largest PID
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    EXPECT_EQ(LockFilePid(c.bytes), c.pid);
  }
}

// A process that lives until the returned pipe end is closed.
pid_t LiveProcess(int& release) {
  int p[2];
  if (pipe(p) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    char c;
    close(p[1]);
    (void)!read(p[0], &c, 1);
    _exit(0);
  }
  close(p[0]);
  release = p[1];
  return child;
}

// A PID whose process is gone.
pid_t DeadProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  int status = 0;
  waitpid(child, &status, 0);
  return child;
}

class Locks : public Driver {
 protected:
  void SetUp() override {
    Driver::SetUp();
    lock = LockFileOf(pty.SlavePath());
  }
  std::string lock;
};

// A pty in /dev/pts is locked by its base name, also when a link leads to it; the lock
// folder is the driver's.
TEST_F(Locks, LockFileIsNamedAfterTheDeviceTheNameLeadsTo) {
  const std::string base = pty.SlavePath().substr(pty.SlavePath().rfind('/') + 1);
  EXPECT_EQ(lock, LockFolder() + "/LCK.." + base);
  const std::string link = LockFolder() + "/com-link";
  ASSERT_EQ(symlink(pty.SlavePath().c_str(), link.c_str()), 0);
  EXPECT_EQ(LockFileOf(link), lock);
  unlink(link.c_str());
  EXPECT_EQ(LockFileOf("/dev/tk5063-missing/ttyUSB7"), LockFolder() + "/LCK..ttyUSB7");
}

// While connected the driver holds a lock with its PID as ten digits and a newline; a second
// driver stays out; disconnecting and destroying the driver remove the lock.
TEST_F(Locks, TheDriverLocksThePortWhileItHoldsIt) {
  ASSERT_TRUE(drv.Connect());
  EXPECT_EQ(drv.HeldLock(), lock);
  EXPECT_EQ(Slurp(lock), AsciiPid(getpid()));
  TSerialPortDriver second;
  second.SetPortName(pty.SlavePath());
  EXPECT_FALSE(second.Connect());
  drv.Disconnect();
  EXPECT_FALSE(Exists(lock));
  EXPECT_TRUE(drv.HeldLock().empty());
  {
    TSerialPortDriver third;
    third.SetPortName(pty.SlavePath());
    ASSERT_TRUE(third.Connect());
    EXPECT_TRUE(Exists(lock));
  }
  EXPECT_FALSE(Exists(lock));
  // A device that can't be opened leaves no lock behind.
  drv.SetPortName("/dev/tk5063-no-such-device");
  EXPECT_FALSE(drv.Connect());
  EXPECT_FALSE(Exists(LockFileOf("/dev/tk5063-no-such-device")));
}

// Another program's lock: a live owner keeps the port closed (and the lock as it is); an
// owner that is gone leaves a stale lock, which the driver replaces by its own.
TEST_F(Locks, AnotherProgramsLockIsHonouredAndAStaleOneRemoved) {
  int release = -1;
  const pid_t live = LiveProcess(release);
  ASSERT_GT(live, 0);
  const pid_t dead = DeadProcess();
  struct Case {
    const char* what;
    std::string bytes;
    bool opens;
  };
  const Case cases[] = {
      {"live owner, ten digits", AsciiPid(live), false},
      {"live owner, binary PID", BinaryPid(live), false},
      {"live owner, text after the PID", WithProgram(live), false},
      {"owner not readable", "garbage\n", false},
      {"owner gone", AsciiPid(dead), true},
      {"owner gone, no blanks", std::to_string(dead) + "\n", true},
      {"owner gone, binary PID", BinaryPid(dead), true},
      {"owner gone, text after the PID", WithProgram(dead), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Spit(lock, c.bytes);
    EXPECT_EQ(drv.Connect(), c.opens);
    EXPECT_EQ(drv.Connected(), c.opens);
    EXPECT_EQ(Slurp(lock), c.opens ? AsciiPid(getpid()) : c.bytes);
    drv.Disconnect();
    unlink(lock.c_str());
  }
  close(release);
  int status = 0;
  waitpid(live, &status, 0);
}

// Where the lock folder can't be written the port opens unlocked, as it did before.
TEST_F(Locks, AFolderThatCannotBeWrittenLeavesThePortUnlocked) {
  const std::string folder = LockFolder();
  SetLockFolder(folder + "/missing");
  EXPECT_TRUE(drv.Connect());
  EXPECT_TRUE(drv.HeldLock().empty());
  drv.Disconnect();
  SetLockFolder(folder);
}

// A program that ends by exit(), without destroying its driver, leaves no lock behind.
TEST_F(Locks, TheLockGoesAtExit) {
  GTEST_FLAG_SET(death_test_style, "fast");
  const std::string path = pty.SlavePath();
  EXPECT_EXIT(
      {
        auto* held = new TSerialPortDriver;  // never destroyed
        held->SetPortName(path);
        std::exit(held->Connect() && Exists(held->HeldLock()) ? 0 : 3);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_FALSE(Exists(lock));
}

// A port that does not open says why, in one line naming the device; Connect still only
// says false. Each case sets the scene and clears it again.
TEST_F(Locks, AnOpenFailureNamesTheDeviceAndTheReason) {
  const std::string dev = pty.SlavePath();
  const std::string missing = "/dev/tk5063-no-such-device";
  const std::string link = LockFolder() + "/com-nowhere";
  ASSERT_EQ(symlink(missing.c_str(), link.c_str()), 0);
  int release = -1;
  const pid_t live = LiveProcess(release);
  ASSERT_GT(live, 0);
  const std::string self = "test_serial";  // the name a child of this program runs under

  // Another program holding the device with an flock, until the returned pipe is closed.
  auto holdDevice = [&](int& done) {
    int ready[2], p[2];
    if (pipe(ready) != 0 || pipe(p) != 0) return pid_t(-1);
    const pid_t child = fork();
    if (child == 0) {
      close(p[1]);
      const int fd = open(dev.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
      char c = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
      (void)!write(ready[1], &c, 1);
      (void)!read(p[0], &c, 1);
      _exit(0);
    }
    char c = 0;
    (void)!read(ready[0], &c, 1);
    close(ready[0]);
    close(ready[1]);
    close(p[0]);
    done = p[1];
    return child;
  };

  struct Case {
    const char* what;
    std::string name;                  // the port name given to the driver
    std::function<void()> set, clear;  // the scene
    TOpenFailure::Kind kind;
    std::string line;
  };
  pid_t holder = 0;
  int holderDone = -1;
  const std::vector<Case> cases = {
      {"missing device", missing, [] {}, [] {}, TOpenFailure::kSystem,
       missing + " does not exist: nothing is plugged in there. Plug in the device, or choose "
                 "another port."},
      {"link to nowhere", link, [] {}, [] {}, TOpenFailure::kSystem,
       "The port link " + link + " points to " + missing +
           ", which does not exist: nothing is plugged in there. Plug in the device, or point "
           "the link to where it is."},
      {"lock of a live program", dev, [&] { Spit(lock, WithProgram(live)); },
       [&] { unlink(lock.c_str()); }, TOpenFailure::kLocked,
       dev + " is in use by " + self + " (process " + std::to_string(live) +
           "), which holds its lock file " + lock + ": close that program first."},
      {"lock naming nobody", dev, [&] { Spit(lock, "garbage\n"); }, [&] { unlink(lock.c_str()); },
       TOpenFailure::kLocked,
       dev + " is locked by the file " + lock +
           ", which names no running program that could be read: remove that file if no "
           "program uses the port."},
      {"held by another program", dev, [&] { holder = holdDevice(holderDone); },
       [&] {
         close(holderDone);
         waitpid(holder, nullptr, 0);
       },
       TOpenFailure::kHeld, ""},  // names the holder, below
      {"no serial line", "/dev/null", [] {}, [] {}, TOpenFailure::kSettings,
       "/dev/null is not a serial port: choose another port."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.set();
    drv.SetPortName(c.name);
    EXPECT_FALSE(drv.Connect());
    EXPECT_EQ(drv.LastOpenFailure().kind, c.kind);
    const std::string line = c.line.empty()
                                 ? dev + " is in use by " + self + " (process " +
                                       std::to_string(holder) + "): close that program first."
                                 : c.line;
    EXPECT_EQ(OpenFailureLine(drv.LastOpenFailure()), line);
    c.clear();
  }
  drv.SetPortName(dev);
  ASSERT_TRUE(drv.Connect());
  EXPECT_EQ(drv.LastOpenFailure().kind, TOpenFailure::kNone);
  EXPECT_EQ(OpenFailureLine(drv.LastOpenFailure()), "");
  drv.Disconnect();
  close(release);
  waitpid(live, nullptr, 0);
  unlink(link.c_str());
}

// A device the user may not open: the group that may is named, as is the need to log in
// again; a device of its owner alone names the owner. Needs root to hand the device around.
TEST_F(Locks, ADeviceTheUserMayNotOpenNamesItsGroup) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give the device to another owner";
  const std::string dev = pty.SlavePath();
  const group* dialout = getgrnam("dialout");
  const gid_t gid = dialout ? dialout->gr_gid : 20;
  const std::string groupName = dialout ? "dialout" : std::to_string(gid);
  struct stat was {};
  ASSERT_EQ(stat(dev.c_str(), &was), 0);
  // The lock folder as the system's: everybody may make a lock there.
  ASSERT_EQ(chmod(LockFolder().c_str(), 01777), 0);
  const struct {
    mode_t mode;
    std::string line;
  } cases[] = {
      {0660, dev + ": permission denied. You must be a member of the group \"" + groupName +
                 "\" that owns the device: add yourself (sudo usermod -aG " + groupName +
                 " $USER), then log out and log in again."},
      {0600, dev + ": permission denied. Only root may open the device: ask your "
                   "administrator for access."},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(chown(dev.c_str(), 0, gid), 0);
    ASSERT_EQ(chmod(dev.c_str(), c.mode), 0);
    const bool opened = cfgtest::AsOrdinaryUser([&] { return drv.Connect(); });
    EXPECT_FALSE(opened);
    EXPECT_EQ(drv.LastOpenFailure().error, EACCES);
    EXPECT_EQ(OpenFailureLine(drv.LastOpenFailure()), c.line);
  }
  chown(dev.c_str(), was.st_uid, was.st_gid);
  chmod(dev.c_str(), was.st_mode & 07777);
  chmod(LockFolder().c_str(), 0700);
}

TEST_F(Driver, PlainTickHandsOverWhatIsQueuedOnce) {
  ASSERT_TRUE(drv.Connect());
  drv.PollTick();
  EXPECT_TRUE(data.empty());  // empty queue: no event

  std::string twenty = "0123456789ABCDEFGHIJ";
  Feed(twenty);
  drv.PollTick();
  ASSERT_EQ(data.size(), 1u);
  EXPECT_EQ(data[0], twenty);
  drv.PollTick();
  EXPECT_EQ(data.size(), 1u);

  const std::string raw("\x00\x0D\x0A\x11\x13\xFF\r\n\x03\x1A", 10);
  Feed(raw);
  drv.PollTick();
  ASSERT_EQ(data.size(), 2u);
  EXPECT_EQ(data[1], raw);
}

TEST_F(Driver, TickNeverReadsMoreThanTheBuffer) {
  drv.SetInBufSize(128);
  ASSERT_TRUE(drv.Connect());
  std::string bytes;
  for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<char>(i));
  Feed(bytes);
  drv.PollTick();
  drv.PollTick();
  drv.PollTick();
  ASSERT_EQ(data.size(), 3u);
  EXPECT_EQ(data[0].size(), 128u);
  EXPECT_EQ(data[1].size(), 128u);
  EXPECT_EQ(data[0] + data[1] + data[2], bytes);
}

TEST_F(Driver, TimerDeliversAtThePollingPeriod) {
  drv.SetPollingDelay(5);
  ASSERT_TRUE(drv.Connect());
  EXPECT_EQ(drv.PollTimer()->interval(), 5);
  pty.Write("OK\r\n");
  ASSERT_TRUE(WaitUntil([&] { return !data.empty(); }, 2000));
  EXPECT_EQ(data[0], "OK\r\n");
}

TEST_F(Driver, HandlerMayWriteAndCloseFromTheEvent) {
  drv.OnReceiveData = [this](TSerialPortDriver* s, const void*, std::uint32_t) {
    s->SendData("ack", 3);
    s->Disconnect();
    data.emplace_back("x");
  };
  ASSERT_TRUE(drv.Connect());
  Feed("hello");
  drv.PollTick();
  EXPECT_EQ(data.size(), 1u);
  EXPECT_FALSE(drv.Connected());
  EXPECT_EQ(pty.ReadFor(20), "ack");
  drv.PollTick();  // closed: nothing
  EXPECT_EQ(data.size(), 1u);
}

// A handler that opens a modal box runs the event loop inside the event, so the timer ticks
// again; the nested tick must not overwrite the bytes the outer handler still looks at.
TEST_F(Driver, NestedTickLeavesTheOuterEventsBytesAlone) {
  drv.SetPollingDelay(5);
  std::string outerAfter;
  drv.OnReceiveData = [&](TSerialPortDriver*, const void* p, std::uint32_t n) {
    const std::string mine(static_cast<const char*>(p), n);
    data.push_back(mine);
    if (data.size() == 1) {
      pty.Write("second");
      WaitUntil([&] { return data.size() >= 2; }, 2000);
      outerAfter.assign(static_cast<const char*>(p), n);
    }
  };
  ASSERT_TRUE(drv.Connect());
  pty.Write("first!");
  ASSERT_TRUE(WaitUntil([&] { return data.size() >= 2; }, 3000));
  EXPECT_EQ(data[1], "second");
  EXPECT_EQ(outerAfter, "first!");
}

TEST_F(Driver, PacketModeHandsWholePacketsAndKeepsTheRest) {
  FakeClock clock;
  drv.SetPacketSize(10);
  ASSERT_TRUE(drv.Connect());
  std::string bytes;
  for (int i = 0; i < 25; ++i) bytes.push_back(static_cast<char>('a' + i));
  Feed(bytes);
  drv.PollTick();
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(packets[0], bytes.substr(0, 10));
  EXPECT_EQ(packets[1], bytes.substr(10, 10));
  EXPECT_EQ(InputQueued(pty.SlaveFd()), 5);
  EXPECT_TRUE(data.empty());
  // No time-out set: the partial packet waits for its missing bytes.
  clock.now += 100000;
  drv.PollTick();
  EXPECT_EQ(packets.size(), 2u);
  Feed(bytes.substr(0, 5));
  drv.PollTick();
  ASSERT_EQ(packets.size(), 3u);
  EXPECT_EQ(packets[2], bytes.substr(20, 5) + bytes.substr(0, 5));
  EXPECT_EQ(InputQueued(pty.SlaveFd()), 0);
}

TEST_F(Driver, PartialPacketIsFlushedAfterItsTimeout) {
  struct Case {
    TPacketMode mode;
    bool remainderOfWholePackets;  // the partial packet came along with whole ones
  };
  for (const Case c :
       {Case{pmPass, false}, Case{pmDiscard, false}, Case{pmPass, true}, Case{pmDiscard, true}}) {
    SCOPED_TRACE(::testing::Message()
                 << "mode " << c.mode << " remainder " << c.remainderOfWholePackets);
    FakeClock clock;
    packets.clear();
    drv.Disconnect();
    drv.SetPollingDelay(50);
    drv.SetPacketSize(10);
    drv.SetPacketTimeout(100);
    drv.SetPacketMode(c.mode);
    ASSERT_TRUE(drv.Connect());
    const std::string partial = "xyz";
    Feed(c.remainderOfWholePackets ? std::string(10, 'P') + partial : partial);
    drv.PollTick();  // the partial packet's time starts here
    const std::size_t whole = packets.size();
    EXPECT_EQ(whole, c.remainderOfWholePackets ? 1u : 0u);
    clock.now += 100;  // due only once the time-out is exceeded
    drv.PollTick();
    EXPECT_EQ(packets.size(), whole);
    EXPECT_EQ(InputQueued(pty.SlaveFd()), 3);
    clock.now += 1;
    drv.PollTick();
    EXPECT_EQ(InputQueued(pty.SlaveFd()), 0);
    if (c.mode == pmPass) {
      ASSERT_EQ(packets.size(), whole + 1);
      EXPECT_EQ(packets.back(), partial);
    } else {
      EXPECT_EQ(packets.size(), whole);
    }
  }
}

TEST_F(Driver, PacketHandlerClosingThePortEndsTheTick) {
  drv.SetPacketSize(4);
  drv.OnReceivePacket = [this](TSerialPortDriver* s, const void* p, std::uint32_t n) {
    packets.emplace_back(static_cast<const char*>(p), n);
    s->Disconnect();
  };
  ASSERT_TRUE(drv.Connect());
  Feed("aaaabbbbcccc");
  drv.PollTick();
  EXPECT_EQ(packets.size(), 1u);
  EXPECT_FALSE(drv.Connected());
}

TEST(DriverSetters, RulesOpenAndClosed) {
  struct Case {
    const char* name;
    bool open;
    std::function<void(TSerialPortDriver&)> set;
    std::function<void(const TSerialPortDriver&)> check;
  };
  const Case cases[] = {
      {"polling delay below 5", false, [](auto& d) { d.SetPollingDelay(0); },
       [](auto& d) { EXPECT_EQ(d.PollingDelay(), 5); }},
      {"packet timeout below polling delay", false,
       [](auto& d) {
         d.SetPollingDelay(1000);
         d.SetPacketTimeout(100);
       },
       [](auto& d) { EXPECT_EQ(d.PacketTimeout(), 1400); }},
      {"packet timeout 0", false, [](auto& d) { d.SetPacketTimeout(0); },
       [](auto& d) { EXPECT_EQ(d.PacketTimeout(), -1); }},
      {"polling delay below 5 while open restarts the timer", true,
       [](auto& d) { d.SetPollingDelay(1); },
       [](auto& d) {
         EXPECT_EQ(d.PollingDelay(), 5);
         EXPECT_EQ(d.PollTimer()->interval(), 5);
         EXPECT_TRUE(d.PollTimer()->isActive());
       }},
      {"packet timeout below polling delay while open", true,
       [](auto& d) { d.SetPacketTimeout(10); }, [](auto& d) { EXPECT_EQ(d.PacketTimeout(), 70); }},
      {"packet timeout -5 while open", true, [](auto& d) { d.SetPacketTimeout(-5); },
       [](auto& d) { EXPECT_EQ(d.PacketTimeout(), -1); }},
      {"packet timeout rewritten by a new polling delay", false,
       [](auto& d) {
         d.SetPacketTimeout(60);
         d.SetPollingDelay(100);
       },
       [](auto& d) { EXPECT_EQ(d.PacketTimeout(), 140); }},
      {"packet timeout at polling delay kept", false,
       [](auto& d) {
         d.SetPollingDelay(200);
         d.SetPacketTimeout(200);
       },
       [](auto& d) { EXPECT_EQ(d.PacketTimeout(), 200); }},
      {"packet size 0", false,
       [](auto& d) {
         d.SetPacketSize(10);
         d.SetPacketSize(0);
       },
       [](auto& d) { EXPECT_EQ(d.PacketSize(), -1); }},
      {"packet size negative", false, [](auto& d) { d.SetPacketSize(-7); },
       [](auto& d) { EXPECT_EQ(d.PacketSize(), -1); }},
      {"packet size grows the buffer", false, [](auto& d) { d.SetPacketSize(3000); },
       [](auto& d) {
         EXPECT_EQ(d.PacketSize(), 3000);
         EXPECT_EQ(d.InBufSize(), 3000u);
       }},
      {"packet size beyond the largest buffer", false, [](auto& d) { d.SetPacketSize(20000); },
       [](auto& d) {
         EXPECT_EQ(d.PacketSize(), 8192);
         EXPECT_EQ(d.InBufSize(), 8192u);
       }},
      {"packet size beyond the buffer while open", true, [](auto& d) { d.SetPacketSize(3000); },
       [](auto& d) {
         EXPECT_EQ(d.PacketSize(), 2048);
         EXPECT_EQ(d.InBufSize(), 2048u);
       }},
      {"packet size within the buffer while open", true, [](auto& d) { d.SetPacketSize(64); },
       [](auto& d) { EXPECT_EQ(d.PacketSize(), 64); }},
      {"in buffer clamped low", false, [](auto& d) { d.SetInBufSize(100); },
       [](auto& d) { EXPECT_EQ(d.InBufSize(), 128u); }},
      {"in buffer clamped high", false, [](auto& d) { d.SetInBufSize(10000); },
       [](auto& d) { EXPECT_EQ(d.InBufSize(), 8192u); }},
      {"in buffer keeps the packet size", false,
       [](auto& d) {
         d.SetPacketSize(1000);
         d.SetInBufSize(128);
       },
       [](auto& d) {
         EXPECT_EQ(d.InBufSize(), 1000u);
         EXPECT_EQ(d.PacketSize(), 1000);
       }},
      {"in buffer refused while open", true, [](auto& d) { d.SetInBufSize(4096); },
       [](auto& d) { EXPECT_EQ(d.InBufSize(), 2048u); }},
      {"out buffer clamped", false, [](auto& d) { d.SetOutBufSize(5); },
       [](auto& d) { EXPECT_EQ(d.OutBufSize(), 128u); }},
      {"out buffer refused while open", true, [](auto& d) { d.SetOutBufSize(8192); },
       [](auto& d) { EXPECT_EQ(d.OutBufSize(), 2048u); }},
      {"port sets the name", false, [](auto& d) { d.SetPort(pnCOM3); },
       [](auto& d) {
         EXPECT_EQ(d.Port(), pnCOM3);
         EXPECT_EQ(d.PortName(), "\\\\.\\COM3");
       }},
      {"port 16", false, [](auto& d) { d.SetPort(pnCOM16); },
       [](auto& d) { EXPECT_EQ(d.PortName(), "\\\\.\\COM16"); }},
      {"custom port keeps the name", false,
       [](auto& d) {
         d.SetPortName("/dev/x");
         d.SetPort(pnCOM4);
         d.SetPort(pnCustom);
       },
       [](auto& d) {
         EXPECT_EQ(d.Port(), pnCustom);
         EXPECT_EQ(d.PortName(), "\\\\.\\COM4");
       }},
      {"port refused while open", true, [](auto& d) { d.SetPort(pnCOM5); },
       [](auto& d) {
         EXPECT_EQ(d.Port(), pnCustom);
         EXPECT_NE(d.PortName(), "\\\\.\\COM5");
       }},
      {"name makes the port custom", false, [](auto& d) { d.SetPortName("\\\\.\\COM7"); },
       [](auto& d) {
         EXPECT_EQ(d.Port(), pnCustom);
         EXPECT_EQ(d.PortName(), "\\\\.\\COM7");
       }},
      {"name refused while open", true, [](auto& d) { d.SetPortName("/dev/null"); },
       [](auto& d) { EXPECT_NE(d.PortName(), "/dev/null"); }},
      {"baud rate sets the value", false, [](auto& d) { d.SetBaudRate(br128000); },
       [](auto& d) { EXPECT_EQ(d.BaudRateValue(), 128000u); }},
      {"baud rate custom keeps the value", false,
       [](auto& d) {
         d.SetBaudRate(br2400);
         d.SetBaudRate(brCustom);
       },
       [](auto& d) {
         EXPECT_EQ(d.BaudRate(), brCustom);
         EXPECT_EQ(d.BaudRateValue(), 2400u);
       }},
      {"baud rate value makes the rate custom", false, [](auto& d) { d.SetBaudRateValue(9600); },
       [](auto& d) {
         EXPECT_EQ(d.BaudRate(), brCustom);
         EXPECT_EQ(d.BaudRateValue(), 9600u);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PtyPair pty;
    ASSERT_TRUE(pty.Open());
    TSerialPortDriver d;
    d.SetPortName(pty.SlavePath());
    if (c.open) {
      ASSERT_TRUE(d.Connect());
    }
    c.set(d);
    c.check(d);
    EXPECT_EQ(d.Connected(), c.open);
    EXPECT_LE(d.PacketSize(), static_cast<int>(d.InBufSize()));
  }
}

TEST(DriverSetters, Defaults) {
  TSerialPortDriver d;
  EXPECT_EQ(d.Port(), pnCOM2);
  EXPECT_EQ(d.PortName(), "\\\\.\\COM2");
  EXPECT_EQ(d.BaudRate(), br9600);
  EXPECT_EQ(d.BaudRateValue(), 9600u);
  EXPECT_EQ(d.DataBits(), db8BITS);
  EXPECT_EQ(d.StopBits(), sb1BITS);
  EXPECT_EQ(d.Parity(), ptNONE);
  EXPECT_EQ(d.HwFlow(), hfNONERTSON);
  EXPECT_EQ(d.SwFlow(), sfNONE);
  EXPECT_EQ(d.InBufSize(), 2048u);
  EXPECT_EQ(d.OutBufSize(), 2048u);
  EXPECT_EQ(d.PacketSize(), -1);
  EXPECT_EQ(d.PacketTimeout(), -1);
  EXPECT_EQ(d.PacketMode(), pmDiscard);
  EXPECT_EQ(d.PollingDelay(), 50);
  EXPECT_TRUE(d.EnableDTROnOpen());
  EXPECT_EQ(d.OutputTimeout(), 500);
  EXPECT_EQ(d.InputTimeout(), 200u);
  EXPECT_FALSE(d.CheckLineStatus());
  EXPECT_FALSE(d.Connected());
}

TEST_F(Driver, PollingDelayRestartsTheTimerOnlyOnAChange) {
  drv.SetPollingDelay(1000);
  ASSERT_TRUE(drv.Connect());
  WaitUntil([] { return false; }, 200);
  drv.SetPollingDelay(1000);  // same value: the running period goes on
  EXPECT_LT(drv.PollTimer()->remainingTime(), 900);
  drv.SetPollingDelay(2);  // a new value restarts it (and is raised to 5)
  EXPECT_TRUE(drv.PollTimer()->isActive());
  EXPECT_EQ(drv.PollTimer()->interval(), 5);
  drv.Disconnect();
  drv.SetPollingDelay(300);
  EXPECT_FALSE(drv.PollTimer()->isActive());
}

// The full mapping of the settings; a pty shows only part of it (see the next test).
TEST(LineTermios, SettingsMapToTermiosFlags) {
  struct Case {
    const char* name;
    std::function<void(TSerialPortDriver&)> set;
    tcflag_t cMask, cWant, iMask, iWant;
  };
  const tcflag_t par = PARENB | PARODD | CMSPAR;
  const Case cases[] = {
      {"defaults", [](auto&) {}, CSIZE | par | CSTOPB | CRTSCTS | CLOCAL | CREAD,
       CS8 | CLOCAL | CREAD, IXON | IXOFF, 0},
      {"odd", [](auto& d) { d.SetParity(ptODD); }, par, PARENB | PARODD, 0, 0},
      {"even", [](auto& d) { d.SetParity(ptEVEN); }, par, PARENB, 0, 0},
      {"mark", [](auto& d) { d.SetParity(ptMARK); }, par, PARENB | PARODD | CMSPAR, 0, 0},
      {"space", [](auto& d) { d.SetParity(ptSPACE); }, par, PARENB | CMSPAR, 0, 0},
      {"5 bits", [](auto& d) { d.SetDataBits(db5BITS); }, CSIZE, CS5, 0, 0},
      {"6 bits", [](auto& d) { d.SetDataBits(db6BITS); }, CSIZE, CS6, 0, 0},
      {"7 bits", [](auto& d) { d.SetDataBits(db7BITS); }, CSIZE, CS7, 0, 0},
      {"1.5 stop bits", [](auto& d) { d.SetStopBits(sb1HALFBITS); }, CSTOPB, CSTOPB, 0, 0},
      {"2 stop bits", [](auto& d) { d.SetStopBits(sb2BITS); }, CSTOPB, CSTOPB, 0, 0},
      {"rts/cts", [](auto& d) { d.SetHwFlow(hfRTSCTS); }, CRTSCTS, CRTSCTS, 0, 0},
      {"rts off", [](auto& d) { d.SetHwFlow(hfNONE); }, CRTSCTS, 0, 0, 0},
      {"xon/xoff", [](auto& d) { d.SetSwFlow(sfXONXOFF); }, 0, 0, IXON | IXOFF, IXON | IXOFF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSerialPortDriver d;
    c.set(d);
    termios t{};
    // Start from a cooked terminal with every flag the driver must clear.
    t.c_iflag = ICRNL | INLCR | IGNCR | INPCK | IGNPAR | PARMRK | ISTRIP | IXON | IXANY | BRKINT;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ICANON | ECHO | ECHOE | ISIG | IEXTEN;
    t.c_cflag = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 5;
    MakeLineTermios(d, t);
    EXPECT_EQ(t.c_cflag & c.cMask, c.cWant);
    EXPECT_EQ(t.c_iflag & c.iMask, c.iWant);
    EXPECT_EQ(
        t.c_iflag & (ICRNL | INLCR | IGNCR | INPCK | IGNPAR | PARMRK | ISTRIP | IXANY | BRKINT),
        0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);
    EXPECT_EQ(t.c_cc[VSTART], 0x11);
    EXPECT_EQ(t.c_cc[VSTOP], 0x13);
  }
}

// What a pty keeps of the settings: raw mode, stop bits, flow control, PARODD and CMSPAR.
TEST_F(Driver, LineSettingsReachTheTty) {
  ASSERT_TRUE(drv.Connect());
  termios t = pty.SlaveTermios();
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
  EXPECT_EQ(t.c_iflag & (ICRNL | INLCR | IGNCR | INPCK | IGNPAR | PARMRK | ISTRIP | IXON | IXOFF),
            0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
  EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
  EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(pty.SlaveSpeed(), 9600u);

  struct Case {
    const char* name;
    std::function<void(TSerialPortDriver&)> set;
    tcflag_t cMask, cWant, iMask, iWant;
  };
  const tcflag_t par = PARODD | CMSPAR;
  const Case cases[] = {
      {"odd", [](auto& d) { d.SetParity(ptODD); }, par, PARODD, 0, 0},
      {"mark", [](auto& d) { d.SetParity(ptMARK); }, par, PARODD | CMSPAR, 0, 0},
      {"space", [](auto& d) { d.SetParity(ptSPACE); }, par, CMSPAR, 0, 0},
      {"none", [](auto& d) { d.SetParity(ptNONE); }, par, 0, 0, 0},
      {"7 bits", [](auto& d) { d.SetDataBits(db7BITS); }, CSIZE, CS8, 0, 0},  // a pty stays at 8
      {"2 stop bits", [](auto& d) { d.SetStopBits(sb2BITS); }, CSTOPB, CSTOPB, 0, 0},
      {"1 stop bit", [](auto& d) { d.SetStopBits(sb1BITS); }, CSTOPB, 0, 0, 0},
      {"rts/cts", [](auto& d) { d.SetHwFlow(hfRTSCTS); }, CRTSCTS, CRTSCTS, 0, 0},
      {"no hw flow", [](auto& d) { d.SetHwFlow(hfNONE); }, CRTSCTS, 0, 0, 0},
      {"xon/xoff", [](auto& d) { d.SetSwFlow(sfXONXOFF); }, 0, 0, IXON | IXOFF, IXON | IXOFF},
      {"no sw flow", [](auto& d) { d.SetSwFlow(sfNONE); }, 0, 0, IXON | IXOFF, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.set(drv);
    EXPECT_TRUE(drv.ApplyLineSettings());
    t = pty.SlaveTermios();
    EXPECT_EQ(t.c_cflag & c.cMask, c.cWant);
    EXPECT_EQ(t.c_iflag & c.iMask, c.iWant);
  }
  EXPECT_TRUE(drv.Connected());
}

TEST_F(Driver, ChangingParityDiscardsUnreadInput) {
  ASSERT_TRUE(drv.Connect());
  Feed("stale bytes");
  drv.SetParity(ptODD);
  EXPECT_EQ(pty.SlaveTermios().c_cflag & PARODD, tcflag_t(PARODD));
  EXPECT_EQ(InputQueued(pty.SlaveFd()), 0);
  drv.PollTick();
  EXPECT_TRUE(data.empty());
  Feed("fresh");
  drv.PollTick();
  ASSERT_EQ(data.size(), 1u);
  EXPECT_EQ(data[0], "fresh");
}

TEST_F(Driver, EveryRateReachesTheLine) {
  ASSERT_TRUE(drv.Connect());
  for (int r = br110; r <= br256000; ++r) {
    const auto rate = static_cast<TBaudRate>(r);
    SCOPED_TRACE(BaudRateValueOf(rate));
    drv.SetBaudRate(rate);
    EXPECT_EQ(pty.SlaveSpeed(), BaudRateValueOf(rate));
  }
  drv.SetBaudRateValue(56000);
  EXPECT_EQ(drv.BaudRate(), brCustom);
  EXPECT_EQ(pty.SlaveSpeed(), 56000u);
  drv.SetBaudRateValue(31250);
  EXPECT_EQ(pty.SlaveSpeed(), 31250u);
  drv.SetBaudRate(br9600);  // a table rate again after a custom one
  EXPECT_EQ(pty.SlaveSpeed(), 9600u);
  const termios t = pty.SlaveTermios();
  EXPECT_EQ(cfgetospeed(&t), speed_t(B9600));
}

TEST_F(Driver, CustomRateFromTheStart) {
  drv.SetBaudRateValue(56000);
  ASSERT_TRUE(drv.Connect());
  EXPECT_EQ(pty.SlaveSpeed(), 56000u);
}

TEST_F(Driver, ZeroRateRefusesToConnect) {
  drv.SetBaudRateValue(0);
  EXPECT_FALSE(drv.Connect());
  EXPECT_FALSE(drv.Connected());
  EXPECT_FALSE(drv.PollTimer()->isActive());
  drv.SetBaudRate(br2400);
  EXPECT_TRUE(drv.Connect());  // the failed attempt left nothing locked
}

TEST_F(Driver, WritesOnAClosedPort) {
  const char bytes[] = "abc";
  EXPECT_EQ(drv.SendData(bytes, 3), 0u);
  EXPECT_EQ(drv.SendDataTimed(bytes, 3, 100), 0u);
  EXPECT_FALSE(drv.SendByte('x'));
  EXPECT_EQ(drv.FreeOutputSpace(), 65535);
  EXPECT_FALSE(drv.PurgeBuffers(true, true));
  EXPECT_FALSE(drv.ApplyLineSettings());
  EXPECT_EQ(drv.GetModemLines(), 0u);
}

TEST_F(Driver, WritesReachTheDevice) {
  ASSERT_TRUE(drv.Connect());
  const std::string frame("              SETUP:GETST\r\0", 27);
  EXPECT_EQ(drv.SendData(frame.data(), 27), 27u);
  EXPECT_TRUE(drv.SendByte(0xFF));
  EXPECT_EQ(pty.ReadFor(30), frame + "\xFF");
  EXPECT_EQ(drv.FreeOutputSpace(), drv.OutBufSize());
  // A pty has no modem lines, so a write that asks for them stops at once.
  drv.SetCheckLineStatus(true);
  EXPECT_EQ(drv.SendData("abc", 3), 0u);
}

// Nobody reads the line for a while: the write gives up only once the time-out has passed
// since the last progress, and reports exactly what went out.
TEST_F(Driver, TimedWriteCountsTheTimeoutFromTheLastProgress) {
  ASSERT_TRUE(drv.Connect());
  const std::string block(4 << 20, 'z');
  using Clock = std::chrono::steady_clock;
  std::atomic<std::size_t> drained{0};
  Clock::time_point firstDrain{};  // taken before the read that first frees room
  std::thread reader([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    char buf[1000];
    for (int i = 0; i < 3; ++i) {  // a little progress, then silence again
      const auto before = Clock::now();
      const ssize_t n = read(pty.MasterFd(), buf, sizeof buf);
      if (n > 0) {
        if (drained == 0) firstDrain = before;
        drained += static_cast<std::size_t>(n);
      }
    }
  });
  const std::uint32_t written =
      drv.SendDataTimed(block.data(), static_cast<std::uint32_t>(block.size()), 400);
  const auto end = Clock::now();
  reader.join();
  EXPECT_GT(written, 0u);
  EXPECT_LT(written, block.size());
  ASSERT_GT(drained, 0u);
  // The write went on after the reader made room, so it gave up no sooner than 400 ms later.
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(end - firstDrain).count(), 400);
  const std::string rest = pty.ReadFor(50);
  EXPECT_EQ(drained + rest.size(), written);
}

TEST(DriverFunctions, TransferTimeAndRates) {
  struct T {
    std::uint32_t rate, count;
    int ms;
  };
  for (const T c :
       {T{9600, 100, 104}, T{20000, 1, 0}, T{20000, 3, 2}, T{20000, 5, 2}, T{20000, 7, 4},
        T{115200, 0, 0}, T{0, 100, 0}, T{110, 4000000000u, 2147483647}}) {
    SCOPED_TRACE(::testing::Message() << c.rate << " " << c.count);
    EXPECT_EQ(TransferTimeMs(c.rate, c.count), c.ms);
  }
  const std::uint32_t table[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
  for (int r = brCustom; r <= br256000; ++r) {
    EXPECT_EQ(BaudRateValueOf(static_cast<TBaudRate>(r)), table[r]);
  }
}

TEST(DriverFunctions, PlatformTagAndVersionComeFromTheKernel) {
  utsname u{};
  ASSERT_EQ(uname(&u), 0);
  unsigned major = 0, minor = 0;
  ASSERT_EQ(sscanf(u.release, "%u.%u", &major, &minor), 2);
  EXPECT_EQ(GetOsVersion(), major * 65536u + minor);
  EXPECT_EQ(GetPlatformTag(), "WNT");
}

TEST_F(Driver, XonLimitIsAQuarterOfTheInputBuffer) {
  drv.SetInBufSize(8192);
  ASSERT_TRUE(drv.Connect());
  EXPECT_EQ(drv.XonLimit(), 2048u);
}

}  // namespace
