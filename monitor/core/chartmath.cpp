#include "monitor/core/chartmath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace monitor {

double NiceStep(double raw) {
  if (!(raw > 0) || !std::isfinite(raw)) return 1;
  const double p = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0}) {
    if (m * p >= raw * (1 - 1e-9)) return m * p;
  }
  return 10 * p;
}

int NiceIntStep(double raw) {
  if (raw <= 1) return 1;
  const double s = NiceStep(raw);
  return s >= std::numeric_limits<int>::max() / 2 ? std::numeric_limits<int>::max() / 2
                                                  : static_cast<int>(std::ceil(s - 1e-9));
}

std::vector<std::size_t> DecimatedPoints(const PlotSeries& pts, int buckets) {
  std::vector<std::size_t> out;
  const long long n = static_cast<long long>(pts.size());
  if (buckets < 1) buckets = 1;
  long long i = 0;
  while (i < n) {
    const long long b = i * buckets / n;
    long long end = ((b + 1) * n + buckets - 1) / buckets;  // first index of the next column
    if (end <= i) end = i + 1;
    if (end > n) end = n;
    long long first = -1, last = -1, lo = -1, hi = -1;
    double loY = 0, hiY = 0;
    for (long long k = i; k < end; ++k) {
      const double y = pts.value(static_cast<std::size_t>(k));
      if (!std::isfinite(y)) continue;
      if (first < 0) {
        first = lo = hi = k;
        loY = hiY = y;
      }
      last = k;
      if (y < loY) {
        lo = k;
        loY = y;
      }
      if (y > hiY) {
        hi = k;
        hiY = y;
      }
    }
    if (first >= 0) {
      const long long pick[4] = {first, std::min(lo, hi), std::max(lo, hi), last};
      long long prev = -1;
      for (long long k : pick) {
        if (k == prev) continue;
        out.push_back(static_cast<std::size_t>(k));
        prev = k;
      }
    }
    i = end;
  }
  return out;
}

AxisScale ScaleAxis(const AxisLimitsNow& l, const PlotSeries::Range& values, double plotHeight) {
  const bool any = values.finite > 0;
  double mn = l.minAuto ? (any ? values.low : 0) : l.minFixed;
  double mx = l.maxAuto ? (any ? values.high : 0) : l.maxFixed;
  if (mx <= mn) {
    if (l.maxAuto) {
      mx = mn + 1;
    } else if (l.minAuto) {
      mn = mx - 1;
    }
  }
  AxisScale s;
  s.minimum = mn;
  s.maximum = mx;
  s.low = mn;
  s.high = mx;
  if (mx > mn) {
    const int ticks = plotHeight > 0 ? std::clamp(static_cast<int>(plotHeight / 32), 2, 12) : 10;
    s.interval = NiceStep((mx - mn) / ticks);
  } else {
    // Two equal fixed limits: a unit range around them rather than nothing.
    s.low = mn - 0.5;
    s.high = mx + 0.5;
    s.interval = 0.5;
  }
  if (s.interval < 1) s.decimals = static_cast<int>(std::ceil(-std::log10(s.interval) - 1e-9));
  s.decimals = std::min(s.decimals, 6);
  return s;
}

double LabelLeftRoom(double plotLeft) { return std::max(kLabelOverhang, plotLeft - kLabelEdge); }

double WidestLabel(int n, const std::function<double(int)>& width) {
  double widest = 0;
  const int samples = std::min(n, 64);
  for (int k = 0; k < samples; ++k) {
    const int i =
        samples == 1 ? 0 : static_cast<int>(static_cast<long long>(k) * (n - 1) / (samples - 1));
    widest = std::max(widest, width(i));
  }
  return widest;
}

int LabelStep(int n, double plotWidth, double leftRoom, double widest) {
  if (n <= 0 || plotWidth <= 0) return 1;
  const double span = std::max(1, n - 1);
  const double perPoint = plotWidth / span;
  // Two labels a step apart must not touch; the first one, held back from the chart's left
  // edge, may stand right of centre and needs the more room.
  const double need = std::max(widest, 1.5 * widest - leftRoom) + kLabelGap;
  const double raw = need / perPoint;
  // A round step reads best, unless rounding up would leave far fewer labels than fit.
  int step = NiceIntStep(raw);
  const double fit = span / std::max(1.0, std::ceil(raw));
  if (span / step < 0.5 * fit) step = static_cast<int>(std::min(span, std::ceil(raw)));
  return std::max(step, 1);
}

std::vector<PlacedLabel> PlaceLabels(int n, int step, double plotWidth, double leftRoom,
                                     const std::function<double(int)>& width) {
  std::vector<PlacedLabel> out;
  if (n <= 0 || plotWidth <= 0) return out;
  step = std::max(step, 1);
  const double perPoint = plotWidth / std::max(1, n - 1);
  double lastRight = -std::numeric_limits<double>::infinity();
  for (long long i = 0; i < n; i += step) {
    const double x = static_cast<double>(i) * perPoint;
    const double w = width(static_cast<int>(i));
    // Centred under its point, but kept within reach of the plot area's ends.
    const double left =
        std::clamp(x - w / 2, -leftRoom, std::max(-leftRoom, plotWidth + kLabelOverhang - w));
    // A label wider than the sample's widest must still not run into its neighbour.
    if (left < lastRight + kLabelGap && !out.empty()) continue;
    out.push_back(PlacedLabel{static_cast<int>(i), left});
    lastRight = left + w;
  }
  return out;
}

}  // namespace monitor
