#include "platform/core/devicepath.h"

#include <cstdlib>
#include <filesystem>

#include "platform/core/ascii.h"

namespace platform {

std::string PortFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home ? home : "") + "/.config";
  }
  return base + "/tk5063/ports";
}

namespace {
// The port number of "\\.\COMn" or "COMn", or 0 when the name is no such path.
int ComNumber(const std::string& name) {
  std::string rest = name;
  if (rest.rfind("\\\\.\\", 0) == 0) rest = rest.substr(4);
  if (rest.size() < 4) return 0;
  if (!AsciiEqualNoCase(std::string_view(rest).substr(0, 3), "COM")) return 0;
  int n = 0;
  for (std::size_t i = 3; i < rest.size(); ++i) {
    if (rest[i] < '0' || rest[i] > '9') return 0;
    n = n * 10 + (rest[i] - '0');
    if (n > 9999) return 0;
  }
  return n;
}
}  // namespace

std::string ResolveDevicePath(const std::string& name) {
  const int n = ComNumber(name);
  if (n < 1) return name;
  const std::string link = PortFolder() + "/com" + std::to_string(n);
  std::error_code ec;
  if (std::filesystem::is_symlink(link, ec) || std::filesystem::exists(link, ec)) return link;
  return "/dev/ttyS" + std::to_string(n - 1);
}

}  // namespace platform
