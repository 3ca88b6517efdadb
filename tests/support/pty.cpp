#include "pty.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace testsupport {

// Reads the slave's speed through termios2 (defined beside the kernel's termbits header).
unsigned PtySlaveSpeed(int fd);

PtyPair::~PtyPair() { Close(); }

bool PtyPair::Open() {
  Close();
  int m = -1, s = -1;
  char name[256] = {};
  if (::openpty(&m, &s, name, nullptr, nullptr) != 0) return false;
  termios t{};
  for (int fd : {m, s}) {
    if (::tcgetattr(fd, &t) == 0) {
      ::cfmakeraw(&t);
      t.c_cc[VMIN] = 0;
      t.c_cc[VTIME] = 0;
      ::tcsetattr(fd, TCSANOW, &t);
    }
  }
  const int fl = ::fcntl(m, F_GETFL);
  ::fcntl(m, F_SETFL, fl | O_NONBLOCK);
  ::fcntl(m, F_SETFD, FD_CLOEXEC);
  ::fcntl(s, F_SETFD, FD_CLOEXEC);
  master_ = m;
  slave_ = s;
  slavePath_ = name;
  return true;
}

void PtyPair::Close() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
  slave_ = master_ = -1;
  slavePath_.clear();
}

void PtyPair::Unplug() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

void PtyPair::Write(const std::string& bytes) {
  std::size_t done = 0;
  QElapsedTimer clock;
  clock.start();
  while (done < bytes.size() && master_ >= 0) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      break;
    } else {
      // The slave's input queue is full: let the program read, then go on (at most 5 s).
      if (clock.elapsed() > 5000) break;
      QCoreApplication::processEvents();
      QThread::msleep(1);
    }
  }
}

std::string PtyPair::ReadAvailable() {
  std::string out;
  if (master_ < 0) return out;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n > 0) {
      out.append(buf, static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;  // EAGAIN: nothing more now; EIO: no slave open
    }
  }
  return out;
}

std::string PtyPair::ReadFor(int ms) {
  std::string out;
  QElapsedTimer clock;
  clock.start();
  do {
    QCoreApplication::processEvents();
    out += ReadAvailable();
    QThread::msleep(1);
  } while (clock.elapsed() < ms);
  out += ReadAvailable();
  return out;
}

std::string PtyPair::ReadUntil(const std::string& needle, int ms) {
  std::string out;
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    QCoreApplication::processEvents();
    out += ReadAvailable();
    if (out.find(needle) != std::string::npos || clock.elapsed() >= ms) break;
    QThread::msleep(1);
  }
  return out;
}

termios PtyPair::SlaveTermios() const {
  termios t{};
  if (slave_ >= 0) ::tcgetattr(slave_, &t);
  return t;
}

unsigned PtyPair::SlaveSpeed() const { return slave_ >= 0 ? PtySlaveSpeed(slave_) : 0; }

bool WaitUntil(const std::function<bool()>& pred, int ms) {
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    QCoreApplication::processEvents();
    if (pred()) return true;
    if (clock.elapsed() >= ms) return false;
    QThread::msleep(1);
  }
}

}  // namespace testsupport
