// Loads that fail part way, seen through the window.
#include "form_fixture.h"
#include "monitor/chartlayer.h"
#include "monitor/csvgrid.h"
#include "monitor/csvrecord.h"

namespace monitor_test {
namespace {

using namespace monitor;

std::string FlaggedRecord() {
  std::string r = "01.03.2009,00:00:00,+025.6,+001.0,+021.0,10.0,05.0,12.7,04.0,03.0,02.0,01.0,00.0";
  for (int i = 0; i < 20; ++i) r += ",0";
  return r + ",00T";
}

// A load starts from a black table holding the header alone: a file that can't be opened
// leaves neither the old file's rows nor its red colour behind the error.
TEST_F(FormTest, AFailedLoadLeavesTheHeaderAloneInBlack) {
  Write("090301.csv", FlaggedRecord() + "\r\n" + FlaggedRecord() + "\r\n");
  auto& f = Form();
  f.LoadCSVFile("090301.csv", ',');
  ASSERT_TRUE(f.Grid()->Red());
  ASSERT_EQ(f.Grid()->RowCount(), 3);

  EXPECT_THROW(f.LoadCSVFile("gone.csv", ','), platform::Error);
  const CsvGrid* g = f.Grid();
  EXPECT_FALSE(g->Red());
  EXPECT_EQ(g->RowCount(), 1);
  EXPECT_EQ(g->ColCount(), 35);
  EXPECT_EQ(g->cell(1, 0), "Date");
  EXPECT_EQ(g->cell(1, 1), "");
  EXPECT_EQ(f.SeriesById(kSeries1)->Count(), 0);
}

}  // namespace
}  // namespace monitor_test
