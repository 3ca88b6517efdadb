#include "monitor/core/transfers.h"

#include <cstdio>

namespace monitor {

std::string CopyFromDateKey(int year, int month, int day) {
  char key[16];
  std::snprintf(key, sizeof key, "%02d%02d%02d", ((year % 100) + 100) % 100, month % 100,
                day % 100);
  return key;
}

bool ReachesDateKey(std::string_view name, std::string_view key) {
  // char_traits<char> compares as unsigned char, i.e. by code.
  return name.substr(0, 6).compare(key) >= 0;
}

bool SafeLocalName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  // A line break would end the command that names the file.
  return name.find_first_of(std::string_view("/\0\r\n", 4)) == std::string_view::npos;
}

}  // namespace monitor
