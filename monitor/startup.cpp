// Start-up restore, the settings file "csv.cfg", Exit and the page change.
#include <QAction>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

#include "monitor/chartlayer.h"
#include "monitor/folderlists.h"
#include "monitor/form.h"
#include "monitor/formutil.h"
#include "monitor/ftpclient.h"
#include "platform/controls.h"
#include "platform/core/atomicfile.h"
#include "platform/core/cp1252.h"
#include "platform/messagebox.h"

namespace monitor {

namespace {
const QDate kEarliestDay(2018, 9, 1);  // the calendars offer no earlier day

// The settings file's warning, with the line that says where and why when there is one.
void AccessErrorBox(const std::string& why) {
  std::string text = kCSVConfigAccessError;
  if (!why.empty()) text += "\r\n" + why;
  platform::MessageBox(text, "", platform::Icon::Warning, platform::Buttons::Ok);
}
}  // namespace

void TForm1::PageControl1Enter() {
  if (started_) return;
  OnCreate();
  if (awaitingPaint_)
    connectWaiting_ = true;  // FirstPainted connects
  else
    StartupConnect();
}

void TForm1::OnCreate() {
  started_ = true;
  MenuItem1->setVisible(false);
  MenuItem2->setVisible(false);
  MonthCalendar2->setSelectedDate(QDate::currentDate());

  // A missing or unreadable file keeps the window's own defaults (preset account, names,
  // multiplier 1) rather than blanking them from an empty record.
  bool restored = false;
  platform::Guard([&] { restored = ReadCFGFile(kCSVConfigFileName); });

  if (restored) {
    RestoreCSVPage(CSVConfig);
    RestoreFTPAccount(CSVConfig);
  }
  DateTimePicker1->setDate(QDate::currentDate());
  DateTimePicker2->setDate(QDate::currentDate());
  if (restored) RestoreChannelPages(CSVConfig);

  // A stored day the calendar cannot offer (none stored, or before its first day) starts
  // at its first day, so Copy from date takes every file.
  QDate day = restored ? CSVConfig.CopyFromDay() : QDate();
  if (!day.isValid() || day < kEarliestDay) day = kEarliestDay;
  MonthCalendar1->setSelectedDate(day);
  MonthCalendar1Click();
  // The hidden calendar keeps the stored day until a Copy from date completes, so a Save
  // Setting in between does not replace the last copy's day with today.
  if (restored) MonthCalendar2->setSelectedDate(day);

  FileListBoxFTP->clear();
  LocalFiles1cnt->setText(QString::number(FileListBoxPC->count()));
  RemoteFiles1cnt->setText(QString::number(FileListBoxFTP->count()));
  for (QPushButton* b : CancelButtons()) b->hide();
}

bool TForm1::ReadCFGFile(const std::string& name) {
  // What a save that was killed left beside the file goes first.
  platform::RemoveStaleTemporaryFiles(name);
  // A first start (no file yet) gets the plain warning; a file that can't be read, or a
  // folder that takes no file, also says where and why.
  platform::FileFailure failure;
  if (!platform::NamingFile(name, true, [&] { return ReadCSVConfig(name, CSVConfig, &failure); })) {
    AccessErrorBox(platform::StartFailureLine(name, failure));
    return false;
  }
  return true;
}

void TForm1::RestoreCSVPage(const TCSVConfig& c) {
  // The bars clamp to their ranges; the level values keep what was stored.
  ScrollBar1->setValue(c.TLevel);
  ScrollBar2->setValue(c.ALevel);
  TLEVEL->setText(QString::number(ScrollBar1->value()));
  ALEVEL->setText(QString::number(ScrollBar2->value()));
  TLevelValue = c.TLevel;
  ALevelValue = c.ALevel;
  DriveComboBox1->ShowIndex(c.DriveIndex);  // the folder lists stay where they are
}

void TForm1::RestoreFTPAccount(const TCSVConfig& c) {
  platform::SetText(HostTxt, c.Host.get());
  platform::SetText(UserTxt, c.UserID.get());
  platform::SetText(PassTxt, c.Password.get());
}

void TForm1::RestoreChannelPages(const TCSVConfig& c) {
  for (int n = 1; n <= 8; ++n) {
    ScrollBarA[n]->setValue(c.Coarse[static_cast<std::size_t>(n - 1)]);
    ScrollBarA0[n]->setValue(c.Fine[static_cast<std::size_t>(n - 1)]);
  }
  auto restoreName = [](QLineEdit* edit, Chart* chart, const std::string& name) {
    platform::SetText(edit, name);
    chart->SetTitleLine(name);
  };
  restoreName(T1Name, Charts[kChannelChartT1], c.T1Name.get());
  restoreName(C1Name, Charts[kChannelChartC1], c.C1Name.get());
  restoreName(C2Name, Charts[kChannelChartC2], c.C2Name.get());
  for (int n = 1; n <= 8; ++n)
    restoreName(AName[n], Charts[ChannelChartA(n)], c.AName[static_cast<std::size_t>(n - 1)].get());
}

void TForm1::StoreTransferPage(TCSVConfig& c) const {
  c.Host.set(platform::Text(HostTxt));
  c.UserID.set(platform::Text(UserTxt));
  c.Password.set(platform::Text(PassTxt));
  c.SetCopyFromDay(MonthCalendar2->selectedDate());
}

void TForm1::StoreCSVPage(TCSVConfig& c) const {
  c.DriveIndex = DriveComboBox1->currentIndex();
  c.WorkFolder.set(platform::ToCp1252(DirectoryListBox1->Directory()));
  c.TLevel = ScrollBar1->value();
  c.ALevel = ScrollBar2->value();
}

void TForm1::StoreChannelPages(TCSVConfig& c) const {
  for (int n = 1; n <= 8; ++n) {
    const auto k = static_cast<std::size_t>(n - 1);
    c.Coarse[k] = ScrollBarA[n]->value();
    c.Fine[k] = ScrollBarA0[n]->value();
    c.AName[k].set(platform::Text(AName[n]));
  }
  c.C1Name.set(platform::Text(C1Name));
  c.C2Name.set(platform::Text(C2Name));
  c.T1Name.set(platform::Text(T1Name));
}

void TForm1::SaveCFGFile(const std::string& name) {
  StoreCSVPage(CSVConfig);
  StoreTransferPage(CSVConfig);
  StoreChannelPages(CSVConfig);
  platform::FileFailure failure;
  if (!platform::NamingFile(name, false, [&] { return SaveCSVConfig(name, CSVConfig, &failure); }))
    AccessErrorBox(platform::FileFailureLine(failure));
}

void TForm1::SaveSetting1Click() { SaveCFGFile(kCSVConfigFileName); }

void TForm1::Exit1Click() { ExitBtnClick(); }

void TForm1::ExitBtnClick() {
  CancelRequested = true;  // a running transfer stops after its current file
  ExitRequested = true;
  FTPClient1->CancelAll();  // and whatever the FTP client waits for ends within a second
  ExitDisconnect();
  close();
}

void TForm1::MonthCalendar1Click() {
  FromDateTime->setText(platform::FromCp1252(DayText(MonthCalendar1->selectedDate())));
}

void TForm1::PageControl1Change() {
  const QColor light(255, 255, 245);
  for (QWidget* w :
       std::initializer_list<QWidget*>{FileListBoxFTPdir, FileListBoxFTP, Memo1, sDirectory, sFile,
                                       LocalDir, HostTxt, PortTxt, UserTxt, PassTxt})
    platform::SetBase(w, light);
  const QColor lighter(255, 255, 241);
  for (QWidget* w : std::initializer_list<QWidget*>{LocalFile, DriveComboBox4, FileListBoxPC,
                                                    DirectoryListBoxPC, DriveComboBox1,
                                                    DirectoryListBox1, FileListBox1, FileListBox8})
    platform::SetBase(w, lighter);
  FileListBox1->Update();
  FileListBoxPC->Update();
}

}  // namespace monitor
