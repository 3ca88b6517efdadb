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
    platform::FixedText<4> f;
    f.load(rec + 1);
    EXPECT_EQ(f.get(), "abcd");
  }
}

// put keeps the room after the text as it was; set clears it. Neither writes past the field.
TEST(FixedText, PutKeepsTheRoomAfterTheTextSetClearsIt) {
  unsigned char rec[] = {9, 'p', 'q', 'r', 's', 'X'};
  platform::FixedText<4> f;
  f.load(rec);
  f.put("longer text");
  f.store(rec);
  EXPECT_EQ(rec[0], 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(rec + 1), 4), "long");
  EXPECT_EQ(rec[5], 'X');  // the byte after the field is untouched
  f.put("z");
  f.store(rec);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(rec), 5), std::string("\x01zong", 5));
  EXPECT_EQ(f.get(), "z");
  f.set("y");
  f.store(rec);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(rec), 5), std::string("\x01y\0\0\0", 5));
  EXPECT_EQ(rec[5], 'X');
}

}  // namespace
