// The chart layer: points handed to Qt, hidden series and automatic limits, fixed limits,
// titles and legend entries. Its arithmetic is tested in core/chartmath_test.cpp.
#include "monitor/chartlayer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <memory>
#include <string>

namespace {

using monitor::Chart;
using monitor::ChartSeries;
using monitor::PlotPoint;
using monitor::PlotSeries;
using Labels = std::vector<std::string>;

constexpr monitor::Rgb kBlack = monitor::colour::kBlack;

// Gives a series the values as a load would: point i carries label i of `labels`.
void Load(ChartSeries* s, const std::vector<double>& ys, std::shared_ptr<const Labels> labels,
          monitor::Rgb colour = kBlack) {
  std::vector<PlotPoint> points;
  for (std::size_t i = 0; i < ys.size(); ++i)
    points.push_back(PlotPoint{ys[i], colour, static_cast<std::int32_t>(i)});
  s->Assign(PlotSeries(std::move(points)), std::move(labels));
}
void Load(ChartSeries* s, const std::vector<double>& ys, monitor::Rgb colour = kBlack) {
  Labels labels;
  for (std::size_t i = 0; i < ys.size(); ++i) labels.push_back(std::to_string(i + 1));
  Load(s, ys, std::make_shared<const Labels>(std::move(labels)), colour);
}

// A chart as the channel pages have it: a drawn trace and a hidden series beside it.
struct ChartLayerChannel : ::testing::Test {
  Chart chart{"ChannelChartC1"};
  ChartSeries* trace = chart.AddSeries("TraceSeries14");
  ChartSeries* hidden = chart.AddSeries("LineSeries1");
  void SetUp() override {
    trace->SetTitle("C1");
    trace->SetSeriesColor(QColor(64, 0, 64));
    hidden->SetTitle(" ");
    hidden->SetHidden();
    chart.SetMinimumFixed(-1);
    chart.SetMaximumAutomatic();
  }
};

TEST_F(ChartLayerChannel, PointsGoToQtAtTheirIndexAndClearEmpties) {
  Load(trace, {5, 7.5, -2}, monitor::colour::kBlue);
  ASSERT_EQ(trace->Count(), 3);
  EXPECT_DOUBLE_EQ(trace->Points().value(1), 7.5);
  EXPECT_EQ(trace->Label(2), "3");

  // Qt gets the points once the event loop runs, X being the index.
  chart.show();
  QCoreApplication::processEvents();
  ASSERT_EQ(trace->QtSeries()->count(), 3);
  EXPECT_EQ(trace->QtSeries()->at(2), QPointF(2, -2));
  // A point's colour leaves the line's colour alone.
  EXPECT_EQ(trace->QtSeries()->pen().color(), QColor(64, 0, 64));

  trace->Clear();
  EXPECT_EQ(trace->Count(), 0);
  EXPECT_EQ(trace->Label(0), "");
  chart.Repaint();
  EXPECT_EQ(trace->QtSeries()->count(), 0);
  Load(trace, {9});
  chart.Repaint();
  ASSERT_EQ(trace->QtSeries()->count(), 1);
  EXPECT_EQ(trace->QtSeries()->at(0), QPointF(0, 9));
}

TEST_F(ChartLayerChannel, HiddenSeriesLiftsAutomaticMaximumButDrawsNothing) {
  Load(trace, {100, 101, 102, 103});
  Load(hidden, {110, 111, 112, 113}, monitor::colour::kWhite);
  chart.Repaint();
  EXPECT_DOUBLE_EQ(chart.AxisMaximum(), 113);
  EXPECT_DOUBLE_EQ(chart.AxisMinimum(), -1);
  EXPECT_EQ(chart.LegendTitles(), std::vector<std::string>{"C1"});
  EXPECT_FALSE(hidden->QtSeries()->isVisible());
  EXPECT_EQ(hidden->QtSeries()->count(), 0);  // nothing to draw
  EXPECT_EQ(hidden->Count(), 4);              // yet its points are kept

  // The maximum follows the data down again after a new load.
  Load(trace, {3});
  Load(hidden, {13});
  EXPECT_DOUBLE_EQ(chart.AxisMaximum(), 13);

  // An empty chart keeps its fixed minimum and a maximum above it.
  trace->Clear();
  hidden->Clear();
  EXPECT_DOUBLE_EQ(chart.AxisMinimum(), -1);
  EXPECT_GT(chart.AxisMaximum(), -1);
}

TEST(ChartLayer, LongSeriesAreDrawnThinnedWithTheirPeaksAndWaitUntilShown) {
  Chart chart("ChannelChartA2");
  chart.SetMinimumFixed(-1);
  chart.SetMaximumAutomatic();
  ChartSeries* s = chart.AddSeries("TraceSeries6");
  std::vector<double> ys;
  for (int i = 0; i < 16383; ++i) ys.push_back(i == 7777 ? 99.9 : (i == 12001 ? -0.5 : i % 50));
  Load(s, ys, std::make_shared<const Labels>());
  chart.resize(457, 265);
  chart.Repaint();
  QCoreApplication::processEvents();
  EXPECT_EQ(s->QtSeries()->count(), 0);  // out of sight: nothing handed to Qt yet

  chart.show();
  QCoreApplication::processEvents();
  const QList<QPointF> drawn = s->QtSeries()->points();
  ASSERT_GT(drawn.size(), 0);
  EXPECT_LE(drawn.size(), 4 * 457);
  EXPECT_TRUE(drawn.contains(QPointF(7777, 99.9)));   // a lone peak survives the thinning
  EXPECT_TRUE(drawn.contains(QPointF(12001, -0.5)));  // and so does a lone dip
  EXPECT_EQ(drawn.front(), QPointF(0, 0));
  EXPECT_EQ(drawn.back(), QPointF(16382, 16382 % 50));
  for (qsizetype k = 1; k < drawn.size(); ++k) EXPECT_LT(drawn[k - 1].x(), drawn[k].x());
  EXPECT_EQ(s->Count(), 16383);  // the series keeps every point
  EXPECT_DOUBLE_EQ(chart.AxisMaximum(), 99.9);
}

// A load hands its points over with one shared list of labels; a point without a label,
// or a second list in the same chart, leave every point with its own label.
TEST(ChartLayer, AssignedPointsKeepTheirLabelsBesideOtherLists) {
  Chart chart("ChannelChartA1");
  ChartSeries* trace = chart.AddSeries("TraceSeries5");
  ChartSeries* hidden = chart.AddSeries("Series14");
  hidden->SetHidden();
  chart.SetMinimumFixed(-1);
  chart.SetMaximumAutomatic();
  auto labels = [](const ChartSeries* s) {
    Labels l;
    for (int x = 0; x < s->Count(); ++x) l.push_back(s->Label(x));
    return l;
  };
  const auto load = std::make_shared<const Labels>(Labels{"1", "2", "3"});
  trace->Assign(PlotSeries({{4.5, kBlack, 0}, {6, kBlack, 2}}), load);
  hidden->Assign(PlotSeries({{9, kBlack, 1}, {12.5, kBlack, -1}, {13, kBlack, 3}}), load);
  EXPECT_EQ(labels(trace), (Labels{"1", "3"}));
  EXPECT_EQ(labels(hidden), (Labels{"2", "", ""}));
  EXPECT_DOUBLE_EQ(trace->Points().value(1), 6);
  EXPECT_EQ(trace->Points().colour(0), kBlack);
  EXPECT_DOUBLE_EQ(chart.AxisMaximum(), 13);  // the hidden series lifts it

  // A second list while the other series still holds points of the first.
  trace->Assign(PlotSeries({{1, kBlack, 1}}), std::make_shared<const Labels>(Labels{"a", "b"}));
  EXPECT_EQ(labels(trace), Labels{"b"});
  EXPECT_EQ(labels(hidden), (Labels{"2", "", ""}));
  EXPECT_EQ(*load, (Labels{"1", "2", "3"}));
}

TEST(ChartLayer, LegendListsDrawnSeriesThatShowInItInOrder) {
  Chart chart("ChannelChartA1");
  ChartSeries* a1 = chart.AddSeries("TraceSeries5");
  a1->SetTitle("A1");
  ChartSeries* hidden = chart.AddSeries("Series14");
  hidden->SetTitle(" ");
  hidden->SetHidden();
  ChartSeries* level = chart.AddSeries("TraceSeries13");
  level->SetTitle("Level");
  level->SetSeriesColor(Qt::white);
  level->SetShowInLegend(false);
  Load(level, {20}, monitor::colour::kWhite);
  chart.show();
  chart.Repaint();
  QCoreApplication::processEvents();
  EXPECT_EQ(chart.LegendTitles(), std::vector<std::string>{"A1"});
  // The legend on screen agrees.
  std::vector<std::string> shown;
  for (QLegendMarker* m : chart.chart()->legend()->markers()) {
    if (m->isVisible()) shown.push_back(m->label().toStdString());
  }
  EXPECT_EQ(shown, std::vector<std::string>{"A1"});
  EXPECT_TRUE(level->QtSeries()->isVisible());  // out of the legend, still drawn
  EXPECT_EQ(level->QtSeries()->count(), 1);
  EXPECT_EQ(chart.SeriesCount(), 3);
  EXPECT_EQ(chart.Series(1), hidden);
  EXPECT_EQ(chart.Series(2), level);
}

TEST(ChartLayer, FixedLimitsNeverMove) {
  Chart chart("ChannelChartT1");
  chart.SetMinimumFixed(-45);
  chart.SetMaximumFixed(145);
  ChartSeries* t1 = chart.AddSeries("TraceSeries1");
  Load(t1, {-999.9, 0.0, 999.9});
  chart.Repaint();
  EXPECT_DOUBLE_EQ(chart.AxisMinimum(), -45);
  EXPECT_DOUBLE_EQ(chart.AxisMaximum(), 145);
  t1->Clear();
  EXPECT_DOUBLE_EQ(chart.AxisMinimum(), -45);
  EXPECT_DOUBLE_EQ(chart.AxisMaximum(), 145);
}

TEST(ChartLayer, AutomaticLimitsFollowTheData) {
  struct Case {
    bool minAuto, maxAuto;
    double fixedMin, fixedMax;
    std::vector<double> ys;
    double wantMin, wantMax;
  };
  const Case cases[] = {
      {true, true, 0, 0, {4, -3, 8}, -3, 8}, {true, false, 0, 10, {4, 6}, 4, 10},
      {true, false, 0, 10, {12, 14}, 9, 10},  // would cross the fixed maximum
      {false, true, -1, 0, {-5, -4}, -1, 0},  // stays above the fixed minimum
      {true, true, 0, 0, {7, 7}, 7, 8},       // a flat line still gets a range
  };
  for (const Case& c : cases) {
    Chart chart("Chart");
    ChartSeries* s = chart.AddSeries("S");
    if (c.minAuto)
      chart.SetMinimumAutomatic();
    else
      chart.SetMinimumFixed(c.fixedMin);
    if (c.maxAuto)
      chart.SetMaximumAutomatic();
    else
      chart.SetMaximumFixed(c.fixedMax);
    Load(s, c.ys);
    EXPECT_DOUBLE_EQ(chart.AxisMinimum(), c.wantMin) << c.ys.front();
    EXPECT_DOUBLE_EQ(chart.AxisMaximum(), c.wantMax) << c.ys.front();
  }
}

TEST(ChartLayer, TitleSetAsOneLineOrReplaced) {
  Chart chart("ChannelChartA3");
  EXPECT_EQ(chart.objectName(), "ChannelChartA3");
  chart.SetTitleLine("Analog 3");
  EXPECT_EQ(chart.TitleText(), "Analog 3");
  chart.SetTitleLine("Tank\r\nlevel");  // one line only
  EXPECT_EQ(chart.TitleText(), "Tank  level");
  chart.SetTitleText(
      "Boiler \xB0"
      "C");  // Windows-1252 degree sign survives
  EXPECT_EQ(chart.TitleText(),
            "Boiler \xB0"
            "C");
  chart.SetTitleText("Tank <1> & <b>2</b>");  // shown as typed, not as markup
  EXPECT_EQ(chart.TitleText(), "Tank <1> & <b>2</b>");
  EXPECT_EQ(chart.chart()->title(), "Tank &lt;1&gt; &amp; &lt;b&gt;2&lt;/b&gt;");
  chart.SetTitleText("");
  EXPECT_EQ(chart.TitleText(), "");
}

// The axis labels of a long merged file are drawn thinned: the chart draws as many as fit.
TEST(ChartLayer, AxisLabelsOfALongLoadAreDrawn) {
  Chart chart("Chart1");
  ChartSeries* s = chart.AddSeries("Series1");
  Labels labels;
  std::vector<double> ys;
  for (int i = 0; i < 16383; ++i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.12.2026,%02d:%02d:00", 1 + (i / 1440) % 28, (i / 60) % 24,
                  i % 60);
    labels.push_back(buf);
    ys.push_back(i % 100);
  }
  Load(s, ys, std::make_shared<const Labels>(std::move(labels)));
  chart.resize(457, 264);
  chart.show();
  QCoreApplication::processEvents();
  // The plot area's bottom band, where the labels stand, holds ink: the labels are drawn.
  const QImage image = chart.grab().toImage();
  const QRectF plot = chart.chart()->plotArea();
  int ink = 0;
  for (int y = static_cast<int>(plot.bottom()) + 6; y < static_cast<int>(plot.bottom()) + 16; ++y)
    for (int x = static_cast<int>(plot.left()); x < static_cast<int>(plot.right()); ++x)
      if (qGray(image.pixel(x, y)) < 128) ++ink;
  EXPECT_GT(ink, 50);
}

}  // namespace
