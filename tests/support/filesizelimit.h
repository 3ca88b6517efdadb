#pragma once
// Makes writes fail part-way: while it lives, a file may grow to `bytes` only (the limit binds
// root too). With `ignoreSignal` the signal the kernel sends for a larger write is ignored
// here, so the write reports an error instead; without it the program under test has to
// survive the signal itself.
#include <sys/resource.h>

#include <csignal>
#include <stdexcept>

namespace testsupport {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes, bool ignoreSignal = true) : ignored_(ignoreSignal) {
    if (::getrlimit(RLIMIT_FSIZE, &old_) != 0) throw std::runtime_error("getrlimit failed");
    if (ignored_) oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old_;
    small.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &small) != 0) throw std::runtime_error("setrlimit failed");
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    if (ignored_) std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  bool ignored_;
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

}  // namespace testsupport
