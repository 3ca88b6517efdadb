#pragma once
// Replacing a file so that a failed write never leaves it damaged: the bytes go into a new
// file in the same folder, which is flushed to disk and then renamed over the old one.
#include <string>
#include <string_view>
#include <sys/types.h>

#include "platform/core/filefailure.h"

namespace platform {

struct AtomicWriteOptions {
  mode_t mode = 0666;        // permissions of the new file (the umask applies)
  bool keepOldMode = false;  // a replaced file keeps its permissions and owner instead
};

// Writes `bytes` as the whole content of `path`; a link is followed and its file replaced.
// Returns false, changing nothing, when the file cannot be written: `path` is a folder or
// not a regular file, an existing file at `path` is not writable, or the folder takes no
// new file and there is no old file; `failure`, when given, then says where and why. When
// the folder takes no new file but a writable old file exists, that file is overwritten in
// place and then cut to length; unless it keeps its old mode, it first loses every
// permission that `mode` does not give (a file that others could read becomes its owner's
// alone), and where that can't be done it is left as it was (false). Throws platform::Error
// ("Disk full" or "Disk write error (...)") when writing fails once begun; a replaced file
// then stays as it was and the temporary file is removed.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         AtomicWriteOptions options = {}, FileFailure* failure = nullptr);
inline bool WriteFileAtomically(const std::string& path, std::string_view bytes, mode_t mode,
                                FileFailure* failure = nullptr) {
  return WriteFileAtomically(path, bytes, AtomicWriteOptions{mode, false}, failure);
}

// Removes what interrupted replacements of `path` left behind (a kill during a save): the
// temporary files ".<name>.tmp<pid>_<n>" beside the file (beside the file a link leads to)
// whose process is gone. Files of a live process stay. Meant for a program's start, before
// any save of its own: a file that names this process is then one of an earlier process
// that had the same number, and goes too. Returns how many were removed.
int RemoveStaleTemporaryFiles(const std::string& path);

// Writes every byte to `fd`, again after an interruption; 0, or the error number of the
// failure (ENOSPC when the system takes no byte).
int WriteAll(int fd, std::string_view bytes);

// The message of a failed write: "Disk full" for a full disk or quota, else
// "<what> (<system text>)".
std::string WriteErrorText(const char* what, int error);

}  // namespace platform
