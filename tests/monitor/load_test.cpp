// Loading a CSV file through the window: table cells and colour, series points read with
// the window's levels, multipliers and label mode, titles, beeps, and the Refresh buttons.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

#include "form_fixture.h"
#include "monitor/chartlayer.h"
#include "monitor/csvgrid.h"
#include "monitor/core/load.h"
#include "monitor/folderlists.h"

namespace monitor_test {
namespace {

using namespace monitor;

// One logger record of 34 fields.
std::string Record(const std::string& time, const std::string& t1, const std::string& t2,
                   const std::string& a3, const std::string& status) {
  std::string r = "01.03.2009," + time + "," + t1 + "," + t2 + ",+021.0,10.0,05.0," + a3 +
                  ",04.0,03.0,02.0,01.0,00.0";
  for (int i = 0; i < 20; ++i) r += ",0";
  return r + "," + status;
}

std::string SmallFile() {
  return "TK5063GM data logger\r\n\r\n" + Record("00:00:00", "+025.6", "+001.0", "12.7", "000") +
         "\r\n" + Record("00:15:00", "-050.0", "000123", "12.7", "00T") + "\r\n" +
         "short line\r\n" + Record("00:30:00", "+025.5", "+002.0", "12.7", "000") + "\r\n";
}

void Choose(FileListBox* list, const QString& name) {
  list->Update();
  list->clearSelection();
  const auto found = list->findItems(name, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << name.toStdString();
  found.front()->setSelected(true);
}

std::vector<double> Values(const ChartSeries* s) {
  std::vector<double> v;
  for (const PlotPoint p : s->Points()) v.push_back(p.value);
  return v;
}

TEST_F(FormTest, LoadFillsTheTableAndTheSeriesWithTheWindowsSettings) {
  Write("090301.csv", SmallFile());
  auto& f = Form();
  f.ScrollBar1->setValue(25);  // T level
  f.ScrollBar2->setValue(11);  // A level
  f.ScrollBarA[3]->setValue(2);
  f.ScrollBarA0[3]->setValue(500);
  Choose(f.FileListBox1, "090301.csv");
  f.FileListBox1DblClick();

  EXPECT_EQ(f.vFileName->text().toStdString(), Path("090301.csv"));
  const CsvGrid* g = f.Grid();
  EXPECT_EQ(g->RowCount(), 4);  // header and three records
  EXPECT_EQ(g->ColCount(), 35);
  EXPECT_EQ(g->cell(0, 0), "0");
  EXPECT_EQ(g->cell(1, 0), "Date");
  EXPECT_EQ(g->cell(34, 0), "Status");
  EXPECT_EQ(g->cell(0, 2), "2");
  EXPECT_EQ(g->cell(3, 2), "-050.0");
  EXPECT_EQ(g->cell(34, 2), "00T");
  EXPECT_TRUE(g->Red());
  // Row 0 and column 0 stay in sight as the view's headers.
  const QAbstractItemModel* view = f.StringGrid1->model();
  EXPECT_EQ(view->headerData(0, Qt::Horizontal).toString(), "Date");
  EXPECT_EQ(view->headerData(1, Qt::Vertical).toString(), "2");
  EXPECT_EQ(view->index(1, 2).data().toString(), "-050.0");
  EXPECT_EQ(f.StringGrid1->columnWidth(0), 52);
  EXPECT_EQ(f.StringGrid1->columnWidth(33), 48);

  EXPECT_EQ(Values(f.SeriesById(kSeries1)), (std::vector<double>{25.6, -50.0, 25.5}));
  EXPECT_EQ(Values(f.SeriesById(kSeries2)), (std::vector<double>{1.0, 2.0}));
  EXPECT_EQ(Values(f.SeriesById(kTraceSeries14)), std::vector<double>{123});
  EXPECT_EQ(Values(f.SeriesById(kLineSeries1)), std::vector<double>{133});
  EXPECT_EQ(Values(f.SeriesById(kSeries4)), (std::vector<double>{25, 25, 25}));
  EXPECT_EQ(Values(f.SeriesById(kTraceSeries13)), (std::vector<double>{11, 11, 11}));
  EXPECT_EQ(Values(f.SeriesById(kSeries7)), (std::vector<double>{12.7, 12.7, 12.7}));
  const auto scaled = Values(f.SeriesById(kTraceSeries7));
  ASSERT_EQ(scaled.size(), 3u);
  EXPECT_DOUBLE_EQ(scaled[0], 12.7 * 2.5);
  EXPECT_NEAR(f.SeriesById(kSeries16)->Points().value(0), 35.925, 1e-9);
  EXPECT_EQ(f.SeriesById(kTraceSeries1)->Label(2), "3");
  // +025.6 reads above the T level of 25; each A3 of 12 is above the A level of 11.
  EXPECT_EQ(beeps, 1 + 3);

  // Series titles and the legends as the charts show them.
  EXPECT_EQ(f.SeriesById(kSeries1)->Title(), "T1");
  EXPECT_EQ(f.SeriesById(kTraceSeries15)->Title(), "C2");
  EXPECT_EQ(f.Charts[monitor::kChannelChartC1]->LegendTitles(), std::vector<std::string>{"C1"});
  EXPECT_EQ(f.Charts[monitor::ChannelChartA(1)]->LegendTitles(), std::vector<std::string>{"A1"});
  EXPECT_EQ(f.Charts[monitor::kChart1]->TitleText(), "Temperature");
  EXPECT_EQ(f.Charts[monitor::kChart2]->TitleText(), "Analog");
}

TEST_F(FormTest, XmodeLabelsThePointsWithDateAndTime) {
  Write("090301.csv", SmallFile());
  auto& f = Form();
  f.Xmode->setChecked(true);
  f.LoadCSVFile("090301.csv", ',');
  EXPECT_EQ(f.SeriesById(kSeries1)->Label(1), "01.03.2009,00:15:00");
  EXPECT_EQ(f.SeriesById(kSeries4)->Label(1), "01.03.2009,00:15:00");
}

TEST_F(FormTest, LoadingTheSampleFilesShowsEveryDay) {
  const std::string samples = TK_SAMPLES_DIR;
  auto& f = Form();
  f.LoadCSVFile(samples + "/261201.csv", ',');
  const int records = f.Grid()->RowCount() - 1;
  ASSERT_GT(records, 50);
  EXPECT_FALSE(f.Grid()->Red());  // the first day has no flagged record
  for (int id : {kSeries1, kSeries3, kSeries4, kSeries5, kSeries12, kTraceSeries1, kTraceSeries12,
                 kSeries21, kTraceSeries14, kLineSeries1})
    EXPECT_EQ(f.SeriesById(id)->Count(), records) << SeriesInfoOf(id).name;
  EXPECT_EQ(f.SeriesById(kSeries2)->Count(), 0);  // T2 holds a counter

  // The merged file of all four days replaces the first load, flagged records and all.
  f.LoadCSVFile(samples + "/-261201-261204.csv", ',');
  EXPECT_GT(f.Grid()->RowCount() - 1, 3 * records);
  EXPECT_EQ(f.SeriesById(kSeries1)->Count(), f.Grid()->RowCount() - 1);
  EXPECT_TRUE(f.Grid()->Red());
}

TEST_F(FormTest, AFileThatCannotBeOpenedRaisesAndLeavesTheSeriesEmpty) {
  Write("090301.csv", SmallFile());
  auto& f = Form();
  f.LoadCSVFile("090301.csv", ',');
  ASSERT_EQ(f.SeriesById(kSeries1)->Count(), 3);
  try {
    f.LoadCSVFile("gone.csv", ',');
    FAIL() << "no error";
  } catch (const platform::Error& e) {
    EXPECT_STREQ(e.what(), "File not found");
  }
  EXPECT_EQ(f.SeriesById(kSeries1)->Count(), 0);
  f.LoadCSVFile("", ',');  // an empty name does nothing
}

TEST_F(FormTest, RefreshReloadsTheSelectedMergedFileWithTheNewMultiplier) {
  Write("090301.csv", SmallFile());
  Write("-090301-090301.csv", Record("00:00:00", "+001.0", "+001.0", "12.7", "000") + "\r");
  auto& f = Form();
  f.LoadCSVFile("090301.csv", ',');
  ASSERT_EQ(f.SeriesById(kTraceSeries7)->Count(), 3);

  f.ScrollBarA[3]->setValue(0);
  f.ScrollBarA0[3]->setValue(0);
  Choose(f.FileListBox8, "-090301-090301.csv");
  f.RefreshAButton[3]->click();
  EXPECT_EQ(f.vFileName->text().toStdString(), Path("-090301-090301.csv"));
  EXPECT_EQ(Values(f.SeriesById(kTraceSeries7)), std::vector<double>{0});
  EXPECT_EQ(Values(f.SeriesById(kSeries16)), std::vector<double>{1});

  // Nothing selected: the label empties and nothing is loaded.
  f.FileListBox8->clearSelection();
  f.RefreshAButton[1]->click();
  EXPECT_TRUE(f.vFileName->text().isEmpty());
  EXPECT_EQ(f.SeriesById(kTraceSeries7)->Count(), 1);
}

TEST_F(FormTest, ADoubleClickOnAMissingFileShowsTheErrorBox) {
  Write("090301.csv", SmallFile());
  auto& f = Form();
  Choose(f.FileListBox1, "090301.csv");
  QFile::remove(QString::fromStdString(Path("090301.csv")));
  emit f.FileListBox1->itemDoubleClicked(f.FileListBox1->selectedItems().front());
  ASSERT_EQ(Texts(), std::vector<std::string>{"File not found."});
  EXPECT_EQ(messages[0].icon, platform::Icon::Stop);
}

std::string FlaggedRecord() {
  std::string r =
      "01.03.2009,00:00:00,+025.6,+001.0,+021.0,10.0,05.0,12.7,04.0,03.0,02.0,01.0,00.0";
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

// A file past the largest a load can hold is refused by its size, before anything of it is
// read: the error box names the reason and the table is back to its header.
TEST_F(FormTest, AFileTooLargeToLoadIsRefusedByItsSize) {
  Write("090301.csv", FlaggedRecord() + "\r\n");
  {
    QFile big(QString::fromStdString(Path("090302.csv")));  // sparse: it takes no disk
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(static_cast<qint64>(kMaxLoadBytes) + 1));
  }
  auto& f = Form();
  f.LoadCSVFile("090301.csv", ',');
  Choose(f.FileListBox1, "090302.csv");
  emit f.FileListBox1->itemDoubleClicked(f.FileListBox1->selectedItems().front());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "File too large.");
  EXPECT_FALSE(f.Grid()->Red());
  EXPECT_EQ(f.Grid()->RowCount(), 1);
}

}  // namespace
}  // namespace monitor_test
