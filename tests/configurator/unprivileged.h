#pragma once
// Runs a piece of a test as an ordinary user, so that file modes count even when the suite
// runs as root (root may write a read-only file). Only the effective user changes, and it is
// changed back afterwards.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <exception>
#include <stdexcept>
#include <utility>

namespace cfgtest {

inline constexpr uid_t kNobody = 65534;

// Lets an ordinary user reach and read the files of `folder` (and no more than that).
inline void OpenFolderForOthers(const std::filesystem::path& folder) {
  ::chmod(folder.c_str(), 0755);
}

template <class F>
decltype(auto) AsOrdinaryUser(F&& f) {
  const uid_t was = ::geteuid();
  if (was != 0) return std::forward<F>(f)();
  if (::seteuid(kNobody) != 0) throw std::runtime_error("seteuid failed");
  struct Back {
    uid_t to;
    ~Back() {
      if (::seteuid(to) != 0) std::terminate();
    }
  } back{was};
  return std::forward<F>(f)();
}

}  // namespace cfgtest
