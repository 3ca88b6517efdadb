#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// A fixed-capacity text field of a settings record: one length byte, then room for N
// characters (N + 1 bytes in all). Longer texts are cut to N. A stored length byte above N
// (a damaged file) reads as N characters, never beyond the field.
template <std::size_t N>
struct FixedText {
  static_assert(N >= 1 && N <= 255, "a length byte holds at most 255");
  static constexpr std::size_t kCapacity = N;
  static constexpr std::size_t kSize = N + 1;

  std::uint8_t length = 0;
  char chars[N] = {};

  std::string get() const { return std::string(chars, std::min<std::size_t>(length, N)); }
  void set(const std::string& text) {
    const std::size_t n = std::min(text.size(), N);
    std::fill(chars, chars + N, '\0');
    std::copy_n(text.data(), n, chars);
    length = static_cast<std::uint8_t>(n);
  }

  // The field's bytes as they lie in a record.
  void store(unsigned char* out) const {
    out[0] = length;
    std::copy_n(chars, N, reinterpret_cast<char*>(out + 1));
  }
  void load(const unsigned char* in) {
    length = in[0];
    std::copy_n(reinterpret_cast<const char*>(in + 1), N, chars);
  }
};

// Reads a fixed-capacity text at `offset` of a record of bytes (capacity n).
inline std::string ReadFixedText(const unsigned char* record, std::size_t offset, std::size_t n) {
  const std::size_t len = std::min<std::size_t>(record[offset], n);
  return std::string(reinterpret_cast<const char*>(record + offset + 1), len);
}
// Writes a text into a fixed-capacity field at `offset` (capacity n), cut to n; the rest of the
// field is left as it was, as a record written in place keeps it.
inline void WriteFixedText(unsigned char* record, std::size_t offset, std::size_t n,
                           const std::string& text) {
  const std::size_t len = std::min(text.size(), n);
  record[offset] = static_cast<unsigned char>(len);
  std::copy_n(text.data(), len, reinterpret_cast<char*>(record + offset + 1));
}

}  // namespace platform
