// Windows-1252 texts.
#include <gtest/gtest.h>

#include <QString>
#include <string>

#include "platform/core/cp1252.h"

namespace {

TEST(Cp1252, EveryByteRoundTrips) {
  std::string all;
  for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
  const QString text = platform::FromCp1252(all);
  EXPECT_EQ(text.size(), 256);
  EXPECT_EQ(platform::ToCp1252(text), all);
}

TEST(Cp1252, EuroAndOtherSpecialCharacters) {
  EXPECT_EQ(platform::FromCp1252("\x80"), QString(QChar(0x20AC)));
  EXPECT_EQ(platform::ToCp1252(QString(QChar(0x20AC))), "\x80");
  EXPECT_EQ(platform::FromCp1252("\xE4\xF6\xFC\xDF"), QString::fromUtf8("äöüß"));
  EXPECT_EQ(platform::ToCp1252(QString::fromUtf8("Grüße €5")),
            "Gr\xFC\xDF"
            "e \x80"
            "5");
  // Characters the code page lacks become '?', one per character (a pair counts as one).
  EXPECT_EQ(platform::ToCp1252(QString::fromUtf8("a\u4E2Db")), "a?b");
}

}  // namespace
