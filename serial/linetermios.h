#pragma once
// The termios form of a driver's line settings (kept out of serialdrv.h so that the
// termios macros stay out of every file that uses the driver).
#include <termios.h>

#include "serial/serialdrv.h"

namespace serial {

// Puts the driver's line settings into t: raw bytes both ways, character size, stop bits,
// parity, flow control, VMIN/VTIME 0. The speed is left as it is.
void MakeLineTermios(const TSerialPortDriver& driver, termios& t);

// True for the slave side of a pseudo-terminal. A pty has no wire: the kernel keeps it at
// 8 bits without a parity bit and refuses any other character size or parity enable.
bool IsPseudoTerminal(int fd);

}  // namespace serial
