// The merge through the window's Merge button on a temporary folder.
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

#include "form_fixture.h"
#include "monitor/csvgrid.h"
#include "monitor/folderlists.h"

namespace monitor_test {
namespace {

std::string Rec(char day, int i) {
  std::string r = "0" + std::string(1, day) + ".03.2009,0" + std::to_string(i) +
                  ":00:00,+001.0,000001,+002.0,10.0,20.0,30.0,40.0,50.0,60.0,70.0,80.0";
  for (int k = 0; k < 20; ++k) r += ",0";
  return r + ",000";
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(FormTest, MergeJoinsTheDaysWritesTheMergedFileAndShowsIt) {
  Write("090301.csv", "head\r\n" + Rec('1', 1) + "\r\n" + Rec('1', 2) + "\r\n");
  Write("090302a.csv", Rec('2', 1) + "\r\n");
  Write("090302b.csv", Rec('2', 2) + "\r\n");
  Write("0903021.txt", Rec('2', 3) + "\r\n");
  Write("090304.csv", Rec('4', 1) + "\r\n");  // after the range
  auto& f = Form();
  f.DateTimePicker1->setDate(QDate(2009, 3, 1));
  f.DateTimePicker2->setDate(QDate(2009, 3, 3));
  f.RunButton->click();

  EXPECT_TRUE(messages.empty()) << messages.front().text;
  const std::string merged = ReadAll(Path("-090301-090303.csv"));
  EXPECT_EQ(merged, "head\r" + Rec('1', 1) + "\r" + Rec('1', 2) + "\r" + Rec('2', 1) + "\r" +
                        Rec('2', 2) + "\r");
  EXPECT_EQ(f.vFileName->text(), "-090301-090303.csv");
  EXPECT_EQ(f.Grid()->RowCount(), 1 + 4);  // the short line is not a record
  EXPECT_EQ(f.Grid()->cell(1, 3), "02.03.2009");
  EXPECT_EQ(f.FileListBox1->Mask(), "*.csv");
  EXPECT_TRUE(f.FileListBox1->Names().contains("090304.csv"));
  EXPECT_EQ(f.FileListBox8->Names(), QStringList{"-090301-090303.csv"});
  EXPECT_EQ(f.LocalFiles1cnt->text(), "5");
}

TEST_F(FormTest, MergeOfAReversedRangeSearchesTheFromDayOnly) {
  Write("090320.csv", Rec('2', 1) + "\r\n");
  Write("090315.csv", Rec('1', 1) + "\r\n");
  auto& f = Form();
  f.DateTimePicker1->setDate(QDate(2009, 3, 20));
  f.DateTimePicker2->setDate(QDate(2009, 3, 10));
  f.RunButton->click();
  EXPECT_EQ(ReadAll(Path("-090320-090310.csv")), Rec('2', 1) + "\r");
}

TEST_F(FormTest, MergeRefusesTwoMonthsAndEmptyPeriods) {
  Write("090301.csv", Rec('1', 1) + "\r\n");
  auto& f = Form();
  f.DateTimePicker1->setDate(QDate(2009, 3, 1));
  f.DateTimePicker2->setDate(QDate(2009, 4, 2));
  f.RunButton->click();
  f.DateTimePicker1->setDate(QDate(2009, 5, 1));
  f.DateTimePicker2->setDate(QDate(2009, 5, 9));
  f.RunButton->click();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Enable only in one month array",
                                               "no csv-files in selected period"}));
  EXPECT_EQ(messages[0].icon, platform::Icon::None);
  EXPECT_EQ(f.FileListBox1->Mask(), "*.csv");
  EXPECT_EQ(f.FileListBox8->count(), 0);
  EXPECT_TRUE(f.vFileName->text().isEmpty());
}

TEST_F(FormTest, AMergeBeyondTheBufferKeepsTheFirst16383LinesAndSaysSo) {
  std::string day1, day2;
  for (int i = 0; i < 9000; ++i) day1 += Rec('1', i % 10) + "\r\n";
  for (int i = 0; i < 9000; ++i) day2 += Rec('2', i % 10) + "\r\n";
  Write("090301.csv", day1);
  Write("090302.csv", day2);
  Write("090303.csv", Rec('3', 1) + "\r\n");  // found after the buffer is full: not read
  auto& f = Form();
  f.DateTimePicker1->setDate(QDate(2009, 3, 1));
  f.DateTimePicker2->setDate(QDate(2009, 3, 3));
  f.RunButton->click();

  EXPECT_EQ(Texts(), std::vector<std::string>{monitor::kMergeLimitMessage});
  std::string want;
  for (int i = 0; i < 9000; ++i) want += Rec('1', i % 10) + "\r";
  for (int i = 0; i < 16383 - 9000; ++i) want += Rec('2', i % 10) + "\r";
  EXPECT_EQ(ReadAll(Path("-090301-090303.csv")), want);
  EXPECT_EQ(f.MergeLineCount(), monitor::kMergeBufferLines);
  EXPECT_EQ(f.Grid()->RowCount(), 1 + 16383);
  EXPECT_EQ(f.vFileName->text(), "-090301-090303.csv");
}

TEST_F(FormTest, AMergedFileThatCannotBeWrittenIsNotReplacedByAnOlderOne) {
  Write("090301.csv", Rec('1', 1) + "\r\n");
  ASSERT_TRUE(QDir(root_).mkdir("-090301-090301.csv"));  // a folder holds the name
  auto& f = Form();
  f.DateTimePicker1->setDate(QDate(2009, 3, 1));
  f.DateTimePicker2->setDate(QDate(2009, 3, 1));
  f.RunButton->click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Cannot create file -090301-090301.csv.");
  EXPECT_EQ(messages[0].icon, platform::Icon::Stop);
  EXPECT_EQ(f.FileListBox1->Mask(), "*.csv");
}

}  // namespace
}  // namespace monitor_test
