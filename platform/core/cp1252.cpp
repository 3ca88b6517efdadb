#include "platform/core/cp1252.h"

#include <array>

namespace platform {
namespace {
// 0x80..0x9F of Windows-1252; 0 marks the five codes it leaves undefined (kept as C1 controls).
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

QString FromCp1252(const std::string& bytes) {
  QString out;
  out.reserve(static_cast<qsizetype>(bytes.size()));
  for (unsigned char c : bytes) {
    if (c >= 0x80 && c <= 0x9F && kHigh[c - 0x80] != 0)
      out.append(QChar(kHigh[c - 0x80]));
    else
      out.append(QChar(static_cast<char16_t>(c)));
  }
  return out;
}

std::string ToCp1252(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (QChar ch : text) {
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      out.push_back(static_cast<char>(u));
      continue;
    }
    char mapped = '?';
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
      if (kHigh[i] == u && u != 0) mapped = static_cast<char>(0x80 + i);
    }
    if (u >= 0x80 && u <= 0x9F) {
      const std::size_t i = u - 0x80;
      if (kHigh[i] == 0) mapped = static_cast<char>(u);  // undefined codes round-trip
    }
    out.push_back(mapped);
  }
  return out;
}

}  // namespace platform
