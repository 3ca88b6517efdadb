// The table print and the eleven chart prints, all on the default printer.
#include "monitor/csvgrid.h"
#include "monitor/form.h"
#include "monitor/printing.h"

namespace monitor {

void TForm1::Print1Click() {
  const CsvGrid* grid = grid_;
  PrintTable(grid->ColCount(), grid->RowCount(),
             [grid](int col, int row) { return grid->cell(col, row); });
}

void TForm1::PrintChannelChart(Chart* chart) { PrintChart(*chart); }

void TForm1::PrintTClick() { PrintChannelChart(ChannelChartT1); }
void TForm1::PrintC1() { PrintChannelChart(ChannelChartC1); }
void TForm1::PrintC2() { PrintChannelChart(ChannelChartC2); }
void TForm1::PrintA(int n) { PrintChannelChart(ChannelChartA[n]); }

}  // namespace monitor
