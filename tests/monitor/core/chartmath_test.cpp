// The chart layer's arithmetic: round steps, the thinning of long series, the vertical
// axis' limits and intervals, and the steps and places of the horizontal axis' labels.
#include "monitor/core/chartmath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

using namespace monitor;

PlotSeries Values(const std::vector<double>& ys) {
  std::vector<PlotPoint> points;
  for (std::size_t i = 0; i < ys.size(); ++i)
    points.push_back(PlotPoint{ys[i], colour::kBlack, static_cast<std::int32_t>(i)});
  return PlotSeries(std::move(points));
}

TEST(ChartMath, RoundStepsAreOneTwoOrFiveTimesAPowerOfTen) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double raw, step;
  };
  for (const Case c : {Case{0, 1}, Case{-3, 1}, Case{nan, 1}, Case{inf, 1}, Case{0.3, 0.5},
                       Case{1, 1}, Case{1.5, 2}, Case{2, 2}, Case{2.1, 5}, Case{7, 10},
                       Case{10, 10}, Case{0.0123, 0.02}, Case{19, 20}, Case{2.0000000001, 2}})
    EXPECT_DOUBLE_EQ(NiceStep(c.raw), c.step) << c.raw;
  struct IntCase {
    double raw;
    int step;
  };
  for (const IntCase c :
       {IntCase{-1, 1}, IntCase{0.5, 1}, IntCase{1, 1}, IntCase{1.2, 2}, IntCase{3, 5},
        IntCase{11, 20}, IntCase{100, 100}, IntCase{1e30, std::numeric_limits<int>::max() / 2}})
    EXPECT_EQ(NiceIntStep(c.raw), c.step) << c.raw;
}

TEST(ChartMath, ThinningKeepsEachColumnsFirstLowestHighestAndLastPoint) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    std::vector<double> ys;
    int buckets;
    std::vector<std::size_t> kept;
  };
  const Case cases[] = {
      {{}, 10, {}},
      {{5, 1, 9, 3}, 1, {0, 1, 2, 3}},        // first, lowest, highest, last
      {{5, 9, 1, 3}, 1, {0, 1, 2, 3}},        // the highest before the lowest stays first
      {{3, 3, 3, 3}, 1, {0, 3}},              // a flat column: its ends
      {{nan, 1, nan}, 1, {1}},                // values that are no number are never drawn
      {{1, 2, 3, 4, 5, 6}, 2, {0, 2, 3, 5}},  // two columns of three
      {{1, 2}, 8, {0, 1}},                    // more columns than points: every point
  };
  for (const Case& c : cases)
    EXPECT_EQ(DecimatedPoints(Values(c.ys), c.buckets), c.kept) << c.ys.size() << "/" << c.buckets;

  // A long load at a chart's width: a lone peak and a lone dip survive, the ends stay, and
  // the points stay in order, at most four per column.
  std::vector<double> ys;
  for (int i = 0; i < 16383; ++i) ys.push_back(i == 7777 ? 99.9 : (i == 12001 ? -0.5 : i % 50));
  const std::vector<std::size_t> kept = DecimatedPoints(Values(ys), 457);
  ASSERT_FALSE(kept.empty());
  EXPECT_LE(kept.size(), 4u * 457);
  EXPECT_EQ(kept.front(), 0u);
  EXPECT_EQ(kept.back(), 16382u);
  EXPECT_NE(std::find(kept.begin(), kept.end(), 7777u), kept.end());
  EXPECT_NE(std::find(kept.begin(), kept.end(), 12001u), kept.end());
  for (std::size_t k = 1; k < kept.size(); ++k) EXPECT_LT(kept[k - 1], kept[k]);
}

TEST(ChartMath, AxisLimitsAndIntervals) {
  struct Case {
    AxisLimitsNow limits;
    PlotSeries::Range values;
    double plotHeight;
    AxisScale want;
  };
  const Case cases[] = {
      // Fixed limits never move, whatever the values.
      {{false, -45, false, 145}, {-999, 999, 3}, 320, {-45, 145, -45, 145, 20, 0}},
      // Automatic limits follow the values.
      {{true, 0, true, 0}, {-3, 8, 3}, 320, {-3, 8, -3, 8, 2, 0}},
      // An automatic minimum that would cross the fixed maximum stands 1 below it.
      {{true, 0, false, 10}, {12, 14, 2}, 320, {9, 10, 9, 10, 0.1, 1}},
      // An automatic maximum stays 1 above a fixed minimum; with no values it is 0.
      {{false, -1, true, 0}, {-5, -4, 2}, 320, {-1, 0, -1, 0, 0.1, 1}},
      {{false, -1, true, 0}, {}, 320, {-1, 0, -1, 0, 0.1, 1}},
      // A flat line still gets a range.
      {{true, 0, true, 0}, {7, 7, 2}, 320, {7, 8, 7, 8, 0.1, 1}},
      // Two equal fixed limits: a unit range drawn around them.
      {{false, 5, false, 5}, {}, 320, {5, 5, 4.5, 5.5, 0.5, 1}},
      // About one value label per 32 pixels, 2 to 12 of them; 10 while the height is unknown.
      {{false, 0, false, 100}, {}, 64, {0, 100, 0, 100, 50, 0}},
      {{false, 0, false, 100}, {}, 1000, {0, 100, 0, 100, 10, 0}},
      {{false, 0, false, 1}, {}, 0, {0, 1, 0, 1, 0.1, 1}},
      {{false, 0, false, 0.001}, {}, 0, {0, 0.001, 0, 0.001, 0.0001, 4}},
  };
  for (const Case& c : cases) {
    const AxisScale s = ScaleAxis(c.limits, c.values, c.plotHeight);
    const std::string at = std::to_string(c.limits.minFixed) + ".." +
                           std::to_string(c.limits.maxFixed) + " h " + std::to_string(c.plotHeight);
    EXPECT_DOUBLE_EQ(s.minimum, c.want.minimum) << at;
    EXPECT_DOUBLE_EQ(s.maximum, c.want.maximum) << at;
    EXPECT_DOUBLE_EQ(s.low, c.want.low) << at;
    EXPECT_DOUBLE_EQ(s.high, c.want.high) << at;
    EXPECT_DOUBLE_EQ(s.interval, c.want.interval) << at;
    EXPECT_EQ(s.decimals, c.want.decimals) << at;
  }
}

TEST(ChartMath, LabelStepsAreRoundUnlessThatShowsFarFewerThanFit) {
  struct Case {
    int n;
    double plotWidth, leftRoom, widest;
    int step;
  };
  for (const Case c : {
           Case{0, 400, 20, 100, 1},         // nothing to label
           Case{5, 1000, 20, 10, 1},         // a handful of points: every one
           Case{1001, 1000, 200, 90, 100},   // 100 pixels a label at one pixel a point
           Case{1001, 1000, 200, 191, 201},  // rounding 201 up to 500 would show too few
           Case{1001, 1000, 20, 90, 200},    // the first label, held at the edge, needs more
           Case{3, 1000, 20, 5000, 20},      // labels wider than the chart: the first alone
       })
    EXPECT_EQ(LabelStep(c.n, c.plotWidth, c.leftRoom, c.widest), c.step)
        << c.n << " " << c.plotWidth << " " << c.widest;
  EXPECT_DOUBLE_EQ(LabelLeftRoom(0), kLabelOverhang);
  EXPECT_DOUBLE_EQ(LabelLeftRoom(30), 26);
}

TEST(ChartMath, LabelsStandUnderTheirPointsAndNeverOverlap) {
  // A long load of labels of one width at a chart's width: every step-th point labelled,
  // neighbours a gap apart, none reaching further than allowed past the plot area.
  const int n = 16383;
  for (double plotWidth : {200.0, 400.0, 1150.0}) {
    const auto width = [](int) { return 100.0; };
    const int step = LabelStep(n, plotWidth, 20, WidestLabel(n, width));
    const std::vector<PlacedLabel> labels = PlaceLabels(n, step, plotWidth, 20, width);
    ASSERT_FALSE(labels.empty()) << plotWidth;
    EXPECT_LE(labels.size() * 100.0, plotWidth + 40) << plotWidth;
    for (std::size_t k = 0; k < labels.size(); ++k) {
      EXPECT_EQ(labels[k].x, static_cast<int>(k) * step) << "a label left out, " << plotWidth;
      EXPECT_GE(labels[k].left, -20) << plotWidth;
      EXPECT_LE(labels[k].left + 100, plotWidth + kLabelOverhang) << plotWidth;
      if (k) {
        EXPECT_GE(labels[k].left, labels[k - 1].left + 100 + kLabelGap) << plotWidth;
      }
    }
  }

  // A label wider than the rest is kept clear of its neighbours: the next ones give way.
  const auto uneven = [](int i) { return i == 1 ? 250.0 : 10.0; };
  std::vector<int> xs;
  for (const PlacedLabel& l : PlaceLabels(5, 1, 400, 20, uneven)) xs.push_back(l.x);
  EXPECT_EQ(xs, (std::vector<int>{0, 2, 3, 4}));
  const std::vector<PlacedLabel> centred = PlaceLabels(5, 1, 400, 20, uneven);
  EXPECT_DOUBLE_EQ(centred[1].left, 195);  // point 2 at 200, its label centred under it

  // The widest label is taken from a sample that holds the first and the last.
  EXPECT_DOUBLE_EQ(WidestLabel(1000, [](int i) { return i == 999 ? 40.0 : 10.0; }), 40);
  EXPECT_DOUBLE_EQ(WidestLabel(1, [](int i) { return i == 0 ? 7.0 : 0.0; }), 7);
  EXPECT_DOUBLE_EQ(WidestLabel(0, [](int) { return 7.0; }), 0);
}

}  // namespace
