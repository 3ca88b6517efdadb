// The window: its pages, controls, menus and the binding of controls to handlers.
#include "monitor/form.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "monitor/chartlayer.h"
#include "monitor/csvgrid.h"
#include "monitor/core/load.h"
#include "monitor/fixedcells.h"
#include "monitor/folderlists.h"
#include "monitor/formutil.h"
#include "platform/core/cp1252.h"
#include "platform/messagebox.h"
#include "platform/doubleclick.h"
#include "platform/widgets.h"

namespace monitor {

namespace {

// The preset account of the data loggers' FTP server.
constexpr char kDefaultHost[] = "ftp.example.com";
constexpr char kDefaultPort[] = "21";
constexpr char kDefaultUser[] = "5063";
constexpr char kDefaultPassword[] = "KP7391MX-R";

template <class W>
W* Name(W* w, const QString& objectName, const QString& accessible) {
  w->setObjectName(objectName);
  w->setAccessibleName(accessible);
  return w;
}

QPushButton* Button(const QString& objectName, const QString& caption, QWidget* parent) {
  return Name(new QPushButton(caption, parent), objectName, caption);
}

QLineEdit* LineEdit(const QString& objectName, const QString& text, const QString& accessible,
                    QWidget* parent) {
  auto* e = Name(new QLineEdit(text, parent), objectName, accessible);
  platform::ShowBeginningOfSetTexts(e);
  return e;
}

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  if (buddy) l->setBuddy(buddy);
  return l;
}

void ReadOnlyGrey(QLineEdit* e) {
  e->setReadOnly(true);
  e->setFocusPolicy(Qt::NoFocus);
  SetBase(e, QColor(0xD4, 0xD0, 0xC8));
}

QCalendarWidget* Calendar(const QString& objectName, const QString& accessible,
                          QWidget* parent) {
  auto* c = Name(new QCalendarWidget(parent), objectName, accessible);
  c->setMinimumDate(QDate(2018, 9, 1));
  c->setGridVisible(true);
  c->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  return c;
}

// The password edit masks each character with '*', whatever the desktop style uses.
class StarPasswordStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

QDateEdit* DatePicker(const QString& objectName, const QString& hint, QWidget* parent) {
  auto* d = Name(new QDateEdit(QDate::currentDate(), parent), objectName, hint);
  d->setCalendarPopup(true);
  d->setDisplayFormat(QLocale::system().dateFormat(QLocale::ShortFormat));
  d->setToolTip(hint);
  return d;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("FERN-LOG monitoring software for TK5063GM GPRS/FTP data-logger"));
  resize(1260, 860);

  StatusBar1 = Name(new QStatusBar(this), QStringLiteral("StatusBar1"), QStringLiteral("Status"));
  setStatusBar(StatusBar1);

  PageControl1 = Name(new QTabWidget(this), QStringLiteral("PageControl1"), QStringLiteral("Pages"));
  PageControl1->setUsesScrollButtons(true);
  PageControl1->setElideMode(Qt::ElideNone);
  setCentralWidget(PageControl1);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);  // the FTP session's dropped-connection check rides on it

  BuildMenus();
  BuildCharts();
  PageControl1->addTab(BuildTransferPage(), QStringLiteral("From FTP to local PC file transfer"));
  PageControl1->addTab(BuildCSVPage(), QStringLiteral("CSV (Table and Chart)"));

  T1Name = LineEdit(QStringLiteral("T1Name"), QStringLiteral("Temperature"),
                    QStringLiteral("Temperature chart name"), nullptr);
  C1Name = LineEdit(QStringLiteral("C1Name"), QStringLiteral("Counter 1"),
                    QStringLiteral("Counter 1 chart name"), nullptr);
  C2Name = LineEdit(QStringLiteral("C2Name"), QStringLiteral("Counter 2"),
                    QStringLiteral("Counter 2 chart name"), nullptr);
  PrintTButton = Button(QStringLiteral("Button3"), QStringLiteral("Print"), nullptr);
  PrintC1Button = Button(QStringLiteral("Button1"), QStringLiteral("Print"), nullptr);
  PrintC2Button = Button(QStringLiteral("Button2"), QStringLiteral("Print"), nullptr);
  TabSheetT1 = BuildChannelPage(QStringLiteral("TabSheetT1"), QStringLiteral("Temperature"),
                                ChannelChartT1, T1Name, PrintTButton, 0);
  TabSheetC1 = BuildChannelPage(QStringLiteral("TabSheetC1"), QStringLiteral("Counter 1"),
                                ChannelChartC1, C1Name, PrintC1Button, 0);
  TabSheetC2 = BuildChannelPage(QStringLiteral("TabSheetC2"), QStringLiteral("Counter 2"),
                                ChannelChartC2, C2Name, PrintC2Button, 0);
  PageControl1->addTab(TabSheetT1, QStringLiteral("Temperature"));
  PageControl1->addTab(TabSheetC1, QStringLiteral("Counter 1"));
  PageControl1->addTab(TabSheetC2, QStringLiteral("Counter 2"));
  for (int n = 1; n <= 8; ++n) {
    const QString caption = QStringLiteral("Analog %1").arg(n);
    AName[n] = LineEdit(QStringLiteral("A%1Name").arg(n), caption,
                        caption + QStringLiteral(" chart name"), nullptr);
    PrintAButton[n] = Button(QStringLiteral("Button%1").arg(3 + n), QStringLiteral("Print"), nullptr);
    RefreshAButton[n] =
        Button(QStringLiteral("Button%1").arg(23 - n), QStringLiteral("Refresh"), nullptr);
    TabSheetA[n] = BuildChannelPage(QStringLiteral("TabSheetA%1").arg(n), caption,
                                    ChannelChartA[n], AName[n], PrintAButton[n], n);
    PageControl1->addTab(TabSheetA[n], caption);
  }
  PageControl1->setCurrentIndex(0);

  BindHandlers();
  platform::NameByCaptions(this);
  Timer1->start();
}

TForm1::~TForm1() {
  // The widgets die after this body, and their last signals (a focus change among them)
  // must not reach the handlers of a window that is no longer whole.
  if (qApp) QObject::disconnect(qApp, nullptr, this, nullptr);
  for (QObject* child : findChildren<QObject*>()) QObject::disconnect(child, nullptr, this, nullptr);
}

// ---- menus ----------------------------------------------------------------------------

void TForm1::BuildMenus() {
  auto action = [](QObject* owner, const QString& name, const QString& text) {
    auto* a = new QAction(text, owner);
    a->setObjectName(name);
    return a;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
  file->setObjectName(QStringLiteral("File1"));
  Print2 = action(this, QStringLiteral("Print2"), QStringLiteral("Print"));
  Exit1 = action(this, QStringLiteral("Exit1"), QStringLiteral("Exit"));
  file->addAction(Print2);
  file->addSeparator();
  file->addAction(Exit1);
  QMenu* setting = menuBar()->addMenu(QStringLiteral("Setting"));
  setting->setObjectName(QStringLiteral("Setting1"));
  SaveSetting1 = action(this, QStringLiteral("SaveSetting1"), QStringLiteral("Save Setting"));
  setting->addAction(SaveSetting1);

  auto popup = [this](const QString& name) {
    auto* m = new QMenu(this);
    m->setObjectName(name);
    return m;
  };
  PopupMenuListBox3 = popup(QStringLiteral("PopupMenuListBox3"));
  MenuItem1 = action(PopupMenuListBox3, QStringLiteral("MenuItem1"), QStringLiteral("Delete"));
  MenuItem2 = action(PopupMenuListBox3, QStringLiteral("MenuItem2"), QStringLiteral("Delete All"));
  PopupMenuListBox3->addActions({MenuItem1, MenuItem2});
  PopupMenuFTPdir = popup(QStringLiteral("PopupMenuFTPdir"));
  MenuItem3 = action(PopupMenuFTPdir, QStringLiteral("MenuItem3"), QStringLiteral("Delete"));
  PopupMenuFTPdir->addAction(MenuItem3);
  PopupMenuListBox4 = popup(QStringLiteral("PopupMenuListBox4"));
  Delete1 = action(PopupMenuListBox4, QStringLiteral("Delete1"), QStringLiteral("Delete"));
  DeleteAll1 = action(PopupMenuListBox4, QStringLiteral("DeleteAll1"), QStringLiteral("Delete All"));
  Refresh1 = action(PopupMenuListBox4, QStringLiteral("Refresh1"), QStringLiteral("Refresh"));
  PopupMenuListBox4->addActions({Delete1, DeleteAll1, Refresh1});
  PopupMenuListBox1 = popup(QStringLiteral("PopupMenuListBox1"));
  Delete2 = action(PopupMenuListBox1, QStringLiteral("Delete2"), QStringLiteral("Delete"));
  DeleteAll2 = action(PopupMenuListBox1, QStringLiteral("DeleteAll2"), QStringLiteral("Delete All"));
  Refresh2 = action(PopupMenuListBox1, QStringLiteral("Refresh2"), QStringLiteral("Refresh"));
  PopupMenuListBox1->addActions({Delete2, DeleteAll2, Refresh2});
  PopupMenuListBox8 = popup(QStringLiteral("PopupMenuListBox8"));
  Delete3 = action(PopupMenuListBox8, QStringLiteral("Delete3"), QStringLiteral("Delete"));
  Refresh3 = action(PopupMenuListBox8, QStringLiteral("Refresh3"), QStringLiteral("Refresh"));
  PopupMenuListBox8->addActions({Delete3, Refresh3});
  PopupMenuPrint = popup(QStringLiteral("PopupMenuPrint"));
  Print1 = action(PopupMenuPrint, QStringLiteral("Print1"), QStringLiteral("Print"));
  PopupMenuPrint->addAction(Print1);
}

void TForm1::AttachPopup(QWidget* widget, QMenu* menu) {
  widget->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(widget, &QWidget::customContextMenuRequested, menu,
          [widget, menu](const QPoint& at) { menu->popup(widget->mapToGlobal(at)); });
}

// ---- charts ---------------------------------------------------------------------------

void TForm1::BuildCharts() {
  auto make = [](const QString& name, const char* title) {
    auto* c = new Chart(name);
    c->SetTitleFont(QFont(QStringLiteral("Arial"), 11, QFont::Bold));
    c->SetTitleText(title);
    c->SetLegendVisible(true);
    c->setAccessibleName(QString::fromLatin1(title) + QStringLiteral(" chart"));
    return c;
  };
  Chart1 = make(QStringLiteral("Chart1"), "Temperature");
  Chart2 = make(QStringLiteral("Chart2"), "Analog");
  ChannelChartT1 = make(QStringLiteral("ChannelChartT1"), "Temperature");
  ChannelChartC1 = make(QStringLiteral("ChannelChartC1"), "Counter 1");
  ChannelChartC2 = make(QStringLiteral("ChannelChartC2"), "Counter 2");
  for (int n = 1; n <= 8; ++n) {
    const std::string title = "Analog " + std::to_string(n);
    ChannelChartA[n] = make(QStringLiteral("ChannelChartA%1").arg(n), title.c_str());
  }
  // Vertical axes: temperatures and the CSV page's analog chart fixed; counters and the
  // scaled analog channels from -1 up to what their hidden series lift.
  for (Chart* c : {Chart1, ChannelChartT1}) {
    c->SetMinimumFixed(-45);
    c->SetMaximumFixed(145);
  }
  Chart2->SetMinimumFixed(-5);
  Chart2->SetMaximumFixed(105);
  std::vector<Chart*> automatic{ChannelChartC1, ChannelChartC2};
  for (int n = 1; n <= 8; ++n) automatic.push_back(ChannelChartA[n]);
  for (Chart* c : automatic) {
    c->SetMinimumFixed(-1);
    c->SetMaximumAutomatic();
  }

  std::vector<Chart*> all{Chart1, Chart2, ChannelChartT1, ChannelChartC1, ChannelChartC2};
  for (int n = 1; n <= 8; ++n) all.push_back(ChannelChartA[n]);
  for (int id = 0; id < kSeriesCount; ++id) {
    const SeriesInfo& info = SeriesInfoOf(id);
    Chart* owner = nullptr;
    for (Chart* c : all)
      if (c->objectName() == QLatin1String(info.chart)) owner = c;
    ChartSeries* s = owner->AddSeries(info.name);
    s->SetTitle(info.title);
    s->SetSeriesColor(QColor::fromRgba(info.colour));
    s->SetDrawsLine(true);
    s->SetPointMarks(false);
    if (info.hidden) s->SetHidden();
    s->SetShowInLegend(info.inLegend && !info.hidden);
    series_[static_cast<std::size_t>(id)] = s;
  }
}

// ---- transfer page --------------------------------------------------------------------

QWidget* TForm1::BuildTransferPage() {
  TabSheet2 = new QWidget;
  TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  TabSheet2->setAccessibleName(QStringLiteral("From FTP to local PC file transfer"));
  QWidget* p = TabSheet2;
  auto* top = new QHBoxLayout(p);

  // FTP account and connection.
  auto* account = new QGroupBox(QStringLiteral("FTP server"), p);
  auto* form = new QFormLayout(account);
  HostTxt = LineEdit(QStringLiteral("HostTxt"), QString::fromLatin1(kDefaultHost),
                     QStringLiteral("Host"), account);
  PortTxt = LineEdit(QStringLiteral("PortTxt"), QString::fromLatin1(kDefaultPort),
                     QStringLiteral("Port"), account);
  UserTxt = LineEdit(QStringLiteral("UserTxt"), QString::fromLatin1(kDefaultUser),
                     QStringLiteral("User ID"), account);
  PassTxt = LineEdit(QStringLiteral("PassTxt"), QString::fromLatin1(kDefaultPassword),
                     QStringLiteral("Password"), account);
  PassTxt->setEchoMode(QLineEdit::Password);
  auto* stars = new StarPasswordStyle;
  stars->setParent(PassTxt);
  PassTxt->setStyle(stars);
  form->addRow(QStringLiteral("Host"), HostTxt);
  form->addRow(QStringLiteral("Port"), PortTxt);
  form->addRow(QStringLiteral("User ID"), UserTxt);
  form->addRow(QStringLiteral("Password"), PassTxt);
  CheckBox1 = Name(new QCheckBox(QStringLiteral("Proxy Server"), account),
                   QStringLiteral("CheckBox1"), QStringLiteral("Proxy Server"));
  ProxyServer = LineEdit(QStringLiteral("ProxyServer"), QString(), QStringLiteral("Proxy host"), account);
  ProxyPort = LineEdit(QStringLiteral("ProxyPort"), QString(), QStringLiteral("Proxy port"), account);
  form->addRow(CheckBox1);
  form->addRow(ProxyServer);
  form->addRow(ProxyPort);
  CheckBox1->hide();
  ProxyServer->hide();
  ProxyPort->hide();
  auto* connectRow = new QHBoxLayout;
  ConnectBtn = Button(QStringLiteral("ConnectBtn"), QStringLiteral("Connect"), account);
  DisConnectBtn = Button(QStringLiteral("DisConnectBtn"), QStringLiteral("Disconnect"), account);
  RefreshBtn = Button(QStringLiteral("RefreshBtn"), QStringLiteral("Refresh"), account);
  connectRow->addWidget(ConnectBtn);
  connectRow->addWidget(DisConnectBtn);
  connectRow->addWidget(RefreshBtn);
  form->addRow(connectRow);
  cSTATUS = LineEdit(QStringLiteral("cSTATUS"), QStringLiteral("FTP Disconnected"),
                     QStringLiteral("FTP connection state"), account);
  cSTATUS->setReadOnly(true);
  SetBase(cSTATUS, Qt::yellow);
  form->addRow(cSTATUS);

  auto* remoteDirs = new QGroupBox(QStringLiteral("FTP folders"), p);
  auto* rd = new QVBoxLayout(remoteDirs);
  sDirectory = LineEdit(QStringLiteral("sDirectory"), QStringLiteral("*.*"),
                        QStringLiteral("Remote folder"), remoteDirs);
  sDirectory->setToolTip(QStringLiteral("Double click: back to the root directory"));
  FileListBoxFTPdir = Name(new QListWidget(remoteDirs), QStringLiteral("FileListBoxFTPdir"),
                           QStringLiteral("Remote folders"));
  FileListBoxFTPdir->setToolTip(QStringLiteral("Double click: to directory"));
  AttachPopup(FileListBoxFTPdir, PopupMenuFTPdir);
  rd->addWidget(sDirectory);
  rd->addWidget(FileListBoxFTPdir, 1);
  MakeDirFTP = Name(new platform::Edit(remoteDirs), QStringLiteral("MakeDirFTP"),
                    QStringLiteral("New remote folder name"));
  MakeDirFTP->SetMaxLength(16);
  auto* dirRow = new QHBoxLayout;
  MkDirFTPbtn = Button(QStringLiteral("MkDirFTPbtn"), QStringLiteral("Make Dir"), remoteDirs);
  RenameDirFTPbtn = Button(QStringLiteral("RenameDirFTPbtn"), QStringLiteral("Rename Dir"), remoteDirs);
  DeleteAllFTPButtonEnable = Name(new QCheckBox(remoteDirs), QStringLiteral("DeleteAllFTPButtonEnable"),
                                  QStringLiteral("Allow deleting on the server"));
  DeleteAllFTPButtonEnable->setToolTip(QStringLiteral("Allow deleting on the server"));
  rd->addWidget(MakeDirFTP);
  dirRow->addWidget(MkDirFTPbtn);
  dirRow->addWidget(RenameDirFTPbtn);
  dirRow->addWidget(DeleteAllFTPButtonEnable);
  rd->addLayout(dirRow);

  auto* left = new QVBoxLayout;
  left->addWidget(account);
  left->addWidget(remoteDirs, 1);
  top->addLayout(left, 3);

  // Remote files and the transfer buttons with their Cancel buttons on top of them.
  auto* remote = new QGroupBox(QStringLiteral("FTP files"), p);
  auto* rf = new QVBoxLayout(remote);
  sFile = LineEdit(QStringLiteral("sFile"), QStringLiteral("*.csv"), QStringLiteral("Remote file"), remote);
  FileListBoxFTP = Name(new QListWidget(remote), QStringLiteral("FileListBoxFTP"),
                        QStringLiteral("Remote CSV files"));
  FileListBoxFTP->setSelectionMode(QAbstractItemView::ExtendedSelection);
  FileListBoxFTP->setToolTip(QStringLiteral("Right button: delete files from FTP"));
  AttachPopup(FileListBoxFTP, PopupMenuListBox3);
  RemoteFiles1cnt = Name(new QLabel(remote), QStringLiteral("RemoteFiles1cnt"),
                         QStringLiteral("Remote file count"));
  rf->addWidget(sFile);
  rf->addWidget(FileListBoxFTP, 1);
  rf->addWidget(RemoteFiles1cnt);
  top->addWidget(remote, 3);

  auto* transfer = new QVBoxLayout;
  auto* buttons = new QGridLayout;
  struct Pair {
    QPushButton** button;
    QPushButton** cancel;
    const char* name;
    const char* caption;
  };
  const Pair pairs[] = {
      {&CopySelected, &CopySelectedCancel, "CopySelected", "Copy selected"},
      {&CopyAll, &CopyAllCancel, "CopyAll", "Copy ALL"},
      {&MoveSelected, &MoveSelectedCancel, "MoveSelected", "Move selected"},
      {&MoveAll, &MoveAllCancel, "MoveAll", "Move ALL"},
      {&CopyFromDate, &CopyFromDateCancel, "CopyFromDate", "Copy from date"},
  };
  int row = 0;
  for (const Pair& pr : pairs) {
    *pr.button = Button(QString::fromLatin1(pr.name), QString::fromLatin1(pr.caption), p);
    *pr.cancel = Button(QString::fromLatin1(pr.name) + QStringLiteral("Cancel"),
                        QStringLiteral("Cancel"), p);
    (*pr.cancel)->setAccessibleName(QStringLiteral("Cancel ") + QString::fromLatin1(pr.caption));
    (*pr.button)->setMinimumHeight(30);
    (*pr.cancel)->setMinimumHeight(30);
    buttons->addWidget(*pr.button, row, 0);
    buttons->addWidget(*pr.cancel, row, 0);
    (*pr.cancel)->raise();
    (*pr.cancel)->hide();  // shown only while its transfer runs
    ++row;
  }
  CopyAll->setToolTip(QStringLiteral("Copy files from FTP"));
  MoveAll->setToolTip(QStringLiteral("Copy files from FTP"));
  QFont bold = CopyFromDate->font();
  bold.setBold(true);
  CopyFromDate->setFont(bold);
  transfer->addLayout(buttons);
  MonthCalendar1 = Calendar(QStringLiteral("MonthCalendar1"), QStringLiteral("Copy from day"), p);
  MonthCalendar2 = Calendar(QStringLiteral("MonthCalendar2"), QStringLiteral("Stored copy-from day"), p);
  MonthCalendar2->hide();
  FromDateTime = Name(new QLabel(p), QStringLiteral("FromDateTime"), QStringLiteral("Copy from day"));
  FromDateTime->setAlignment(Qt::AlignCenter);
  transfer->addWidget(MonthCalendar1);
  transfer->addWidget(FromDateTime);
  transfer->addStretch(1);
  ExitBtn = Button(QStringLiteral("ExitBtn"), QStringLiteral("Exit"), p);
  transfer->addWidget(ExitBtn);
  top->addLayout(transfer, 2);

  // Local working folder.
  auto* local = new QGroupBox(QStringLiteral("Local PC"), p);
  auto* lf = new QVBoxLayout(local);
  DriveComboBox4 = Name(new DriveComboBox(local), QStringLiteral("DriveComboBox4"), QStringLiteral("Drive"));
  DirectoryListBoxPC = Name(new DirectoryListBox(local), QStringLiteral("DirectoryListBoxPC"),
                            QStringLiteral("Local folders"));
  LocalDir = LineEdit(QStringLiteral("LocalDir"), DirectoryListBoxPC->Directory(),
                      QStringLiteral("Working folder"), local);
  LocalDir->setReadOnly(true);
  auto* mk = new QHBoxLayout;
  MakeDirPC = LineEdit(QStringLiteral("MakeDirPC"), QString(), QStringLiteral("New folder name"), local);
  MkDirPC = Button(QStringLiteral("MkDirPC"), QStringLiteral("MkDir"), local);
  mk->addWidget(MakeDirPC, 1);
  mk->addWidget(MkDirPC);
  LocalFile = LineEdit(QStringLiteral("LocalFile"), QStringLiteral("*.csv"), QStringLiteral("Local file"), local);
  FileListBoxPC = Name(new FileListBox(local), QStringLiteral("FileListBoxPC"),
                       QStringLiteral("Local CSV files"));
  FileListBoxPC->SetShowGlyphs(true);
  FileListBoxPC->SetMask(QStringLiteral("*.csv"));
  FileListBoxPC->setSelectionMode(QAbstractItemView::ExtendedSelection);
  FileListBoxPC->setToolTip(QStringLiteral("Right button: delete files"));
  AttachPopup(FileListBoxPC, PopupMenuListBox4);
  DirectoryListBoxPC->SetFileList(FileListBoxPC);
  DirectoryListBoxPC->SetDriveCombo(DriveComboBox4);
  DriveComboBox4->ShowIndex(DriveComboBox4->RootIndexOf(DirectoryListBoxPC->Directory()));
  LocalFiles1cnt = Name(new QLabel(local), QStringLiteral("LocalFiles1cnt"),
                        QStringLiteral("Local file count"));
  lf->addWidget(DriveComboBox4);
  lf->addWidget(DirectoryListBoxPC, 2);
  lf->addWidget(LocalDir);
  lf->addLayout(mk);
  lf->addWidget(LocalFile);
  lf->addWidget(FileListBoxPC, 3);
  lf->addWidget(LocalFiles1cnt);
  top->addWidget(local, 3);

  // The raw listing of the remote folder.
  Memo1 = Name(new QPlainTextEdit(p), QStringLiteral("Memo1"), QStringLiteral("FTP listing"));
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  rf->addWidget(new QLabel(QStringLiteral("Listing"), remote));
  rf->addWidget(Memo1, 1);
  return p;
}

// ---- CSV page -------------------------------------------------------------------------

QWidget* TForm1::BuildCSVPage() {
  TabSheetCSV = new QWidget;
  TabSheetCSV->setObjectName(QStringLiteral("TabSheetCSV"));
  TabSheetCSV->setAccessibleName(QStringLiteral("CSV (Table and Chart)"));
  QWidget* p = TabSheetCSV;
  auto* top = new QHBoxLayout(p);

  auto* side = new QVBoxLayout;
  DriveComboBox1 = Name(new DriveComboBox(p), QStringLiteral("DriveComboBox1"), QStringLiteral("Drive"));
  DirectoryListBox1 = Name(new DirectoryListBox(p), QStringLiteral("DirectoryListBox1"),
                           QStringLiteral("Folders"));
  DirectoryListBox2 = Name(new DirectoryListBox(p), QStringLiteral("DirectoryListBox2"),
                           QStringLiteral("Folders of merged files"));
  DirectoryListBox2->hide();
  FileListBox1 = Name(new FileListBox(p), QStringLiteral("FileListBox1"), QStringLiteral("Daily CSV files"));
  FileListBox1->SetMask(QStringLiteral("*.csv"));
  FileListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  FileListBox1->setToolTip(QStringLiteral("Double click: show the file"));
  AttachPopup(FileListBox1, PopupMenuListBox1);
  FileListBox8 = Name(new FileListBox(p), QStringLiteral("FileListBox8"), QStringLiteral("Merged CSV files"));
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
  RunButton = Button(QStringLiteral("RunButton"), QStringLiteral("Merge files"), merge);
  RunButton->setToolTip(QStringLiteral("Run for period"));
  mg->addWidget(Caption(QStringLiteral("From"), DateTimePicker1, merge), 0, 0);
  mg->addWidget(DateTimePicker1, 0, 1);
  mg->addWidget(Caption(QStringLiteral("To"), DateTimePicker2, merge), 1, 0);
  mg->addWidget(DateTimePicker2, 1, 1);
  mg->addWidget(RunButton, 2, 0, 1, 2);
  side->addWidget(merge);

  auto* levels = new QGroupBox(QStringLiteral("Levels"), p);
  auto* lv = new QGridLayout(levels);
  ScrollBar1 = Name(new QScrollBar(Qt::Horizontal, levels), QStringLiteral("ScrollBar1"),
                    QStringLiteral("T LEVEL"));
  ScrollBar1->setRange(-40, 100);
  ScrollBar1->setPageStep(10);
  ScrollBar1->setMinimumWidth(110);
  TLEVEL = LineEdit(QStringLiteral("TLEVEL"), QStringLiteral("0"), QStringLiteral("T LEVEL value"), levels);
  ReadOnlyGrey(TLEVEL);
  TLEVEL->setMaximumWidth(44);
  ScrollBar2 = Name(new QScrollBar(Qt::Horizontal, levels), QStringLiteral("ScrollBar2"),
                    QStringLiteral("A LEVEL"));
  ScrollBar2->setRange(0, 100);
  ScrollBar2->setPageStep(10);
  ALEVEL = LineEdit(QStringLiteral("ALEVEL"), QStringLiteral("0"), QStringLiteral("A LEVEL value"), levels);
  ReadOnlyGrey(ALEVEL);
  ALEVEL->setMaximumWidth(44);
  lv->addWidget(new QLabel(QStringLiteral("T LEVEL"), levels), 0, 0);
  lv->addWidget(ScrollBar1, 0, 1);
  lv->addWidget(TLEVEL, 0, 2);
  lv->addWidget(new QLabel(QStringLiteral("A LEVEL"), levels), 1, 0);
  lv->addWidget(ScrollBar2, 1, 1);
  lv->addWidget(ALEVEL, 1, 2);
  Xmode = Name(new QCheckBox(QStringLiteral("axel X - Date/Time"), levels), QStringLiteral("Xmode"),
               QStringLiteral("axel X - Date/Time"));
  lv->addWidget(Xmode, 2, 0, 1, 3);
  side->addWidget(levels);

  auto* sideBox = new QWidget(p);
  sideBox->setLayout(side);
  sideBox->setFixedWidth(250);
  side->setContentsMargins(0, 0, 0, 0);
  top->addWidget(sideBox);

  auto* main = new QVBoxLayout;
  auto* head = new QHBoxLayout;
  vFileName = Name(new QLabel(p), QStringLiteral("vFileName"), QStringLiteral("File shown"));
  QFont f = vFileName->font();
  f.setBold(true);
  vFileName->setFont(f);
  StatusLine = LineEdit(QStringLiteral("StatusLine"), QStringLiteral("FTP Disconnected"),
                        QStringLiteral("FTP connection state"), p);
  StatusLine->setReadOnly(true);
  StatusLine->setFocusPolicy(Qt::NoFocus);
  StatusLine->setMaximumWidth(160);
  SetBase(StatusLine, Qt::yellow);
  ExitButton = Button(QStringLiteral("ExitButton"), QStringLiteral("Exit"), p);
  head->addWidget(vFileName, 1);
  head->addWidget(StatusLine);
  head->addWidget(ExitButton);
  main->addLayout(head);

  grid_ = new CsvGrid(this);
  auto* fixed = new FixedCellsProxy(this);
  fixed->setSourceModel(grid_);
  StringGrid1 = Name(new QTableView(p), QStringLiteral("StringGrid1"), QStringLiteral("CSV table"));
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

  auto* charts = new QHBoxLayout;
  Chart1->setParent(p);
  Chart2->setParent(p);
  Chart1->setMinimumHeight(264);
  Chart2->setMinimumHeight(264);
  charts->addWidget(Chart1);
  charts->addWidget(Chart2);
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

// ---- channel pages --------------------------------------------------------------------

QWidget* TForm1::BuildChannelPage(const QString& name, const QString& caption, Chart* chart,
                                  QLineEdit* nameEdit, QPushButton* print, int analog) {
  auto* p = new QWidget;
  p->setObjectName(name);
  p->setAccessibleName(caption);
  auto* top = new QHBoxLayout(p);
  chart->setParent(p);
  top->addWidget(chart, 1);

  auto* side = new QVBoxLayout;
  nameEdit->setParent(p);
  SetBase(nameEdit, QColor(0xD4, 0xD0, 0xC8));
  nameEdit->setMinimumWidth(130);
  side->addWidget(Caption(QStringLiteral("Name"), nameEdit, p));
  side->addWidget(nameEdit);
  if (analog > 0) {
    const int n = analog;
    auto* mul = new QGroupBox(QStringLiteral("Multiplier"), p);
    auto* g = new QGridLayout(mul);
    ScrollBarA[n] = Name(new QScrollBar(Qt::Vertical, mul), QStringLiteral("ScrollBarA%1").arg(n),
                         QStringLiteral("Multiplier A%1 whole part").arg(n));
    ScrollBarA[n]->setRange(0, 100);
    ScrollBarA[n]->setPageStep(10);
    ScrollBarA[n]->setValue(1);
    ScrollBarA0[n] = Name(new QScrollBar(Qt::Vertical, mul), QStringLiteral("ScrollBarA0%1").arg(n),
                          QStringLiteral("Multiplier A%1 thousandths").arg(n));
    ScrollBarA0[n]->setRange(0, 999);
    ScrollBarA0[n]->setPageStep(10);
    ScrollBarA0[n]->setValue(0);
    ScrollBarA[n]->setMinimumHeight(260);
    ScrollBarA0[n]->setMinimumHeight(260);
    g->addWidget(new QLabel(QStringLiteral("0"), mul), 0, 0, Qt::AlignHCenter);
    g->addWidget(new QLabel(QStringLiteral("0,000"), mul), 0, 1, Qt::AlignHCenter);
    g->addWidget(ScrollBarA[n], 1, 0, Qt::AlignHCenter);
    g->addWidget(ScrollBarA0[n], 1, 1, Qt::AlignHCenter);
    g->addWidget(new QLabel(QStringLiteral("100"), mul), 2, 0, Qt::AlignHCenter);
    g->addWidget(new QLabel(QStringLiteral("0,999"), mul), 2, 1, Qt::AlignHCenter);
    MulA[n] = LineEdit(QStringLiteral("MulA%1").arg(n), QStringLiteral("1"),
                       QStringLiteral("Multiplier A%1").arg(n), mul);
    MulA[n]->setEnabled(false);
    SetBase(MulA[n], QApplication::palette().color(QPalette::Light));
    {
      // Disabled only so that nobody types into it: the value stays plainly readable.
      QPalette pal = MulA[n]->palette();
      pal.setColor(QPalette::Disabled, QPalette::Text, pal.color(QPalette::Active, QPalette::Text));
      MulA[n]->setPalette(pal);
    }
    g->addWidget(MulA[n], 3, 0, 1, 2);
    side->addWidget(mul);
    RefreshAButton[n]->setParent(p);
    RefreshAButton[n]->setToolTip(QStringLiteral("Reload the selected merged file"));
    side->addWidget(RefreshAButton[n]);
  }
  side->addStretch(1);
  print->setParent(p);
  side->addWidget(print);
  top->addLayout(side);
  return p;
}

// ---- binding --------------------------------------------------------------------------

void TForm1::BindHandlers() {
  // Handlers that may raise run guarded: the error box shows what they raised.
  auto guarded = [this](auto method) {
    return [this, method] { platform::Guard([&] { (this->*method)(); }); };
  };

  connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (!started_ && now && (now == PageControl1 || PageControl1->isAncestorOf(now)))
      PageControl1Enter();
  });

  connect(Print2, &QAction::triggered, this, guarded(&TForm1::Print1Click));
  connect(Print1, &QAction::triggered, this, guarded(&TForm1::Print1Click));
  connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
  connect(SaveSetting1, &QAction::triggered, this, guarded(&TForm1::SaveSetting1Click));
  connect(MonthCalendar1, &QCalendarWidget::clicked, this, [this] { MonthCalendar1Click(); });
  // Transfers.
  connect(CopySelected, &QPushButton::clicked, this, guarded(&TForm1::CopySelectedClick));
  connect(CopyAll, &QPushButton::clicked, this, guarded(&TForm1::CopyAllClick));
  connect(MoveSelected, &QPushButton::clicked, this, guarded(&TForm1::MoveSelectedClick));
  connect(MoveAll, &QPushButton::clicked, this, guarded(&TForm1::MoveAllClick));
  connect(CopyFromDate, &QPushButton::clicked, this, guarded(&TForm1::CopyFromDateClick));
  for (QPushButton* b : {CopySelectedCancel, CopyAllCancel, MoveSelectedCancel, MoveAllCancel,
                         CopyFromDateCancel})
    connect(b, &QPushButton::clicked, this, [this] { CancelBtn(); });
  connect(FileListBoxFTP, &QListWidget::itemDoubleClicked, this,
          guarded(&TForm1::FileListBoxFTPDblClick));
  connect(ExitBtn, &QPushButton::clicked, this, [this] { ExitBtnClick(); });
  connect(ExitButton, &QPushButton::clicked, this, [this] { ExitBtnClick(); });

  // Local files.
  connect(DirectoryListBoxPC, &DirectoryListBox::Change, this, [this] { DirectoryListBoxPCChange(); });
  connect(DirectoryListBox1, &DirectoryListBox::Change, this, [this] { DirectoryListBox1Change(); });
  connect(DriveComboBox4, &DriveComboBox::Change, this,
          [this] { DirectoryListBoxPC->SetDrive(DriveComboBox4->Drive()); });
  connect(DriveComboBox1, &DriveComboBox::Change, this,
          [this] { DirectoryListBox1->SetDrive(DriveComboBox1->Drive()); });
  connect(FileListBoxPC, &QListWidget::itemClicked, this, [this] { FileListBoxPCClick(); });
  connect(FileListBoxPC, &QListWidget::itemDoubleClicked, this, guarded(&TForm1::FileListBoxPCDblClick));
  connect(FileListBoxFTPdir, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    sDirectory->setText(item->text());
  });
  // FTP session and remote folders.
  connect(ConnectBtn, &QPushButton::clicked, this, guarded(&TForm1::ConnectBtnClick));
  connect(DisConnectBtn, &QPushButton::clicked, this, guarded(&TForm1::DisConnectBtnClick));
  connect(RefreshBtn, &QPushButton::clicked, this, guarded(&TForm1::RefreshBtnClick));
  connect(FileListBoxFTPdir, &QListWidget::itemDoubleClicked, this,
          guarded(&TForm1::FileListBoxFTPdirDblClick));
  platform::OnDoubleClick(sDirectory, guarded(&TForm1::sDirectoryDblClick));
  connect(FileListBoxFTP, &QListWidget::itemClicked, this, [this] { FileListBoxFTPClick(); });
  connect(DeleteAllFTPButtonEnable, &QCheckBox::toggled, this,
          [this] { DeleteAllFTPButtonEnableClick(); });
  connect(MenuItem1, &QAction::triggered, this, guarded(&TForm1::MenuItem1Click));
  connect(MenuItem2, &QAction::triggered, this, guarded(&TForm1::DeleteAllFTPClick));
  connect(MenuItem3, &QAction::triggered, this, guarded(&TForm1::DeleteFTPdirClick));
  connect(MkDirFTPbtn, &QPushButton::clicked, this, guarded(&TForm1::MkDirFTPbtnClick));
  connect(RenameDirFTPbtn, &QPushButton::clicked, this, guarded(&TForm1::RenameDirFTPbtnClick));
  connect(Timer1, &QTimer::timeout, this, guarded(&TForm1::Timer1Timer));
  connect(Delete1, &QAction::triggered, this, guarded(&TForm1::Delete1Click));
  connect(DeleteAll1, &QAction::triggered, this, guarded(&TForm1::DeleteAll1Click));
  connect(Refresh1, &QAction::triggered, this, guarded(&TForm1::Refresh1Click));
  connect(Delete2, &QAction::triggered, this, guarded(&TForm1::Delete2Click));
  connect(DeleteAll2, &QAction::triggered, this, guarded(&TForm1::DeleteAll2Click));
  connect(Refresh2, &QAction::triggered, this, guarded(&TForm1::Refresh2Click));
  connect(Delete3, &QAction::triggered, this, guarded(&TForm1::Delete3Click));
  connect(Refresh3, &QAction::triggered, this, guarded(&TForm1::Refresh3Click));
  connect(MkDirPC, &QPushButton::clicked, this, guarded(&TForm1::MkDirPCClick));

  // Loading and merging.
  connect(FileListBox1, &QListWidget::itemDoubleClicked, this, guarded(&TForm1::FileListBox1DblClick));
  connect(FileListBox8, &QListWidget::itemDoubleClicked, this, guarded(&TForm1::FileListBox8DblClick));
  connect(RunButton, &QPushButton::clicked, this, guarded(&TForm1::MergeButtonClick));

  // Chart controls.
  connect(ScrollBar1, &QScrollBar::valueChanged, this, [this] { ScrollBar1Change(); });
  connect(ScrollBar2, &QScrollBar::valueChanged, this, [this] { ScrollBar2Change(); });
  connect(T1Name, &QLineEdit::textChanged, this, [this] { T1NameChange(); });
  connect(C1Name, &QLineEdit::textChanged, this, [this] { C1NameChange(); });
  connect(C2Name, &QLineEdit::textChanged, this, [this] { C2NameChange(); });
  for (int n = 1; n <= 8; ++n) {
    connect(ScrollBarA[n], &QScrollBar::valueChanged, this, [this, n] { ScrollBarAChange(n); });
    connect(ScrollBarA0[n], &QScrollBar::valueChanged, this, [this, n] { ScrollBarA0Change(n); });
    connect(AName[n], &QLineEdit::textChanged, this, [this, n] { ANameChange(n); });
    connect(RefreshAButton[n], &QPushButton::clicked, this,
            [this, n] { platform::Guard([&] { RefreshA(n); }); });
    connect(PrintAButton[n], &QPushButton::clicked, this,
            [this, n] { platform::Guard([&] { PrintA(n); }); });
  }

  // Printing.
  connect(PrintTButton, &QPushButton::clicked, this, guarded(&TForm1::PrintTClick));
  connect(PrintC1Button, &QPushButton::clicked, this, guarded(&TForm1::PrintC1));
  connect(PrintC2Button, &QPushButton::clicked, this, guarded(&TForm1::PrintC2));
}

// ---- shared helpers -------------------------------------------------------------------

void TForm1::SetStatusText(const std::string& text) {
  StatusBar1->showMessage(platform::FromCp1252(text));
}

std::string TForm1::StatusText() const { return platform::ToCp1252(StatusBar1->currentMessage()); }

std::string TForm1::DayText(const QDate& day) {
  // The locale's short date where it fits in ten characters of Windows-1252; else the
  // day in digits, which always does, so the day is never shown cut.
  const QString text = QLocale().toString(day, QLocale::ShortFormat);
  const std::string bytes = platform::ToCp1252(text);
  if (text.size() <= 10 && platform::FromCp1252(bytes) == text) return bytes;
  return day.toString(QStringLiteral("dd.MM.yyyy")).toStdString();
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The start-up runs when the page control first takes the focus. Without a window
  // manager to give the window the focus, it runs as soon as the window is up.
  if (!started_)
    QTimer::singleShot(0, this, [this] {
      if (started_) return;
      PageControl1->setFocus();
      if (!started_) PageControl1Enter();
    });
}

}  // namespace monitor
