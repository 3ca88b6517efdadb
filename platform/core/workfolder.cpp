#include "platform/core/workfolder.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace platform {

bool HasWorkFolderOption(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i)
    if (argv[i] && std::strcmp(argv[i], kWorkFolderOption) == 0) return true;
  return false;
}

std::string WorkFolder(const std::string& home) { return (fs::path(home) / "TK5063").string(); }

std::string EnterWorkFolder(const std::string& folder) {
  std::error_code ec;
  const fs::file_status status = fs::status(folder, ec);
  if (fs::exists(status) && !fs::is_directory(status)) return "a file of that name is in the way";
  if (!fs::exists(status)) {
    fs::create_directories(folder, ec);
    if (ec) return ec.message();
  }
  if (::chdir(folder.c_str()) != 0) return std::strerror(errno);
  return {};
}

}  // namespace platform
