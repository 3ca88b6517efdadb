#include "monitor/csvgrid.h"

#include <QAbstractButton>
#include <QColor>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QPalette>
#include <QSize>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTableView>

#include "platform/controls.h"
#include "platform/core/cp1252.h"

namespace monitor {

namespace {
// The table's text on `ground`: black, or red once a record was flagged; on a dark desktop's
// ground white, or a light red that reads there as well.
QColor Ink(const QColor& ground, bool red) {
  if (!red) return platform::TextOn(ground);
  return platform::IsDark(ground) ? QColor(255, 153, 153) : QColor(Qt::red);
}
}  // namespace

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
    case Qt::DisplayRole: return platform::FromCp1252(table_.cell(col, row));
    case Qt::ForegroundRole:
      return Ink(QGuiApplication::palette().color(fixed ? QPalette::Button : QPalette::Base),
                 table_.red());
    case Qt::BackgroundRole:
      if (fixed) return QGuiApplication::palette().color(QPalette::Button);
      return {};
    case Qt::SizeHintRole: return QSize(GridColWidth(col), kDefaultRowHeight);
    default: return {};
  }
}

Qt::ItemFlags CsvGrid::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (index.row() < kFixedRows || index.column() < kFixedCols) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

namespace {
// Paints the corner button as a header section holding its text, as the row and column
// captions beside it are drawn.
class CornerPainter : public QObject {
 public:
  CornerPainter(QAbstractButton* corner, QTableView* view) : QObject(corner), view_(view) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* corner = static_cast<QAbstractButton*>(watched);
    if (event->type() != QEvent::Paint) return false;
    QStyleOptionHeader opt;
    opt.initFrom(corner);
    opt.rect = corner->rect();
    opt.position = QStyleOptionHeader::OnlyOneSection;
    opt.text = corner->text();
    opt.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    QPainter painter(corner);
    painter.setFont(view_->horizontalHeader()->font());
    opt.fontMetrics = painter.fontMetrics();
    opt.palette.setColor(QPalette::ButtonText, corner->palette().color(QPalette::ButtonText));
    corner->style()->drawControl(QStyle::CE_Header, &opt, &painter, corner);
    return true;
  }

 private:
  QTableView* view_;
};
}  // namespace

void ShowCornerCell(QTableView* view, const CsvGrid* grid) {
  QAbstractButton* corner = nullptr;
  for (auto* b : view->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
    if (b->inherits("QTableCornerButton")) corner = b;
  if (!corner) return;
  corner->installEventFilter(new CornerPainter(corner, view));
  auto follow = [corner, grid] {
    corner->setText(platform::FromCp1252(grid->cell(0, 0)));
    QPalette p = corner->palette();
    p.setColor(QPalette::ButtonText, Ink(p.color(QPalette::Button), grid->Red()));
    corner->setPalette(p);
    corner->update();
  };
  QObject::connect(grid, &QAbstractItemModel::modelReset, corner, follow);
  QObject::connect(grid, &QAbstractItemModel::dataChanged, corner, follow);
  follow();
}

}  // namespace monitor
