#include "monitor/core/charts.h"

namespace monitor {
namespace {

using namespace colour;

constexpr AxisLimit Fixed(double value) { return {false, value}; }
constexpr AxisLimit kAutomatic{true, 0};

constexpr ChartInfo kCharts[kChartCount] = {
    // name, title, page, page's name, print job, vertical axis minimum, maximum
    {"Chart1", "Temperature", ChartPage::kCSV, "TabSheetCSV", "Chart1", Fixed(-45), Fixed(145)},
    {"Chart2", "Analog", ChartPage::kCSV, "TabSheetCSV", "Chart2", Fixed(-5), Fixed(105)},
    {"ChannelChartT1", "Temperature", ChartPage::kChannel, "TabSheetT1", "ChannelChartT1",
     Fixed(-45), Fixed(145)},
    {"ChannelChartC1", "Counter 1", ChartPage::kChannel, "TabSheetC1", "ChannelChartC1", Fixed(-1),
     kAutomatic},
    {"ChannelChartC2", "Counter 2", ChartPage::kChannel, "TabSheetC2", "ChannelChartC2", Fixed(-1),
     kAutomatic},
    {"ChannelChartA1", "Analog 1", ChartPage::kChannel, "TabSheetA1", "ChannelChartA1", Fixed(-1),
     kAutomatic},
    {"ChannelChartA2", "Analog 2", ChartPage::kChannel, "TabSheetA2", "ChannelChartA2", Fixed(-1),
     kAutomatic},
    {"ChannelChartA3", "Analog 3", ChartPage::kChannel, "TabSheetA3", "ChannelChartA3", Fixed(-1),
     kAutomatic},
    {"ChannelChartA4", "Analog 4", ChartPage::kChannel, "TabSheetA4", "ChannelChartA4", Fixed(-1),
     kAutomatic},
    {"ChannelChartA5", "Analog 5", ChartPage::kChannel, "TabSheetA5", "ChannelChartA5", Fixed(-1),
     kAutomatic},
    {"ChannelChartA6", "Analog 6", ChartPage::kChannel, "TabSheetA6", "ChannelChartA6", Fixed(-1),
     kAutomatic},
    {"ChannelChartA7", "Analog 7", ChartPage::kChannel, "TabSheetA7", "ChannelChartA7", Fixed(-1),
     kAutomatic},
    {"ChannelChartA8", "Analog 8", ChartPage::kChannel, "TabSheetA8", "ChannelChartA8", Fixed(-1),
     kAutomatic},
};

using D = Decoding;
using F = Field;
constexpr SeriesInfo kSeries[kSeriesCount] = {
    // name, chart, legend title, line colour, hidden, in the legend, field, decoding,
    // point colour
    {"Series1", kChart1, "T1", kRed, false, true, F::kT1, D::kTemperature, kBlue},
    {"Series2", kChart1, "T2", kGreen, false, true, F::kT2, D::kTemperature, kGreen},
    {"Series3", kChart1, "T3", kYellow, false, true, F::kT3, D::kTemperature, kYellow},
    {"Series4", kChart1, "Level", kWhite, false, true, F::kLevel, D::kTLevel, kWhite},
    {"Series5", kChart2, "A1", kRed, false, true, F::kA1, D::kAnalog, kRed},
    {"Series6", kChart2, "A2", kGreen, false, true, F::kA2, D::kAnalog, kGreen},
    {"Series7", kChart2, "A3", kYellow, false, true, F::kA3, D::kAnalog, kYellow},
    {"Series8", kChart2, "A4", kPurple, false, true, F::kA4, D::kAnalog, kPurple},
    {"Series9", kChart2, "A5", kSkyBlue, false, true, F::kA5, D::kAnalog, kBlue},
    {"Series10", kChart2, "A6", kGray, false, true, F::kA6, D::kAnalog, kOlive},
    {"Series11", kChart2, "A7", kFuchsia, false, true, F::kA7, D::kAnalog, kMaroon},
    {"Series12", kChart2, "A8", kBlack, false, true, F::kA8, D::kAnalog, kBlack},
    {"Series13", kChart2, "Level", kWhite, false, true, F::kLevel, D::kALevel, kWhite},
    {"Series14", kChannelChartA1, " ", kBlack, true, false, F::kA1, D::kLifted, kBlack},
    {"Series15", kChannelChartA2, " ", kBlack, true, false, F::kA2, D::kLifted, kBlack},
    {"Series16", kChannelChartA3, " ", kBlack, true, false, F::kA3, D::kLifted, kBlack},
    {"Series17", kChannelChartA4, " ", kBlack, true, false, F::kA4, D::kLifted, kBlack},
    {"Series18", kChannelChartA5, " ", kBlack, true, false, F::kA5, D::kLifted, kBlack},
    {"Series19", kChannelChartA6, " ", kBlack, true, false, F::kA6, D::kLifted, kBlack},
    {"Series20", kChannelChartA7, " ", kBlack, true, false, F::kA7, D::kLifted, kBlack},
    {"Series21", kChannelChartA8, " ", kBlack, true, false, F::kA8, D::kLifted, kBlack},
    {"TraceSeries1", kChannelChartT1, "T1", kDarkPurple, false, true, F::kT1, D::kTemperature,
     kBlue},
    {"TraceSeries2", kChannelChartT1, "T2", kOrange, false, true, F::kT2, D::kTemperature, kGreen},
    {"TraceSeries3", kChannelChartT1, "T3", kYellow, false, true, F::kT3, D::kTemperature, kYellow},
    {"TraceSeries4", kChannelChartT1, "Level", kWhite, false, true, F::kLevel, D::kTLevel, kWhite},
    {"TraceSeries5", kChannelChartA1, "A1", kDarkPurple, false, true, F::kA1, D::kScaled, kBlack},
    {"TraceSeries6", kChannelChartA2, "A2", kDarkPurple, false, true, F::kA2, D::kScaled, kBlack},
    {"TraceSeries7", kChannelChartA3, "A3", kDarkPurple, false, true, F::kA3, D::kScaled, kBlack},
    {"TraceSeries8", kChannelChartA4, "A4", kDarkPurple, false, true, F::kA4, D::kScaled, kBlack},
    {"TraceSeries9", kChannelChartA5, "A5", kDarkPurple, false, true, F::kA5, D::kScaled, kBlack},
    {"TraceSeries10", kChannelChartA6, "A6", kDarkPurple, false, true, F::kA6, D::kScaled, kBlack},
    {"TraceSeries11", kChannelChartA7, "A7", kDarkPurple, false, true, F::kA7, D::kScaled, kBlack},
    {"TraceSeries12", kChannelChartA8, "A8", kDarkPurple, false, true, F::kA8, D::kScaled, kBlack},
    {"TraceSeries13", kChannelChartA1, "Level", kWhite, false, false, F::kLevel, D::kALevel,
     kWhite},
    {"TraceSeries14", kChannelChartC1, "C1", kDarkPurple, false, true, F::kC1, D::kCounter, kBlack},
    {"TraceSeries15", kChannelChartC2, "C2", kDarkPurple, false, true, F::kC2, D::kCounter, kBlack},
    {"LineSeries1", kChannelChartC1, " ", kBlack, true, false, F::kC1, D::kCounterLine, kWhite},
    {"LineSeries2", kChannelChartC2, " ", kBlack, true, false, F::kC2, D::kCounterLine, kWhite},
};

// A decoding fits its field: a level on the level field, a temperature on T1..T3, a counter
// on C1/C2, an analog form on A1..A8 (the scaled ones take that channel's multiplier).
constexpr bool Fits(const SeriesInfo& s) {
  const int f = static_cast<int>(s.field);
  switch (s.decoding) {
    case D::kTLevel:
    case D::kALevel: return s.field == F::kLevel;
    case D::kTemperature: return f >= static_cast<int>(F::kT1) && f <= static_cast<int>(F::kT3);
    case D::kCounter:
    case D::kCounterLine: return s.field == F::kC1 || s.field == F::kC2;
    case D::kAnalog:
    case D::kScaled:
    case D::kLifted: return f >= static_cast<int>(F::kA1) && f <= static_cast<int>(F::kA8);
  }
  return false;
}
constexpr bool AllFit() {
  for (const SeriesInfo& s : kSeries)
    if (!Fits(s) || s.chart < 0 || s.chart >= kChartCount || (s.hidden && s.inLegend)) return false;
  return true;
}
static_assert(AllFit(), "a series row names a field its decoding cannot read");

}  // namespace

const ChartInfo& ChartInfoOf(int chart) { return kCharts[chart]; }
const SeriesInfo& SeriesInfoOf(int series) { return kSeries[series]; }

}  // namespace monitor
