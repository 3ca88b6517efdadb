#include "platform/core/filefailure.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <QString>

#include "platform/core/cp1252.h"

namespace platform {

namespace {
// Paths and the system's texts are the locale's bytes; a box shows Windows-1252.
std::string BoxText(const std::string& local) { return ToCp1252(QString::fromLocal8Bit(local)); }
}  // namespace

std::string FullPath(const std::string& name) {
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(name, ec);
  if (ec) return name;
  std::string path = full.lexically_normal().string();
  if (path.size() > 1 && path.back() == '/') path.pop_back();  // a folder's, as "/tmp/x/."
  return path;
}

FileFailure FailureOfFile(const std::string& name, int error) {
  return FileFailure{FileFailure::Where::File, FullPath(name), error};
}

FileFailure FolderFailure(const std::string& name) {
  std::filesystem::path parent = std::filesystem::path(FullPath(name)).parent_path();
  if (parent.empty()) parent = std::filesystem::path("/");
  const std::string folder = parent.string();
  FileFailure f{FileFailure::Where::Folder, folder, 0};
  if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) f.error = errno;
  return f;
}

namespace {
// The reason and the remedy after the path; `folder` tells that the path is the folder's.
std::string Reason(const FileFailure& f, bool& folder) {
  const bool denied = f.error == EACCES || f.error == EPERM;
  folder = f.where == FileFailure::Where::Folder;
  switch (f.where) {
    case FileFailure::Where::Private:
      if (denied)
        return " can be read by other users and can't be made private, as it belongs to "
               "another user: remove it, or ask its owner to.";
      break;
    case FileFailure::Where::Folder:
      if (denied)
        return " takes no new file (no write permission): start the program in a folder of "
               "your own, or ask the folder's owner for write access.";
      if (f.error == ENOENT || f.error == ENOTDIR) return " does not exist.";
      if (f.error == EROFS) return " is on a read-only disk.";
      break;
    case FileFailure::Where::File:
      if (denied)
        return ": permission denied: give yourself read and write access to the file, or "
               "start the program in a folder of your own.";
      if (f.error == EISDIR || f.error == ENODEV)
        return " is a folder or a device, not a settings file: rename or remove it.";
      if (f.error == EROFS) return " is on a read-only disk.";
      break;
  }
  if (f.error == ENOSPC
#ifdef EDQUOT
      || f.error == EDQUOT
#endif
  )
    return ": the disk is full.";
  std::string text = ": ";
  text += f.error != 0 ? std::strerror(f.error) : "unknown error";
  text += '.';
  return text;
}
}  // namespace

std::string FileFailureLine(const FileFailure& f) {
  bool folder = false;
  const std::string reason = Reason(f, folder);
  std::string line = folder ? "The folder " : "";
  line += f.path;
  line += reason;
  return BoxText(line);
}

std::string WithFileLine(const std::string& what, const std::string& name, bool reading) {
  std::string text = what;
  if (text.empty() || text.back() != '.') text += '.';
  text += "\r\n" + BoxText(FullPath(name));
  text += reading ? " could not be read whole: \"Save Setting\" writes it again."
                  : " was left as it was: make room on its disk, or start the program in a "
                    "folder of your own.";
  return text;
}

std::string StartFailureLine(const std::string& name, const FileFailure& failure) {
  if (failure.where != FileFailure::Where::File || failure.error != ENOENT)
    return FileFailureLine(failure);
  const FileFailure folder = FolderFailure(name);
  return folder.error != 0 ? FileFailureLine(folder) : std::string();
}

}  // namespace platform
