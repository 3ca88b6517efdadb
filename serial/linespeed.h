#pragma once
// Line speeds that have no B constant go on the line through termios2 (BOTHER).
#include <cstdint>

namespace serial {

// Puts `bitsPerSecond` on the open tty as input and output speed by TCSETS2 with BOTHER.
bool SetOtherLineSpeed(int fd, std::uint32_t bitsPerSecond);
// The output speed of the tty in bits per second as the kernel holds it; 0 when unreadable.
std::uint32_t GetLineSpeed(int fd);

}  // namespace serial
