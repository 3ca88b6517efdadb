// Loading one CSV file into the table and the 38 series of the thirteen charts.
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QCheckBox>
#include <QTableView>

#include "monitor/chartlayer.h"
#include "monitor/csvgrid.h"
#include "monitor/core/load.h"
#include "monitor/folderlists.h"
#include "monitor/form.h"
#include "platform/widgets.h"

namespace monitor {

namespace {
std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
}  // namespace

void TForm1::ClearAllSeries() {
  for (ChartSeries* s : series_) s->Clear();
}

// Column 0 of the table is the view's row-number header; the view's column c shows the
// table's column c + 1.
void TForm1::ApplyColumnWidths() {
  StringGrid1->verticalHeader()->setFixedWidth(GridColWidth(0));
  for (int c = 1; c < grid_->columnCount(); ++c)
    StringGrid1->setColumnWidth(c - 1, GridColWidth(c));
}

void TForm1::LoadCSVFile(const std::string& name, char separator) {
  if (name.empty()) return;
  ClearAllSeries();
  ApplyColumnWidths();

  // Levels, multipliers and the label mode are read once, as the load starts.
  LoadOptions options;
  options.tLevel = TLevelValue;
  options.aLevel = ALevelValue;
  for (int n = 1; n <= 8; ++n) {
    options.coarse[static_cast<std::size_t>(n - 1)] = ScrollBarA[n]->value();
    options.fine[static_cast<std::size_t>(n - 1)] = ScrollBarA0[n]->value();
  }
  options.xmode = Xmode->isChecked();
  options.separator = separator;

  std::string bytes;
  try {
    bytes = ReadFileBytes(name);  // raises "File not found" and the like
  } catch (...) {
    // The load had begun: the table is back to the header alone, in black.
    grid_->SetTable(LoadCSV({}, options).table);
    ApplyColumnWidths();
    for (Chart* c : Charts) c->Repaint();
    throw;
  }
  LoadResult result = LoadCSV(std::move(bytes), options);

  for (int i = 0; i < result.beeps; ++i) platform::Beep();
  grid_->SetTable(std::move(result.table));
  ApplyColumnWidths();

  // The series take the load's points over; all of them share its one list of labels.
  const auto labels = std::make_shared<const std::vector<std::string>>(std::move(result.labels));
  for (int id = 0; id < kSeriesCount; ++id)
    series_[static_cast<std::size_t>(id)]->Assign(
        std::move(result.series[static_cast<std::size_t>(id)]), labels);
  for (Chart* c : Charts) c->Repaint();
}

namespace {
// The selected file of a list as a full path; empty when nothing is selected.
QString SelectedPath(const FileListBox* list) {
  const auto items = list->selectedItems();
  return items.isEmpty() ? QString() : list->PathOf(items.front()->text());
}
}  // namespace

void TForm1::FileListBox1DblClick() {
  const QString path = SelectedPath(FileListBox1);
  vFileName->setText(path);
  if (!path.isEmpty()) LoadCSVFile(LocalPath(path), ',');
}

void TForm1::FileListBox8DblClick() {
  const QString path = SelectedPath(FileListBox8);
  vFileName->setText(path);
  if (!path.isEmpty()) LoadCSVFile(LocalPath(path), ',');
}

}  // namespace monitor
