#pragma once
// Makes writes fail part-way: while it lives, a file may grow to `bytes` only (the limit binds
// root too), and the signal the kernel sends for a larger write is ignored, so the write
// reports an error instead.
#include <sys/resource.h>

#include <csignal>
#include <stdexcept>

namespace testsupport {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    if (::getrlimit(RLIMIT_FSIZE, &old_) != 0) throw std::runtime_error("getrlimit failed");
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old_;
    small.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &small) != 0) throw std::runtime_error("setrlimit failed");
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

}  // namespace testsupport
