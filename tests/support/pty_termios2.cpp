// The kernel's termbits header clashes with <termios.h>, so the termios2 read lives here alone.
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace testsupport {

unsigned PtySlaveSpeed(int fd) {
  struct termios2 t {};
  if (::ioctl(fd, TCGETS2, &t) != 0) return 0;
  return t.c_ospeed;
}

}  // namespace testsupport
