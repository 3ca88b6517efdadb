#include "monitor/fixedcells.h"

namespace monitor {

void FixedCellsProxy::setSourceModel(QAbstractItemModel* source) {
  beginResetModel();
  if (sourceModel()) sourceModel()->disconnect(this);
  QAbstractProxyModel::setSourceModel(source);
  if (source) {
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(source, &QAbstractItemModel::modelReset, this, [this] { endResetModel(); });
    connect(source, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex&, const QModelIndex&) {
              // Any change may touch the fixed cells: repaint cells and headers alike.
              if (rowCount() > 0 && columnCount() > 0)
                emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
              emit headerDataChanged(Qt::Horizontal, 0, std::max(0, columnCount() - 1));
              emit headerDataChanged(Qt::Vertical, 0, std::max(0, rowCount() - 1));
            });
    connect(source, &QAbstractItemModel::layoutChanged, this, [this] { emit layoutChanged(); });
  }
  endResetModel();
}

QModelIndex FixedCellsProxy::index(int row, int column, const QModelIndex& parent) const {
  if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
    return {};
  return createIndex(row, column);
}

int FixedCellsProxy::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || !sourceModel()) return 0;
  return std::max(0, sourceModel()->rowCount() - 1);
}

int FixedCellsProxy::columnCount(const QModelIndex& parent) const {
  if (parent.isValid() || !sourceModel()) return 0;
  return std::max(0, sourceModel()->columnCount() - 1);
}

QModelIndex FixedCellsProxy::mapToSource(const QModelIndex& proxy) const {
  if (!proxy.isValid() || !sourceModel()) return {};
  return sourceModel()->index(proxy.row() + 1, proxy.column() + 1);
}

QModelIndex FixedCellsProxy::mapFromSource(const QModelIndex& source) const {
  if (!source.isValid() || source.row() < 1 || source.column() < 1) return {};
  return index(source.row() - 1, source.column() - 1);
}

QVariant FixedCellsProxy::headerData(int section, Qt::Orientation orientation, int role) const {
  if (!sourceModel() || section < 0) return {};
  if (role != Qt::DisplayRole && role != Qt::ForegroundRole && role != Qt::TextAlignmentRole)
    return {};
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  const QModelIndex cell = orientation == Qt::Horizontal ? sourceModel()->index(0, section + 1)
                                                         : sourceModel()->index(section + 1, 0);
  return sourceModel()->data(cell, role);
}

}  // namespace monitor
