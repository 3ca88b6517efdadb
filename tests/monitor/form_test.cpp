// The window's start-up restore from csv.cfg, Save Setting, Exit and the page change.
#include <QAction>
#include <fstream>
#include <QCalendarWidget>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

#include "form_fixture.h"
#include "support/filesizelimit.h"
#include "support/ftp_server.h"
#include "support/pty.h"
#include "monitor/chartlayer.h"
#include "monitor/core/csvconfig.h"
#include "monitor/folderlists.h"
#include "monitor/ftpclient.h"

namespace monitor_test {
namespace {

using monitor::TCSVConfig;

TCSVConfig StoredRecord() {
  TCSVConfig c;
  c.DriveIndex = 1;
  c.WorkFolder.set("/nowhere/that/exists");
  c.Host.set("logger.example.org");
  c.UserID.set("u7");
  c.Password.set("secret");
  c.TLevel = 37;
  c.ALevel = 33;
  for (int k = 0; k < 8; ++k) {
    c.Coarse[static_cast<std::size_t>(k)] = k + 1;
    c.Fine[static_cast<std::size_t>(k)] = 0;
    c.AName[static_cast<std::size_t>(k)].set("Tank " + std::to_string(k + 1));
  }
  c.Coarse[2] = 2;
  c.Fine[2] = 500;
  c.C1Name.set("Gas");
  c.C2Name.set("Water");
  c.T1Name.set("Boiler");
  c.SetCopyFromDay(QDate(2020, 5, 17));
  return c;
}

QString TabText(monitor::TForm1& f, QWidget* page) {
  return f.PageControl1->tabText(f.PageControl1->indexOf(page));
}

TEST_F(FormTest, TheWindowHasItsPagesAndNamedControls) {
  auto& f = Form();
  EXPECT_EQ(f.windowTitle(), "FERN-LOG monitoring software for TK5063GM GPRS/FTP data-logger");
  const QStringList captions{"From FTP to local PC file transfer",
                             "CSV (Table and Chart)",
                             "Temperature",
                             "Counter 1",
                             "Counter 2",
                             "Analog 1",
                             "Analog 2",
                             "Analog 3",
                             "Analog 4",
                             "Analog 5",
                             "Analog 6",
                             "Analog 7",
                             "Analog 8"};
  ASSERT_EQ(f.PageControl1->count(), captions.size());
  for (int i = 0; i < captions.size(); ++i) EXPECT_EQ(f.PageControl1->tabText(i), captions[i]);
  EXPECT_EQ(f.PageControl1->currentIndex(), 0);
  EXPECT_EQ(f.PageControl1->widget(5)->objectName(), "TabSheetA1");

  // Names others find the controls by, each with a name a screen reader can say.
  for (const char* name : {"HostTxt",
                           "PortTxt",
                           "UserTxt",
                           "PassTxt",
                           "CheckBox1",
                           "ProxyServer",
                           "ProxyPort",
                           "ConnectBtn",
                           "DisConnectBtn",
                           "RefreshBtn",
                           "cSTATUS",
                           "Memo1",
                           "sDirectory",
                           "FileListBoxFTPdir",
                           "sFile",
                           "FileListBoxFTP",
                           "RemoteFiles1cnt",
                           "LocalFiles1cnt",
                           "MakeDirFTP",
                           "MkDirFTPbtn",
                           "RenameDirFTPbtn",
                           "DeleteAllFTPButtonEnable",
                           "LocalFile",
                           "FileListBoxPC",
                           "DirectoryListBoxPC",
                           "DriveComboBox4",
                           "MakeDirPC",
                           "MkDirPC",
                           "CopySelected",
                           "CopyAll",
                           "MoveSelected",
                           "MoveAll",
                           "CopyFromDate",
                           "CopySelectedCancel",
                           "CopyAllCancel",
                           "MoveSelectedCancel",
                           "MoveAllCancel",
                           "CopyFromDateCancel",
                           "MonthCalendar1",
                           "MonthCalendar2",
                           "FromDateTime",
                           "ExitBtn",
                           "StatusLine",
                           "ExitButton",
                           "DriveComboBox1",
                           "DirectoryListBox1",
                           "DirectoryListBox2",
                           "FileListBox1",
                           "FileListBox8",
                           "ScrollBar1",
                           "ScrollBar2",
                           "TLEVEL",
                           "ALEVEL",
                           "Xmode",
                           "DateTimePicker1",
                           "DateTimePicker2",
                           "RunButton",
                           "StringGrid1",
                           "Chart1",
                           "Chart2",
                           "ChannelChartT1",
                           "ChannelChartC1",
                           "ChannelChartC2",
                           "ChannelChartA8",
                           "T1Name",
                           "C2Name",
                           "A8Name",
                           "ScrollBarA8",
                           "ScrollBarA08",
                           "MulA8",
                           "Button1",
                           "Button11",
                           "Button15",
                           "Button22",
                           "StatusBar1"}) {
    const QWidget* w = f.findChild<QWidget*>(name);
    ASSERT_NE(w, nullptr) << name;
    EXPECT_FALSE(w->accessibleName().isEmpty()) << name;
  }
  for (const char* name : {"Print2", "Exit1", "SaveSetting1", "MenuItem1", "MenuItem2", "MenuItem3",
                           "Delete1", "DeleteAll1", "Refresh1", "Delete2", "DeleteAll2", "Refresh2",
                           "Delete3", "Refresh3", "Print1"})
    EXPECT_NE(f.findChild<QAction*>(name), nullptr) << name;
  EXPECT_EQ(f.PassTxt->echoMode(), QLineEdit::Password);
  EXPECT_EQ(f.PassTxt->text().size(), 10);
  EXPECT_EQ(f.PassTxt->displayText(), QString(10, QLatin1Char('*')));
  // The main menu's captions as the user reads them.
  const QMenu* file = f.findChild<QMenu*>("File1");
  const QMenu* setting = f.findChild<QMenu*>("Setting1");
  ASSERT_TRUE(file && setting);
  EXPECT_EQ(file->title(), "File");
  EXPECT_EQ(setting->title(), "Setting");
  EXPECT_TRUE(f.CopyAllCancel->isHidden());
  EXPECT_EQ(f.ScrollBar1->minimum(), -40);
  EXPECT_EQ(f.ScrollBarA0[1]->maximum(), 999);
  EXPECT_EQ(f.MonthCalendar1->minimumDate(), QDate(2018, 9, 1));
}

TEST_F(FormTest, ClickingARemoteListItemWritesItsNameIntoItsEdit) {
  auto& f = Form();
  f.FileListBoxFTP->addItems({"261201.csv", "261202.csv"});
  f.FileListBoxFTPdir->addItem("archive");
  f.FileListBoxFTP->setCurrentRow(1);  // a click makes the item current and selected
  emit f.FileListBoxFTP->itemClicked(f.FileListBoxFTP->item(1));
  emit f.FileListBoxFTPdir->itemClicked(f.FileListBoxFTPdir->item(0));
  EXPECT_EQ(f.sFile->text(), "261202.csv");
  EXPECT_EQ(f.sDirectory->text(), "archive");
}

TEST_F(FormTest, StartupRestoresTheStoredRecord) {
  ASSERT_TRUE(monitor::SaveCSVConfig(Path("csv.cfg"), StoredRecord()));
  auto& f = Form();
  f.OnCreate();

  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(f.HostTxt->text(), "logger.example.org");
  EXPECT_EQ(f.UserTxt->text(), "u7");
  EXPECT_EQ(f.PassTxt->text(), "secret");
  EXPECT_EQ(f.PortTxt->text(), "21");  // the port keeps its own text
  EXPECT_EQ(f.ScrollBar1->value(), 37);
  EXPECT_EQ(f.TLEVEL->text(), "37");
  EXPECT_EQ(f.ALEVEL->text(), "33");
  EXPECT_EQ(f.ALevelValue, 33);
  EXPECT_EQ(f.ScrollBarA[3]->value(), 2);
  EXPECT_EQ(f.ScrollBarA0[3]->value(), 500);
  EXPECT_EQ(f.MulA[3]->text(), QLocale::system().toString(2.5, 'g', 15));
  EXPECT_EQ(f.MulA[8]->text(), "8");
  // Names go into the edits, the tab captions and the chart titles.
  EXPECT_EQ(f.T1Name->text(), "Boiler");
  EXPECT_EQ(TabText(f, f.TabSheetT1), "Boiler");
  EXPECT_EQ(f.Charts[monitor::kChannelChartT1]->TitleText(), "Boiler");
  EXPECT_EQ(TabText(f, f.TabSheetC2), "Water");
  EXPECT_EQ(f.Charts[monitor::ChannelChartA(5)]->TitleText(), "Tank 5");
  // The drive list shows the stored entry; the folder lists stay where the program started.
  EXPECT_EQ(f.DriveComboBox1->currentIndex(), 1);
  EXPECT_EQ(f.DirectoryListBox1->Directory(), root_);
  EXPECT_EQ(f.MonthCalendar1->selectedDate(), QDate(2020, 5, 17));
  EXPECT_EQ(f.FromDateTime->text().toStdString(), monitor::TForm1::DayText(QDate(2020, 5, 17)));
  EXPECT_EQ(f.MonthCalendar2->selectedDate(), QDate(2020, 5, 17));  // until a copy completes
  EXPECT_FALSE(f.MenuItem1->isVisible());
  EXPECT_TRUE(f.CopyAllCancel->isHidden());
  EXPECT_EQ(f.LocalFiles1cnt->text(), "0");
}

TEST_F(FormTest, StoredTLevelOutsideTheBarClampsTheBarButKeepsTheValue) {
  struct Case {
    int stored, bar;
  } cases[] = {{-100, -40}, {250, 100}, {-40, -40}, {100, 100}};
  for (const Case& c : cases) {
    TCSVConfig rec = StoredRecord();
    rec.TLevel = c.stored;
    ASSERT_TRUE(monitor::SaveCSVConfig(Path("csv.cfg"), rec));
    monitor::TForm1 f;
    f.OnCreate();
    EXPECT_EQ(f.ScrollBar1->value(), c.bar) << c.stored;
    EXPECT_EQ(f.TLEVEL->text(), QString::number(c.bar)) << c.stored;
    EXPECT_EQ(f.TLevelValue, c.stored);
  }
}

TEST_F(FormTest, MissingSettingsFileWarnsAndKeepsTheWindowDefaults) {
  auto& f = Form();
  f.OnCreate();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "csv.cfg access error");
  EXPECT_EQ(messages[0].icon, platform::Icon::Warning);
  EXPECT_EQ(messages[0].buttons, platform::Buttons::Ok);
  EXPECT_EQ(f.UserTxt->text(), "5063");
  EXPECT_EQ(f.PassTxt->text(), "KP7391MX-R");
  EXPECT_EQ(f.AName[2]->text(), "Analog 2");
  EXPECT_EQ(f.MulA[2]->text(), "1");
  // No stored day: the calendar starts at its first day, so Copy from date takes all.
  EXPECT_EQ(f.MonthCalendar1->selectedDate(), QDate(2018, 9, 1));
}

// A save that fails once writing has begun names the file, which keeps its old bytes.
TEST_F(FormTest, SaveThatFailsPartWayNamesTheFileAndKeepsIt) {
  auto& f = Form();
  f.OnCreate();
  messages.clear();
  const std::string old(828, '\0');
  Write("csv.cfg", old);
  {
    testsupport::FileSizeLimit limit(100);
    f.SaveSetting1->trigger();
  }
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Disk write error (File too large).\r\n" + Path("csv.cfg") +
                                  " was left as it was: make room on its disk, or start the "
                                  "program in a folder of your own.");
  EXPECT_EQ(messages[0].icon, platform::Icon::Stop);
  std::ifstream in(Path("csv.cfg"), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old);
}

TEST_F(FormTest, ShortSettingsFileShowsTheErrorAndTheStartUpGoesOn) {
  Write("csv.cfg", std::string(100, '\x01'));
  auto& f = Form();
  f.OnCreate();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Read beyond end of file.\r\n" + Path("csv.cfg") +
                                  " could not be read whole: \"Save Setting\" writes it again.");
  EXPECT_EQ(messages[0].icon, platform::Icon::Stop);
  EXPECT_EQ(f.HostTxt->text(), "ftp.example.com");
  EXPECT_TRUE(f.CopyFromDateCancel->isHidden());
}

// The start-up ends by connecting with the restored account; the port edit keeps its text.
class StartUpTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    ASSERT_TRUE(serverRoot_.isValid());
    std::ofstream(serverRoot_.path().toStdString() + "/181010.csv") << "1,2";
    const int port = server.Start("u7", "secret", serverRoot_.path().toStdString());
    TCSVConfig rec = StoredRecord();
    rec.Host.set("127.0.0.1");
    ASSERT_TRUE(monitor::SaveCSVConfig(Path("csv.cfg"), rec));
    Form().PortTxt->setText(QString::number(port));
  }
  void TearDown() override {
    FormTest::TearDown();
    server.Stop();
  }
  QTemporaryDir serverRoot_;
  testsupport::FtpServer server;
};

TEST_F(StartUpTest, TheStartUpRunsOnceWhenThePageControlIsEntered) {
  auto& f = Form();
  f.PageControl1Enter();
  f.PageControl1Enter();
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
  EXPECT_TRUE(f.Started());
  EXPECT_TRUE(f.FTPConnected);
  EXPECT_EQ(server.Commands("USER"), std::vector<std::string>{"USER u7"});
  EXPECT_EQ(f.FileListBoxFTP->count(), 1);
}

// Counts the paint events of one window's widgets.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
  ~PaintCounter() override { qApp->removeEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType() &&
        (watched == window_ || window_->isAncestorOf(static_cast<QWidget*>(watched))))
      ++paints;
    return false;
  }

 private:
  QWidget* window_;
};

// The start-up's Connect of a shown window waits until the window has been painted, then
// runs once.
TEST_F(StartUpTest, TheShownWindowConnectsOnceAfterItHasBeenPainted) {
  auto& f = Form();
  PaintCounter counter(&f);
  struct Status {
    std::string text;
    int paintsBefore;
  };
  std::vector<Status> statuses;
  auto original = f.FTPClient1->OnStatus;
  f.FTPClient1->OnStatus = [&statuses, &counter, original](const std::string& text) {
    statuses.push_back({text, counter.paints});
    if (original) original(text);
  };
  f.show();
  EXPECT_FALSE(f.FTPConnected);  // showing alone sends nothing
  EXPECT_TRUE(server.Commands("USER").empty());

  ASSERT_TRUE(testsupport::WaitUntil([&] { return f.FTPConnected; }, 5000))
      << ::testing::PrintToString(Texts());
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
  EXPECT_TRUE(f.Started());
  ASSERT_FALSE(statuses.empty());
  EXPECT_EQ(statuses.front().text, "Connecting");
  EXPECT_GT(statuses.front().paintsBefore, 0);  // the window was on the screen first
  EXPECT_EQ(f.HostTxt->text(), "127.0.0.1");    // the restored account connected
  EXPECT_EQ(f.FileListBoxFTP->count(), 1);
  EXPECT_EQ(f.cSTATUS->text(), "FTP Connected");

  // Later exposures, focus changes and a second show connect no more.
  f.hide();
  f.show();
  f.PageControl1->setFocus();
  f.PageControl1Enter();
  testsupport::WaitUntil([] { return false; }, 200);
  EXPECT_EQ(server.Commands("USER"), std::vector<std::string>{"USER u7"});
  EXPECT_EQ(server.Commands("PASS").size(), 1u);
}

// The shown window holds the focus; destroying it afterwards moves the focus while its
// widgets die, which must reach no handler of the half-destroyed window (the sanitizer
// build sees that).
TEST_F(StartUpTest, ShowingTheWindowRunsTheStartUp) {
  auto& f = Form();
  EXPECT_FALSE(f.Started());
  f.show();
  ASSERT_TRUE(testsupport::WaitUntil([&] { return f.FTPConnected; }, 5000));
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
  EXPECT_EQ(f.cSTATUS->text(), "FTP Connected");
  EXPECT_EQ(f.RemoteFiles1cnt->text(), "0");  // written before the connect
}

// Without a settings file the start-up still connects, with the window's own account.
TEST_F(FormTest, TheStartUpWithoutASettingsFileConnectsWithTheDefaults) {
  auto& f = Form();
  f.HostTxt->setText("nohost.invalid");
  f.PageControl1Enter();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"csv.cfg access error", "Invalid Host"}));
  EXPECT_TRUE(f.Started());
  EXPECT_FALSE(f.FTPConnected);
}

TEST_F(FormTest, SaveSettingStoresTheWindowIntoTheCurrentFolder) {
  ASSERT_TRUE(QDir(root_).mkdir("logs"));
  auto& f = Form();
  f.OnCreate();
  messages.clear();
  f.HostTxt->setText(QString(70, 'h'));
  f.AName[1]->setText(QString(50, 'n'));
  f.ScrollBar2->setValue(61);
  f.ScrollBarA0[4]->setValue(7);
  f.MonthCalendar1->setSelectedDate(QDate(2019, 1, 2));  // not what is stored
  ASSERT_TRUE(f.DirectoryListBox1->SetDirectory(root_ + "/logs"));
  f.SaveSetting1->trigger();
  EXPECT_TRUE(messages.empty());

  // Written where the current folder is now, holding that folder.
  EXPECT_FALSE(Exists("csv.cfg"));
  TCSVConfig back;
  ASSERT_TRUE(monitor::ReadCSVConfig(Path("logs/csv.cfg"), back));
  EXPECT_EQ(back.Host.get(), std::string(64, 'h'));
  EXPECT_EQ(back.AName[0].get(), std::string(40, 'n'));
  EXPECT_EQ(back.ALevel, 61);
  EXPECT_EQ(back.Fine[3], 7);
  EXPECT_EQ(back.Coarse[3], 1);
  EXPECT_EQ(back.WorkFolder.get(), (root_ + "/logs").left(64).toStdString());
  EXPECT_EQ(back.CopyFromDay(), QDate::currentDate());

  // The next start in that folder restores the cut texts, and stays in its own folder.
  monitor::TForm1 next;
  next.OnCreate();
  EXPECT_EQ(next.HostTxt->text(), QString(64, 'h'));
  EXPECT_EQ(next.AName[1]->text(), QString(40, 'n'));
  EXPECT_EQ(next.DirectoryListBox1->Directory(), root_ + "/logs");
}

// Save Setting straight after the start writes back the very record it restored: no
// setting is lost or changed by being shown (the copy-from day among them).
TEST_F(FormTest, SaveSettingAfterTheStartWritesBackTheRestoredRecord) {
  TCSVConfig rec = StoredRecord();
  rec.WorkFolder.set(root_.toStdString());
  rec.Host.set("h\xF6st.example.org");  // Western letters stay as they are
  rec.T1Name.set(
      "Kessel \xB0"
      "C");
  rec.ALevel = 100;
  rec.TLevel = -40;
  for (std::size_t k = 0; k < 8; ++k) rec.Fine[k] = static_cast<std::int32_t>(990 + k);
  for (std::size_t i = 0; i < rec.Reserved2.size(); ++i)
    rec.Reserved2[i] = static_cast<unsigned char>(i + 1);
  rec.Pad = 0x5A;
  ASSERT_TRUE(monitor::SaveCSVConfig(Path("csv.cfg"), rec));
  const auto before = rec.Encode();

  auto& f = Form();
  f.OnCreate();
  f.SaveSetting1->trigger();
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
  TCSVConfig back;
  ASSERT_TRUE(monitor::ReadCSVConfig(Path("csv.cfg"), back));
  EXPECT_EQ(back.CopyFromDay(), QDate(2020, 5, 17));
  EXPECT_EQ(back.Encode(), before);

  // A completed Copy from date moves the stored day to today (the transfer does this).
  f.MonthCalendar2->setSelectedDate(QDate::currentDate());
  f.SaveSetting1->trigger();
  ASSERT_TRUE(monitor::ReadCSVConfig(Path("csv.cfg"), back));
  EXPECT_EQ(back.CopyFromDay(), QDate::currentDate());
}

// The warning keeps its text and adds the file's full path and why, at start and on a save.
TEST_F(FormTest, SaveSettingThatCannotWriteWarns) {
  auto& f = Form();
  ASSERT_TRUE(QDir(root_).mkdir("csv.cfg"));  // a folder in the file's place
  const std::string warning = "csv.cfg access error\r\n" + Path("csv.cfg") +
                              " is a folder or a device, not a settings file: rename or "
                              "remove it.";
  f.SaveSetting1->trigger();
  f.OnCreate();
  ASSERT_EQ(messages.size(), 2u);
  for (const auto& m : messages) {
    EXPECT_EQ(m.text, warning);
    EXPECT_EQ(m.icon, platform::Icon::Warning);
  }
}

TEST_F(FormTest, ExitAsksATransferToStopAndClosesTheWindow) {
  auto& f = Form();
  f.show();
  f.ExitBtn->click();
  EXPECT_TRUE(f.CancelRequested);
  EXPECT_TRUE(f.ExitRequested);
  EXPECT_FALSE(f.isVisible());
}

TEST_F(FormTest, PageChangeRecoloursTheListsAndRereadsTheLocalFiles) {
  auto& f = Form();
  Write("a.csv", "x");
  EXPECT_EQ(f.FileListBox1->count(), 0);
  f.PageControl1->setCurrentIndex(1);
  EXPECT_EQ(f.FileListBox1->count(), 1);
  EXPECT_EQ(f.FileListBoxPC->count(), 1);
  EXPECT_EQ(f.HostTxt->palette().color(QPalette::Base), QColor(255, 255, 245));
  EXPECT_EQ(f.PassTxt->palette().color(QPalette::Base), QColor(255, 255, 245));
  EXPECT_EQ(f.FileListBox8->palette().color(QPalette::Base), QColor(255, 255, 241));
}

}  // namespace
}  // namespace monitor_test
