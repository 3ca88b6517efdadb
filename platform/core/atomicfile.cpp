#include "platform/core/atomicfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
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

constexpr int kTempNames = 100;  // temporary names per process: _0 .. _99

// The file that a replacement of `given` replaces: a link keeps pointing at its file, so the
// file it names is the one replaced (a dangling link is replaced itself).
std::string ReplacedPath(const std::string& given) {
  struct stat lst;
  if (::lstat(given.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
    if (char* real = ::realpath(given.c_str(), nullptr)) {
      std::string path = real;
      std::free(real);
      return path;
    }
  }
  return given;
}

// The prefix of the temporary names of a replaced file: ".<name>.tmp".
std::string TempPrefix(const std::string& path) {
  return FolderOf(path) + "." + BaseOf(path) + ".tmp";
}

std::string TempName(const std::string& path, pid_t pid, int n) {
  return TempPrefix(path) + std::to_string(pid) + "_" + std::to_string(n);
}

// A decimal number as std::to_string writes it (no sign, no leading zero), up to `max`.
bool ReadNumber(const std::string& text, long max, long& value) {
  if (text.empty() || text.size() > 10 || (text[0] == '0' && text.size() > 1)) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value <= max;
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

int RemoveStaleTemporaryFiles(const std::string& given) {
  if (given.empty() || given.back() == '/') return 0;
  const std::string path = ReplacedPath(given);
  const std::string folder = FolderOf(path);
  const std::string prefix = TempPrefix(BaseOf(path));
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return 0;
  int removed = 0;
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string rest = name.substr(prefix.size());
    const auto underscore = rest.find('_');
    long pid = 0, n = 0;
    if (underscore == std::string::npos || !ReadNumber(rest.substr(0, underscore), INT_MAX, pid) ||
        pid == 0 || !ReadNumber(rest.substr(underscore + 1), kTempNames - 1, n))
      continue;
    const auto owner = static_cast<pid_t>(pid);
    if (owner != ::getpid() && (::kill(owner, 0) == 0 || errno != ESRCH)) continue;  // alive
    const std::string file = folder + name;
    struct stat st;
    if (::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(file.c_str()) == 0)
      ++removed;
  }
  ::closedir(dir);
  return removed;
}

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
                         AtomicWriteOptions options, FileFailure* failure) {
  auto refuse = [&](FileFailure::Where where, const std::string& at, int error) {
    if (failure) *failure = FileFailure{where, FullPath(at.empty() ? "." : at), error};
    return false;
  };
  if (given.empty() || given.back() == '/') return refuse(FileFailure::Where::File, given, EISDIR);
  const std::string path = ReplacedPath(given);
  struct stat st;
  const bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists) {
    // A folder, pipe or device is no settings file.
    if (!S_ISREG(st.st_mode))
      return refuse(FileFailure::Where::File, path, S_ISDIR(st.st_mode) ? EISDIR : ENODEV);
    // A file we may not overwrite in place is not replaced behind its owner's back.
    const int probe = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (probe < 0) return refuse(FileFailure::Where::File, path, errno);
    ::close(probe);
  }

  // Temporary names: ".<name>.tmp<pid>_<n>" for n = 0..99.
  std::string tmp;
  int fd = -1;
  int createError = 0;
  for (int attempt = 0; attempt < kTempNames && fd < 0; ++attempt) {
    tmp = TempName(path, ::getpid(), attempt);
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, options.mode);
    createError = fd < 0 ? errno : 0;
    if (fd < 0 && errno != EEXIST) break;
  }

  if (fd < 0) {
    if (!exists) return refuse(FileFailure::Where::Folder, FolderOf(path), createError);
    // A folder that takes no new file, holding a file we may write: overwrite it in place
    // without emptying it first, and cut what lies behind the new content afterwards.
    const int f = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (f < 0) return refuse(FileFailure::Where::File, path, errno);
    // The file keeps no permission that a new file would not get (others may not go on
    // reading a password); where it can't lose it, nothing is written.
    const mode_t old = st.st_mode & 07777;
    if (!options.keepOldMode && (old & options.mode) != old &&
        ::fchmod(f, old & options.mode) != 0) {
      const int error = errno;
      ::close(f);
      return refuse(FileFailure::Where::Private, path, error);
    }
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
