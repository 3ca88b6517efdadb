#pragma once
// The data logger's CSV files: line splitting, fields, fixed-position readings and the
// plotting decisions of one load, as plain data. The window turns a LoadResult into
// table rows and chart points; nothing here touches a widget.
//
// A file is 8-bit text. A line ends at CR; an LF right after the CR belongs to the line
// end, an LF elsewhere is an ordinary character; Ctrl-Z ends the file. A record is a line
// of more than 83 characters; shorter lines are skipped. Fields are split at every
// separator, without quoting; the last field runs to the line end.
#include <sys/stat.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/core/charts.h"

namespace monitor {

inline constexpr std::size_t kMinRecordLength = 84;  // a record is longer than 83
inline constexpr int kLastPlottedCSVRow = 16383;     // CSVRow of the last record that plots
inline constexpr int kLastPlottedRecord = kLastPlottedCSVRow - 1;  // its table row
inline constexpr int kRecordFields = 34;
inline constexpr int kGridColumnsBeforeLoad = 35;
inline constexpr int kGridRowsBeforeLoad = 128;
inline constexpr const char* kCSVHeader =
    "Date,Time,T1,T2,T3,A1,A2,A3,A4,A5,A6,A7,A8,D12,11,10,9,8,7,6,5,4,3,2,1,O8,7,6,5,4,3,2,1,"
    "Status";

// Width in pixels of table column `col` (0 = the row number column). Columns past 34
// take the width of the Status column.
int GridColWidth(int col);

// One point of a series: its value, its colour and the record whose label it carries
// (an index into LoadResult::labels). Its X is its index in the series.
struct PlotPoint {
  double value;
  Rgb colour;
  std::int32_t label;
};

// The points of one series. A load's series keep only the readings of their field, shared
// by the series drawn from the same field (the CSV page's, the channel page's, the hidden
// one that lifts an axis), and work a point's value out of its reading, by the load's own
// arithmetic, when it is asked for; a level series keeps only its count. Points given as a
// list are kept as they are.
class PlotSeries {
 public:
  PlotSeries() = default;
  explicit PlotSeries(std::vector<PlotPoint> points) : own_(std::move(points)) {}

  std::size_t size() const { return form_ == Form::kOwn ? own_.size() : column_->count; }
  bool empty() const { return size() == 0; }
  double value(std::size_t i) const;
  Rgb colour(std::size_t i) const { return form_ == Form::kOwn ? own_[i].colour : colour_; }
  std::int32_t label(std::size_t i) const;
  PlotPoint operator[](std::size_t i) const { return PlotPoint{value(i), colour(i), label(i)}; }
  PlotPoint at(std::size_t i) const;  // throws std::out_of_range past the end
  PlotPoint back() const { return (*this)[size() - 1]; }
  // The smallest and largest finite value and how many values are finite.
  struct Range {
    double low = 0;
    double high = 0;
    std::size_t finite = 0;
  };
  Range FiniteRange() const;

  // Empties the series; the other series of its load keep their points.
  void clear();

  class const_iterator {
   public:
    using value_type = PlotPoint;
    using difference_type = std::ptrdiff_t;
    using reference = PlotPoint;
    using pointer = void;
    using iterator_category = std::input_iterator_tag;
    const_iterator(const PlotSeries* s, std::size_t i) : s_(s), i_(i) {}
    PlotPoint operator*() const { return (*s_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator c = *this;
      ++i_;
      return c;
    }
    bool operator==(const const_iterator& o) const { return i_ == o.i_; }
    bool operator!=(const const_iterator& o) const { return i_ != o.i_; }

   private:
    const PlotSeries* s_;
    std::size_t i_;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

 private:
  friend class CsvLoader;
  // How a point's value follows from its reading's code.
  enum class Form : std::uint8_t {
    kOwn,          // own_ holds the points
    kLevel,        // factor_, at every point
    kTemperature,  // ReadTemperature's value
    kCounter,      // the counter
    kCounterLine,  // the counter + 10
    kAnalog,       // ReadAnalog's value
    kScaled,       // the analog value times factor_
    kLifted,       // the scaled value * 1.1 + 1
  };
  struct Column {
    std::vector<std::int32_t> codes;   // one per point; none for a level column
    std::vector<std::int32_t> labels;  // one per point; none while each label is its index
    std::size_t count = 0;
  };
  PlotSeries(std::shared_ptr<const Column> column, Form form, Rgb colour, double factor)
      : column_(std::move(column)), form_(form), colour_(colour), factor_(factor) {}
  // The value of a reading's code in a series of form F (a form with codes).
  template <Form F>
  static double Decode(std::int32_t code, double factor);
  // Calls g.operator()<F>() for the form of a series with codes.
  template <class G>
  decltype(auto) WithForm(G&& g) const;

  std::shared_ptr<const Column> column_;
  Form form_ = Form::kOwn;
  Rgb colour_ = 0;
  double factor_ = 0;
  std::vector<PlotPoint> own_;
};

// What a load reads from the window, once, before it starts.
struct LoadOptions {
  int tLevel = 0;                                     // TLevelValue
  int aLevel = 0;                                     // ALevelValue
  std::array<int, 8> coarse{1, 1, 1, 1, 1, 1, 1, 1};  // ScrollBarA1..A8 positions
  std::array<int, 8> fine{};                          // ScrollBarA01..A08 positions
  bool xmode = false;  // labels "Date,Time" instead of the row number
  char separator = ',';
  double Multiplier(int k) const { return fine[k] * 0.001 + coarse[k]; }  // channel A(k+1)
};

// The table's text: row 0 the header, row r the r-th record, column 0 the row number.
// A row is kept as where its line lies in one shared copy of the file's bytes, and a field
// is found in its line when asked for, so a large file costs little beyond its bytes.
class CsvTable {
 public:
  // The table before the first load: 35 columns, 128 rows, every cell empty.
  CsvTable();

  int rows() const { return rows_; }
  int columns() const { return columns_; }
  bool red() const { return red_; }
  // Cell text as Windows-1252 bytes; empty outside the rows' fields.
  std::string cell(int col, int row) const;
  // Columns >= 1 only; empty outside the row's fields. Valid while the table lives.
  std::string_view field(int col, int row) const;
  // Number of fields stored for a row (0 for rows of the table before the first load).
  int fieldCount(int row) const;

 private:
  friend class CsvLoader;
  struct Span {
    std::uint32_t offset;  // top bit set: in extra_, else in file_
    std::uint32_t length;
  };
  std::string_view Line(int row) const;  // empty for rows not stored
  std::shared_ptr<const std::string> file_;
  std::shared_ptr<const std::string> extra_;
  std::vector<Span> lines_;  // the line of every stored row
  char separator_ = ',';
  int rows_ = kGridRowsBeforeLoad;
  int columns_ = kGridColumnsBeforeLoad;
  bool red_ = false;
};

// Everything one load produces.
struct LoadResult {
  CsvTable table;
  std::array<PlotSeries, kSeriesCount> series;
  std::vector<std::string> labels;  // X labels of the plotted records, in order
  int records = 0;                  // records taken (table rows below the header)
  int beeps = 0;                    // readings above their level, one beep each
};

// Fixed-position readings. Each digit position is read as its character's code minus that
// of '0', so a field with other characters there still gives a reading, and its point stays
// at its record; a field too short for its form gives none (nullopt): it plots nothing and
// never beeps.
// sDDD.D: sign, three digits, any character, one digit of tenths.
struct Temperature {
  double value;  // signed, in tenths resolution
  int level;     // the value rounded for the level test (tenths of 6 to 9 round up), signed
  int tenths;    // the four positions as one number, unsigned: value is +-tenths / 10.0
  bool negative;
};
std::optional<Temperature> ReadTemperature(std::string_view field);
// DDDDDD: six digits.
std::optional<std::int32_t> ReadCounter(std::string_view field);
// DD.D: two digits, any character, one digit of tenths.
struct Analog {
  double value;  // 0.0 .. 99.9
  int whole;     // the two digits, used for the level test
  int tenth;     // the tenths position: value is whole + 0.1 * tenth
};
std::optional<Analog> ReadAnalog(std::string_view field);

// True when a line's Status field flags the record ('T' or 'A' as its third character).
bool IsFlaggedStatus(std::string_view status);

// Splits bytes into lines by the rules above.
std::vector<std::string_view> SplitLines(std::string_view bytes);
// Calls f(line) for each line, without building a list.
template <class F>
void ForEachLine(std::string_view bytes, F&& f);

// The fields of one line, taken from its start: split at every separator, without quoting;
// the last field runs to the line end, so an empty line is one empty field. The load, the
// table's cells and their count all read fields through it.
class FieldCursor {
 public:
  FieldCursor(std::string_view line, char separator) : rest_(line), separator_(separator) {}
  // Takes the next field into `field`; false once the last field has been taken.
  bool Next(std::string_view& field) {
    if (done_) return false;
    const std::size_t sep = rest_.find(separator_);
    if (sep == std::string_view::npos) {
      field = rest_;
      done_ = true;
      return true;
    }
    field = rest_.substr(0, sep);
    rest_.remove_prefix(sep + 1);
    return true;
  }
  // The number of fields not yet taken.
  std::size_t Left() const;
  // The line's last field (the one taken last once none is left).
  std::string_view Last() const;

 private:
  std::string_view rest_;  // the fields not yet taken; once done_, the last field
  char separator_;
  bool done_ = false;
};

// One load, step by step, as the window runs it: the constructor takes the header literal
// as row 0, ParseCSVLine takes the file's lines in order, Finish ends the load.
//   CsvLoader loader(options, ReadFileBytes(name));
//   ForEachLine(loader.bytes(), [&](std::string_view line) { loader.ParseCSVLine(line); });
//   LoadResult result = loader.Finish();
class CsvLoader {
 public:
  CsvLoader(const LoadOptions& options, std::string bytes = {});
  ~CsvLoader();
  // The bytes given to the constructor.
  std::string_view bytes() const;
  // Takes one line, a view into bytes() or any other text; a line that is not a record
  // is skipped. Stores the fields as a table row and plots every field but the last.
  void ParseCSVLine(std::string_view line);
  // The points of one field of the record in hand (`column` = its table column), as
  // ParseCSVLine calls it; adds nothing outside the plotted records.
  void PlotCell(int column, std::string_view field);
  // Ends the load and hands over the result; the loader is spent.
  LoadResult Finish();

 private:
  void Add(Field field, std::int32_t code);
  void Store(std::string_view line);

  LoadOptions options_;
  std::shared_ptr<std::string> file_;
  std::shared_ptr<std::string> extra_;  // the header and lines from outside file_
  LoadResult result_;
  int csvRow_ = 0;
  int lastColumns_ = 0;
  std::int32_t label_ = -1;  // label index of the record in hand
  std::vector<std::string_view> fields_;
  std::array<std::shared_ptr<PlotSeries::Column>, kFieldCount> columns_;  // by Field
};

// The whole load of a file's bytes.
LoadResult LoadCSV(std::string bytes, const LoadOptions& options);

// The largest file a load takes: its cells are kept as 31-bit offsets into its bytes.
inline constexpr std::size_t kMaxLoadBytes = 0x7FFFFFFF;

// Reads a whole file for a load; throws platform::Error with the reason ("File not found",
// "File access denied", "File too large", "I/O error N") when it cannot. A file larger
// than kMaxLoadBytes is refused before any memory is taken for it.
std::string ReadFileBytes(const std::string& path);
// Reads a whole regular file into `bytes`: 0, or the error number (EISDIR for anything but
// a regular file, EFBIG for one of more than `maxBytes`, found before its bytes are read).
// Never blocks on a pipe or device. `opened`, when given, is set to the file's status once
// it is open and known to be a regular file, so a caller can tell a file it could not open
// from one that failed while being read.
int ReadRegularFile(const std::string& path, std::string& bytes, struct stat* opened = nullptr,
                    std::size_t maxBytes = std::string::npos);

// ---------------------------------------------------------------------------------------
template <class F>
void ForEachLine(std::string_view bytes, F&& f) {
  const std::size_t end = bytes.find('\x1a');
  if (end != std::string_view::npos) bytes = bytes.substr(0, end);
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t cr = bytes.find('\r', pos);
    if (cr == std::string_view::npos) {
      f(bytes.substr(pos));
      return;
    }
    f(bytes.substr(pos, cr - pos));
    pos = cr + 1;
    if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
  }
}

}  // namespace monitor
