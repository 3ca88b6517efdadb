// The tick counter.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include "platform/core/tick.h"

namespace {

TEST(TickCount, IsTheSteadyClockInMillisecondsCutTo32Bits) {
  using namespace std::chrono;
  const auto before = static_cast<std::uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  const std::uint32_t tick = platform::TickCount();
  const auto after = static_cast<std::uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  // The counter is the low 32 bits, so it wraps after about 49.7 days of uptime.
  EXPECT_LE(static_cast<std::uint32_t>(tick - static_cast<std::uint32_t>(before)),
            static_cast<std::uint32_t>(after - before));
}

TEST(TickCount, SourceCanBeReplacedAndRestored) {
  std::uint32_t fake = 0xFFFFFFF0u;
  platform::SetTickSource([&] { return fake; });
  const std::uint32_t mark = platform::TickCount();
  fake += 0x20;  // wraps past zero
  EXPECT_EQ(platform::TickCount(), 0x10u);
  EXPECT_EQ(platform::TickCount() - mark, 0x20u);  // elapsed time survives the wrap
  platform::SetTickSource({});
  const std::uint32_t a = platform::TickCount();
  usleep(20000);
  const std::uint32_t b = platform::TickCount();
  EXPECT_GE(b - a, 15u);
  EXPECT_LT(b - a, 5000u);
}

}  // namespace
