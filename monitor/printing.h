#pragma once
// Printing of the table (plain text lines at fixed places on one page) and of one chart
// (a picture on one landscape page).
#include <functional>
#include <string>

namespace platform {
class TextPrinter;
}

namespace monitor {

class Chart;

// The horizontal advance after each table column, in units of 16 printer pixels.
inline constexpr int kPrintColumnCount = 35;
extern const int PrintColWidths[kPrintColumnCount];
// Advance after column `col` in printer pixels (a column past the known ones advances 48).
int PrintColumnAdvance(int col);

inline constexpr char kTablePrintTitle[] = "Print from FERN-LOG software";
inline constexpr char kTablePrintFont[] = "Currier New";
inline constexpr int kTablePrintFontSize = 8;
// A typewriter face at 8 points is wider than the fixed columns (a date would run into
// the time beside it): its letters are printed at two thirds of their width, full height.
inline constexpr int kTablePrintFontStretch = 66;
inline constexpr int kTablePrintLeft = 150;
inline constexpr int kTablePrintTop = 240;
inline constexpr int kTablePrintPitch = 36;

// The text of cell (col, row), Windows-1252 bytes; row 0 is the header row.
using CellText = std::function<std::string(int col, int row)>;

// Prints the table on one page of `printer`: row i at y = 240 + 36 i, columns from x = 150.
// Rows whose top lies at or below the page's bottom and columns starting at or beyond its
// right edge are not printed. Raises platform::Error on a printer fault (the job is
// dropped then).
void PrintTable(platform::TextPrinter& printer, int columns, int rows, const CellText& cell);
// The same on a printer object of its own for the default printer, its default settings.
void PrintTable(int columns, int rows, const CellText& cell);

// Prints the chart alone on one landscape page as one job titled `job` (the chart table's
// name for it). Raises platform::Error on failure; the job is dropped.
void PrintChart(Chart& chart, const std::string& job, platform::TextPrinter& printer);
// The same on the default printer. Every chart print is landscape; the table print keeps
// the printer's own orientation.
void PrintChart(Chart& chart, const std::string& job);

}  // namespace monitor
