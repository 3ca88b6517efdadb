#include "monitor/csvgrid.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <QSize>

#include "platform/cp1252.h"

namespace monitor {

CsvGrid::CsvGrid(QObject* parent) : QAbstractTableModel(parent) {}

void CsvGrid::SetTable(CsvTable table) {
  beginResetModel();
  table_ = std::move(table);
  endResetModel();
}

int CsvGrid::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.rows();
}

int CsvGrid::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.columns();
}

QVariant CsvGrid::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int col = index.column();
  const int row = index.row();
  const bool fixed = row < kFixedRows || col < kFixedCols;
  switch (role) {
    case Qt::DisplayRole:
      return platform::FromCp1252(table_.cell(col, row));
    case Qt::ForegroundRole:
      return QColor(table_.red() ? Qt::red : Qt::black);
    case Qt::BackgroundRole:
      if (fixed) return QGuiApplication::palette().color(QPalette::Button);
      return {};
    case Qt::SizeHintRole:
      return QSize(GridColWidth(col), kDefaultRowHeight);
    default:
      return {};
  }
}

Qt::ItemFlags CsvGrid::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (index.row() < kFixedRows || index.column() < kFixedCols) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace monitor
