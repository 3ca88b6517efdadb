#pragma once
// Case folding of protocol words (FTP replies, AT answers, device replies) in ASCII only:
// the C library's toupper and tolower follow the user's locale, where 'i' need not become 'I'.
#include <string>
#include <string_view>

namespace platform {

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

inline std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

// Whether two texts are equal with ASCII letters compared without regard to case.
constexpr bool AsciiEqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

}  // namespace platform
