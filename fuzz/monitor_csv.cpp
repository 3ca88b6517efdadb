// Fuzz target: the whole load of a CSV file's bytes, and the merge of the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "monitor/core/load.h"
#include "monitor/core/merge.h"

using namespace monitor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first bytes choose the window's settings, the rest is the file.
  LoadOptions o;
  std::size_t used = 0;
  auto next = [&]() -> int { return used < size ? data[used++] : 0; };
  o.tLevel = next() % 141 - 40;
  o.aLevel = next() % 101;
  const int flags = next();
  o.xmode = flags & 1;
  o.separator = (flags & 2) ? ';' : ',';
  for (int k = 0; k < 8; ++k) {
    o.coarse[k] = next() % 101;
    o.fine[k] = (next() * 4) % 1000;
  }
  const std::string bytes(reinterpret_cast<const char*>(data) + used, size - used);

  const LoadResult r = LoadCSV(bytes, o);
  const CsvTable& t = r.table;
  if (t.rows() != r.records + 1 || t.columns() < 2) __builtin_trap();
  std::size_t cells = 0;
  for (int row = 0; row < t.rows(); ++row)
    for (int col = 0; col <= t.columns(); ++col) cells += t.cell(col, row).size();
  if (cells > bytes.size() + 200 + 8 * static_cast<std::size_t>(t.rows())) __builtin_trap();
  for (const auto& s : r.series) {
    if (s.size() > static_cast<std::size_t>(kLastPlottedRecord)) __builtin_trap();
    for (const PlotPoint& p : s)
      if (p.label < 0 || static_cast<std::size_t>(p.label) >= r.labels.size()) __builtin_trap();
  }

  // Merged, the lines keep their count and come back from the merged bytes.
  MergeBuffer buffer;
  const int n = buffer.AppendBytes(bytes);
  const std::string merged = buffer.MergedBytes(n);
  const auto again = SplitLines(merged);
  const std::size_t kept = static_cast<std::size_t>(std::min(n, kMergeMaxSavedLines));
  if (again.size() != kept) __builtin_trap();
  for (std::size_t i = 0; i < kept; ++i) {
    std::string_view line = buffer.Lines()[i];
    // An LF that began a line is swallowed as the end of the line before it.
    if (i > 0 && !line.empty() && line[0] == '\n') line.remove_prefix(1);
    if (again[i] != line) __builtin_trap();
  }
  return 0;
}
