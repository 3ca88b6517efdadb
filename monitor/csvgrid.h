#pragma once
// The table of the CSV page as a model over the loaded rows: row 0 is the header row and
// column 0 the row numbers (both fixed, drawn in the button face colour); the text of the
// whole table is black, or red once a loaded record was flagged (on a dark desktop's ground
// white, or a light red). Before the first load it
// has 35 columns and 128 empty rows. Shown by a QTableView (StringGrid1) whose own
// headers are hidden.
#include <QAbstractTableModel>
#include <string>

class QTableView;

#include "monitor/core/load.h"

namespace monitor {

class CsvGrid : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit CsvGrid(QObject* parent = nullptr);

  // Replaces the whole table (one model reset).
  void SetTable(CsvTable table);
  const CsvTable& Table() const { return table_; }

  // The string grid's own view of its cells, for printing and tests.
  int RowCount() const { return table_.rows(); }
  int ColCount() const { return table_.columns(); }
  std::string cell(int col, int row) const { return table_.cell(col, row); }
  bool Red() const { return table_.red(); }
  static constexpr int kFixedRows = 1;
  static constexpr int kFixedCols = 1;
  static constexpr int kDefaultColWidth = 48;
  static constexpr int kDefaultRowHeight = 16;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  // DisplayRole: the cell text; ForegroundRole: black or red (see above); BackgroundRole: the button
  // face colour for the fixed row and column; SizeHintRole: GridColWidth by 16.
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  CsvTable table_;
};

// Shows the grid's cell (0, 0), where the fixed row and column meet, in the corner of a
// view whose own headers show the rest of them; it follows every change of the table.
void ShowCornerCell(QTableView* view, const CsvGrid* grid);

}  // namespace monitor
