#include "monitor/printing.h"

#include "monitor/chartlayer.h"
#include "monitor/csvgrid.h"
#include "monitor/form.h"
#include "platform/messagebox.h"
#include "platform/textprinter.h"

namespace monitor {

const int PrintColWidths[kPrintColumnCount] = {
    5, 9, 9, 7, 7, 7,        // row number, Date, Time, T1..T3
    5, 5, 5, 5, 5, 5, 5, 5,  // A1..A8
    3,                       // D12
    2, 2, 2, 2, 2, 2, 2, 2,  // D11..D4
    3, 3, 3, 3,              // D3..D1, O8
    2, 2, 2, 2, 2, 2, 2, 2,  // O7..O1, Status
};

int PrintColumnAdvance(int col) {
  if (col >= 0 && col < kPrintColumnCount) return 16 * PrintColWidths[col];
  return 16 * 3;
}

void PrintTable(platform::TextPrinter& printer, int columns, int rows, const CellText& cell) {
  printer.SetTitle(kTablePrintTitle);
  printer.RunJob([&] {
    printer.SetFont(kTablePrintFont, kTablePrintFontSize, Qt::black, kTablePrintFontStretch);
    const int bottom = printer.PageHeight();
    const int right = printer.PageWidth();
    for (int i = 0; i < rows; ++i) {
      const long long y = kTablePrintTop + static_cast<long long>(kTablePrintPitch) * i;
      if (y >= bottom) break;  // one page: what lies below its edge is not printed
      long long x = kTablePrintLeft;
      for (int j = 0; j < columns && x < right; ++j) {
        printer.TextOut(static_cast<int>(x), static_cast<int>(y), cell(j, i));
        x += PrintColumnAdvance(j);
      }
    }
  });
}

void PrintTable(int columns, int rows, const CellText& cell) {
  std::unique_ptr<platform::TextPrinter> printer = platform::TextPrinter::Default();
  PrintTable(*printer, columns, rows, cell);
}

void PrintChart(Chart& chart, const std::string& job, platform::TextPrinter& printer) {
  printer.SetOrientation(platform::TextPrinter::Orientation::Landscape);
  chart.Print(printer, job);
}

void PrintChart(Chart& chart, const std::string& job) {
  std::unique_ptr<platform::TextPrinter> printer = platform::TextPrinter::Default();
  PrintChart(chart, job, *printer);
}

// The table print and the eleven chart prints of the window, all on the default printer.

void TForm1::Print1Click() {
  const CsvGrid* grid = grid_;
  PrintTable(grid->ColCount(), grid->RowCount(),
             [grid](int col, int row) { return grid->cell(col, row); });
}

void TForm1::PrintChannelChart(ChartId id) {
  PrintChart(*Charts[static_cast<std::size_t>(id)], ChartInfoOf(id).job);
}

void TForm1::PrintTClick() { PrintChannelChart(kChannelChartT1); }
void TForm1::PrintC1() { PrintChannelChart(kChannelChartC1); }
void TForm1::PrintC2() { PrintChannelChart(kChannelChartC2); }
void TForm1::PrintA(int n) { PrintChannelChart(ChannelChartA(n)); }

}  // namespace monitor
