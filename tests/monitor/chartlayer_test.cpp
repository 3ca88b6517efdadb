// The chart layer: points, hidden series and automatic limits, fixed limits, titles,
// legend entries and the thinning of the horizontal axis' labels.
#include "monitor/chartlayer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <memory>
#include <string>

namespace {

using monitor::Chart;
using monitor::ChartSeries;

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

TEST_F(ChartLayerChannel, PointsAppendAtTheirIndexAndClearEmpties) {
  EXPECT_EQ(trace->Add(5, "1", Qt::black), 0);
  EXPECT_EQ(trace->Add(7.5, "2", Qt::black), 1);
  EXPECT_EQ(trace->Add(-2, "3", Qt::blue), 2);
  ASSERT_EQ(trace->Count(), 3);
  EXPECT_DOUBLE_EQ(trace->Point(1).y, 7.5);
  EXPECT_EQ(trace->Point(2).label, "3");
  EXPECT_EQ(trace->Point(2).color, QColor(Qt::blue));

  // Qt gets the points once the event loop runs, X being the index.
  chart.show();
  QCoreApplication::processEvents();
  ASSERT_EQ(trace->QtSeries()->count(), 3);
  EXPECT_EQ(trace->QtSeries()->at(2), QPointF(2, -2));
  // A point's colour leaves the line's colour alone.
  EXPECT_EQ(trace->QtSeries()->pen().color(), QColor(64, 0, 64));

  trace->Clear();
  EXPECT_EQ(trace->Count(), 0);
  EXPECT_EQ(trace->Add(9, "1", Qt::black), 0);  // indices start again at 0
  chart.Repaint();
  ASSERT_EQ(trace->QtSeries()->count(), 1);
  EXPECT_EQ(trace->QtSeries()->at(0), QPointF(0, 9));
}

TEST_F(ChartLayerChannel, HiddenSeriesLiftsAutomaticMaximumButDrawsNothing) {
  for (int i = 0; i < 4; ++i) {
    trace->Add(100 + i, std::to_string(i + 1), Qt::black);
    hidden->Add(110 + i, std::to_string(i + 1), Qt::white);
  }
  chart.Repaint();
  EXPECT_DOUBLE_EQ(chart.AxisMaximum(), 113);
  EXPECT_DOUBLE_EQ(chart.AxisMinimum(), -1);
  EXPECT_EQ(chart.LegendTitles(), std::vector<std::string>{"C1"});
  EXPECT_FALSE(hidden->QtSeries()->isVisible());
  EXPECT_EQ(hidden->QtSeries()->count(), 0);  // nothing to draw
  EXPECT_EQ(hidden->Count(), 4);              // yet its points are kept

  // The maximum follows the data down again after a new load.
  chart.ClearAll();
  trace->Add(3, "1", Qt::black);
  hidden->Add(13, "1", Qt::white);
  EXPECT_DOUBLE_EQ(chart.AxisMaximum(), 13);

  // An empty chart keeps its fixed minimum and a maximum above it.
  chart.ClearAll();
  EXPECT_DOUBLE_EQ(chart.AxisMinimum(), -1);
  EXPECT_GT(chart.AxisMaximum(), -1);
}

TEST(ChartLayer, LongSeriesAreDrawnThinnedWithTheirPeaksAndWaitUntilShown) {
  Chart chart("ChannelChartA2");
  chart.SetMinimumFixed(-1);
  chart.SetMaximumAutomatic();
  ChartSeries* s = chart.AddSeries("TraceSeries6");
  for (int i = 0; i < 16383; ++i)
    s->Add(i == 7777 ? 99.9 : (i == 12001 ? -0.5 : i % 50), "", Qt::black);
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

// Series of one chart share their records' labels; each point keeps its own label
// whatever records gave the other series no point, and a new load starts afresh.
TEST(ChartLayer, EveryPointKeepsItsLabelAcrossSeriesAndLoads) {
  Chart chart("ChannelChartT1");
  ChartSeries* level = chart.AddSeries("TraceSeries4");
  ChartSeries* t2 = chart.AddSeries("TraceSeries2");
  auto labels = [](const ChartSeries* s) {
    std::vector<std::string> l;
    for (int x = 0; x < s->Count(); ++x) l.push_back(s->Label(x));
    return l;
  };
  using L = std::vector<std::string>;
  for (const char* r : {"1", "2", "3", "4", "5", "6"}) level->Add(0, r, Qt::white);
  for (const char* r : {"1", "3", "4", "6", "x", "6"}) t2->Add(1, r, Qt::green);
  EXPECT_EQ(labels(level), (L{"1", "2", "3", "4", "5", "6"}));
  EXPECT_EQ(labels(t2), (L{"1", "3", "4", "6", "x", "6"}));

  chart.ClearAll();
  t2->Add(1, "02.12.2026,10:00:00", Qt::green);
  level->Add(0, "02.12.2026,10:00:00", Qt::white);
  level->Add(0, "1", Qt::white);
  EXPECT_EQ(labels(t2), L{"02.12.2026,10:00:00"});
  EXPECT_EQ(labels(level), (L{"02.12.2026,10:00:00", "1"}));
  // Emptying one series alone leaves the others' labels in place.
  t2->Clear();
  EXPECT_EQ(labels(level), (L{"02.12.2026,10:00:00", "1"}));
}

// A load hands its points over with one shared list of labels; points added one by one
// afterwards, or a second list, must leave every point with its own label.
TEST(ChartLayer, AssignedPointsKeepTheirLabelsBesideAddedOnesAndOtherLists) {
  Chart chart("ChannelChartA1");
  ChartSeries* trace = chart.AddSeries("TraceSeries5");
  ChartSeries* hidden = chart.AddSeries("Series14");
  hidden->SetHidden();
  chart.SetMinimumFixed(-1);
  chart.SetMaximumAutomatic();
  auto labels = [](const ChartSeries* s) {
    std::vector<std::string> l;
    for (int x = 0; x < s->Count(); ++x) l.push_back(s->Label(x));
    return l;
  };
  using L = std::vector<std::string>;
  const auto load = std::make_shared<const L>(L{"1", "2", "3"});
  trace->Assign({{4.5, 0xFF000000u, 0}, {6, 0xFF000000u, 2}}, load);
  hidden->Assign({{9, 0xFF000000u, 1}, {12.5, 0xFF000000u, -1}}, load);
  EXPECT_EQ(labels(trace), (L{"1", "3"}));
  EXPECT_EQ(labels(hidden), (L{"2", ""}));
  EXPECT_DOUBLE_EQ(trace->Y(1), 6);
  EXPECT_EQ(trace->PointColor(0), QColor(Qt::black));
  EXPECT_DOUBLE_EQ(chart.AxisMaximum(), 12.5);  // the hidden series lifts it

  trace->Add(7, "4", Qt::black);
  EXPECT_EQ(labels(trace), (L{"1", "3", "4"}));
  EXPECT_EQ(labels(hidden), (L{"2", ""}));
  EXPECT_EQ(*load, (L{"1", "2", "3"}));  // the load's own list is left as it was

  // A second list while the other series still holds points of the first.
  trace->Assign({{1, 0xFF000000u, 1}}, std::make_shared<const L>(L{"a", "b"}));
  EXPECT_EQ(labels(trace), L{"b"});
  EXPECT_EQ(labels(hidden), (L{"2", ""}));
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
  level->Add(20, "1", Qt::white);
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
  EXPECT_EQ(chart.FindSeries("TraceSeries13"), level);
  EXPECT_EQ(chart.FindSeries("Series99"), nullptr);
}

TEST(ChartLayer, FixedLimitsNeverMove) {
  Chart chart("ChannelChartT1");
  chart.SetMinimumFixed(-45);
  chart.SetMaximumFixed(145);
  ChartSeries* t1 = chart.AddSeries("TraceSeries1");
  for (double y : {-999.9, 0.0, 999.9}) t1->Add(y, "x", Qt::blue);
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
    for (double y : c.ys) s->Add(y, "", Qt::black);
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

// Labels of a long merged file: date and time on every point.
std::string DateTimeLabel(int i) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d.12.2026,%02d:%02d:%02d", 1 + (i / 1440) % 28, (i / 60) % 24,
                i % 60, 0);
  return buf;
}

TEST(ChartLayer, AxisLabelsAreThinnedToStayLegible) {
  Chart chart("Chart1");
  ChartSeries* s = chart.AddSeries("Series1");
  for (int i = 0; i < 16383; ++i) s->Add(i % 100, DateTimeLabel(i), Qt::blue);

  QFont labelFont = chart.font();
  labelFont.setPixelSize(qRound(8.0 * chart.logicalDpiY() / 72.0));  // the axis labels' size
  const QFontMetricsF fm(labelFont);
  for (int width : {260, 457, 1217}) {
    chart.resize(width, 264);
    chart.show();
    QCoreApplication::processEvents();
    const std::vector<monitor::AxisLabel> labels = chart.VisibleLabels();
    const double plot = chart.chart()->plotArea().width();
    ASSERT_GT(plot, 0) << width;
    ASSERT_FALSE(labels.empty()) << width;
    // Never more labels than fit side by side, and they run in order, a step apart.
    const double labelWidth = fm.horizontalAdvance(QString::fromStdString(DateTimeLabel(0)));
    EXPECT_LE(static_cast<double>(labels.size()), plot / labelWidth + 1) << width;
    EXPECT_GE(labels.size(), width >= 457 ? 2u : 1u) << width;
    const int step = chart.LabelStep();
    for (std::size_t k = 0; k < labels.size(); ++k) {
      EXPECT_EQ(labels[k].x, static_cast<int>(k) * step) << "a label left out, " << width;
      EXPECT_EQ(labels[k].text.toStdString(), DateTimeLabel(labels[k].x));
      if (k) {  // neighbours never overlap as drawn
        EXPECT_GE(labels[k].left, labels[k - 1].left + fm.horizontalAdvance(labels[k - 1].text))
            << width;
      }
      EXPECT_LE(labels[k].left + fm.horizontalAdvance(labels[k].text), plot + 20 + 0.5) << width;
    }
  }

  // A handful of points at a wide chart: every point gets its label.
  s->Clear();
  for (int i = 0; i < 5; ++i) s->Add(i, std::to_string(i + 1), Qt::blue);
  const std::vector<monitor::AxisLabel> few = chart.VisibleLabels();
  ASSERT_EQ(few.size(), 5u);
  EXPECT_EQ(few[4].text, "5");
}

}  // namespace
