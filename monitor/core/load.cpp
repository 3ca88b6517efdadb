#include "monitor/core/load.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "platform/core/error.h"

namespace monitor {
namespace {

constexpr int kGridColWidths[35] = {52, 52, 52, 46, 46, 46,  // row number, Date, Time, T1, T2, T3
                                    36, 36, 36, 36, 36, 36, 36, 36,                  // A1..A8
                                    26, 17, 17, 12, 12, 12, 12, 12, 12, 12, 12, 12,  // D12..D1
                                    18, 12, 12, 12, 12, 12, 12, 12,                  // O8..O1
                                    48};                                             // Status

// The header is taken by the same rule as every line, so it must count as a record.
static_assert(std::string_view(kCSVHeader).size() >= kMinRecordLength);

constexpr std::uint32_t kExtraBit = 0x80000000u;
static_assert(kMaxLoadBytes < kExtraBit);

// The value of position i of a field: its character code minus that of '0', whatever the
// character (a blank gives -16); none beyond the field's end.
inline std::optional<int> DigitAt(std::string_view field, std::size_t i) {
  if (i >= field.size()) return std::nullopt;
  return static_cast<unsigned char>(field[i]) - '0';
}

// The values of the readings, worked out in one place for the load and its series.
inline double TemperatureValue(int tenths, bool negative) {
  const double value = tenths / 10.0;
  return negative ? -value : value;
}
inline double AnalogValue(int whole, int tenth) { return whole + 0.1 * tenth; }

// A temperature's code: its tenths twice, plus 1 when negative; an analog reading's: the
// two digits' value and, in the low byte, the tenths position's.
std::int32_t TemperatureCode(const Temperature& t) { return t.tenths * 2 + (t.negative ? 1 : 0); }
std::int32_t AnalogCode(const Analog& a) { return a.whole * 256 + (a.tenth + 48); }

}  // namespace

int GridColWidth(int col) {
  if (col < 0) return kGridColWidths[0];
  if (col > 34) return kGridColWidths[34];
  return kGridColWidths[col];
}

std::optional<Temperature> ReadTemperature(std::string_view f) {
  if (f.empty() || (f[0] != '+' && f[0] != '-')) return std::nullopt;
  const auto p2 = DigitAt(f, 1), p3 = DigitAt(f, 2), p4 = DigitAt(f, 3), p6 = DigitAt(f, 5);
  if (!p2 || !p3 || !p4 || !p6) return std::nullopt;
  const int d2 = *p2, d3 = *p3, d4 = *p4, d6 = *p6;
  const bool negative = f[0] == '-';
  int level = 100 * d2 + 10 * d3 + d4 + (d6 > 5 ? 1 : 0);
  const int tenths = 1000 * d2 + 100 * d3 + 10 * d4 + d6;
  double value = TemperatureValue(tenths, negative);
  if (negative) level = -level;
  return Temperature{value, level, tenths, negative};
}

std::optional<std::int32_t> ReadCounter(std::string_view f) {
  std::int32_t v = 0;
  for (std::size_t i = 0; i < 6; ++i) {
    const auto d = DigitAt(f, i);
    if (!d) return std::nullopt;
    v = v * 10 + *d;
  }
  return v;
}

std::optional<Analog> ReadAnalog(std::string_view f) {
  const auto d1 = DigitAt(f, 0), d2 = DigitAt(f, 1), d4 = DigitAt(f, 3);
  if (!d1 || !d2 || !d4) return std::nullopt;
  const int whole = 10 * *d1 + *d2;
  return Analog{AnalogValue(whole, *d4), whole, *d4};
}

bool IsFlaggedStatus(std::string_view status) {
  return status.size() >= 3 && (status[2] == 'T' || status[2] == 'A');
}

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  ForEachLine(bytes, [&](std::string_view line) { lines.push_back(line); });
  return lines;
}

std::size_t FieldCursor::Left() const {
  if (done_) return 0;
  return static_cast<std::size_t>(std::count(rest_.begin(), rest_.end(), separator_)) + 1;
}

std::string_view FieldCursor::Last() const {
  if (done_) return rest_;
  const std::size_t sep = rest_.rfind(separator_);
  return sep == std::string_view::npos ? rest_ : rest_.substr(sep + 1);
}

// ---------------------------------------------------------------------------------------
template <PlotSeries::Form F>
double PlotSeries::Decode(std::int32_t code, double factor) {
  if constexpr (F == Form::kTemperature) {
    return TemperatureValue((code - (code & 1)) / 2, (code & 1) != 0);
  } else if constexpr (F == Form::kCounter) {
    return code;
  } else if constexpr (F == Form::kCounterLine) {
    return code + 10.0;
  } else {
    const int low = code & 0xFF;
    const double analog = AnalogValue((code - low) / 256, low - 48);
    if constexpr (F == Form::kAnalog) return analog;
    const double scaled = analog * factor;
    if constexpr (F == Form::kScaled) return scaled;
    return scaled * 1.1 + 1;
  }
}

template <class G>
decltype(auto) PlotSeries::WithForm(G&& g) const {
  switch (form_) {
    case Form::kTemperature: return g.template operator()<Form::kTemperature>();
    case Form::kCounter: return g.template operator()<Form::kCounter>();
    case Form::kCounterLine: return g.template operator()<Form::kCounterLine>();
    case Form::kAnalog: return g.template operator()<Form::kAnalog>();
    case Form::kScaled: return g.template operator()<Form::kScaled>();
    default: return g.template operator()<Form::kLifted>();
  }
}

double PlotSeries::value(std::size_t i) const {
  if (form_ == Form::kOwn) return own_[i].value;
  if (form_ == Form::kLevel) return factor_;
  return WithForm([&]<Form F>() { return Decode<F>(column_->codes[i], factor_); });
}

namespace {
void TakeFinite(PlotSeries::Range& r, double y) {
  if (!std::isfinite(y)) return;
  if (r.finite++ == 0) {
    r.low = r.high = y;
  } else {
    r.low = std::min(r.low, y);
    r.high = std::max(r.high, y);
  }
}
}  // namespace

PlotSeries::Range PlotSeries::FiniteRange() const {
  Range r;
  if (form_ == Form::kOwn) {
    for (const PlotPoint& p : own_) TakeFinite(r, p.value);
  } else if (form_ == Form::kLevel) {
    if (column_->count > 0 && std::isfinite(factor_)) r = Range{factor_, factor_, column_->count};
  } else {
    // One loop per form, so that no point pays for choosing its arithmetic.
    WithForm([&]<Form F>() {
      for (const std::int32_t code : column_->codes) TakeFinite(r, Decode<F>(code, factor_));
    });
  }
  return r;
}

std::int32_t PlotSeries::label(std::size_t i) const {
  if (form_ == Form::kOwn) return own_[i].label;
  return column_->labels.empty() ? static_cast<std::int32_t>(i) : column_->labels[i];
}

PlotPoint PlotSeries::at(std::size_t i) const {
  if (i >= size()) throw std::out_of_range("PlotSeries::at");
  return (*this)[i];
}

void PlotSeries::clear() {
  column_.reset();
  form_ = Form::kOwn;
  own_.clear();
}


// ---------------------------------------------------------------------------------------
CsvTable::CsvTable() = default;

std::string_view CsvTable::Line(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= lines_.size()) return {};
  const Span s = lines_[static_cast<std::size_t>(row)];
  const std::string& text = (s.offset & kExtraBit) ? *extra_ : *file_;
  return std::string_view(text).substr(s.offset & ~kExtraBit, s.length);
}

int CsvTable::fieldCount(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= lines_.size()) return 0;
  return static_cast<int>(FieldCursor(Line(row), separator_).Left());
}

std::string_view CsvTable::field(int col, int row) const {
  if (col < 1 || row < 0 || static_cast<std::size_t>(row) >= lines_.size()) return {};
  FieldCursor fields(Line(row), separator_);
  std::string_view f;
  for (int c = 1; c <= col; ++c)
    if (!fields.Next(f)) return {};
  return f;
}

std::string CsvTable::cell(int col, int row) const {
  if (row < 0 || row >= rows_ || col < 0 || col >= columns_) return {};
  if (col == 0) {
    if (static_cast<std::size_t>(row) >= lines_.size()) return {};
    return std::to_string(row);
  }
  return std::string(field(col, row));
}

// ---------------------------------------------------------------------------------------
CsvLoader::CsvLoader(const LoadOptions& options, std::string bytes)
    : options_(options),
      file_(std::make_shared<std::string>(std::move(bytes))),
      extra_(std::make_shared<std::string>()) {
  // Offsets of cells are 31 bits wide.
  if (file_->size() > kMaxLoadBytes) throw platform::Error("File too large");
  // Room for every record the bytes can hold, so that the tables never move while growing.
  const std::size_t lineEnds =
      static_cast<std::size_t>(std::count(file_->begin(), file_->end(), '\r')) + 1;
  // Beyond a few hundred thousand records the tables just grow.
  const std::size_t records =
      std::min({lineEnds, file_->size() / kMinRecordLength + 1, std::size_t{400000}}) + 1;
  result_.table.lines_.reserve(records);
  result_.table.separator_ = options_.separator;
  const std::size_t plotted = std::min<std::size_t>(records, kLastPlottedRecord);
  for (auto& c : columns_) {
    c = std::make_shared<PlotSeries::Column>();
    c->codes.reserve(plotted);
  }
  result_.labels.reserve(plotted);
  result_.table.rows_ = 0;
  result_.table.columns_ = 0;
  fields_.reserve(40);
  ParseCSVLine(kCSVHeader);
}

CsvLoader::~CsvLoader() = default;

std::string_view CsvLoader::bytes() const { return *file_; }

void CsvLoader::Store(std::string_view line) {
  CsvTable& t = result_.table;
  std::uint32_t base;
  const auto begin = reinterpret_cast<std::uintptr_t>(file_->data());
  const auto at = reinterpret_cast<std::uintptr_t>(line.data());
  if (at >= begin && at + line.size() <= begin + file_->size()) {
    base = static_cast<std::uint32_t>(at - begin);
  } else {
    if (extra_->size() + line.size() >= kExtraBit) throw platform::Error("File too large");
    base = static_cast<std::uint32_t>(extra_->size()) | kExtraBit;
    extra_->append(line);
  }
  t.lines_.push_back({base, static_cast<std::uint32_t>(line.size())});
}

void CsvLoader::ParseCSVLine(std::string_view line) {
  label_ = -1;
  if (line.size() < kMinRecordLength) return;
  ++csvRow_;
  const int r = csvRow_ - 1;
  Store(line);
  const bool plotting = r == 0 || csvRow_ <= kLastPlottedCSVRow;
  // The fields up to A8 are taken one by one while records plot; of the rest only their
  // number and the last one (Status) matter.
  constexpr std::size_t kReadFields = 13;
  fields_.clear();
  FieldCursor cursor(line, options_.separator);
  std::string_view f;
  while (plotting && fields_.size() < kReadFields && cursor.Next(f)) fields_.push_back(f);
  const std::size_t count = fields_.size() + cursor.Left();
  const std::string_view last = cursor.Last();
  lastColumns_ = static_cast<int>(count) + 1;

  if (r == 0) return;  // the header is neither plotted nor flagged
  ++result_.records;
  const std::size_t plotted = count - 1;  // the last field is not plotted
  if (plotting && plotted > 0) {
    if (options_.xmode) {
      std::string label(fields_[0]);
      label += ',';
      label += fields_[1];
      result_.labels.push_back(std::move(label));
    } else {
      result_.labels.push_back(std::to_string(r));
    }
    label_ = static_cast<std::int32_t>(result_.labels.size() - 1);
    const std::size_t read = std::min(plotted, fields_.size());
    for (std::size_t i = 0; i < read; ++i) PlotCell(static_cast<int>(i) + 1, fields_[i]);
  }
  if (count == static_cast<std::size_t>(kRecordFields) && IsFlaggedStatus(last))
    result_.table.red_ = true;
}

void CsvLoader::Add(Field field, std::int32_t code) {
  PlotSeries::Column& c = *columns_[static_cast<std::size_t>(field)];
  if (!c.labels.empty()) {
    c.labels.push_back(label_);
  } else if (label_ != static_cast<std::int32_t>(c.count)) {
    // A record without a reading here: from now on the labels are kept one by one.
    c.labels.reserve(c.codes.capacity());
    for (std::size_t i = 0; i < c.count; ++i) c.labels.push_back(static_cast<std::int32_t>(i));
    c.labels.push_back(label_);
  }
  if (field != Field::kLevel) c.codes.push_back(code);
  ++c.count;
}

void CsvLoader::PlotCell(int column, std::string_view field) {
  if (csvRow_ < 2 || csvRow_ > kLastPlottedCSVRow || label_ < 0) return;
  if (column == 1) {
    Add(Field::kLevel, 0);  // the level series
    return;
  }
  if (column >= 3 && column <= 5) {
    const int t = column - 3;  // T1..T3
    if (!field.empty() && (field[0] == '+' || field[0] == '-')) {
      const auto temp = ReadTemperature(field);
      if (!temp) return;
      if (temp->level > options_.tLevel) ++result_.beeps;
      Add(static_cast<Field>(static_cast<int>(Field::kT1) + t), TemperatureCode(*temp));
      return;
    }
    if (t == 0) return;  // T1 never carries a counter
    const auto count = ReadCounter(field);
    if (!count) return;
    Add(t == 1 ? Field::kC1 : Field::kC2, *count);
    return;
  }
  if (column >= 6 && column <= 13) {
    const int k = column - 6;  // A1..A8
    const auto a = ReadAnalog(field);
    if (!a) return;
    if (a->whole > options_.aLevel) ++result_.beeps;
    Add(static_cast<Field>(static_cast<int>(Field::kA1) + k), AnalogCode(*a));
  }
}

LoadResult CsvLoader::Finish() {
  // Each series by its row of the series table: the readings it is drawn from, and how.
  using Form = PlotSeries::Form;
  for (int id = 0; id < kSeriesCount; ++id) {
    const SeriesInfo& info = SeriesInfoOf(id);
    const int field = static_cast<int>(info.field);
    const int analog = field - static_cast<int>(Field::kA1);  // channel A(analog+1)
    Form form = Form::kLevel;
    double factor = 0;
    switch (info.decoding) {
      case Decoding::kTLevel: factor = options_.tLevel; break;
      case Decoding::kALevel: factor = options_.aLevel; break;
      case Decoding::kTemperature: form = Form::kTemperature; break;
      case Decoding::kCounter: form = Form::kCounter; break;
      case Decoding::kCounterLine: form = Form::kCounterLine; break;
      case Decoding::kAnalog: form = Form::kAnalog; break;
      case Decoding::kScaled:
        form = Form::kScaled;
        factor = options_.Multiplier(analog);
        break;
      case Decoding::kLifted:
        form = Form::kLifted;
        factor = options_.Multiplier(analog);
        break;
    }
    result_.series[static_cast<std::size_t>(id)] =
        PlotSeries(columns_[static_cast<std::size_t>(field)], form, info.pointColour, factor);
  }
  CsvTable& t = result_.table;
  t.file_ = file_;
  t.extra_ = extra_;
  t.rows_ = csvRow_;
  t.columns_ = lastColumns_;
  return std::move(result_);
}

LoadResult LoadCSV(std::string bytes, const LoadOptions& options) {
  CsvLoader loader(options, std::move(bytes));
  ForEachLine(loader.bytes(), [&](std::string_view line) { loader.ParseCSVLine(line); });
  return loader.Finish();
}

int ReadRegularFile(const std::string& path, std::string& bytes, struct stat* opened,
                    std::size_t maxBytes) {
  bytes.clear();
  // Non-blocking, so that a pipe or device of that name cannot hang the window.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {  // a folder, pipe or device is no data file
    ::close(fd);
    return EISDIR;
  }
  if (opened) *opened = st;
  if (st.st_size > 0 && static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
    ::close(fd);
    return EFBIG;
  }
  if (st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buf[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      return err;
    }
    if (n == 0) break;
    if (static_cast<std::size_t>(n) > maxBytes - bytes.size()) {  // it grew while being read
      ::close(fd);
      bytes.clear();
      bytes.shrink_to_fit();
      return EFBIG;
    }
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return 0;
}

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  switch (const int err = ReadRegularFile(path, bytes, nullptr, kMaxLoadBytes)) {
    case 0: return bytes;
    case ENOENT:
    case ENOTDIR: throw platform::Error("File not found");
    case EACCES:
    case EPERM:
    case EISDIR: throw platform::Error("File access denied");
    case EFBIG: throw platform::Error("File too large");
    default: throw platform::Error("I/O error " + std::to_string(err));
  }
}

}  // namespace monitor
