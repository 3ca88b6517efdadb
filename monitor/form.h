#pragma once
// Fernlog's main window: the transfer page, the CSV page with its table and two charts,
// and the eleven channel pages; the settings file "csv.cfg"; the local working folder;
// loading, merging, chart controls and printing.
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/core/charts.h"
#include "monitor/core/csvconfig.h"
#include "monitor/core/merge.h"
#include "monitor/members/ftpsession.h"
#include "monitor/members/transfers.h"

class QAction;
class QCalendarWidget;
class QCheckBox;
class QDate;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QStatusBar;
class QTabWidget;
class QTableView;
class QTimer;
class QWidget;

namespace platform {
class Edit;
}

namespace monitor {

class Chart;
class ChartSeries;
class CsvGrid;
class DirectoryListBox;
class DriveComboBox;
class FileListBox;

class TForm1 : public QMainWindow, public FtpSessionMembers, public TransferMembers {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // ---- start-up, exit, settings file -------------------------------------------------
  // The page control's first focus: the start-up, then the FTP session's Connect step.
  // Runs once per window. A window on its way to the screen connects once it has been
  // painted, so it shows before the server answers.
  void PageControl1Enter();
  // The start-up restore of the window from "csv.cfg" (tests call it directly).
  void OnCreate();
  // Returns false when the file could not be read (the warning or error box was shown).
  bool ReadCFGFile(const std::string& name);
  void SaveCFGFile(const std::string& name);
  void SaveSetting1Click();
  // Each page restores its settings from the record and stores them into it, through its
  // own controls: the transfer page (FTP account, copy-from day), the CSV page (drive entry,
  // working folder, T and A levels) and the channel pages (multipliers, names).
  void RestoreCSVPage(const TCSVConfig& c);
  void RestoreFTPAccount(const TCSVConfig& c);
  void RestoreChannelPages(const TCSVConfig& c);
  void StoreTransferPage(TCSVConfig& c) const;
  void StoreCSVPage(TCSVConfig& c) const;
  void StoreChannelPages(TCSVConfig& c) const;
  void Exit1Click();
  void ExitBtnClick();
  void PageControl1Change();
  // A day chosen in MonthCalendar1 shows in FromDateTime.
  void MonthCalendar1Click();
  // The FTP session's Connect at the end of the start-up.
  void StartupConnect();
  // Exit's step of the FTP session: a dropped connection resets the transfer page.
  void ExitDisconnect();

  // ---- local files -------------------------------------------------------------------
  void DirectoryListBoxPCChange();
  void DirectoryListBox1Change();
  void FileListBoxPCClick();
  void Delete1Click();
  void DeleteAll1Click();
  void Refresh1Click();
  void Delete2Click();
  void DeleteAll2Click();
  void Refresh2Click();
  void Delete3Click();
  void Refresh3Click();
  void FileListBoxPCDblClick();
  void MkDirPCClick();

  // ---- CSV load ------------------------------------------------------------------------
  void LoadCSVFile(const std::string& name, char separator);
  void FileListBox1DblClick();
  void FileListBox8DblClick();
  void ClearAllSeries();
  void ApplyColumnWidths();

  // ---- merge ---------------------------------------------------------------------------
  void MergeButtonClick();
  void FileOpen(const std::string& name, int& count);
  // Returns false when the merged file could not be created.
  bool FileSave(const std::string& name, int count);

  // ---- chart controls ------------------------------------------------------------------
  void ScrollBar1Change();
  void ScrollBar2Change();
  void ScrollBarAChange(int n);   // coarse bar ScrollBarAn
  void ScrollBarA0Change(int n);  // fine bar ScrollBarA0n
  void RefreshA(int n);           // Refresh button of page "Analog n"
  void T1NameChange();
  void C1NameChange();
  void C2NameChange();
  void ANameChange(int n);

  // ---- printing ------------------------------------------------------------------------
  void Print1Click();
  void PrintTClick();
  void PrintC1();
  void PrintC2();
  void PrintA(int n);

  // ---- window-level state ---------------------------------------------------------------
  bool FTPConnected = false;
  bool FTPBusy = false;
  bool ExitRequested = false;
  bool CancelRequested = false;
  int TLevelValue = 0;
  int ALevelValue = 0;
  TCSVConfig CSVConfig;
  MergeBuffer MergeLines;
  int MergeLineCount() const { return MergeLines.LineCount(); }
  bool Started() const { return started_; }

  // Status bar text (the FTP session writes it).
  void SetStatusText(const std::string& text);
  std::string StatusText() const;
  // The copy-from day as FromDateTime shows it.
  static std::string DayText(const QDate& day);
  // The 38 series by their ids (monitor::SeriesId).
  ChartSeries* SeriesById(int id) const { return series_.at(static_cast<std::size_t>(id)); }
  CsvGrid* Grid() const { return grid_; }

  // ---- components ------------------------------------------------------------------------
  QStatusBar* StatusBar1 = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QWidget* TabSheetCSV = nullptr;
  QWidget* TabSheetT1 = nullptr;
  QWidget* TabSheetC1 = nullptr;
  QWidget* TabSheetC2 = nullptr;
  std::array<QWidget*, 9> TabSheetA{};  // [1..8]
  QTimer* Timer1 = nullptr;

  // Transfer page.
  QLineEdit* HostTxt = nullptr;
  QLineEdit* PortTxt = nullptr;
  QLineEdit* UserTxt = nullptr;
  QLineEdit* PassTxt = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QLineEdit* ProxyServer = nullptr;
  QLineEdit* ProxyPort = nullptr;
  QPushButton* ConnectBtn = nullptr;
  QPushButton* DisConnectBtn = nullptr;
  QPushButton* RefreshBtn = nullptr;
  QLineEdit* cSTATUS = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QLineEdit* sDirectory = nullptr;
  QListWidget* FileListBoxFTPdir = nullptr;
  QLineEdit* sFile = nullptr;
  QListWidget* FileListBoxFTP = nullptr;
  QLabel* RemoteFiles1cnt = nullptr;
  QLabel* LocalFiles1cnt = nullptr;
  platform::Edit* MakeDirFTP = nullptr;
  QPushButton* MkDirFTPbtn = nullptr;
  QPushButton* RenameDirFTPbtn = nullptr;
  QCheckBox* DeleteAllFTPButtonEnable = nullptr;
  QLineEdit* LocalFile = nullptr;
  QLineEdit* LocalDir = nullptr;
  FileListBox* FileListBoxPC = nullptr;
  DirectoryListBox* DirectoryListBoxPC = nullptr;
  DriveComboBox* DriveComboBox4 = nullptr;
  QLineEdit* MakeDirPC = nullptr;
  QPushButton* MkDirPC = nullptr;
  QPushButton* CopySelected = nullptr;
  QPushButton* CopyAll = nullptr;
  QPushButton* MoveSelected = nullptr;
  QPushButton* MoveAll = nullptr;
  QPushButton* CopyFromDate = nullptr;
  QPushButton* CopySelectedCancel = nullptr;
  QPushButton* CopyAllCancel = nullptr;
  QPushButton* MoveSelectedCancel = nullptr;
  QPushButton* MoveAllCancel = nullptr;
  QPushButton* CopyFromDateCancel = nullptr;
  // The five transfer buttons, and the Cancel button on top of each, in the page's order.
  std::array<QPushButton*, 5> TransferButtons() const {
    return {CopySelected, CopyAll, MoveSelected, MoveAll, CopyFromDate};
  }
  std::array<QPushButton*, 5> CancelButtons() const {
    return {CopySelectedCancel, CopyAllCancel, MoveSelectedCancel, MoveAllCancel,
            CopyFromDateCancel};
  }
  QCalendarWidget* MonthCalendar1 = nullptr;
  QCalendarWidget* MonthCalendar2 = nullptr;
  QLabel* FromDateTime = nullptr;
  QPushButton* ExitBtn = nullptr;

  // CSV page.
  QLabel* vFileName = nullptr;
  QLineEdit* StatusLine = nullptr;
  QPushButton* ExitButton = nullptr;
  DriveComboBox* DriveComboBox1 = nullptr;
  DirectoryListBox* DirectoryListBox1 = nullptr;
  DirectoryListBox* DirectoryListBox2 = nullptr;
  FileListBox* FileListBox1 = nullptr;
  FileListBox* FileListBox8 = nullptr;
  QScrollBar* ScrollBar1 = nullptr;
  QScrollBar* ScrollBar2 = nullptr;
  QLineEdit* TLEVEL = nullptr;
  QLineEdit* ALEVEL = nullptr;
  QCheckBox* Xmode = nullptr;
  QDateEdit* DateTimePicker1 = nullptr;
  QDateEdit* DateTimePicker2 = nullptr;
  QPushButton* RunButton = nullptr;
  QTableView* StringGrid1 = nullptr;

  // The thirteen charts by their ids (ChartInfoOf): the CSV page's two and the channel
  // pages' eleven.
  std::array<Chart*, kChartCount> Charts{};

  // Channel pages.
  QLineEdit* T1Name = nullptr;
  QLineEdit* C1Name = nullptr;
  QLineEdit* C2Name = nullptr;
  std::array<QLineEdit*, 9> AName{};             // A1Name..A8Name at [1..8]
  std::array<QScrollBar*, 9> ScrollBarA{};       // coarse bars [1..8]
  std::array<QScrollBar*, 9> ScrollBarA0{};      // fine bars ScrollBarA01..A08 at [1..8]
  std::array<QLineEdit*, 9> MulA{};              // [1..8]
  QPushButton* PrintTButton = nullptr;           // Button3
  QPushButton* PrintC1Button = nullptr;          // Button1
  QPushButton* PrintC2Button = nullptr;          // Button2
  std::array<QPushButton*, 9> PrintAButton{};    // Button4..Button11 at [1..8]
  std::array<QPushButton*, 9> RefreshAButton{};  // Button22..Button15 at [1..8]

  // Menus.
  QAction* Print2 = nullptr;  // File > Print
  QAction* Exit1 = nullptr;
  QAction* SaveSetting1 = nullptr;
  QMenu* PopupMenuListBox3 = nullptr;
  QAction* MenuItem1 = nullptr;
  QAction* MenuItem2 = nullptr;
  QMenu* PopupMenuFTPdir = nullptr;
  QAction* MenuItem3 = nullptr;
  QMenu* PopupMenuListBox4 = nullptr;
  QAction* Delete1 = nullptr;
  QAction* DeleteAll1 = nullptr;
  QAction* Refresh1 = nullptr;
  QMenu* PopupMenuListBox1 = nullptr;
  QAction* Delete2 = nullptr;
  QAction* DeleteAll2 = nullptr;
  QAction* Refresh2 = nullptr;
  QMenu* PopupMenuListBox8 = nullptr;
  QAction* Delete3 = nullptr;
  QAction* Refresh3 = nullptr;
  QMenu* PopupMenuPrint = nullptr;
  QAction* Print1 = nullptr;  // table popup > Print

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 public:
  // ---- FTP session and remote file management (ftpsession.cpp) ------------------------
  // A handler that needs the server: FTPConnected set and the client still connected.
  bool FTPLive() const;
  // Empties the folder list, the remote file list and Memo1, then lists the current remote
  // folder, which refills them (FTPClient1ListItem).
  void ClearAndList();
  // cSTATUS and StatusLine: "FTP Connected" or "FTP Disconnected" in their colours.
  void ShowConnectionState(bool connected);

  // ---- FTP client events ---------------------------------------------------------------
  void FTPClient1Success(int code);
  void FTPClient1Failure(bool& handled, int code);
  void FTPClient1UnSupportedFunction(int code);
  void FTPClient1Connect();
  void FTPClient1Disconnect();
  void FTPClient1TransactionStart();
  void FTPClient1TransactionStop();
  void FTPClient1PacketRecvd(qint64 received, qint64 total);
  void FTPClient1HostResolved();
  void FTPClient1InvalidHost(bool& handled);
  void FTPClient1Error(int number, const std::string& text);
  void FTPClient1ConnectionFailed();
  void FTPClient1ListItem(const std::string& line);
  void FTPClient1Status(const std::string& text);

  // ---- user commands -------------------------------------------------------------------
  void ConnectBtnClick();
  void DisConnectBtnClick();
  void RefreshBtnClick();
  void FileListBoxFTPdirDblClick();
  void sDirectoryDblClick();
  void FileListBoxFTPClick();
  void DeleteAllFTPButtonEnableClick();
  void MenuItem1Click();     // remote file list menu "Delete"
  void DeleteAllFTPClick();  // remote file list menu "Delete All"
  void DeleteFTPdirClick();  // folder list menu "Delete"
  void MkDirFTPbtnClick();
  void RenameDirFTPbtnClick();
  void Timer1Timer();

 private:
  TFTPClient* CreateFTPClient();
  // Empties the folder list, the remote file list and Memo1.
  void ClearRemoteLists();
  // Lists the current remote folder into the remote lists and Memo1.
  void ListRemote();
  // Puts the listing lines collected so far into the remote lists and Memo1.
  void ShowListedItems();
  // A remote management command: the hourglass while `command` runs, then clear and list.
  void RunRemoteCommand(const std::function<void()>& command);
  // Make Dir and Rename Dir: a live connection and a usable name in MakeDirFTP, then
  // `command` with that name.
  void RunWithNewDirName(const std::function<void(const std::string&)>& command);


 public:
  // ---- transfers between the FTP server and the working folder (transfers.cpp) ----------
  // ---- the five transfers, Cancel and the remote file's double click -------------------
  void CopySelectedClick();
  void CopyAllClick();
  void MoveSelectedClick();
  void MoveAllClick();
  void CopyFromDateClick();
  void CancelBtn();  // all five Cancel buttons
  // Fetches the remote file into the viewing folder and opens it in the text editor.
  void FileListBoxFTPDblClick();

  // ---- button groups (Connect and Disconnect use them too) ------------------------------
  void AllButtonsFalse();  // disables the transfer buttons, DisConnectBtn and RefreshBtn
  void AllButtonsTrue();   // enables them
  void RestoreButtons();   // hides the Cancel buttons, shows the transfer buttons

  // Where the double click puts the remote file it opens: a folder of its own under the
  // system's temporary folder, so that viewing never touches the working folder.
  static QString RemoteViewFolder();

 private:
  void BeginTransferRun(QPushButton* own, QPushButton* cancel);
  // At most ten paints a second while a run goes on (see transfers.cpp).
  void ThrottlePainting(bool on);
  void EndTransferRun();
  // The one door of the five transfers: sets FTPBusy (and, where the transfer's steps show
  // them before it looks at the list, the hourglass and the disabled button group), runs
  // the body, which opens the frame (BeginTransferRun) when there is a list to walk, and
  // ends the run (EndTransferRun) on every path. An error raised inside re-reads the lists
  // and ends the run before it reaches the error box; a cancelled operation ends it quietly.
  template <class Body>
  void RunTransfer(bool hourglass, bool group, Body&& body);
  template <class Take, class Handle>
  TransferWalk WalkRemoteFiles(int limit, bool writeLocalCount, Take take, Handle handle);
  std::string WorkingFolderPath(const std::string& name) const;  // file system bytes
  // forMove: the remote file is deleted next (see TFTPClient::Download).
  void DownloadChecked(const std::string& remote, const std::string& localPath,
                       bool forMove = false);
  void WriteRemoteCount();
  // Clears and lists the remote folder and writes its count; after a cancelled walk only
  // while the connection is live.
  void RelistUnlessCancelledOffline(const TransferWalk& walk);
  void ReReadLocalAndCount();
  void TellRefusedNames(const std::string& refused);


 private:
  void BuildMenus();
  void BuildCharts();
  QWidget* BuildTransferPage();
  QWidget* BuildCSVPage();
  void BuildChannelPages();
  // The page of a channel chart, its tab added; `analog` n > 0 for page "Analog n".
  QWidget* BuildChannelPage(ChartId chart, QLineEdit* nameEdit, QPushButton* print, int analog);
  void BindHandlers();
  void BindTransferPage();
  void BindCSVPage();
  void BindChannelPages();
  void AttachPopup(QWidget* widget, QMenu* menu);
  void ReReadLocalLists();
  void WriteLocalCount();
  void DeleteLocal(const QString& path);
  void PrintChannelChart(ChartId chart);
  // The window's first exposure: it paints, then what waited for it runs.
  void FirstPainted();

  CsvGrid* grid_ = nullptr;
  std::array<ChartSeries*, kSeriesCount> series_{};
  bool started_ = false;
  bool painted_ = false;         // the window has been on the screen
  bool awaitingPaint_ = false;   // shown, its first exposure still to come
  bool connectWaiting_ = false;  // the start-up's Connect waits for the first paint
};

}  // namespace monitor
