#pragma once
// Shows the table's fixed row 0 and column 0 as the view's own headers, so the column
// captions and row numbers stay in sight while the cells scroll.
#include <QAbstractProxyModel>

namespace monitor {

class FixedCellsProxy : public QAbstractProxyModel {
  Q_OBJECT
 public:
  explicit FixedCellsProxy(QObject* parent = nullptr) : QAbstractProxyModel(parent) {}
  void setSourceModel(QAbstractItemModel* source) override;

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex&) const override { return {}; }
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex mapToSource(const QModelIndex& proxy) const override;
  QModelIndex mapFromSource(const QModelIndex& source) const override;
  // Horizontal: the cells of row 0; vertical: the cells of column 0.
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
};

}  // namespace monitor
