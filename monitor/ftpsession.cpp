// The FTP session: connecting with the account of the transfer page, the connection state,
// the remote folder's listing, moving between remote folders, and deleting remote files,
// making, renaming and removing remote folders.
#include <QCheckBox>
#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "monitor/form.h"
#include "monitor/formutil.h"
#include "monitor/ftpclient.h"
#include "monitor/core/ftpparse.h"
#include "platform/controls.h"
#include "monitor/folderlists.h"
#include "platform/core/cp1252.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"

namespace monitor {

namespace {

constexpr char kNoConnection[] = "No FTP connection. Please connect again";

std::string OperationName(int code) { return std::string(FtpOperationName(code)); }

// Adds names (the server's bytes) to a remote list, keeping it in ascending order of the
// names as shown, letters compared without regard to case; equal names keep the order they
// came in. Into an empty list the names go in one step, so a long listing costs one update
// of the list, not one per name.
void AddSorted(QListWidget* list, const std::vector<std::string>& names) {
  struct Named {
    QString text;
    const std::string* bytes;
  };
  std::vector<Named> shown;
  shown.reserve(names.size());
  for (const std::string& name : names) shown.push_back({ReadableName(name), &name});
  auto before = [](const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
  };
  std::stable_sort(shown.begin(), shown.end(),
                   [&](const Named& a, const Named& b) { return before(a.text, b.text); });
  if (list->count() == 0) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(shown.size()));
    for (const Named& n : shown) texts << n.text;
    list->addItems(texts);
    for (std::size_t i = 0; i < shown.size(); ++i)
      KeepRemoteBytes(list->item(static_cast<int>(i)), *shown[i].bytes);
    return;
  }
  for (const Named& n : shown) {
    int lo = 0, hi = list->count();
    while (lo < hi) {
      const int mid = (lo + hi) / 2;
      if (!before(n.text, list->item(mid)->text()))
        lo = mid + 1;
      else
        hi = mid;
    }
    list->insertItem(lo, NewRemoteItem(*n.bytes));
  }
}

std::string Bytes(const QLineEdit* edit) { return platform::Text(edit); }

// A port number as the user typed it; anything else stops Connect with a conversion error.
int PortNumber(const QLineEdit* edit) {
  bool ok = false;
  const int value = edit->text().trimmed().toInt(&ok, 10);
  if (!ok) throw platform::Error("'" + Bytes(edit) + "' is not a valid integer value");
  return value;
}

// A remote name that the user has to type in (a folder to make or the new name).
bool NameIncorrect(const std::string& name) { return name.empty() || name[0] == ' '; }

void Enable(std::initializer_list<QWidget*> widgets, bool on) {
  for (QWidget* w : widgets) w->setEnabled(on);
}

}  // namespace

// ---- the client and its life ------------------------------------------------------------

TFTPClient* TForm1::CreateFTPClient() {
  auto* c = new TFTPClient();
  c->OnSuccess = [this](int code) { FTPClient1Success(code); };
  c->OnFailure = [this](bool& handled, int code) { FTPClient1Failure(handled, code); };
  c->OnUnSupportedFunction = [this](int code) { FTPClient1UnSupportedFunction(code); };
  c->OnConnect = [this] { FTPClient1Connect(); };
  c->OnDisconnect = [this] { FTPClient1Disconnect(); };
  c->OnTransactionStart = [this] { FTPClient1TransactionStart(); };
  c->OnTransactionStop = [this] { FTPClient1TransactionStop(); };
  c->OnPacketRecvd = [this](std::int64_t received, std::int64_t total) {
    FTPClient1PacketRecvd(received, total);
  };
  c->OnHostResolved = [this] { FTPClient1HostResolved(); };
  c->OnInvalidHost = [this](bool& handled) { FTPClient1InvalidHost(handled); };
  c->OnError = [this](int number, const std::string& text) { FTPClient1Error(number, text); };
  c->OnConnectionFailed = [this] { FTPClient1ConnectionFailed(); };
  c->OnListItem = [this](const std::string& line) { FTPClient1ListItem(line); };
  c->OnStatus = [this](const std::string& text) { FTPClient1Status(text); };
  return c;
}

bool TForm1::FTPLive() const { return FTPConnected && FTPClient1->Connected(); }

void TForm1::ShowConnectionState(bool connected) {
  const QString text =
      connected ? QStringLiteral("FTP Connected") : QStringLiteral("FTP Disconnected");
  const QColor colour = connected ? QColor(238, 255, 238) : QColor(255, 255, 238);
  for (QLineEdit* e : {cSTATUS, StatusLine}) {
    e->setText(text);
    platform::SetBase(e, colour);
  }
}

void TForm1::ClearRemoteLists() {
  // Items of one height: a long list lays out, and scrolls to its current item, without
  // measuring every name.
  FileListBoxFTP->setUniformItemSizes(true);
  FileListBoxFTPdir->setUniformItemSizes(true);
  FileListBoxFTPdir->clear();
  FileListBoxFTP->clear();
  Memo1->clear();
}

void TForm1::ClearAndList() {
  ClearRemoteLists();
  ListRemote();
}

void TForm1::ListRemote() {
  // What arrived shows even when the listing fails part-way.
  const auto show = qScopeGuard([this] { ShowListedItems(); });
  FTPClient1->List();
}

void TForm1::ShowListedItems() {
  AddSorted(FileListBoxFTP, listedFiles_);
  AddSorted(FileListBoxFTPdir, listedFolders_);
  if (!listedLines_.isEmpty()) Memo1->appendPlainText(listedLines_.join(QLatin1Char('\n')));
  listedFiles_ = {};
  listedFolders_ = {};
  listedLines_.clear();
}

void TForm1::StartupConnect() {
  // The start-up's own event has no error box of its own: a bad port text shows here.
  platform::Guard([this] { ConnectBtnClick(); });
}

void TForm1::ExitDisconnect() {
  // A dropped connection resets the transfer page; Disconnect then closes the window.
  if (!FTPClient1->Connected()) DisConnectBtnClick();
}

// ---- client events ----------------------------------------------------------------------

void TForm1::FTPClient1Success(int code) { SetStatusText(OperationName(code) + " success"); }

void TForm1::FTPClient1Failure(bool& handled, int code) {
  SetStatusText(OperationName(code) + " failure");
  handled = false;  // the client raises the server's reply as an error
}

void TForm1::FTPClient1UnSupportedFunction(int code) { Tell(OperationName(code) + " unsupported"); }

void TForm1::FTPClient1Connect() { SetStatusText("FTP Connected"); }

void TForm1::FTPClient1Disconnect() {
  if (StatusBar1) SetStatusText("FTP Disconnected");
}

void TForm1::FTPClient1TransactionStart() { SetStatusText("Beginning Data Transfer"); }

void TForm1::FTPClient1TransactionStop() {
  ShowListedItems();
  SetStatusText("Data Transfer Complete");
}

void TForm1::FTPClient1PacketRecvd(qint64 received, qint64 total) {
  SetStatusText(std::to_string(received) + " of " + std::to_string(total));
}

void TForm1::FTPClient1HostResolved() { SetStatusText("Host resolved"); }

void TForm1::FTPClient1InvalidHost(bool& handled) {
  connectFailureTold_ = true;
  Tell("Invalid Host");
  handled = false;
}

void TForm1::FTPClient1Error(int number, const std::string& text) {
  Tell("Error " + std::to_string(number) + ": " + text);
}

void TForm1::FTPClient1ConnectionFailed() {
  connectFailureTold_ = true;
  Tell("Connection Failed            ");
  Enable({ExitBtn, ExitButton, ConnectBtn}, true);
  platform::SetBusyCursor(false);
}

// The lines are collected and shown together when the listing ends (OnTransactionStop):
// one update of each list, however long the listing.
void TForm1::FTPClient1ListItem(const std::string& line) {
  if (line.empty()) return;
  listedLines_ << ReadableName(line);
  std::optional<ListingEntry> entry = ReadListingLine(line);  // none: a line that names nothing
  if (!entry) return;
  if (!entry->folder && IsCsvName(entry->name))
    listedFiles_.push_back(std::move(entry->name));
  else if (entry->folder)
    listedFolders_.push_back(std::move(entry->name));
}

void TForm1::FTPClient1Status(const std::string&) {}

// ---- connect and disconnect -------------------------------------------------------------

void TForm1::ConnectBtnClick() {
  ExitRequested = false;
  if (FTPConnected) return;

  // The number texts first: a bad one stops Connect before it has locked the buttons.
  const bool viaProxy = CheckBox1->isChecked();
  const int proxyPort = viaProxy ? PortNumber(ProxyPort) : 0;
  const int port = PortNumber(PortTxt);

  Enable({DisConnectBtn, ConnectBtn, RefreshBtn}, false);
  ClearRemoteLists();
  platform::SetBusyCursor(true);
  ShowConnectionState(false);

  FTPClient1->Proxy = viaProxy ? Bytes(ProxyServer) : std::string();
  FTPClient1->ProxyPort = proxyPort;
  FTPClient1->Host = Bytes(HostTxt);
  FTPClient1->Port = port;
  FTPClient1->UserID = Bytes(UserTxt);
  FTPClient1->Password = Bytes(PassTxt);

  connectFailureTold_ = false;
  try {
    FTPClient1->TimeOut = 0;
    FTPClient1->Connect();
    ClearRemoteLists();
    FTPClient1->ChangeDir("..");
    ListRemote();
    FTPConnected = true;
    platform::SetBusyCursor(false);
    ShowConnectionState(true);
    Enable({RefreshBtn, DisConnectBtn}, true);
    ConnectBtn->setEnabled(false);
    PageControl1Change();
  } catch (const FtpCancelled&) {
    platform::SetBusyCursor(false);  // Exit: nothing to tell
  } catch (const std::exception& e) {
    // Unless the client's events have told the user (a host that does not resolve, a
    // refused connection or login), the error box says what failed.
    platform::SetBusyCursor(false);
    if (!connectFailureTold_) platform::ShowErrorBox(e.what());
  }
  // Not connected: Connect is there to try again.
  if (!FTPConnected) ConnectBtn->setEnabled(true);
  RestoreButtons();
  AllButtonsTrue();
}

void TForm1::DisConnectBtnClick() {
  if (FTPClient1->Connected()) FTPClient1->Disconnect();
  FTPConnected = false;
  ShowConnectionState(false);
  RefreshBtn->setEnabled(false);
  ConnectBtn->setEnabled(true);
  DisConnectBtn->setEnabled(false);
  ClearRemoteLists();
  AllButtonsFalse();
  if (ExitRequested) close();
}

void TForm1::Timer1Timer() {
  if (FTPConnected && !FTPClient1->Connected()) DisConnectBtnClick();
}

// ---- listing and folders ----------------------------------------------------------------

void TForm1::RefreshBtnClick() {
  if (!FTPConnected) return;
  sDirectory->setText(QStringLiteral("*.*"));
  FTPBusy = true;
  Enable({RefreshBtn, ExitBtn, ExitButton}, false);
  for (QPushButton* b : TransferButtons()) b->setEnabled(false);
  platform::SetBusyCursor(true);
  const auto done = qScopeGuard([this] {
    platform::SetBusyCursor(false);
    for (QPushButton* b : TransferButtons()) b->setEnabled(true);
    Enable({RefreshBtn, ExitBtn, ExitButton}, true);
    FTPBusy = false;
  });
  // Exit ends the listing quietly.
  UnlessCancelled([this] {
    FTPClient1->ChangeDir("..");
    ClearAndList();
  });
}

void TForm1::FileListBoxFTPdirDblClick() {
  if (FTPBusy) return;
  QListWidgetItem* item = FileListBoxFTPdir->currentItem();
  if (!item) return;  // no folder chosen
  const std::string name = RemoteName(item);
  FTPBusy = true;
  platform::SetBusyCursor(true);
  Enable({ExitBtn, ExitButton, RefreshBtn, DisConnectBtn}, false);
  const auto done = qScopeGuard([this] {
    Enable({ExitBtn, ExitButton, RefreshBtn, DisConnectBtn}, true);
    platform::SetBusyCursor(false);
    FTPBusy = false;
  });
  FileListBoxFTP->clear();
  Memo1->clear();
  UnlessCancelled([&] {
    // Every folder is entered from the root.
    FTPClient1->ChangeDir("/");
    FTPClient1->ChangeDir(name);
    ShowRemoteName(sDirectory, name);
    FileListBoxFTPdir->clear();
    ListRemote();
    WriteRemoteCount();
  });
}

void TForm1::sDirectoryDblClick() {
  if (FTPBusy) return;
  sDirectory->setText(QStringLiteral("*.*"));
  FTPBusy = true;
  Enable({ExitBtn, ExitButton, RefreshBtn, DisConnectBtn}, false);
  const auto done = qScopeGuard([this] {
    Enable({ExitBtn, ExitButton, RefreshBtn, DisConnectBtn}, true);
    FTPBusy = false;
  });
  FileListBoxFTP->clear();
  Memo1->clear();
  UnlessCancelled([this] {
    FTPClient1->ChangeDir("..");
    FileListBoxFTPdir->clear();
    ListRemote();
    sDirectory->setText(QStringLiteral("*.*"));
  });
}

void TForm1::FileListBoxFTPClick() {
  if (FileListBoxFTP->count() == 0) {
    Tell("No files        ");
    return;
  }
  QListWidgetItem* item = FileListBoxFTP->currentItem();
  if (item && item->isSelected())
    sFile->setText(item->text());
  else
    Tell("No file selected");
}

// ---- remote management ------------------------------------------------------------------

void TForm1::DeleteAllFTPButtonEnableClick() {
  const bool on = DeleteAllFTPButtonEnable->isChecked();
  MenuItem1->setVisible(on);
  MenuItem2->setVisible(on);
}

void TForm1::RunRemoteCommand(const std::function<void()>& command) {
  platform::SetBusyCursor(true);
  const auto done = qScopeGuard([] { platform::SetBusyCursor(false); });
  UnlessCancelled([&] {
    command();
    ClearAndList();
  });
}

void TForm1::MenuItem1Click() {
  if (!FTPLive() || !DeleteAllFTPButtonEnable->isChecked()) return;
  if (!Confirm("Delete selected file ? ")) return;
  RunRemoteCommand([this] {
    QListWidgetItem* item = FileListBoxFTP->currentItem();
    const std::string name = item ? RemoteName(item) : std::string();
    if (!name.empty()) FTPClient1->Delete(name);
  });
}

void TForm1::DeleteAllFTPClick() {
  if (!FTPLive() || !DeleteAllFTPButtonEnable->isChecked()) return;
  if (!Confirm("Delete all files from server ?")) return;
  RunRemoteCommand([this] {
    std::vector<std::string> names;
    for (int i = 0; i < FileListBoxFTP->count(); ++i)
      names.push_back(RemoteName(FileListBoxFTP->item(i)));
    for (const std::string& name : names) FTPClient1->Delete(name);
  });
}

void TForm1::DeleteFTPdirClick() {
  if (!DeleteAllFTPButtonEnable->isChecked()) return;
  if (!FTPLive()) {
    Tell(kNoConnection);
    return;
  }
  const std::string dir = RemoteName(sDirectory);
  if (dir.empty() || dir[0] == ' ' || dir == "*.*" || dir == ".." || dir == ".") {
    Tell("Directory not selected ");
    return;
  }
  RunRemoteCommand([this, &dir] { FTPClient1->RemoveDir(dir); });
}

void TForm1::RunWithNewDirName(const std::function<void(const std::string&)>& command) {
  if (!FTPLive()) {
    Tell(kNoConnection);
    return;
  }
  const std::string name = Bytes(MakeDirFTP);
  if (NameIncorrect(name)) {
    Tell("Name incorrect");
    return;
  }
  RunRemoteCommand([&] { command(name); });
}

void TForm1::MkDirFTPbtnClick() {
  RunWithNewDirName([this](const std::string& name) { FTPClient1->MakeDir(name); });
}

void TForm1::RenameDirFTPbtnClick() {
  RunWithNewDirName(
      [this](const std::string& name) { FTPClient1->Rename(RemoteName(sDirectory), name); });
}

}  // namespace monitor
