// ASCII-only case folding of protocol words, whatever the locale.
#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <string>

#include "platform/core/ascii.h"
#include "support/turkishlocale.h"

namespace {

TEST(Ascii, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(platform::AsciiUpper("binary mode 09 z@[`{"), "BINARY MODE 09 Z@[`{");
  // Windows-1252 and UTF-8 bytes above 127 stay as they are.
  EXPECT_EQ(platform::AsciiUpper("\xe4\xc3\xa4i"), "\xe4\xc3\xa4I");
  EXPECT_EQ(platform::AsciiLower('I'), 'i');
  EXPECT_TRUE(platform::AsciiEqualNoCase("Com", "COM"));
  EXPECT_TRUE(platform::AsciiEqualNoCase("bInArY", "BINARY"));
  EXPECT_FALSE(platform::AsciiEqualNoCase("COM1", "COM"));
  EXPECT_FALSE(platform::AsciiEqualNoCase("\xe4", "\xc4"));  // no folding beyond ASCII
}

// Where the C library folds 'i' to something else than 'I', the protocol words still match.
TEST(Ascii, ATurkishLocaleChangesNothing) {
  testsupport::TurkishLocale turkish;
  if (!turkish.Active()) GTEST_SKIP() << "no Turkish locale on this machine (localedef missing)";
  ASSERT_NE(std::toupper('i'), 'I');  // the fold that the protocol words must not follow
  EXPECT_EQ(platform::AsciiUpper("binary"), "BINARY");
  EXPECT_TRUE(platform::AsciiEqualNoCase("com", "COM"));
}

}  // namespace
