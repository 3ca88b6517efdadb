#pragma once
// The chart layer's arithmetic, apart from any drawing: which points a line needs at a
// width, the vertical axis' limits and interval, and which points of the horizontal axis
// carry a label and where it stands.
#include <cstddef>
#include <functional>
#include <vector>

#include "monitor/core/load.h"

namespace monitor {

// The smallest of 1, 2, 5 times a power of ten that is at least `raw` (1 for a `raw` that
// is not a positive finite number).
double NiceStep(double raw);
// The same as a whole number of points, at least 1.
int NiceIntStep(double raw);

// The indices of the points a line drawn `buckets` pixel columns wide needs: per column its
// first, lowest, highest and last finite point, in order, each once. The line drawn through
// them is the line drawn through every point.
std::vector<std::size_t> DecimatedPoints(const PlotSeries& points, int buckets);

// A vertical axis: each limit fixed or automatic; an automatic one follows the smallest or
// largest finite value of all the chart's series (`values`).
struct AxisScale {
  double minimum = 0;  // the limits in effect
  double maximum = 0;
  double low = 0;  // the range drawn (a unit around two equal fixed limits)
  double high = 0;
  double interval = 0;  // between two value labels
  int decimals = 0;     // of a value label
};
struct AxisLimitsNow {
  bool minAuto = false;
  double minFixed = 0;
  bool maxAuto = false;
  double maxFixed = 100;
};
// With no values an automatic limit is 0; an automatic limit that would meet or cross the
// other one stands 1 away from it. About one value label per 32 pixels of `plotHeight`
// (10 labels while it is not known).
AxisScale ScaleAxis(const AxisLimitsNow& limits, const PlotSeries::Range& values,
                    double plotHeight);

// Horizontal axis labels, in pixels of the plot area.
inline constexpr double kLabelGap = 10;       // kept free between two labels
inline constexpr double kLabelOverhang = 20;  // how far a label may reach past the plot area
inline constexpr double kLabelEdge = 4;       // kept free at the chart's left edge
// How far the first label may reach left of a plot area that starts `plotLeft` pixels into
// the chart: into the room below the value labels, so it can stand centred under its point.
double LabelLeftRoom(double plotLeft);
// The widest label among a sample of up to 64 of the `n` points' labels, spread evenly:
// labels of one load are much alike in length. `width(i)` is the width of point i's label.
double WidestLabel(int n, const std::function<double(int)>& width);
// Every how many points a label stands: a round step (1, 2, 5 times a power of ten) that
// keeps labels `widest` wide apart, unless that would show fewer than half the labels that
// fit; at least 1.
int LabelStep(int n, double plotWidth, double leftRoom, double widest);
// The labels of every step-th point, centred under it but within reach of the plot area's
// ends; a label that would run into the one before it is left out.
struct PlacedLabel {
  int x = 0;        // point index
  double left = 0;  // left edge, from the plot area's left
};
std::vector<PlacedLabel> PlaceLabels(int n, int step, double plotWidth, double leftRoom,
                                     const std::function<double(int)>& width);

}  // namespace monitor
