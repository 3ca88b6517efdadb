// The transfer page's transfers from the current remote folder into the working folder:
// Copy selected, Copy ALL, Move selected, Move ALL and Copy from date, their Cancel
// buttons, the button groups, and the remote file's double click.
#include <QCalendarWidget>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <climits>
#include <functional>
#include <initializer_list>

#include <unistd.h>

#include "monitor/folderlists.h"
#include "monitor/form.h"
#include "monitor/formutil.h"
#include "monitor/ftpclient.h"
#include "monitor/core/ftpparse.h"
#include "monitor/core/transfers.h"
#include "platform/core/cp1252.h"
#include "platform/messagebox.h"
#include "platform/texteditor.h"
#include "platform/widgets.h"

namespace monitor {

namespace {
const char kNoConnection[] = "No FTP connection. Please connect again";
const char kNoFilesCopy[] = "No files  ";
const char kNoFilesMove[] = "No files        ";
const char kNoFileSelected[] = "No file selected   ";
constexpr int kWholeList = INT_MAX;  // Copy ALL and Move ALL walk the whole list

bool Selected(const QListWidgetItem* item, const std::string&) { return item->isSelected(); }
bool Every(const QListWidgetItem*, const std::string&) { return true; }
}  // namespace

// ---- button groups ----------------------------------------------------------------------

void TForm1::AllButtonsFalse() {
  for (QPushButton* b : TransferButtons()) b->setEnabled(false);
  for (QPushButton* b : {DisConnectBtn, RefreshBtn}) b->setEnabled(false);
}

void TForm1::AllButtonsTrue() {
  for (QPushButton* b : TransferButtons()) b->setEnabled(true);
  for (QPushButton* b : {DisConnectBtn, RefreshBtn}) b->setEnabled(true);
}

void TForm1::RestoreButtons() {
  for (QPushButton* b : CancelButtons()) b->hide();
  for (QPushButton* b : TransferButtons()) b->show();
}

void TForm1::CancelBtn() {
  CancelRequested = true;  // the running walk stops after its current file
  RestoreButtons();
  // A file that is not in within half a second is abandoned: whatever the client waits
  // for (a stalled server, data that never come), the run ends within a second.
  FTPClient1->Cancel();
}

// ---- the frame of a run -------------------------------------------------------------------

void TForm1::BeginTransferRun(QPushButton* own, QPushButton* cancel) {
  FTPBusy = true;
  AllButtonsFalse();
  own->hide();
  cancel->show();
  platform::SetBusyCursor(true);
  ThrottlePainting(true);
}

// While a run fetches file after file, the window's lists and status texts change several
// times per file, and painting each change would cost more than the downloads. During a
// run the window paints at most ten times a second: an update request that comes sooner
// is held back (the changed parts stay marked) and sent when the tenth of a second is up.
class TransferMembers::PaintThrottle : public QObject {
 public:
  // beforePaint runs before each paint that was held back.
  PaintThrottle(QWidget* window, std::function<void()> beforePaint)
      : QObject(window), window_(window), beforePaint_(std::move(beforePaint)) {
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Flush(); });
    window_->installEventFilter(this);
  }
  void SetActive(bool on) {
    active_ = on;
    if (on) {
      painted_.start();
      timer_.start();
    } else {
      timer_.stop();
      Flush();
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != window_ || event->type() != QEvent::UpdateRequest) return false;
    if (active_ && painted_.isValid() && painted_.elapsed() < kIntervalMs) {
      held_ = true;
      return true;
    }
    painted_.start();
    return false;
  }

 private:
  static constexpr int kIntervalMs = 100;
  void Flush() {
    if (!held_) return;
    held_ = false;
    if (beforePaint_) beforePaint_();
    painted_.invalidate();
    QCoreApplication::postEvent(window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
  }
  QWidget* window_;
  std::function<void()> beforePaint_;
  QTimer timer_;
  QElapsedTimer painted_;
  bool active_ = false;
  bool held_ = false;
};

void TForm1::ThrottlePainting(bool on) {
  // The remote list follows its current item at the paints, not at every file: scrolling a
  // long list for each file costs as much as painting it.
  if (!paintThrottle_)
    paintThrottle_ = new PaintThrottle(this, [this] {
      if (QListWidgetItem* current = FileListBoxFTP->currentItem())
        FileListBoxFTP->scrollToItem(current);
    });
  FileListBoxFTP->setAutoScroll(!on);
  if (!on && FileListBoxFTP->currentItem())
    FileListBoxFTP->scrollToItem(FileListBoxFTP->currentItem());
  paintThrottle_->SetActive(on);
}

void TForm1::EndTransferRun() {
  ThrottlePainting(false);
  platform::SetBusyCursor(false);
  FTPBusy = false;
  CancelRequested = false;
  AllButtonsTrue();
  RestoreButtons();
}

template <class Body>
void TForm1::RunTransfer(bool hourglass, bool group, Body&& body) {
  FTPBusy = true;
  if (hourglass) platform::SetBusyCursor(true);
  if (group) AllButtonsFalse();
  try {
    body();
  } catch (const FtpCancelled&) {
    // Cancel or Exit ended an operation outside the walk (a listing, "TYPE A"): the run
    // ends as it stands, with nothing to tell.
    FileListBoxPC->Update();
    FileListBox1->Update();
    EndTransferRun();
  } catch (...) {
    // A failed download, delete or listing ends the run; the window stays usable and the
    // error box shows what failed. The lists show what is there now: files moved before
    // the failure are gone from the server, and those fetched are in the working folder.
    FileListBoxPC->Update();
    FileListBox1->Update();
    if (FTPLive()) {
      try {
        ClearAndList();
        WriteRemoteCount();
      } catch (const std::exception&) {
        // The first failure is the one to show.
      }
    }
    EndTransferRun();
    throw;
  }
  EndTransferRun();
}

// Walks the remote list from its first item, re-reading its count at each step (a dropped
// connection may empty it meanwhile). Each item `take` accepts becomes the current item
// and is handled, then its name joins the local list; a Cancel found set after a file ends
// the walk, and the local list is re-read once at its end. Names that cannot be local
// file names are left on the server.
template <class Take, class Handle>
TForm1::TransferWalk TForm1::WalkRemoteFiles(int limit, bool writeLocalCount, Take take,
                                             Handle handle) {
  TransferWalk walk;
  for (int i = 0; i < limit && i < FileListBoxFTP->count(); ++i) {
    QListWidgetItem* item = FileListBoxFTP->item(i);
    const std::string name = RemoteName(item);
    if (!take(item, name)) continue;
    walk.takenAny = true;
    if (!SafeLocalName(name)) {
      if (!walk.refused.empty()) walk.refused += ", ";
      walk.refused += MessageName(name);
      continue;
    }
    FileListBoxFTP->setCurrentItem(item, QItemSelectionModel::NoUpdate);
    try {
      handle(name);  // `item` may be gone now: the window's messages ran meanwhile
    } catch (const FtpCancelled&) {
      walk.cancelled = true;  // the file stays as it was, here and on the server
      break;
    }
    walk.handledAny = true;
    // The one new file, not a fresh read of the folder: a read per file would make a
    // long run cost more than its downloads.
    FileListBoxPC->Add(QFile::decodeName(QByteArray::fromStdString(name)));
    if (writeLocalCount) WriteLocalCount();
    if (CancelRequested) {
      walk.cancelled = true;
      break;
    }
  }
  if (walk.handledAny) {
    FileListBoxPC->Update();
    if (writeLocalCount) WriteLocalCount();
  }
  return walk;
}

// The local file takes the remote name's bytes as they are.
std::string TForm1::WorkingFolderPath(const std::string& name) const {
  std::string folder = QFile::encodeName(DirectoryListBoxPC->Directory()).toStdString();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder + name;
}

void TForm1::DownloadChecked(const std::string& remote, const std::string& localPath,
                             bool forMove) {
  // A move deletes the remote file next: its copy must be on the disk first.
  FTPClient1->Download(remote, localPath, forMove);
  // A move deletes the remote file next: only after the local copy is really there.
  if (::access(localPath.c_str(), F_OK) != 0)
    throw platform::Error("Cannot write " + MessageName(localPath));
}

void TForm1::RelistUnlessCancelledOffline(const TransferWalk& walk) {
  // A Cancel that found the server silent has closed the connection: nothing to list.
  if (!walk.cancelled || FTPLive()) ClearAndList();
  WriteRemoteCount();
}

void TForm1::WriteRemoteCount() {
  RemoteFiles1cnt->setText(QString::number(FileListBoxFTP->count()));
}

void TForm1::ReReadLocalAndCount() {
  FileListBoxPC->Update();
  WriteLocalCount();
}

void TForm1::TellRefusedNames(const std::string& refused) {
  if (!refused.empty()) Tell("Not copied, file name not allowed: " + refused);
}

QString TForm1::RemoteViewFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
         QStringLiteral("/tk5063/fernlog-view");
}

// ---- the transfers --------------------------------------------------------------------------

void TForm1::CopySelectedClick() {
  if (!FTPLive()) {
    Tell(kNoConnection);
    AllButtonsTrue();
    CancelRequested = false;
    RestoreButtons();
    return;
  }
  if (FTPBusy) return;  // another operation runs; its buttons and flags stay as they are
  RunTransfer(false, false, [&] {
    FTPClient1->TransferModeAscii();
    const bool listed = FileListBoxFTP->count() > 0;
    TransferWalk walk;
    if (!listed) {
      Tell(kNoFilesCopy);
    } else {
      BeginTransferRun(CopySelected, CopySelectedCancel);
      walk = WalkRemoteFiles(kTransferWalkLimit, true, Selected, [&](const std::string& name) {
        FTPClient1->TransferModeAscii();
        DownloadChecked(name, WorkingFolderPath(name));
      });
      if (FileListBoxFTP->count() > 0)
        FileListBoxFTP->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    }
    platform::SetBusyCursor(false);
    FTPBusy = false;
    if (listed && !walk.takenAny) Tell(kNoFileSelected);
    TellRefusedNames(walk.refused);
  });
}

void TForm1::CopyAllClick() {
  if (!FTPConnected) return;
  if (FTPBusy) return;  // one FTP operation at a time on the one connection
  RunTransfer(true, true, [&] {
    TransferWalk walk;
    if (FileListBoxFTP->count() == 0) {
      Tell(kNoFilesCopy);
    } else {
      BeginTransferRun(CopyAll, CopyAllCancel);
      // The bare name lands in the process's current folder, the working folder.
      walk = WalkRemoteFiles(kWholeList, false, Every,
                             [&](const std::string& name) { DownloadChecked(name, name); });
    }
    // Copy ALL leaves LocalFiles1cnt as it was; the walk has re-read FileListBoxPC.
    if (!walk.handledAny) FileListBoxPC->Update();
    FileListBox1->Update();
    TellRefusedNames(walk.refused);
  });
}

void TForm1::MoveSelectedClick() {
  if (!FTPLive()) {
    Tell(kNoConnection);
    return;
  }
  if (FTPBusy) return;
  if (!Confirm("Move selected files ?")) return;
  RunTransfer(true, false, [&] {
    FTPClient1->TransferModeAscii();
    const bool listed = FileListBoxFTP->count() > 0;
    TransferWalk walk;
    if (!listed) {
      Tell(kNoFilesMove);
    } else {
      BeginTransferRun(MoveSelected, MoveSelectedCancel);
      walk = WalkRemoteFiles(kTransferWalkLimit, true, Selected, [&](const std::string& name) {
        DownloadChecked(name, WorkingFolderPath(name), true);
        FTPClient1->Delete(name);
      });
      RelistUnlessCancelledOffline(walk);
    }
    if (listed && !walk.takenAny) Tell(kNoFileSelected);
    if (walk.cancelled) {
      RelistUnlessCancelledOffline(walk);
      ReReadLocalAndCount();
    }
    TellRefusedNames(walk.refused);
  });
}

void TForm1::MoveAllClick() {
  if (!FTPLive()) {
    Tell(kNoConnection);
    return;
  }
  if (FTPBusy) return;  // one FTP operation at a time on the one connection
  if (!Confirm("Move all files ?")) return;
  RunTransfer(true, false, [&] {
    if (FileListBoxFTP->count() == 0) {
      Tell(kNoFilesMove);
      return;
    }
    BeginTransferRun(MoveAll, MoveAllCancel);
    const TransferWalk walk =
        WalkRemoteFiles(kWholeList, true, Every, [&](const std::string& name) {
          DownloadChecked(name, name, true);
          FTPClient1->Delete(name);
        });
    if (!walk.handledAny) FileListBoxPC->Update();
    FileListBox1->Update();
    FileListBoxFTP->clear();
    WriteRemoteCount();
    AllButtonsTrue();
    // Files left on the server (a cancelled run, refused names) show again.
    if (walk.cancelled || !walk.refused.empty()) {
      RelistUnlessCancelledOffline(walk);
      ReReadLocalAndCount();
    }
    TellRefusedNames(walk.refused);
  });
}

void TForm1::CopyFromDateClick() {
  if (!FTPLive()) {
    Tell(kNoConnection);
    RestoreButtons();
    AllButtonsTrue();
    CancelRequested = false;
    return;
  }
  if (FTPBusy) return;  // another operation runs; its buttons and flags stay as they are
  RunTransfer(false, false, [&] {
    FTPClient1->TransferModeAscii();
    // The day as chosen when the run starts; the calendar may change while it runs.
    const QDate day = MonthCalendar1->selectedDate();
    const std::string key = CopyFromDateKey(day.year(), day.month(), day.day());
    const std::string dayText = DayText(day);
    const bool listed = FileListBoxFTP->count() > 0;
    TransferWalk walk;
    if (!listed) {
      Tell(kNoFilesCopy);
    } else {
      BeginTransferRun(CopyFromDate, CopyFromDateCancel);
      walk = WalkRemoteFiles(
          kTransferWalkLimit, true,
          [&](const QListWidgetItem*, const std::string& name) {
            return ReachesDateKey(name, key);
          },
          [&](const std::string& name) {
            FTPClient1->TransferModeAscii();
            DownloadChecked(name, WorkingFolderPath(name));
          });
      if (!walk.cancelled) {
        // The next copy starts from today.
        const QDate today = QDate::currentDate();
        MonthCalendar2->setSelectedDate(today);
        SaveCFGFile(kCSVConfigFileName);
        MonthCalendar1->setSelectedDate(today);
        MonthCalendar1Click();
      }
      if (FileListBoxFTP->count() > 0)
        FileListBoxFTP->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    }
    platform::SetBusyCursor(false);
    FTPBusy = false;
    if (listed && !walk.takenAny) Tell("No files " + dayText + " and after ");
    TellRefusedNames(walk.refused);
  });
}

// ---- the remote file's double click -------------------------------------------------------

void TForm1::FileListBoxFTPDblClick() {
  if (FTPBusy) return;  // the connection is taken by another operation
  if (FileListBoxFTP->count() == 0) {
    Tell(kNoFilesMove);
    return;
  }
  QListWidgetItem* item = FileListBoxFTP->currentItem();
  if (!item || !item->isSelected()) {
    Tell("No file selected");
    return;
  }
  const std::string name = RemoteName(item);
  if (name.empty()) return;
  if (!SafeLocalName(name)) {
    TellRefusedNames(MessageName(name));
    return;
  }
  const QString folder = RemoteViewFolder();
  QDir().mkpath(folder);
  const std::string path = QFile::encodeName(folder).toStdString() + "/" + name;
  // The fetch is a run of one file through the same door as the transfers; the editor is
  // started once the run has ended.
  bool fetched = false;
  RunTransfer(false, false, [&] {
    FTPClient1->TransferModeAscii();
    DownloadChecked(name, path);
    fetched = true;
  });
  if (!fetched) return;  // Cancel or Exit
  platform::OpenInTextEditor(path);
}

}  // namespace monitor
