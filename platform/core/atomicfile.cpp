#include "platform/core/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/core/error.h"

namespace platform {
namespace {

// The folder part of a path with its trailing '/', empty for a bare name.
std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string BaseOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Makes the rename durable; a failure here loses nothing already written.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Writes all bytes, flushes and closes; 0 or the error number.
int WriteFlushClose(int fd, std::string_view bytes) {
  int err = WriteAll(fd, bytes);
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  return err;
}

}  // namespace

int WriteAll(int fd, std::string_view bytes) {
  std::size_t put = 0;
  while (put < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + put, bytes.size() - put);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : ENOSPC;
    put += static_cast<std::size_t>(n);
  }
  return 0;
}

std::string WriteErrorText(const char* what, int error) {
  if (error == ENOSPC
#ifdef EDQUOT
      || error == EDQUOT
#endif
  )
    return "Disk full";
  return std::string(what) + " (" + std::strerror(error) + ")";
}

bool WriteFileAtomically(const std::string& given, std::string_view bytes,
                         AtomicWriteOptions options) {
  if (given.empty() || given.back() == '/') return false;
  // A link keeps pointing at its file: the file it names is the one replaced.
  std::string path = given;
  struct stat lst;
  if (::lstat(given.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
    if (char* real = ::realpath(given.c_str(), nullptr)) {
      path = real;
      std::free(real);
    }
  }
  struct stat st;
  const bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists) {
    if (!S_ISREG(st.st_mode)) return false;  // a folder, pipe or device is no settings file
    // A file we may not overwrite in place is not replaced behind its owner's back.
    const int probe = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (probe < 0) return false;
    ::close(probe);
  }

  // Temporary names: ".<name>.tmp<pid>_<n>" for n = 0..99.
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tmp = FolderOf(path) + "." + BaseOf(path) + ".tmp" + std::to_string(::getpid()) + "_" +
          std::to_string(attempt);
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, options.mode);
    if (fd < 0 && errno != EEXIST) break;
  }

  if (fd < 0) {
    if (!exists) return false;
    // A folder that takes no new file, holding a file we may write: overwrite it in place
    // without emptying it first, and cut what lies behind the new content afterwards.
    const int f = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (f < 0) return false;
    int err = WriteFlushClose(f, bytes);
    if (err == 0 && ::truncate(path.c_str(), static_cast<off_t>(bytes.size())) != 0) err = errno;
    if (err != 0) throw Error(WriteErrorText("Disk write error", err));
    return true;
  }

  if (exists && options.keepOldMode) {
    ::fchmod(fd, st.st_mode & 07777);
    if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
      // Not ours to give away: the file stays ours, as a new file would be.
    }
  }
  int err = WriteFlushClose(fd, bytes);
  if (err == 0 && ::rename(tmp.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(tmp.c_str());
    throw Error(WriteErrorText("Disk write error", err));
  }
  SyncFolder(FolderOf(path));
  return true;
}

}  // namespace platform
