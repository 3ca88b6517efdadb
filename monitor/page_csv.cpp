// The CSV page: the daily and merged files, the merge period, the levels, the table and
// its two charts.
#include <QCheckBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "monitor/chartlayer.h"
#include "monitor/csvgrid.h"
#include "monitor/fixedcells.h"
#include "monitor/folderlists.h"
#include "monitor/form.h"
#include "platform/controls.h"

namespace monitor {

namespace {

void ReadOnlyGrey(QLineEdit* e) {
  e->setReadOnly(true);
  e->setFocusPolicy(Qt::NoFocus);
  platform::SetBase(e, QColor(0xD4, 0xD0, 0xC8));
}

QDateEdit* DatePicker(const QString& objectName, const QString& hint, QWidget* parent) {
  auto* d = platform::Named(new QDateEdit(QDate::currentDate(), parent), objectName, hint);
  d->setCalendarPopup(true);
  d->setDisplayFormat(QLocale::system().dateFormat(QLocale::ShortFormat));
  d->setToolTip(hint);
  return d;
}

}  // namespace

QWidget* TForm1::BuildCSVPage() {
  TabSheetCSV = new QWidget;
  TabSheetCSV->setObjectName(QStringLiteral("TabSheetCSV"));
  TabSheetCSV->setAccessibleName(QStringLiteral("CSV (Table and Chart)"));
  QWidget* p = TabSheetCSV;
  auto* top = new QHBoxLayout(p);

  auto* side = new QVBoxLayout;
  DriveComboBox1 = platform::Named(new DriveComboBox(p), QStringLiteral("DriveComboBox1"),
                                   QStringLiteral("Drive"));
  DirectoryListBox1 = platform::Named(new DirectoryListBox(p), QStringLiteral("DirectoryListBox1"),
                                      QStringLiteral("Folders"));
  DirectoryListBox2 = platform::Named(new DirectoryListBox(p), QStringLiteral("DirectoryListBox2"),
                                      QStringLiteral("Folders of merged files"));
  DirectoryListBox2->hide();
  FileListBox1 = platform::Named(new FileListBox(p), QStringLiteral("FileListBox1"),
                                 QStringLiteral("Daily CSV files"));
  FileListBox1->SetMask(QStringLiteral("*.csv"));
  FileListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  FileListBox1->setToolTip(QStringLiteral("Double click: show the file"));
  AttachPopup(FileListBox1, PopupMenuListBox1);
  FileListBox8 = platform::Named(new FileListBox(p), QStringLiteral("FileListBox8"),
                                 QStringLiteral("Merged CSV files"));
  FileListBox8->SetMask(QStringLiteral("-*.csv"));
  FileListBox8->setSelectionMode(QAbstractItemView::SingleSelection);
  FileListBox8->setToolTip(QStringLiteral("Double click: show the merged file"));
  AttachPopup(FileListBox8, PopupMenuListBox8);
  DirectoryListBox1->SetFileList(FileListBox1);
  DirectoryListBox1->SetDriveCombo(DriveComboBox1);
  DirectoryListBox2->SetFileList(FileListBox8);
  DriveComboBox1->ShowIndex(DriveComboBox1->RootIndexOf(DirectoryListBox1->Directory()));
  side->addWidget(DriveComboBox1);
  side->addWidget(DirectoryListBox1, 2);
  side->addWidget(new QLabel(QStringLiteral("Daily files"), p));
  side->addWidget(FileListBox1, 3);
  side->addWidget(new QLabel(QStringLiteral("Merged files"), p));
  side->addWidget(FileListBox8, 2);

  auto* merge = new QGroupBox(QStringLiteral("Merge"), p);
  auto* mg = new QGridLayout(merge);
  DateTimePicker1 = DatePicker(QStringLiteral("DateTimePicker1"), QStringLiteral("From"), merge);
  DateTimePicker2 = DatePicker(QStringLiteral("DateTimePicker2"), QStringLiteral("To"), merge);
  RunButton = platform::MakeButton(merge, QStringLiteral("RunButton"),
                                   QStringLiteral("Merge files"), QStringLiteral("Merge files"));
  RunButton->setToolTip(QStringLiteral("Run for period"));
  mg->addWidget(platform::MakeLabel(merge, QStringLiteral("From"), DateTimePicker1), 0, 0);
  mg->addWidget(DateTimePicker1, 0, 1);
  mg->addWidget(platform::MakeLabel(merge, QStringLiteral("To"), DateTimePicker2), 1, 0);
  mg->addWidget(DateTimePicker2, 1, 1);
  mg->addWidget(RunButton, 2, 0, 1, 2);
  side->addWidget(merge);

  auto* levels = new QGroupBox(QStringLiteral("Levels"), p);
  auto* lv = new QGridLayout(levels);
  ScrollBar1 = platform::Named(new QScrollBar(Qt::Horizontal, levels), QStringLiteral("ScrollBar1"),
                               QStringLiteral("T LEVEL"));
  ScrollBar1->setRange(-40, 100);
  ScrollBar1->setPageStep(10);
  ScrollBar1->setMinimumWidth(110);
  TLEVEL = platform::MakeEdit(levels, QStringLiteral("TLEVEL"), QStringLiteral("T LEVEL value"),
                              QStringLiteral("0"));
  ReadOnlyGrey(TLEVEL);
  TLEVEL->setMaximumWidth(44);
  ScrollBar2 = platform::Named(new QScrollBar(Qt::Horizontal, levels), QStringLiteral("ScrollBar2"),
                               QStringLiteral("A LEVEL"));
  ScrollBar2->setRange(0, 100);
  ScrollBar2->setPageStep(10);
  ALEVEL = platform::MakeEdit(levels, QStringLiteral("ALEVEL"), QStringLiteral("A LEVEL value"),
                              QStringLiteral("0"));
  ReadOnlyGrey(ALEVEL);
  ALEVEL->setMaximumWidth(44);
  lv->addWidget(new QLabel(QStringLiteral("T LEVEL"), levels), 0, 0);
  lv->addWidget(ScrollBar1, 0, 1);
  lv->addWidget(TLEVEL, 0, 2);
  lv->addWidget(new QLabel(QStringLiteral("A LEVEL"), levels), 1, 0);
  lv->addWidget(ScrollBar2, 1, 1);
  lv->addWidget(ALEVEL, 1, 2);
  Xmode = platform::Named(new QCheckBox(QStringLiteral("axel X - Date/Time"), levels),
                          QStringLiteral("Xmode"), QStringLiteral("axel X - Date/Time"));
  lv->addWidget(Xmode, 2, 0, 1, 3);
  side->addWidget(levels);

  auto* sideBox = new QWidget(p);
  sideBox->setLayout(side);
  sideBox->setFixedWidth(250);
  side->setContentsMargins(0, 0, 0, 0);
  top->addWidget(sideBox);

  auto* main = new QVBoxLayout;
  auto* head = new QHBoxLayout;
  vFileName =
      platform::Named(new QLabel(p), QStringLiteral("vFileName"), QStringLiteral("File shown"));
  QFont f = vFileName->font();
  f.setBold(true);
  vFileName->setFont(f);
  StatusLine =
      platform::MakeEdit(p, QStringLiteral("StatusLine"), QStringLiteral("FTP connection state"),
                         QStringLiteral("FTP Disconnected"));
  StatusLine->setReadOnly(true);
  StatusLine->setFocusPolicy(Qt::NoFocus);
  StatusLine->setMaximumWidth(160);
  platform::SetBase(StatusLine, Qt::yellow);
  ExitButton = platform::MakeButton(p, QStringLiteral("ExitButton"), QStringLiteral("Exit"),
                                    QStringLiteral("Exit"));
  head->addWidget(vFileName, 1);
  head->addWidget(StatusLine);
  head->addWidget(ExitButton);
  main->addLayout(head);

  grid_ = new CsvGrid(this);
  auto* fixed = new FixedCellsProxy(this);
  fixed->setSourceModel(grid_);
  StringGrid1 = platform::Named(new QTableView(p), QStringLiteral("StringGrid1"),
                                QStringLiteral("CSV table"));
  StringGrid1->setModel(fixed);
  ShowCornerCell(StringGrid1, grid_);
  QHeaderView* captions = StringGrid1->horizontalHeader();
  QHeaderView* numbers = StringGrid1->verticalHeader();
  captions->setDefaultSectionSize(CsvGrid::kDefaultColWidth);
  captions->setMinimumSectionSize(8);
  captions->setFixedHeight(CsvGrid::kDefaultRowHeight + 2);
  captions->setHighlightSections(false);
  numbers->setMinimumSectionSize(CsvGrid::kDefaultRowHeight);
  numbers->setDefaultSectionSize(CsvGrid::kDefaultRowHeight);
  numbers->setSectionResizeMode(QHeaderView::Fixed);
  numbers->setFixedWidth(GridColWidth(0));
  numbers->setHighlightSections(false);
  // The column widths are fixed in pixels: pick the largest font whose date text fits
  // its column.
  QFont small = StringGrid1->font();
  for (int px = 12; px >= 8; --px) {
    small.setPixelSize(px);
    if (QFontMetrics(small).horizontalAdvance(QStringLiteral("00.00.0000")) + 6 <= GridColWidth(1))
      break;
  }
  StringGrid1->setFont(small);
  captions->setFont(small);
  numbers->setFont(small);
  StringGrid1->setWordWrap(false);
  StringGrid1->setTextElideMode(Qt::ElideNone);
  StringGrid1->setToolTip(QStringLiteral("Right button: print "));
  AttachPopup(StringGrid1, PopupMenuPrint);

  // The charts of this page side by side below the table.
  auto* charts = new QHBoxLayout;
  for (int id = 0; id < kChartCount; ++id) {
    if (ChartInfoOf(id).page != ChartPage::kCSV) continue;
    Chart* c = Charts[static_cast<std::size_t>(id)];
    c->setParent(p);
    c->setMinimumHeight(264);
    charts->addWidget(c);
  }
  auto* split = new QSplitter(Qt::Vertical, p);
  split->addWidget(StringGrid1);
  auto* chartBox = new QWidget(split);
  chartBox->setLayout(charts);
  charts->setContentsMargins(0, 0, 0, 0);
  split->addWidget(chartBox);
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 1);
  main->addWidget(split, 1);
  top->addLayout(main, 1);
  ApplyColumnWidths();
  return p;
}

void TForm1::BindCSVPage() {
  connect(ExitButton, &QPushButton::clicked, this, [this] { ExitBtnClick(); });
  connect(DirectoryListBox1, &DirectoryListBox::Change, this,
          [this] { DirectoryListBox1Change(); });
  connect(DriveComboBox1, &DriveComboBox::Change, this,
          [this] { DirectoryListBox1->SetDrive(DriveComboBox1->Drive()); });
  platform::OnSignal(this, Delete2, &QAction::triggered, [this] { Delete2Click(); });
  platform::OnSignal(this, DeleteAll2, &QAction::triggered, [this] { DeleteAll2Click(); });
  platform::OnSignal(this, Refresh2, &QAction::triggered, [this] { Refresh2Click(); });
  platform::OnSignal(this, Delete3, &QAction::triggered, [this] { Delete3Click(); });
  platform::OnSignal(this, Refresh3, &QAction::triggered, [this] { Refresh3Click(); });

  // Loading and merging.
  platform::OnSignal(this, FileListBox1, &QListWidget::itemDoubleClicked,
                     [this] { FileListBox1DblClick(); });
  platform::OnSignal(this, FileListBox8, &QListWidget::itemDoubleClicked,
                     [this] { FileListBox8DblClick(); });
  platform::OnClick(this, RunButton, [this] { MergeButtonClick(); });

  // Levels.
  connect(ScrollBar1, &QScrollBar::valueChanged, this, [this] { ScrollBar1Change(); });
  connect(ScrollBar2, &QScrollBar::valueChanged, this, [this] { ScrollBar2Change(); });
}

}  // namespace monitor
