#pragma once
// Why a settings file could not be read or written, told in one line that names the path and
// says what the user can do about it.
#include <string>

#include "platform/core/error.h"

namespace platform {

struct FileFailure {
  enum class Where {
    File,     // the file itself refused (no access, a folder in its place, a read-only disk)
    Folder,   // its folder takes no new file (or does not exist)
    Private,  // the file could not be made readable by its owner alone
  };
  Where where = Where::File;
  std::string path;  // the full path of the file, or of its folder
  int error = 0;     // the system's error number; 0 when none is known
};

// The full path of a file name as the program uses it (a bare name is in the current folder).
std::string FullPath(const std::string& name);

// The file's failure at opening it as `name` was opened, with its full path. `error` is the
// error number of the open; a file that is no regular file gives EISDIR or ENODEV.
FileFailure FailureOfFile(const std::string& name, int error);

// Where a missing file could not be created: its folder and why, or nothing (error 0) when
// the folder takes new files.
FileFailure FolderFailure(const std::string& name);

// One line (no line break) naming the path, the reason in plain words and the remedy, in
// Windows-1252 as message boxes show it.
std::string FileFailureLine(const FileFailure& failure);

// A settings file's error raised once the file was open (`what`, e.g. "Read beyond end of
// file" or "Disk full"), as the box shows it: that text with its full stop, then a line naming
// the file's full path and what the user can do.
std::string WithFileLine(const std::string& what, const std::string& name, bool reading);

// Runs `io`, a read or a save of the settings file `name`; an Error it raises once the file
// was open comes back with the file's line (WithFileLine), so the box says which file.
template <class F>
auto NamingFile(const std::string& name, bool reading, F&& io) -> decltype(io()) {
  try {
    return io();
  } catch (const Error& e) {
    throw Error(WithFileLine(e.what(), name, reading));
  }
}

// What a settings file's access error at start adds: nothing for a first start (no file, in
// a folder that takes new files), else the line of the file's or its folder's failure.
std::string StartFailureLine(const std::string& name, const FileFailure& failure);

}  // namespace platform
