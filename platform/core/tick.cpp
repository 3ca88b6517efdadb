#include "platform/core/tick.h"

#include <chrono>

namespace platform {
namespace {
std::function<std::uint32_t()>& Source() {
  static std::function<std::uint32_t()> source;
  return source;
}
}  // namespace

std::uint32_t TickCount() {
  if (auto& s = Source()) return s();
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

void SetTickSource(std::function<std::uint32_t()> source) { Source() = std::move(source); }

}  // namespace platform
