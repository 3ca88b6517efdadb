// The rules of the copy-from-date key and of the names a transfer may write locally.
#include <gtest/gtest.h>

#include <string>

#include "monitor/core/transfers.h"

namespace monitor_test {
namespace {

// ---- the copy-from-date key and local names ----------------------------------------------

TEST(CopyFromDateKey, IsTheDayAsYYMMDD) {
  EXPECT_EQ(monitor::CopyFromDateKey(2018, 10, 10), "181010");
  EXPECT_EQ(monitor::CopyFromDateKey(2019, 1, 5), "190105");
  EXPECT_EQ(monitor::CopyFromDateKey(2100, 12, 31), "001231");
}

TEST(CopyFromDateKey, NamesThatReachTheKey) {
  const struct {
    const char* name;
    bool reaches;
  } cases[] = {
      {"181010.csv", true},           // the day itself
      {"181010", true},               // exactly six characters
      {"181011_0800.csv", true},      // a later day
      {"190101.csv", true},           // a later year
      {"181009.csv", false},          // the day before
      {"180930.csv", false},          // an earlier month
      {"-181001_181031.csv", false},  // merged files start with '-'
      {"18101.csv", false},           // '.' sorts before the digits
      {"1810", false},                // a leading part of the key is the smaller
      {"", false},
      {"\xE9xport.csv", true},  // compared by code: 0xE9 is above every digit
      {"README.csv", true},     // letters sort after digits
  };
  for (const auto& c : cases)
    EXPECT_EQ(monitor::ReachesDateKey(c.name, "181010"), c.reaches) << c.name;
}

TEST(SafeLocalName, RefusesNamesThatLeaveTheFolder) {
  for (const char* good : {"181010.csv", "a b.csv", "-181001_181031.csv", "..a.csv", "x\\y.csv"})
    EXPECT_TRUE(monitor::SafeLocalName(good)) << good;
  for (const std::string& bad :
       {std::string(), std::string("."), std::string(".."), std::string("../x.csv"),
        std::string("a.csv/../../b"), std::string("/etc/x.csv"), std::string("a\0b.csv", 7)})
    EXPECT_FALSE(monitor::SafeLocalName(bad)) << bad;
}

}  // namespace
}  // namespace monitor_test
