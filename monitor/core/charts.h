#pragma once
// The monitor's thirteen charts and their 38 series, each described once: the window
// builds, places, repaints and prints the charts from ChartInfoOf, the load fills the
// series from SeriesInfoOf. A new chart is a new ChartId with its row in the chart table,
// the rows of its series, and its page.
#include <cstdint>

namespace monitor {

// Colours as 0xAARRGGBB (QRgb), opaque.
using Rgb = std::uint32_t;
namespace colour {
inline constexpr Rgb kBlack = 0xFF000000;
inline constexpr Rgb kWhite = 0xFFFFFFFF;
inline constexpr Rgb kRed = 0xFFFF0000;
inline constexpr Rgb kGreen = 0xFF008000;
inline constexpr Rgb kBlue = 0xFF0000FF;
inline constexpr Rgb kYellow = 0xFFFFFF00;
inline constexpr Rgb kPurple = 0xFF800080;
inline constexpr Rgb kOlive = 0xFF808000;
inline constexpr Rgb kMaroon = 0xFF800000;
inline constexpr Rgb kGray = 0xFF808080;
inline constexpr Rgb kFuchsia = 0xFFFF00FF;
inline constexpr Rgb kSkyBlue = 0xFF0080FF;     // RGB(0,128,255)
inline constexpr Rgb kDarkPurple = 0xFF400040;  // RGB(64,0,64)
inline constexpr Rgb kOrange = 0xFFFF8000;      // RGB(255,128,0)
}  // namespace colour

// The charts, in the window's order: the CSV page's two, then the channel pages'.
enum ChartId : int {
  kChart1,
  kChart2,
  kChannelChartT1,
  kChannelChartC1,
  kChannelChartC2,
  kChannelChartA1,
  kChannelChartA2,
  kChannelChartA3,
  kChannelChartA4,
  kChannelChartA5,
  kChannelChartA6,
  kChannelChartA7,
  kChannelChartA8,
  kChartCount
};
// The chart of page "Analog n", n = 1..8.
constexpr ChartId ChannelChartA(int n) { return static_cast<ChartId>(kChannelChartA1 + n - 1); }

// One end of a vertical axis: fixed at `value`, or automatic (it follows the points).
struct AxisLimit {
  bool automatic;
  double value;
};

enum class ChartPage : std::uint8_t {
  kCSV,      // the CSV page, below the table, in the table's order
  kChannel,  // a channel page of its own
};

struct ChartInfo {
  const char* name;   // component name, its objectName: "Chart1", "ChannelChartA3", ...
  const char* title;  // title at design; a channel page's tab caption too
  ChartPage page;
  const char* pageName;  // objectName of the page that shows it
  const char* job;       // title of the chart's print job
  AxisLimit minimum;
  AxisLimit maximum;
};
const ChartInfo& ChartInfoOf(int chart);

// The 38 series of the monitor's charts, by their component names.
enum SeriesId : int {
  kSeries1,
  kSeries2,
  kSeries3,
  kSeries4,
  kSeries5,
  kSeries6,
  kSeries7,
  kSeries8,
  kSeries9,
  kSeries10,
  kSeries11,
  kSeries12,
  kSeries13,
  kSeries14,
  kSeries15,
  kSeries16,
  kSeries17,
  kSeries18,
  kSeries19,
  kSeries20,
  kSeries21,
  kTraceSeries1,
  kTraceSeries2,
  kTraceSeries3,
  kTraceSeries4,
  kTraceSeries5,
  kTraceSeries6,
  kTraceSeries7,
  kTraceSeries8,
  kTraceSeries9,
  kTraceSeries10,
  kTraceSeries11,
  kTraceSeries12,
  kTraceSeries13,
  kTraceSeries14,
  kTraceSeries15,
  kLineSeries1,
  kLineSeries2,
  kSeriesCount
};

// The readings of a record a series is drawn from: one point per record that has one.
enum class Field : std::uint8_t {
  kLevel,  // every plotted record
  kT1,     // a temperature in T1
  kT2,     // a temperature in T2
  kT3,     // a temperature in T3
  kC1,     // a counter in T2
  kC2,     // a counter in T3
  kA1,     // A1..A8 follow in order
  kA2,
  kA3,
  kA4,
  kA5,
  kA6,
  kA7,
  kA8,
};
inline constexpr int kFieldCount = static_cast<int>(Field::kA8) + 1;

// How a point's value follows from its reading.
enum class Decoding : std::uint8_t {
  kTLevel,       // the T level, at every point
  kALevel,       // the A level, at every point
  kTemperature,  // the temperature
  kCounter,      // the counter
  kCounterLine,  // the counter + 10
  kAnalog,       // the analog value as read
  kScaled,       // the analog value times its channel's multiplier
  kLifted,       // the scaled value * 1.1 + 1
};

struct SeriesInfo {
  const char* name;   // "Series1", "TraceSeries14", ...
  ChartId chart;      // series are added to their chart in the table's order
  const char* title;  // legend title
  Rgb colour;         // line colour
  bool hidden;        // draws nothing; only lifts the automatic axis maximum
  bool inLegend;
  Field field;
  Decoding decoding;
  Rgb pointColour;  // the colour every point of the series carries
};
const SeriesInfo& SeriesInfoOf(int series);

}  // namespace monitor
