#include "monitor/core/load.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QColor>
#include <QFile>
#include <QSize>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>

#include "monitor/csvgrid.h"
#include "platform/messagebox.h"

namespace {

using namespace monitor;

// A logger record of 34 fields; readings that stay at or below zero levels by default.
std::vector<std::string> Fields() {
  std::vector<std::string> f = {"01.12.2026", "08:15:00", "+000.0", "+000.0", "+000.0"};
  for (int i = 0; i < 8; ++i) f.push_back("00.0");
  for (int i = 0; i < 20; ++i) f.push_back("0");
  f.push_back("000");
  return f;
}
std::string Join(const std::vector<std::string>& f) {
  std::string s;
  for (std::size_t i = 0; i < f.size(); ++i) s += (i ? "," : "") + f[i];
  return s;
}
std::string Record(std::map<int, std::string> changes = {}) {
  auto f = Fields();
  for (auto& [column, text] : changes) f[column - 1] = text;
  return Join(f);
}
std::vector<double> Values(const LoadResult& r, int series) {
  std::vector<double> v;
  for (const PlotPoint& p : r.series[series]) v.push_back(p.value);
  return v;
}

TEST(CsvLines, SplitAtCarriageReturns) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"abc", {"abc"}},
      {"a\rb", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\r", {"a\nb"}},  // a lone LF is part of the line
      {"a\r\r\nb", {"a", "", "b"}},
      {"\r\n\n", {"", "\n"}},
      {"a\r\x1a"
       "b\r",
       {"a"}},  // Ctrl-Z ends the file
      {"ab\x1a", {"ab"}},
      {"\n\r\n", {"\n"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> got;
    for (auto l : SplitLines(c.bytes)) got.emplace_back(l);
    EXPECT_EQ(got, c.lines) << testing::PrintToString(c.bytes);
  }
}

TEST(CsvLines, FieldsSplitAtEverySeparator) {
  using V = std::vector<std::string_view>;
  struct Case {
    std::string_view line;
    char separator;
    V fields;
  } cases[] = {
      {"a,,b,", ',', {"a", "", "b", ""}},
      {"abc", ',', {"abc"}},
      {"", ',', {""}},
      {"a;b,c", ';', {"a", "b,c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line));
    // Every field one by one; the count and the last field at any point on the way.
    FieldCursor cursor(c.line, c.separator);
    V got;
    std::string_view f;
    for (;;) {
      EXPECT_EQ(cursor.Left(), c.fields.size() - got.size());
      EXPECT_EQ(cursor.Last(), c.fields.back());
      if (!cursor.Next(f)) break;
      got.push_back(f);
    }
    EXPECT_EQ(got, c.fields);
    EXPECT_FALSE(cursor.Next(f));
  }
}

TEST(CsvValues, FixedPositionReadings) {
  struct T {
    const char* field;
    bool ok;
    double value;
    int level;
  } temps[] = {
      {"+025.6", true, 25.6, 26},
      {"+025.5", true, 25.5, 25},
      {"-050.0", true, -50.0, -50},
      {"-025.7", true, -25.7, -26},
      {"+100.9", true, 100.9, 101},
      {"+025,6", true, 25.6, 26},
      {"+025.67", true, 25.6, 26},  // characters past the form are not read
      {"+025.", false, 0, 0},
      {"+02", false, 0, 0},
      {"+", false, 0, 0},
      {"", false, 0, 0},
      {"025.6", false, 0, 0},
      // Other characters at digit positions count by their codes: a blank as -16, "x" as 72.
      {"+ 25.6", true, -1574.4, -1574},
      {"+025.x", true, 32.2, 26},
  };
  for (const T& t : temps) {
    const auto r = ReadTemperature(t.field);
    ASSERT_EQ(r.has_value(), t.ok) << t.field;
    if (!r) continue;
    EXPECT_DOUBLE_EQ(r->value, t.value) << t.field;
    EXPECT_EQ(r->level, t.level) << t.field;
  }
  EXPECT_EQ(ReadCounter("000123"), 123);
  EXPECT_EQ(ReadCounter("9999990"), 999999);
  EXPECT_EQ(ReadCounter("00012"), std::nullopt);
  EXPECT_EQ(ReadCounter("00 123"), -15877);  // the blank counts -16 thousand
  EXPECT_EQ(ReadCounter("\xB9"
                        "00123"),
            13700123);  // superscript one, code 185, counts 137
  const auto a = ReadAnalog("12.7");
  ASSERT_TRUE(a);
  EXPECT_DOUBLE_EQ(a->value, 12.7);
  EXPECT_EQ(a->whole, 12);
  EXPECT_DOUBLE_EQ(ReadAnalog("99.9")->value, 99.9);
  EXPECT_EQ(ReadAnalog("12."), std::nullopt);
  EXPECT_DOUBLE_EQ(ReadAnalog(" 2.5")->value, -157.5);  // -160 + 2 + 0.5
  EXPECT_EQ(ReadAnalog(" 2.5")->whole, -158);
  EXPECT_EQ(ReadAnalog(""), std::nullopt);
}

// One record through the whole load: points, beeps and table colour.
TEST(CsvLoad, RecordCases) {
  struct Case {
    const char* what;
    std::string line;
    std::function<void(LoadOptions&)> setup;
    std::map<int, std::vector<double>> points;  // series that get points (others checked empty)
    int beeps;
    bool red;
  };
  const std::vector<double> levels0 = {0};
  auto base = [&](std::map<int, std::vector<double>> extra) {
    // Every record with the default readings feeds these series.
    std::map<int, std::vector<double>> p = {
        {kSeries1, {0}},      {kSeries2, {0}},      {kSeries3, {0}},      {kSeries4, {0}},
        {kSeries13, {0}},     {kTraceSeries1, {0}}, {kTraceSeries2, {0}}, {kTraceSeries3, {0}},
        {kTraceSeries4, {0}}, {kTraceSeries13, {0}}};
    for (int k = 0; k < 8; ++k) {
      p[kSeries5 + k] = {0};
      p[kTraceSeries5 + k] = {0};
      p[kSeries14 + k] = {1};
    }
    for (auto& [s, v] : extra) {
      if (v.empty())
        p.erase(s);
      else
        p[s] = v;
    }
    return p;
  };
  auto none = [](LoadOptions&) {};
  const Case cases[] = {
      {"T1 +025.6 rounds up past level 25", Record({{3, "+025.6"}}),
       [](LoadOptions& o) { o.tLevel = 25; },
       base({{kSeries1, {25.6}}, {kTraceSeries1, {25.6}}, {kSeries4, {25}}, {kTraceSeries4, {25}}}),
       1, false},
      {"T1 +025.5 stays at level 25", Record({{3, "+025.5"}}),
       [](LoadOptions& o) { o.tLevel = 25; },
       base({{kSeries1, {25.5}}, {kTraceSeries1, {25.5}}, {kSeries4, {25}}, {kTraceSeries4, {25}}}),
       0, false},
      {"-050.0 compares with its sign: no beep at level 40", Record({{3, "-050.0"}}),
       [](LoadOptions& o) { o.tLevel = 40; },
       base({{kSeries1, {-50}}, {kTraceSeries1, {-50}}, {kSeries4, {40}}, {kTraceSeries4, {40}}}),
       0, false},
      {"-050.0 is above level -60", Record({{3, "-050.0"}, {4, "-070.0"}, {5, "-070.0"}}),
       [](LoadOptions& o) { o.tLevel = -60; },
       base({{kSeries1, {-50}},
             {kTraceSeries1, {-50}},
             {kSeries2, {-70}},
             {kTraceSeries2, {-70}},
             {kSeries3, {-70}},
             {kTraceSeries3, {-70}},
             {kSeries4, {-60}},
             {kTraceSeries4, {-60}}}),
       1, false},
      {"counter in T2", Record({{4, "000123"}}), [](LoadOptions& o) { o.tLevel = -40; },
       base({{kSeries2, {}},
             {kTraceSeries2, {}},
             {kTraceSeries14, {123}},
             {kLineSeries1, {133}},
             {kSeries4, {-40}},
             {kTraceSeries4, {-40}}}),
       2, false},  // the T1 and T3 zeros beep at level -40, the counter never does
      {"counter in T3", Record({{5, "004711"}}), none,
       base(
           {{kSeries3, {}}, {kTraceSeries3, {}}, {kTraceSeries15, {4711}}, {kLineSeries2, {4721}}}),
       0, false},
      {"counter text in T1 plots nothing", Record({{3, "000123"}}), none,
       base({{kSeries1, {}}, {kTraceSeries1, {}}}), 0, false},
      {"A3 12.7 at level 12, bars 2 and 500", Record({{8, "12.7"}}),
       [](LoadOptions& o) {
         o.aLevel = 12;
         o.coarse[2] = 2;
         o.fine[2] = 500;
       },
       base({{kSeries7, {12.7}},
             {kTraceSeries7, {31.75}},
             {kSeries16, {35.925}},
             {kSeries13, {12}},
             {kTraceSeries13, {12}}}),
       0, false},
      {"A3 12.7 beeps at level 11", Record({{8, "12.7"}}), [](LoadOptions& o) { o.aLevel = 11; },
       base({{kSeries7, {12.7}},
             {kTraceSeries7, {12.7}},
             {kSeries16, {12.7 * 1.1 + 1}},
             {kSeries13, {11}},
             {kTraceSeries13, {11}}}),
       1, false},
      {"both multiplier bars at 0", Record({{6, "50.0"}}),
       [](LoadOptions& o) {
         o.coarse[0] = 0;
         o.aLevel = 100;
       },
       base({{kSeries5, {50}},
             {kTraceSeries5, {0}},
             {kSeries14, {1}},
             {kSeries13, {100}},
             {kTraceSeries13, {100}}}),
       0, false},
      {"status 00T flags", Record({{34, "00T"}}), none, base({}), 0, true},
      {"status 00A flags", Record({{34, "00A"}}), none, base({}), 0, true},
      {"status AB does not", Record({{34, "AB"}}), none, base({}), 0, false},
      {"status 00t does not", Record({{34, "00t"}}), none, base({}), 0, false},
      {"35 fields never flag", Record() + ",00T", none, base({}), 0, false},
      {"fields shorter than their form plot nothing",
       Record({{3, "+02"}, {4, ""}, {5, "-"}, {6, "1"}, {7, ""}, {8, "1."}}),
       [](LoadOptions& o) {
         o.tLevel = -99;
         o.aLevel = -1;
       },
       base({{kSeries1, {}},
             {kTraceSeries1, {}},
             {kSeries2, {}},
             {kTraceSeries2, {}},
             {kSeries3, {}},
             {kTraceSeries3, {}},
             {kSeries5, {}},
             {kTraceSeries5, {}},
             {kSeries14, {}},
             {kSeries6, {}},
             {kTraceSeries6, {}},
             {kSeries15, {}},
             {kSeries7, {}},
             {kTraceSeries7, {}},
             {kSeries16, {}},
             {kSeries4, {-99}},
             {kTraceSeries4, {-99}},
             {kSeries13, {-1}},
             {kTraceSeries13, {-1}}}),
       5, false},  // only A4..A8 (00.0 > -1) beep
      {"other characters at digit positions count by their codes, a blank as -16",
       Record({{3, "+0 5.6"}, {8, "1 .5"}, {5, "+02x.0"}}), [](LoadOptions& o) { o.tLevel = 100; },
       base({{kSeries1, {-154.4}},
             {kTraceSeries1, {-154.4}},
             {kSeries7, {-5.5}},
             {kTraceSeries7, {-5.5}},
             {kSeries16, {-5.5 * 1.1 + 1}},
             {kSeries3, {92}},
             {kTraceSeries3, {92}},
             {kSeries4, {100}},
             {kTraceSeries4, {100}}}),
       0, false},  // T3 (200 + 720) / 10 = 92 tests as 92, not above 100
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LoadOptions o;
    c.setup(o);
    const LoadResult r = LoadCSV(c.line + "\r\n", o);
    EXPECT_EQ(r.records, 1);
    for (int s = 0; s < kSeriesCount; ++s) {
      const auto it = c.points.find(s);
      const std::vector<double> want = it == c.points.end() ? std::vector<double>{} : it->second;
      const auto got = Values(r, s);
      ASSERT_EQ(got.size(), want.size()) << SeriesInfoOf(s).name;
      for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-9) << SeriesInfoOf(s).name;
    }
    EXPECT_EQ(r.beeps, c.beeps);
    EXPECT_EQ(r.table.red(), c.red);
  }
}

// A record with a bad plotted field still gives its points, so every point of that series
// stays at its own record's label.
TEST(CsvLoad, ABadFieldKeepsEveryPointAtItsRecord) {
  const std::string bytes = Record({{6, "10.0"}, {3, "+010.0"}}) + "\r\n" +
                            Record({{6, "1x.5"}, {3, "+0?0.0"}}) + "\r\n" +
                            Record({{6, "30.0"}, {3, "+030.0"}}) + "\r\n";
  const LoadResult r = LoadCSV(bytes, LoadOptions{});
  ASSERT_EQ(r.labels, (std::vector<std::string>{"1", "2", "3"}));
  for (int s : {kSeries1, kTraceSeries1, kSeries5, kTraceSeries5, kSeries14}) {
    ASSERT_EQ(r.series[s].size(), 3u) << SeriesInfoOf(s).name;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(r.series[s][i].label, i) << SeriesInfoOf(s).name;
  }
  EXPECT_DOUBLE_EQ(r.series[kSeries5][2].value, 30.0);
  EXPECT_DOUBLE_EQ(r.series[kSeries5][1].value, 10 + ('x' - '0') + 0.5);
  EXPECT_DOUBLE_EQ(r.series[kSeries1][1].value, 10 * ('?' - '0'));
}

// A series' point has exactly the value its field's reading gives, worked out as the load
// does (down to the sign of a zero), whatever characters stand at the digit positions.
TEST(CsvLoad, PointsHoldTheReadingsValuesExactly) {
  const char* temperatures[] = {
      "+000.0", "-000.0", "-123.9", "+999.9", "+0?0.5", "-1x2.~", "+\xff\xff\xff.\xff"};
  const char* analogs[] = {"00.0", "99.9", "1x.5", " 3.~", "\xff\xff.\xff", "-.-1"};
  LoadOptions o;
  o.coarse[0] = 3;
  o.fine[0] = 217;
  std::string bytes;
  for (const char* t : temperatures)
    for (const char* a : analogs) bytes += Record({{3, t}, {6, a}}) + "\r\n";
  const LoadResult r = LoadCSV(bytes, o);
  const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  std::size_t i = 0;
  for (const char* t : temperatures) {
    for (const char* a : analogs) {
      const double temperature = ReadTemperature(t)->value;
      EXPECT_TRUE(same(r.series[kSeries1][i].value, temperature)) << t;
      EXPECT_TRUE(same(r.series[kTraceSeries1][i].value, temperature)) << t;
      const double analog = ReadAnalog(a)->value;
      const double scaled = analog * o.Multiplier(0);
      EXPECT_TRUE(same(r.series[kSeries5][i].value, analog)) << a;
      EXPECT_TRUE(same(r.series[kTraceSeries5][i].value, scaled)) << a;
      EXPECT_TRUE(same(r.series[kSeries14][i].value, scaled * 1.1 + 1)) << a;
      ++i;
    }
  }
  EXPECT_EQ(i, r.series[kSeries1].size());
}

// A load's series share their field's readings; emptying one of them leaves the rest alone.
TEST(CsvLoad, AClearedSeriesLeavesTheOthersOfItsFieldAlone) {
  const std::string bytes = Record({{6, "10.0"}}) + "\r\n" + Record({{6, "20.0"}}) + "\r\n";
  LoadResult r = LoadCSV(bytes, LoadOptions{});
  PlotSeries copy = r.series[kSeries5];
  EXPECT_DOUBLE_EQ(copy[1].value, 20.0);
  EXPECT_EQ(copy[1].colour, colour::kRed);
  r.series[kSeries5].clear();
  EXPECT_TRUE(r.series[kSeries5].empty());
  EXPECT_EQ(copy.size(), 2u);
  EXPECT_EQ(r.series[kTraceSeries5].size(), 2u);
  EXPECT_EQ(r.series[kSeries14].size(), 2u);
  EXPECT_THROW(r.series[kTraceSeries5].at(2), std::out_of_range);
}

TEST(CsvLoad, PointColoursAndLabels) {
  LoadOptions o;
  const std::string bytes =
      Record({{1, "02.12.2026"}, {2, "10:30:00"}}) + "\r\n" + Record() + "\r\n";
  LoadResult r = LoadCSV(bytes, o);
  ASSERT_EQ(r.series[kSeries1].size(), 2u);
  EXPECT_EQ(r.series[kSeries1][0].colour, colour::kBlue);
  EXPECT_EQ(r.series[kSeries2][0].colour, colour::kGreen);
  EXPECT_EQ(r.series[kSeries3][0].colour, colour::kYellow);
  EXPECT_EQ(r.series[kSeries4][0].colour, colour::kWhite);
  EXPECT_EQ(r.series[kSeries9][0].colour, colour::kBlue);    // A5 point on the CSV page
  EXPECT_EQ(r.series[kSeries10][0].colour, colour::kOlive);  // A6
  EXPECT_EQ(r.series[kTraceSeries5][0].colour, colour::kBlack);
  EXPECT_EQ(r.labels, (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(r.series[kSeries4][1].label, 1);
  EXPECT_EQ(r.series[kTraceSeries12][1].label, 1);

  o.xmode = true;
  r = LoadCSV(bytes, o);
  EXPECT_EQ(r.labels, (std::vector<std::string>{"02.12.2026,10:30:00", "01.12.2026,08:15:00"}));
  // The level points taken at the Date field carry the record's label too.
  EXPECT_EQ(r.labels[r.series[kSeries4][0].label], "02.12.2026,10:30:00");
}

TEST(CsvLoad, TableRowsColumnsAndShortLines) {
  const std::string lf =
      "note\nwith a line feed inside a record which stays in its field" + std::string(30, '.');
  const std::string bytes = "short header\r\n\r\n" + Record() + "\r" + Record({{34, "00T"}}) +
                            "\r\n" + std::string(83, 'x') + "\r\n" + lf + "," + Record() + "\r\n" +
                            "\x1a" + Record() + "\r\n";
  const LoadResult r = LoadCSV(bytes, LoadOptions{});
  const CsvTable& t = r.table;
  EXPECT_EQ(r.records, 3);
  EXPECT_EQ(t.rows(), 4);
  EXPECT_EQ(t.columns(), 36);  // the last line has 35 fields
  EXPECT_TRUE(t.red());
  EXPECT_EQ(t.cell(0, 0), "0");
  EXPECT_EQ(t.cell(1, 0), "Date");
  EXPECT_EQ(t.cell(14, 0), "D12");
  EXPECT_EQ(t.cell(34, 0), "Status");
  EXPECT_EQ(t.cell(35, 0), "");
  EXPECT_EQ(t.cell(0, 3), "3");
  EXPECT_EQ(t.cell(1, 1), "01.12.2026");
  EXPECT_EQ(t.cell(34, 2), "00T");
  EXPECT_EQ(t.cell(1, 3), lf);
  EXPECT_EQ(t.cell(35, 3), "000");
  EXPECT_EQ(t.cell(35, 1), "");  // past that row's fields
  EXPECT_EQ(t.cell(1, 4), "");   // past the rows
  EXPECT_EQ(t.cell(-1, 1), "");

  // A line without any separator fills column 1 alone.
  const LoadResult one = LoadCSV(Record() + "\r" + std::string(90, 'z'), LoadOptions{});
  EXPECT_EQ(one.table.columns(), 2);
  EXPECT_EQ(one.table.cell(1, 2), std::string(90, 'z'));
  EXPECT_EQ(one.series[kSeries4].size(), 1u);  // nothing of it is plotted

  // 30 fields in the last line give 31 columns.
  auto f = Fields();
  f.resize(30);
  EXPECT_EQ(LoadCSV(Join(f) + std::string(40, ' '), LoadOptions{}).table.columns(), 31);
}

TEST(CsvLoad, OnlyShortLinesGiveTheHeaderAlone) {
  const LoadResult r = LoadCSV("TK5063GM\r\n\r\n" + std::string(83, '1') + "\r\n", LoadOptions{});
  EXPECT_EQ(r.records, 0);
  EXPECT_EQ(r.table.rows(), 1);
  EXPECT_EQ(r.table.columns(), 35);
  EXPECT_EQ(r.table.cell(2, 0), "Time");
  EXPECT_FALSE(r.table.red());
  for (const auto& s : r.series) EXPECT_TRUE(s.empty());
  EXPECT_TRUE(LoadCSV("", LoadOptions{}).labels.empty());
}

TEST(CsvLoad, RecordsPastThePlottingLimitFillOnlyTheTable) {
  std::string bytes;
  const int n = kLastPlottedRecord + 3;
  for (int i = 1; i <= n; ++i) bytes += Record({{3, "+001.0"}}) + "\r\n";
  const LoadResult r = LoadCSV(bytes, LoadOptions{});
  EXPECT_EQ(r.records, n);
  EXPECT_EQ(r.table.rows(), n + 1);
  EXPECT_EQ(r.table.cell(0, n), std::to_string(n));
  EXPECT_EQ(r.table.cell(3, n), "+001.0");
  EXPECT_EQ(r.labels.size(), 16382u);
  EXPECT_EQ(r.labels.back(), "16382");
  for (int s = 0; s < kSeriesCount; ++s) {
    const std::size_t want =
        (s == kTraceSeries14 || s == kTraceSeries15 || s == kLineSeries1 || s == kLineSeries2)
            ? 0u
            : 16382u;
    EXPECT_EQ(r.series[s].size(), want) << SeriesInfoOf(s).name;
  }
  EXPECT_EQ(r.beeps, 16382);  // T1 1.0 > level 0, plotted records only
}

TEST(CsvLoad, CounterRecordShiftsLaterTemperaturePoints) {
  std::string bytes;
  for (int i = 1; i <= 6; ++i)
    bytes +=
        Record({{3, "+001.0"}, {4, i == 5 ? "000050" : "+00" + std::to_string(i) + ".0"}}) + "\r\n";
  const LoadResult r = LoadCSV(bytes, LoadOptions{});
  EXPECT_EQ(Values(r, kSeries2), (std::vector<double>{1, 2, 3, 4, 6}));
  EXPECT_EQ(r.labels[r.series[kSeries2][4].label], "6");  // index 4 carries record 6's label
  EXPECT_EQ(r.series[kSeries1].size(), 6u);
  EXPECT_EQ(Values(r, kTraceSeries14), std::vector<double>{50});
}

TEST(CsvLoad, StepwiseLoaderTakesOutsideLines) {
  CsvLoader loader(LoadOptions{});
  const std::string line = Record({{6, "42.0"}});
  loader.ParseCSVLine(line);
  loader.ParseCSVLine("short");
  const LoadResult r = loader.Finish();
  EXPECT_EQ(r.table.rows(), 2);
  EXPECT_EQ(r.table.cell(6, 1), "42.0");
  EXPECT_EQ(Values(r, kSeries5), std::vector<double>{42});
}

TEST(CsvLoad, SampleFiles) {
  const std::string dir = TK_SAMPLES_DIR;
  LoadOptions o;
  o.tLevel = 5;
  o.aLevel = 100;
  const LoadResult day1 = LoadCSV(ReadFileBytes(dir + "/261201.csv"), o);
  EXPECT_EQ(day1.records, 96);
  EXPECT_FALSE(day1.table.red());
  EXPECT_EQ(day1.series[kTraceSeries14].size(), 96u);  // T2 is a counter
  EXPECT_TRUE(day1.series[kSeries2].empty());
  EXPECT_GT(day1.beeps, 0);
  const LoadResult day2 = LoadCSV(ReadFileBytes(dir + "/261202.csv"), o);
  EXPECT_EQ(day2.records, 96);  // its short line is skipped
  EXPECT_TRUE(day2.table.red());
  const LoadResult merged = LoadCSV(ReadFileBytes(dir + "/-261201-261204.csv"), o);
  EXPECT_EQ(merged.records, 384);
  EXPECT_EQ(merged.table.columns(), 35);
  EXPECT_TRUE(merged.table.red());
}

TEST(CsvLoad, UnreadableFilesRaiseTheirReason) {
  QTemporaryDir dir;
  auto message = [](const std::string& path) {
    try {
      ReadFileBytes(path);
    } catch (const platform::Error& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message(dir.filePath("missing.csv").toStdString()), "File not found");
  EXPECT_EQ(message(dir.path().toStdString()), "File access denied");
  const std::string fifo = dir.filePath("pipe.csv").toStdString();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(message(fifo), "File access denied");
  // Past the largest loadable size: refused by its size, with nothing read or reserved
  // (a sparse file, so it takes no disk).
  const std::string huge = dir.filePath("huge.csv").toStdString();
  {
    QFile f(QString::fromStdString(huge));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(static_cast<qint64>(kMaxLoadBytes) + 1));
  }
  EXPECT_EQ(message(huge), "File too large");
  std::string bytes;
  EXPECT_EQ(ReadRegularFile(huge, bytes, nullptr, kMaxLoadBytes), EFBIG);
  EXPECT_LT(bytes.capacity(), std::size_t{1} << 20);
}

TEST(CsvLoad, ReadRegularFileTakesAFileUpToItsBound) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("ten.csv").toStdString();
  {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("0123456789");
  }
  struct Case {
    std::size_t bound;
    int err;
  };
  for (const Case c : {Case{9, EFBIG}, Case{10, 0}, Case{std::string::npos, 0}}) {
    std::string bytes;
    EXPECT_EQ(ReadRegularFile(path, bytes, nullptr, c.bound), c.err) << c.bound;
    EXPECT_EQ(bytes, c.err == 0 ? "0123456789" : "") << c.bound;
  }
}

TEST(CsvGridModel, BeforeAndAfterALoad) {
  CsvGrid grid;
  EXPECT_EQ(grid.rowCount(), 128);
  EXPECT_EQ(grid.columnCount(), 35);
  EXPECT_EQ(grid.data(grid.index(0, 1)).toString(), "");

  LoadResult r = LoadCSV(Record({{2, "09:00:00"},
                                 {34,
                                  "\xB0"
                                  "0T"}}) +
                             "\r\n",
                         LoadOptions{});
  grid.SetTable(std::move(r.table));
  EXPECT_EQ(grid.rowCount(), 2);
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.ColCount(), 35);
  EXPECT_EQ(grid.data(grid.index(0, 1)).toString(), "Date");
  EXPECT_EQ(grid.data(grid.index(1, 0)).toString(), "1");
  EXPECT_EQ(grid.data(grid.index(1, 2)).toString(), "09:00:00");
  EXPECT_EQ(grid.data(grid.index(1, 34)).toString(), QString::fromUtf8("\u00B00T"));
  EXPECT_EQ(grid.cell(34, 1),
            "\xB0"
            "0T");
  EXPECT_EQ(grid.data(grid.index(1, 5), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
  EXPECT_EQ(grid.data(grid.index(1, 3), Qt::SizeHintRole).toSize().width(), 46);
  EXPECT_FALSE(grid.flags(grid.index(0, 3)) & Qt::ItemIsSelectable);
  EXPECT_TRUE(grid.flags(grid.index(1, 3)) & Qt::ItemIsSelectable);
}

TEST(CsvGridModel, ColumnWidths) {
  const int want[35] = {52, 52, 52, 46, 46, 46, 36, 36, 36, 36, 36, 36, 36, 36, 26, 17, 17, 12,
                        12, 12, 12, 12, 12, 12, 12, 12, 18, 12, 12, 12, 12, 12, 12, 12, 48};
  for (int c = 0; c < 35; ++c) EXPECT_EQ(GridColWidth(c), want[c]) << c;
  EXPECT_EQ(GridColWidth(40), 48);
}

}  // namespace
