// The kernel's termbits header clashes with <termios.h>, so termios2 stays in this file alone.
#include "serial/linespeed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace serial {

bool SetOtherLineSpeed(int fd, std::uint32_t bitsPerSecond) {
  struct termios2 t {};
  if (::ioctl(fd, TCGETS2, &t) != 0) return false;
  t.c_cflag &= ~(CBAUD | CIBAUD);
  t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  t.c_ospeed = bitsPerSecond;
  t.c_ispeed = bitsPerSecond;
  return ::ioctl(fd, TCSETS2, &t) == 0;
}

std::uint32_t GetLineSpeed(int fd) {
  struct termios2 t {};
  if (::ioctl(fd, TCGETS2, &t) != 0) return 0;
  return t.c_ospeed;
}

}  // namespace serial
