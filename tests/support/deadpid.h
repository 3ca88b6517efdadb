#pragma once
// The number of a process that has ended: a child that exits at once and has been reaped.
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

inline pid_t DeadPid() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

}  // namespace testsupport
