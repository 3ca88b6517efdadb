// Table and chart prints on the recording canvas and on PDF files, and the errors of a
// missing printer.
#include "monitor/printing.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>
#include <stdexcept>
#include <string>

#include "form_fixture.h"
#include "monitor/chartlayer.h"
#include "platform/messagebox.h"
#include "platform/textprinter.h"

namespace {

using platform::PrintedText;
using platform::TextPrinter;

std::string Cell(int col, int row) { return "r" + std::to_string(row) + "c" + std::to_string(col); }

struct PdfFacts {
  int pages = 0;
  double width = 0, height = 0;  // of the first page's MediaBox
  QByteArray bytes;
};

PdfFacts ReadPdf(const QString& path) {
  PdfFacts f;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return f;
  f.bytes = file.readAll();
  const QString text = QString::fromLatin1(f.bytes);
  f.pages = static_cast<int>(text.count(QRegularExpression("/Type\\s*/Page(?![s\\w])")));
  const QRegularExpressionMatch m =
      QRegularExpression(
          "/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s*\\]")
          .match(text);
  if (m.hasMatch()) {
    f.width = m.captured(3).toDouble() - m.captured(1).toDouble();
    f.height = m.captured(4).toDouble() - m.captured(2).toDouble();
  }
  return f;
}

// The job title as the PDF's information dictionary holds it (UTF-16 big-endian).
bool HasTitle(const PdfFacts& f, const std::string& title) {
  QByteArray utf16("\xfe\xff", 2);
  for (char c : title) {
    utf16.append('\0');
    utf16.append(c);
  }
  return f.bytes.contains(utf16) || f.bytes.contains(QByteArray::fromStdString(title));
}

struct ChartPrint : ::testing::Test {
  monitor::Chart chart{"ChannelChartT1"};
  void SetUp() override {
    chart.SetTitleLine("Temperature");
    chart.SetMinimumFixed(-45);
    chart.SetMaximumFixed(145);
    chart.resize(1217, 600);
  }
  void AddPoints() {
    monitor::ChartSeries* s = chart.AddSeries("TraceSeries1");
    s->SetTitle("T1");
    std::vector<monitor::PlotPoint> points;
    auto labels = std::make_shared<std::vector<std::string>>();
    for (int i = 0; i < 500; ++i) {
      points.push_back({static_cast<double>(i % 90), monitor::colour::kBlue, i});
      labels->push_back(std::to_string(i + 1));
    }
    s->Assign(monitor::PlotSeries(std::move(points)), std::move(labels));
  }
  void TearDown() override { platform::SetDefaultPrinterHook(nullptr); }
};

TEST(TablePrint, RowsAndColumnsStandAtTheirFixedPlaces) {
  auto printer = TextPrinter::Recorder();
  monitor::PrintTable(*printer, 37, 2, Cell);
  EXPECT_EQ(printer->Title(), "Print from FERN-LOG software");
  EXPECT_FALSE(printer->Printing());

  const std::vector<PrintedText>& out = printer->Recorded();
  ASSERT_EQ(out.size(), 2u * 37u);
  std::map<int, int> rowOfY;
  std::map<std::string, int> x;
  for (const PrintedText& t : out) {
    EXPECT_EQ(t.font, "Currier New");
    EXPECT_EQ(t.size, 8);
    EXPECT_EQ(t.color, QColor(Qt::black));
    EXPECT_EQ(t.page, 0);
    ++rowOfY[t.y];
    x[t.text] = t.x;
  }
  EXPECT_EQ(rowOfY, (std::map<int, int>{{240, 37}, {276, 37}}));
  const std::map<int, int> starts = {{0, 150},   {1, 230},   {2, 374},  {3, 518},   {4, 630},
                                     {5, 742},   {6, 854},   {7, 934},  {14, 1494}, {15, 1542},
                                     {34, 2214}, {35, 2246}, {36, 2294}};
  for (auto [col, want] : starts) {
    EXPECT_EQ(x[Cell(col, 0)], want) << "column " << col;
    EXPECT_EQ(x[Cell(col, 1)], want) << "column " << col;
  }
}

// The widest texts of a logger record and of the header stay clear of the next column.
TEST(TablePrint, CellTextsFitTheirColumns) {
  std::vector<std::string> header = {"16383", "Date", "Time", "T1", "T2", "T3",  "A1", "A2", "A3",
                                     "A4",    "A5",   "A6",   "A7", "A8", "D12", "11", "10", "9",
                                     "8",     "7",    "6",    "5",  "4",  "3",   "2",  "1",  "O8",
                                     "7",     "6",    "5",    "4",  "3",  "2",   "1"};
  std::vector<std::string> record = {"16383",  "31.12.2026", "23:59:59",
                                     "-040.0", "999999",     "+100.0"};
  for (int i = 0; i < 8; ++i) record.push_back("99.9");
  for (int i = 0; i < 20; ++i) record.push_back("1");
  auto printer = TextPrinter::Recorder();
  monitor::PrintTable(*printer, 1, 1, Cell);  // the font stays set after the job
  for (const std::vector<std::string>* row : {&header, &record}) {
    for (std::size_t col = 0; col < row->size(); ++col) {
      EXPECT_LT(printer->TextWidth((*row)[col]), monitor::PrintColumnAdvance(static_cast<int>(col)))
          << (*row)[col] << " in column " << col;
    }
  }
}

TEST(TablePrint, OnePageOnlyWhatLiesAboveItsBottomAndLeftOfItsEdge) {
  struct Case {
    QSize page;
    int lastRow, lastCol;
  };
  for (const Case& c : {Case{QSize(2550, 3300), 84, 2}, Case{QSize(2480, 3508), 90, 2},
                        Case{QSize(900, 3300), 84, 6}}) {
    auto printer = TextPrinter::Recorder(c.page);
    monitor::PrintTable(*printer, c.page.width() < 1000 ? 35 : 3, 500, Cell);
    int maxY = 0, maxX = 0;
    for (const PrintedText& t : printer->Recorded()) {
      maxY = std::max(maxY, t.y);
      maxX = std::max(maxX, t.x);
    }
    EXPECT_EQ(maxY, 240 + 36 * c.lastRow) << c.page.height();
    EXPECT_EQ(printer->Recorded().back().text, Cell(c.lastCol, c.lastRow)) << c.page.width();
    EXPECT_LT(maxX, c.page.width());
  }
}

TEST(TablePrint, EmptyCellsPrintNothingAndAFailureDropsTheJob) {
  QTemporaryDir dir;
  const QString path = dir.filePath("table.pdf");
  auto pdf = TextPrinter::Pdf(path.toStdString());
  monitor::PrintTable(*pdf, 35, 128, [](int col, int row) {
    return row == 0 && col == 0 ? std::string("0") : std::string();
  });
  const PdfFacts facts = ReadPdf(path);
  EXPECT_EQ(facts.pages, 1);
  EXPECT_GT(facts.height, facts.width);  // the printer's own (portrait) orientation

  // A cell that can't be read ends the print: no half document is left behind.
  const QString broken = dir.filePath("broken.pdf");
  auto pdf2 = TextPrinter::Pdf(broken.toStdString());
  EXPECT_THROW(monitor::PrintTable(*pdf2, 3, 10,
                                   [](int col, int row) -> std::string {
                                     if (row == 5) throw platform::Error("cell lost");
                                     return Cell(col, row);
                                   }),
               platform::Error);
  EXPECT_FALSE(pdf2->Printing());
  EXPECT_FALSE(QFile::exists(broken));
}

TEST_F(ChartPrint, ChartPrintsAloneOnOneLandscapePageTitledWithItsName) {
  QTemporaryDir dir;
  chart.show();
  QCoreApplication::processEvents();
  const QSizeF onScreen = chart.chart()->size();
  for (bool withPoints : {false, true}) {  // an empty chart prints too, with its title
    if (withPoints) AddPoints();
    const QString path = dir.filePath(withPoints ? "full.pdf" : "empty.pdf");
    auto pdf = TextPrinter::Pdf(path.toStdString());
    monitor::PrintChart(chart, "ChannelChartT1", *pdf);
    const PdfFacts facts = ReadPdf(path);
    EXPECT_EQ(facts.pages, 1) << withPoints;
    EXPECT_GT(facts.width, facts.height) << withPoints;
    EXPECT_TRUE(HasTitle(facts, "ChannelChartT1")) << withPoints;
  }
  // The chart on screen keeps its size after printing.
  QCoreApplication::processEvents();
  EXPECT_EQ(chart.chart()->size(), onScreen);
}

TEST_F(ChartPrint, DefaultPrinterPrintsTheChartLandscape) {
  QTemporaryDir dir;
  const QString path = dir.filePath("default.pdf");
  platform::SetDefaultPrinterHook([&] { return TextPrinter::Pdf(path.toStdString()); });
  AddPoints();
  monitor::PrintChart(chart, "ChannelChartT1");
  const PdfFacts facts = ReadPdf(path);
  EXPECT_EQ(facts.pages, 1);
  EXPECT_GT(facts.width, facts.height);
}

TEST_F(ChartPrint, NoDefaultPrinterRaisesTheErrorAndPrintsNothing) {
  platform::SetDefaultPrinterHook([] { return std::unique_ptr<TextPrinter>(); });
  for (int which = 0; which < 2; ++which) {
    try {
      if (which == 0) {
        monitor::PrintTable(3, 2, Cell);
      } else {
        monitor::PrintChart(chart, "ChannelChartT1");
      }
      ADD_FAILURE() << "no error raised by print " << which;
    } catch (const platform::Error& e) {
      EXPECT_STREQ(e.what(), "There is no default printer currently selected");
    }
  }
}

TEST(TextPrinter, PdfThatCannotBeWrittenIsAnError) {
  auto pdf = TextPrinter::Pdf("/nonexistent-folder/x/table.pdf");
  EXPECT_THROW(monitor::PrintTable(*pdf, 3, 2, Cell), platform::Error);
  EXPECT_FALSE(pdf->Printing());
}

}  // namespace

// The print menu items and the chart print buttons.
namespace monitor_test {
namespace {

class PrintTest : public FormTest {
 protected:
  void TearDown() override {
    platform::SetDefaultPrinterHook({});
    FormTest::TearDown();
  }
};

TEST_F(PrintTest, WithoutADefaultPrinterEveryPrintShowsTheError) {
  platform::SetDefaultPrinterHook([] { return std::unique_ptr<platform::TextPrinter>(); });
  auto& f = Form();
  f.Print2->trigger();
  f.Print1->trigger();
  std::vector<QPushButton*> buttons{f.PrintTButton, f.PrintC1Button, f.PrintC2Button};
  for (int n = 1; n <= 8; ++n) buttons.push_back(f.PrintAButton[n]);
  for (QPushButton* b : buttons) b->click();
  ASSERT_EQ(messages.size(), 2u + 11u);
  for (const auto& m : messages) {
    EXPECT_EQ(m.text, "There is no default printer currently selected.");
    EXPECT_EQ(m.icon, platform::Icon::Stop);
  }
}

TEST_F(PrintTest, TheTablePrintAndAChartPrintEachHandAJobToThePrinter) {
  std::string target;
  platform::SetDefaultPrinterHook([&] { return platform::TextPrinter::Pdf(Path(target)); });
  auto& f = Form();
  f.LoadCSVFile(std::string(TK_SAMPLES_DIR) + "/261201.csv", ',');
  target = "table.pdf";
  f.Print2->trigger();
  target = "chart.pdf";
  f.PrintAButton[4]->click();
  EXPECT_TRUE(messages.empty()) << messages.front().text;
  EXPECT_GT(QFileInfo(QString::fromStdString(Path("table.pdf"))).size(), 0);
  EXPECT_GT(QFileInfo(QString::fromStdString(Path("chart.pdf"))).size(), 0);
}

TEST_F(PrintTest, EachPrintButtonPrintsItsOwnChartTitledWithItsName) {
  std::string target;
  platform::SetDefaultPrinterHook([&] { return platform::TextPrinter::Pdf(Path(target)); });
  auto& f = Form();
  std::vector<std::pair<QPushButton*, std::string>> cases{{f.PrintTButton, "ChannelChartT1"},
                                                          {f.PrintC1Button, "ChannelChartC1"},
                                                          {f.PrintC2Button, "ChannelChartC2"}};
  for (int n = 1; n <= 8; ++n)
    cases.emplace_back(f.PrintAButton[n], "ChannelChartA" + std::to_string(n));
  for (const auto& [button, job] : cases) {
    target = job + ".pdf";
    button->click();
    const PdfFacts facts = ReadPdf(QString::fromStdString(Path(target)));
    EXPECT_EQ(facts.pages, 1) << job;
    EXPECT_GT(facts.width, facts.height) << job;
    EXPECT_TRUE(HasTitle(facts, job)) << job;
  }
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace monitor_test
