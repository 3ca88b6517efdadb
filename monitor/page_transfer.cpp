// The transfer page: the FTP account and connection, the remote folders and files, the
// transfer buttons with their Cancel buttons, the copy-from day, the local working folder
// and the raw remote listing.
#include <QCalendarWidget>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

#include "monitor/folderlists.h"
#include "monitor/form.h"
#include "platform/controls.h"
#include "platform/doubleclick.h"
#include "platform/widgets.h"

namespace monitor {

namespace {

// The preset account of the data loggers' FTP server.
constexpr char kDefaultHost[] = "ftp.example.com";
constexpr char kDefaultPort[] = "21";
constexpr char kDefaultUser[] = "5063";
constexpr char kDefaultPassword[] = "KP7391MX-R";

QCalendarWidget* Calendar(const QString& objectName, const QString& accessible, QWidget* parent) {
  auto* c = platform::Named(new QCalendarWidget(parent), objectName, accessible);
  c->setMinimumDate(QDate(2018, 9, 1));
  c->setGridVisible(true);
  c->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  // The calendar's width is the page column's: its day names fit only in the layout's font.
  c->setFont(platform::LayoutFont());
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

}  // namespace

QWidget* TForm1::BuildTransferPage() {
  TabSheet2 = new QWidget;
  TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  TabSheet2->setAccessibleName(QStringLiteral("From FTP to local PC file transfer"));
  QWidget* p = TabSheet2;
  auto* top = new QHBoxLayout(p);

  // FTP account and connection.
  auto* account = new QGroupBox(QStringLiteral("FTP server"), p);
  auto* form = new QFormLayout(account);
  HostTxt = platform::MakeEdit(account, QStringLiteral("HostTxt"), QStringLiteral("Host"),
                               QString::fromLatin1(kDefaultHost));
  PortTxt = platform::MakeEdit(account, QStringLiteral("PortTxt"), QStringLiteral("Port"),
                               QString::fromLatin1(kDefaultPort));
  UserTxt = platform::MakeEdit(account, QStringLiteral("UserTxt"), QStringLiteral("User ID"),
                               QString::fromLatin1(kDefaultUser));
  PassTxt = platform::MakeEdit(account, QStringLiteral("PassTxt"), QStringLiteral("Password"),
                               QString::fromLatin1(kDefaultPassword));
  PassTxt->setEchoMode(QLineEdit::Password);
  auto* stars = new StarPasswordStyle;
  stars->setParent(PassTxt);
  PassTxt->setStyle(stars);
  form->addRow(QStringLiteral("Host"), HostTxt);
  form->addRow(QStringLiteral("Port"), PortTxt);
  form->addRow(QStringLiteral("User ID"), UserTxt);
  form->addRow(QStringLiteral("Password"), PassTxt);
  CheckBox1 = platform::Named(new QCheckBox(QStringLiteral("Proxy Server"), account),
                              QStringLiteral("CheckBox1"), QStringLiteral("Proxy Server"));
  ProxyServer = platform::MakeEdit(account, QStringLiteral("ProxyServer"),
                                   QStringLiteral("Proxy host"), QString());
  ProxyPort = platform::MakeEdit(account, QStringLiteral("ProxyPort"), QStringLiteral("Proxy port"),
                                 QString());
  form->addRow(CheckBox1);
  form->addRow(ProxyServer);
  form->addRow(ProxyPort);
  CheckBox1->hide();
  ProxyServer->hide();
  ProxyPort->hide();
  auto* connectRow = new QHBoxLayout;
  ConnectBtn = platform::MakeButton(account, QStringLiteral("ConnectBtn"),
                                    QStringLiteral("Connect"), QStringLiteral("Connect"));
  DisConnectBtn = platform::MakeButton(account, QStringLiteral("DisConnectBtn"),
                                       QStringLiteral("Disconnect"), QStringLiteral("Disconnect"));
  RefreshBtn = platform::MakeButton(account, QStringLiteral("RefreshBtn"),
                                    QStringLiteral("Refresh"), QStringLiteral("Refresh"));
  connectRow->addWidget(ConnectBtn);
  connectRow->addWidget(DisConnectBtn);
  connectRow->addWidget(RefreshBtn);
  form->addRow(connectRow);
  cSTATUS =
      platform::MakeEdit(account, QStringLiteral("cSTATUS"), QStringLiteral("FTP connection state"),
                         QStringLiteral("FTP Disconnected"));
  cSTATUS->setReadOnly(true);
  platform::SetBase(cSTATUS, Qt::yellow);
  form->addRow(cSTATUS);

  auto* remoteDirs = new QGroupBox(QStringLiteral("FTP folders"), p);
  auto* rd = new QVBoxLayout(remoteDirs);
  sDirectory = platform::MakeEdit(remoteDirs, QStringLiteral("sDirectory"),
                                  QStringLiteral("Remote folder"), QStringLiteral("*.*"));
  sDirectory->setToolTip(QStringLiteral("Double click: back to the root directory"));
  FileListBoxFTPdir =
      platform::Named(new QListWidget(remoteDirs), QStringLiteral("FileListBoxFTPdir"),
                      QStringLiteral("Remote folders"));
  FileListBoxFTPdir->setToolTip(QStringLiteral("Double click: to directory"));
  AttachPopup(FileListBoxFTPdir, PopupMenuFTPdir);
  rd->addWidget(sDirectory);
  rd->addWidget(FileListBoxFTPdir, 1);
  MakeDirFTP = platform::Named(new platform::Edit(remoteDirs), QStringLiteral("MakeDirFTP"),
                               QStringLiteral("New remote folder name"));
  MakeDirFTP->SetMaxLength(16);
  auto* dirRow = new QHBoxLayout;
  MkDirFTPbtn = platform::MakeButton(remoteDirs, QStringLiteral("MkDirFTPbtn"),
                                     QStringLiteral("Make Dir"), QStringLiteral("Make Dir"));
  RenameDirFTPbtn =
      platform::MakeButton(remoteDirs, QStringLiteral("RenameDirFTPbtn"),
                           QStringLiteral("Rename Dir"), QStringLiteral("Rename Dir"));
  DeleteAllFTPButtonEnable =
      platform::Named(new QCheckBox(remoteDirs), QStringLiteral("DeleteAllFTPButtonEnable"),
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
  sFile = platform::MakeEdit(remote, QStringLiteral("sFile"), QStringLiteral("Remote file"),
                             QStringLiteral("*.csv"));
  FileListBoxFTP = platform::Named(new QListWidget(remote), QStringLiteral("FileListBoxFTP"),
                                   QStringLiteral("Remote CSV files"));
  FileListBoxFTP->setSelectionMode(QAbstractItemView::ExtendedSelection);
  FileListBoxFTP->setToolTip(QStringLiteral("Right button: delete files from FTP"));
  AttachPopup(FileListBoxFTP, PopupMenuListBox3);
  RemoteFiles1cnt = platform::Named(new QLabel(remote), QStringLiteral("RemoteFiles1cnt"),
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
    *pr.button =
        platform::MakeButton(p, QString::fromLatin1(pr.name), QString::fromLatin1(pr.caption),
                             QString::fromLatin1(pr.caption));
    *pr.cancel = platform::MakeButton(p, QString::fromLatin1(pr.name) + QStringLiteral("Cancel"),
                                      QStringLiteral("Cancel"), QStringLiteral("Cancel"));
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
  MonthCalendar2 =
      Calendar(QStringLiteral("MonthCalendar2"), QStringLiteral("Stored copy-from day"), p);
  MonthCalendar2->hide();
  FromDateTime = platform::Named(new QLabel(p), QStringLiteral("FromDateTime"),
                                 QStringLiteral("Copy from day"));
  FromDateTime->setAlignment(Qt::AlignCenter);
  transfer->addWidget(MonthCalendar1);
  transfer->addWidget(FromDateTime);
  transfer->addStretch(1);
  ExitBtn = platform::MakeButton(p, QStringLiteral("ExitBtn"), QStringLiteral("Exit"),
                                 QStringLiteral("Exit"));
  transfer->addWidget(ExitBtn);
  top->addLayout(transfer, 2);

  // Local working folder.
  auto* local = new QGroupBox(QStringLiteral("Local PC"), p);
  auto* lf = new QVBoxLayout(local);
  DriveComboBox4 = platform::Named(new DriveComboBox(local), QStringLiteral("DriveComboBox4"),
                                   QStringLiteral("Drive"));
  DirectoryListBoxPC =
      platform::Named(new DirectoryListBox(local), QStringLiteral("DirectoryListBoxPC"),
                      QStringLiteral("Local folders"));
  LocalDir = platform::MakeEdit(local, QStringLiteral("LocalDir"), QStringLiteral("Working folder"),
                                DirectoryListBoxPC->Directory());
  LocalDir->setReadOnly(true);
  auto* mk = new QHBoxLayout;
  MakeDirPC = platform::MakeEdit(local, QStringLiteral("MakeDirPC"),
                                 QStringLiteral("New folder name"), QString());
  MkDirPC = platform::MakeButton(local, QStringLiteral("MkDirPC"), QStringLiteral("MkDir"),
                                 QStringLiteral("MkDir"));
  mk->addWidget(MakeDirPC, 1);
  mk->addWidget(MkDirPC);
  LocalFile = platform::MakeEdit(local, QStringLiteral("LocalFile"), QStringLiteral("Local file"),
                                 QStringLiteral("*.csv"));
  FileListBoxPC = platform::Named(new FileListBox(local), QStringLiteral("FileListBoxPC"),
                                  QStringLiteral("Local CSV files"));
  FileListBoxPC->SetShowGlyphs(true);
  FileListBoxPC->SetMask(QStringLiteral("*.csv"));
  FileListBoxPC->setSelectionMode(QAbstractItemView::ExtendedSelection);
  FileListBoxPC->setToolTip(QStringLiteral("Right button: delete files"));
  AttachPopup(FileListBoxPC, PopupMenuListBox4);
  DirectoryListBoxPC->SetFileList(FileListBoxPC);
  DirectoryListBoxPC->SetDriveCombo(DriveComboBox4);
  DriveComboBox4->ShowIndex(DriveComboBox4->RootIndexOf(DirectoryListBoxPC->Directory()));
  LocalFiles1cnt = platform::Named(new QLabel(local), QStringLiteral("LocalFiles1cnt"),
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
  Memo1 = platform::Named(new QPlainTextEdit(p), QStringLiteral("Memo1"),
                          QStringLiteral("FTP listing"));
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  rf->addWidget(new QLabel(QStringLiteral("Listing"), remote));
  rf->addWidget(Memo1, 1);
  return p;
}

void TForm1::BindTransferPage() {
  connect(MonthCalendar1, &QCalendarWidget::clicked, this, [this] { MonthCalendar1Click(); });
  platform::OnClick(this, CopySelected, [this] { CopySelectedClick(); });
  platform::OnClick(this, CopyAll, [this] { CopyAllClick(); });
  platform::OnClick(this, MoveSelected, [this] { MoveSelectedClick(); });
  platform::OnClick(this, MoveAll, [this] { MoveAllClick(); });
  platform::OnClick(this, CopyFromDate, [this] { CopyFromDateClick(); });
  for (QPushButton* b : CancelButtons())
    connect(b, &QPushButton::clicked, this, [this] { CancelBtn(); });
  platform::OnSignal(this, FileListBoxFTP, &QListWidget::itemDoubleClicked,
                     [this] { FileListBoxFTPDblClick(); });
  connect(ExitBtn, &QPushButton::clicked, this, [this] { ExitBtnClick(); });

  // Local files.
  connect(DirectoryListBoxPC, &DirectoryListBox::Change, this,
          [this] { DirectoryListBoxPCChange(); });
  connect(DriveComboBox4, &DriveComboBox::Change, this,
          [this] { DirectoryListBoxPC->SetDrive(DriveComboBox4->Drive()); });
  connect(FileListBoxPC, &QListWidget::itemClicked, this, [this] { FileListBoxPCClick(); });
  platform::OnSignal(this, FileListBoxPC, &QListWidget::itemDoubleClicked,
                     [this] { FileListBoxPCDblClick(); });
  connect(FileListBoxFTPdir, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { sDirectory->setText(item->text()); });
  // FTP session and remote folders.
  platform::OnClick(this, ConnectBtn, [this] { ConnectBtnClick(); });
  platform::OnClick(this, DisConnectBtn, [this] { DisConnectBtnClick(); });
  platform::OnClick(this, RefreshBtn, [this] { RefreshBtnClick(); });
  platform::OnSignal(this, FileListBoxFTPdir, &QListWidget::itemDoubleClicked,
                     [this] { FileListBoxFTPdirDblClick(); });
  platform::OnDoubleClick(sDirectory,
                          [this] { platform::Guard([this] { sDirectoryDblClick(); }); });
  connect(FileListBoxFTP, &QListWidget::itemClicked, this, [this] { FileListBoxFTPClick(); });
  connect(DeleteAllFTPButtonEnable, &QCheckBox::toggled, this,
          [this] { DeleteAllFTPButtonEnableClick(); });
  platform::OnSignal(this, MenuItem1, &QAction::triggered, [this] { MenuItem1Click(); });
  platform::OnSignal(this, MenuItem2, &QAction::triggered, [this] { DeleteAllFTPClick(); });
  platform::OnSignal(this, MenuItem3, &QAction::triggered, [this] { DeleteFTPdirClick(); });
  platform::OnClick(this, MkDirFTPbtn, [this] { MkDirFTPbtnClick(); });
  platform::OnClick(this, RenameDirFTPbtn, [this] { RenameDirFTPbtnClick(); });
  platform::OnSignal(this, Delete1, &QAction::triggered, [this] { Delete1Click(); });
  platform::OnSignal(this, DeleteAll1, &QAction::triggered, [this] { DeleteAll1Click(); });
  platform::OnSignal(this, Refresh1, &QAction::triggered, [this] { Refresh1Click(); });
  platform::OnClick(this, MkDirPC, [this] { MkDirPCClick(); });
}

}  // namespace monitor
