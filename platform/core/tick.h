#pragma once
#include <cstdint>
#include <functional>

namespace platform {

// Milliseconds of a steady clock as a 32-bit count that wraps around (like a tick counter).
std::uint32_t TickCount();

// Tests may replace the clock; pass an empty function to restore the real one.
void SetTickSource(std::function<std::uint32_t()> source);

}  // namespace platform
