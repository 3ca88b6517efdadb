#include <gtest/gtest.h>

#include "platform/fixedtext.h"

TEST(FixedText, CutsLongTexts) {
  platform::FixedText<3> f;
  f.set("abcdef");
  EXPECT_EQ(f.get(), "abc");
}
