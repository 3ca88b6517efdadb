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
  // The length byte and the text's first N characters; the room after them keeps what it
  // held, as a record written in place keeps it.
  void put(const std::string& text) {
    const std::size_t n = std::min(text.size(), N);
    std::copy_n(text.data(), n, chars);
    length = static_cast<std::uint8_t>(n);
  }
  // As put, with the room after the text cleared.
  void set(const std::string& text) {
    put(text);
    std::fill(chars + length, chars + N, '\0');
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

}  // namespace platform
