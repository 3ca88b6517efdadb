// Fixed texts of the settings records.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/core/fixedtext.h"

namespace {

TEST(FixedText, CutsToCapacityAndStoresInPlace) {
  platform::FixedText<5> f;
  f.set("abcdefgh");
  EXPECT_EQ(f.get(), "abcde");
  unsigned char rec[6];
  f.store(rec);
  EXPECT_EQ(rec[0], 5);
  f.set("xy");
  EXPECT_EQ(f.get(), "xy");
  platform::FixedText<5> g;
  g.load(rec);
  EXPECT_EQ(g.get(), "abcde");
}

TEST(FixedText, DamagedLengthByteStaysInsideTheField) {
  // Field of 4 at offset 1, a sentinel byte after it; length bytes 4..255 read 4 characters.
  for (int len : {4, 5, 200, 255}) {
    SCOPED_TRACE(len);
    unsigned char rec[] = {'#', static_cast<unsigned char>(len), 'a', 'b', 'c', 'd', 'X'};
    EXPECT_EQ(platform::ReadFixedText(rec, 1, 4), "abcd");
    platform::FixedText<4> f;
    f.load(rec + 1);
    EXPECT_EQ(f.get(), "abcd");
  }
  unsigned char rec[] = {0, 9, 'p', 'q', 'r', 's', 'X'};
  platform::WriteFixedText(rec, 0, 4, "longer text");
  EXPECT_EQ(rec[0], 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(rec + 1), 4), "long");
  EXPECT_EQ(rec[5], 's');  // the byte after the field is untouched
  platform::WriteFixedText(rec, 0, 4, "z");
  EXPECT_EQ(platform::ReadFixedText(rec, 0, 4), "z");
}

}  // namespace
