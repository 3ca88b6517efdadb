#pragma once
// Switches the C library to a Turkish locale (where toupper('i') is not 'I') while it lives.
// Where the machine has none generated, one is compiled with localedef into a temporary folder
// and found through LOCPATH; the old locale and LOCPATH come back at the end.
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace testsupport {

class TurkishLocale {
 public:
  TurkishLocale() : old_(std::setlocale(LC_ALL, nullptr)) {
    if (const char* p = std::getenv("LOCPATH")) oldLocPath_ = p, hadLocPath_ = true;
    if (std::setlocale(LC_ALL, "tr_TR.UTF-8")) {
      active_ = true;
      return;
    }
    char dir[] = "/tmp/tk5063-locale-XXXXXX";
    if (!::mkdtemp(dir)) return;
    folder_ = dir;
    const std::string cmd =
        "localedef -i tr_TR -f UTF-8 '" + folder_ + "/tr_TR.UTF-8' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) return;
    ::setenv("LOCPATH", folder_.c_str(), 1);
    active_ = std::setlocale(LC_ALL, "tr_TR.UTF-8") != nullptr;
  }
  ~TurkishLocale() {
    std::setlocale(LC_ALL, old_.c_str());
    if (hadLocPath_)
      ::setenv("LOCPATH", oldLocPath_.c_str(), 1);
    else
      ::unsetenv("LOCPATH");
    if (!folder_.empty()) {
      std::error_code ec;
      std::filesystem::remove_all(folder_, ec);
    }
  }
  TurkishLocale(const TurkishLocale&) = delete;
  TurkishLocale& operator=(const TurkishLocale&) = delete;

  // True when the locale is in force (false only where localedef or its sources are missing).
  bool Active() const { return active_; }

 private:
  std::string old_;
  std::string oldLocPath_;
  bool hadLocPath_ = false;
  std::string folder_;
  bool active_ = false;
};

}  // namespace testsupport
