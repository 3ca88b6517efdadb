// Transfers from a real FTP server on 127.0.0.1 into the working folder: the five
// transfers, Cancel, the button groups and the remote file's double click.
#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDate>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>

#include "ftp_form_fixture.h"
#include "monitor/core/csvconfig.h"
#include "monitor/folderlists.h"
#include "monitor/ftpclient.h"
#include "monitor/core/transfers.h"
#include "support/filesizelimit.h"
#include "support/pty.h"
#include "support/scripted_ftp.h"

namespace monitor_test {
namespace {

using platform::Answer;

// ---- the window against a server ------------------------------------------------------------

class TransfersTest : public FtpFormTest {
 protected:
  void SetUp() override {
    FtpFormTest::SetUp();
    ASSERT_TRUE(cache_.isValid());
    oldCache_ = std::getenv("XDG_CACHE_HOME") ? std::getenv("XDG_CACHE_HOME") : "";
    setenv("XDG_CACHE_HOME", cache_.path().toLocal8Bit().constData(), 1);
  }
  void TearDown() override {
    FtpFormTest::TearDown();
    if (oldCache_.empty())
      unsetenv("XDG_CACHE_HOME");
    else
      setenv("XDG_CACHE_HOME", oldCache_.c_str(), 1);
  }

  std::string Read(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  QStringList Remote() const { return Items(form->FileListBoxFTP); }
  QStringList Local() const {
    QStringList names = QDir(root_).entryList({QStringLiteral("*.csv")}, QDir::Files);
    names.sort();
    return names;
  }
  void SelectRemote(const QStringList& names) {
    QListWidget* list = form->FileListBoxFTP;
    list->clearSelection();
    for (int i = 0; i < list->count(); ++i)
      if (names.contains(list->item(i)->text())) list->item(i)->setSelected(true);
  }

  // After every run: idle, usable, no Cancel button left.
  void ExpectIdle() const {
    monitor::TForm1& f = *form;
    EXPECT_FALSE(f.FTPBusy);
    EXPECT_FALSE(f.CancelRequested);
    for (QPushButton* b : f.TransferButtons())
      EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    for (QPushButton* b : {f.DisConnectBtn, f.RefreshBtn})
      EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    for (QPushButton* b : f.TransferButtons())
      EXPECT_FALSE(b->isHidden()) << b->objectName().toStdString();
    for (QPushButton* b : f.CancelButtons())
      EXPECT_TRUE(b->isHidden()) << b->objectName().toStdString();
  }

  bool CancelAtTheSecondFile(QPushButton* own, QPushButton* cancel,
                             const std::function<void()>& start);

  QTemporaryDir cache_;
  std::string oldCache_;
};

TEST_F(TransfersTest, CopyFromDateTakesTheDayAndLaterAndMovesTheDayToToday) {
  for (const char* n : {"181009.csv", "181010.csv", "181010_1200.csv", "181123.csv", "190102.csv",
                        "-181001_181031.csv", "180930.csv"})
    Put(n);
  Connect();
  monitor::TForm1& f = Form();
  f.MonthCalendar1->setSelectedDate(QDate(2018, 10, 10));
  f.CopyFromDate->click();

  EXPECT_EQ(Local(), QStringList({"181010.csv", "181010_1200.csv", "181123.csv", "190102.csv"}));
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
  EXPECT_EQ(f.LocalFiles1cnt->text(), QStringLiteral("4"));
  // One "TYPE A" before the run and one before each file.
  EXPECT_EQ(server.Commands("TYPE").size(), 5u);
  // Today is the next copy-from day, shown and stored.
  const QDate today = QDate::currentDate();
  EXPECT_EQ(f.MonthCalendar1->selectedDate(), today);
  EXPECT_EQ(f.FromDateTime->text().toStdString(), monitor::TForm1::DayText(today));
  monitor::TCSVConfig stored;
  ASSERT_TRUE(monitor::ReadCSVConfig(Path("csv.cfg"), stored));
  EXPECT_EQ(stored.CopyFromDay(), today);
  ExpectIdle();
}

TEST_F(TransfersTest, CopyFromDateThatMatchesNothingStillStoresTodayAndSaysSo) {
  Put("180901.csv");
  Put("-180901_180930.csv");
  Connect();
  monitor::TForm1& f = Form();
  const QDate chosen(2019, 1, 1);
  f.MonthCalendar1->setSelectedDate(chosen);
  f.CopyFromDate->click();

  EXPECT_TRUE(Local().isEmpty());
  // The message names the day asked for, not the new one.
  EXPECT_EQ(Texts(), std::vector<std::string>{"No files " + monitor::TForm1::DayText(chosen) +
                                              " and after "});
  monitor::TCSVConfig stored;
  ASSERT_TRUE(monitor::ReadCSVConfig(Path("csv.cfg"), stored));
  EXPECT_EQ(stored.CopyFromDay(), QDate::currentDate());
  ExpectIdle();
}

TEST_F(TransfersTest, CopySelectedFetchesOnlyTheSelectedFiles) {
  for (const char* n : {"181001.csv", "181002.csv", "181003.csv", "181004.csv"}) Put(n);
  Connect();
  monitor::TForm1& f = Form();
  Write("181002.csv", "old local copy");  // overwritten without a question
  SelectRemote({"181002.csv", "181004.csv"});
  f.CopySelected->click();

  EXPECT_EQ(Local(), QStringList({"181002.csv", "181004.csv"}));
  EXPECT_EQ(Read(Path("181002.csv")), "1;2;3");
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
  EXPECT_EQ(f.LocalFiles1cnt->text(), QStringLiteral("2"));
  EXPECT_EQ(f.FileListBoxFTP->currentRow(), 0);
  // The selection is the user's: the walk does not change it.
  EXPECT_EQ(f.FileListBoxFTP->selectedItems().size(), 2);
  EXPECT_TRUE(OnServer("181002.csv"));
  // One "TYPE A" before the run and one before each file.
  EXPECT_EQ(server.Commands("TYPE"), std::vector<std::string>(3, "TYPE A"));
  ExpectIdle();
}

TEST_F(TransfersTest, EmptyListAndNoSelectionMessages) {
  Connect();  // an empty remote folder
  monitor::TForm1& f = Form();
  // While the message shows: FTPBusy set; the hourglass and the disabled button group
  // where that transfer's steps put them before the message.
  const struct {
    QPushButton* button;
    const char* text;
    bool hourglass;
    bool groupDisabled;
  } empty[] = {
      {f.CopySelected, "No files  ", false, false},
      {f.CopyAll, "No files  ", true, true},
      {f.MoveSelected, "No files        ", true, false},
      {f.MoveAll, "No files        ", true, false},
      {f.CopyFromDate, "No files  ", false, false},
  };
  for (const auto& c : empty) {
    const std::string which = c.button->objectName().toStdString();
    messages.clear();
    bool busy = false, hourglass = false, disabled = false;
    platform::SetMessageHook([&](const platform::MessageRequest& r) {
      messages.push_back(r);
      if (r.text.rfind("No files", 0) == 0) {
        busy = f.FTPBusy;
        hourglass = platform::BusyCursor();
        disabled = !f.CopyAll->isEnabled() && !f.DisConnectBtn->isEnabled();
      }
      return Answer::Yes;
    });
    c.button->click();
    const std::vector<std::string> texts = Texts();
    ASSERT_FALSE(texts.empty()) << which;
    EXPECT_EQ(texts.back(), c.text) << which;
    EXPECT_TRUE(busy) << which;
    EXPECT_EQ(hourglass, c.hourglass) << which;
    EXPECT_EQ(disabled, c.groupDisabled) << which;
    EXPECT_FALSE(platform::BusyCursor()) << which;
    ExpectIdle();
  }
  platform::SetMessageHook([this](const platform::MessageRequest& r) {
    messages.push_back(r);
    return answer;
  });
  answer = Answer::Yes;

  // With files listed but none selected.
  Put("181001.csv");
  f.RefreshBtnClick();
  ASSERT_EQ(Remote(), QStringList({"181001.csv"}));
  for (QPushButton* b : {f.CopySelected, f.MoveSelected}) {
    messages.clear();
    b->click();
    EXPECT_EQ(Texts().back(), "No file selected   ") << b->objectName().toStdString();
    ExpectIdle();
  }
  EXPECT_TRUE(Local().isEmpty());
  EXPECT_TRUE(OnServer("181001.csv"));
}

TEST_F(TransfersTest, MoveSelectedLeavesTheRestOnTheServerAndListsThemAgain) {
  QStringList all;
  for (int d = 1; d <= 10; ++d) {
    const std::string n = "1810" + std::string(d < 10 ? "0" : "") + std::to_string(d) + ".csv";
    Put(n);
    all << QString::fromStdString(n);
  }
  Connect();
  monitor::TForm1& f = Form();
  const QStringList moved = {"181002.csv", "181005.csv", "181009.csv"};
  SelectRemote(moved);

  answer = Answer::No;  // not confirmed: nothing happens
  f.MoveSelected->click();
  EXPECT_TRUE(Local().isEmpty());
  EXPECT_TRUE(server.Commands("DELE").empty());

  messages.clear();
  answer = Answer::Yes;
  f.MoveSelected->click();
  ASSERT_EQ(Texts(), std::vector<std::string>{"Move selected files ?"});
  EXPECT_EQ(messages[0].icon, platform::Icon::Question);
  EXPECT_EQ(messages[0].buttons, platform::Buttons::YesNoCancel);
  EXPECT_EQ(messages[0].position, QPoint(200, 200));
  EXPECT_EQ(Local(), moved);
  QStringList left = all;
  for (const QString& m : moved) left.removeAll(m);
  EXPECT_EQ(Remote(), left);
  EXPECT_EQ(f.RemoteFiles1cnt->text(), QStringLiteral("7"));
  EXPECT_EQ(f.LocalFiles1cnt->text(), QStringLiteral("3"));
  for (const QString& m : moved) EXPECT_FALSE(OnServer(m.toStdString()));
  EXPECT_EQ(server.Commands("TYPE"), std::vector<std::string>{"TYPE A"});  // once, before the run
  EXPECT_EQ(server.Commands("DELE"),
            std::vector<std::string>({"DELE 181002.csv", "DELE 181005.csv", "DELE 181009.csv"}));
  ExpectIdle();
}

TEST_F(TransfersTest, MoveAllEmptiesTheServerFolder) {
  for (const char* n : {"181001.csv", "181002.csv", "181003.csv"}) Put(n);
  Put("notes.txt");  // not listed, so not moved
  Connect();
  monitor::TForm1& f = Form();
  answer = Answer::Yes;
  f.MoveAll->click();

  EXPECT_EQ(Local(), QStringList({"181001.csv", "181002.csv", "181003.csv"}));
  EXPECT_TRUE(Remote().isEmpty());
  EXPECT_EQ(f.RemoteFiles1cnt->text(), QStringLiteral("0"));
  EXPECT_EQ(f.LocalFiles1cnt->text(), QStringLiteral("3"));
  EXPECT_FALSE(OnServer("181001.csv"));
  EXPECT_TRUE(OnServer("notes.txt"));
  EXPECT_TRUE(server.Commands("TYPE").empty());
  // The CSV page's list sees the new files too.
  EXPECT_EQ(f.FileListBox1->count(), 3);
  ExpectIdle();
}

// Clicks `cancel` as the server starts sending the second file, i.e. while the run waits
// for it, and checks the buttons at that moment. Returns whether the click happened.
bool TransfersTest::CancelAtTheSecondFile(QPushButton* own, QPushButton* cancel,
                                          const std::function<void()>& start) {
  monitor::TForm1& f = *form;
  monitor::TFTPClient& client = *f.FTPClient1;
  const std::function<void()> started = client.OnTransactionStart;
  bool clicked = false;
  client.OnTransactionStart = [&] {
    if (started) started();
    if (clicked || server.Commands("RETR").size() != 2) return;
    clicked = true;
    EXPECT_FALSE(cancel->isHidden());
    EXPECT_TRUE(own->isHidden());
    EXPECT_FALSE(own->isEnabled());
    EXPECT_FALSE(f.DisConnectBtn->isEnabled());
    cancel->click();
    // The transfer buttons come back at once but stay disabled until the run ends.
    EXPECT_TRUE(cancel->isHidden());
    EXPECT_FALSE(own->isHidden());
    EXPECT_FALSE(own->isEnabled());
  };
  start();
  client.OnTransactionStart = started;
  return clicked;
}

const char* const kFiveDays[] = {"181001.csv", "181002.csv", "181003.csv", "181004.csv",
                                 "181005.csv"};

TEST_F(TransfersTest, CancelDuringTheSecondFileOfCopyAllLeavesTwoFiles) {
  const std::string body(3000, 'x');
  for (const char* n : kFiveDays) Put(n, body);
  Connect();
  monitor::TForm1& f = Form();
  f.LocalFiles1cnt->setText(QStringLiteral("0"));

  EXPECT_TRUE(CancelAtTheSecondFile(f.CopyAll, f.CopyAllCancel, [&] { f.CopyAll->click(); }));
  EXPECT_EQ(Local(), QStringList({"181001.csv", "181002.csv"}));
  EXPECT_EQ(f.FileListBoxPC->count(), 2);
  // Copy ALL re-reads the local list but does not write its count.
  EXPECT_EQ(f.LocalFiles1cnt->text(), QStringLiteral("0"));
  EXPECT_EQ(Read(Path("181002.csv")), body);  // the running download was finished
  EXPECT_EQ(server.Commands("RETR").size(), 2u);
  EXPECT_TRUE(server.Commands("TYPE").empty());
  for (const char* n : kFiveDays) EXPECT_TRUE(OnServer(n)) << n;
  ExpectIdle();
}

TEST_F(TransfersTest, CancelDuringAMoveDeletesOnlyWhatArrivedAndListsTheRestAgain) {
  Connect();
  monitor::TForm1& f = Form();
  answer = Answer::Yes;
  const struct {
    QPushButton* button;
    QPushButton* cancel;
  } cases[] = {{f.MoveAll, f.MoveAllCancel}, {f.MoveSelected, f.MoveSelectedCancel}};
  for (const auto& c : cases) {
    const std::string which = c.button->objectName().toStdString();
    for (const QString& n : Local()) QFile::remove(QDir(root_).filePath(n));
    for (const char* n : kFiveDays) Put(n, which);
    f.RefreshBtnClick();
    ASSERT_EQ(Remote().size(), 5) << which;
    SelectRemote(Remote());
    server.ClearCommands();
    messages.clear();

    EXPECT_TRUE(CancelAtTheSecondFile(c.button, c.cancel, [&] { c.button->click(); })) << which;
    EXPECT_EQ(Local(), QStringList({"181001.csv", "181002.csv"})) << which;
    EXPECT_EQ(Read(Path("181002.csv")), which);
    EXPECT_EQ(server.Commands("DELE"),
              std::vector<std::string>({"DELE 181001.csv", "DELE 181002.csv"}))
        << which;
    const QStringList left = {"181003.csv", "181004.csv", "181005.csv"};
    for (const QString& n : left) EXPECT_TRUE(OnServer(n.toStdString())) << which;
    EXPECT_EQ(Remote(), left) << which;
    EXPECT_EQ(f.RemoteFiles1cnt->text(), QStringLiteral("3")) << which;
    EXPECT_EQ(f.LocalFiles1cnt->text(), QStringLiteral("2")) << which;
    EXPECT_EQ(Texts(), std::vector<std::string>{c.button == f.MoveAll ? "Move all files ?"
                                                                      : "Move selected files ?"});
    ExpectIdle();
  }
}

TEST_F(TransfersTest, AFailedDownloadEndsAMoveWithoutDeletingAndLeavesTheWindowUsable) {
  for (const char* n : {"181001.csv", "181002.csv"}) Put(n);
  Connect();
  monitor::TForm1& f = Form();
  // The first file goes away after the listing: its download fails.
  ASSERT_TRUE(QFile::remove(QString::fromStdString(ServerPath("181001.csv"))));
  SelectRemote({"181001.csv", "181002.csv"});
  answer = Answer::Yes;
  f.MoveSelected->click();

  ASSERT_EQ(messages.size(), 2u);  // the question, then the error box
  EXPECT_EQ(messages[1].icon, platform::Icon::Stop);
  EXPECT_TRUE(server.Commands("DELE").empty());
  EXPECT_TRUE(OnServer("181002.csv"));
  EXPECT_TRUE(Local().isEmpty());
  // The remote list shows what is on the server now.
  EXPECT_EQ(server.Commands("LIST").size(), 1u);
  EXPECT_EQ(Remote(), QStringList({"181002.csv"}));
  ExpectIdle();
}

TEST_F(TransfersTest, AConnectionLostInTheMiddleOfAMoveLosesNoFile) {
  const std::string body(400000, 'y');
  Put("181001.csv", body);
  server.SetSendLimit(20000);  // the download is still running when the drop arrives
  Connect();
  monitor::TForm1& f = Form();
  Write("181001.csv", "older local copy");
  monitor::TFTPClient& client = *f.FTPClient1;
  const auto received = client.OnPacketRecvd;
  bool dropped = false;
  client.OnPacketRecvd = [&](std::int64_t got, std::int64_t total) {
    if (received) received(got, total);
    if (!dropped) server.DropClients();
    dropped = true;
  };
  answer = Answer::Yes;
  f.MoveAll->click();
  client.OnPacketRecvd = received;

  ASSERT_TRUE(dropped);
  ASSERT_EQ(messages.size(), 2u) << ::testing::PrintToString(Texts());  // question, error box
  EXPECT_EQ(messages[1].icon, platform::Icon::Stop);
  EXPECT_TRUE(server.Commands("DELE").empty());
  EXPECT_EQ(Read(ServerPath("181001.csv")), body);
  // The local copy is as it was, and no partial file is left beside it.
  EXPECT_EQ(Read(Path("181001.csv")), "older local copy");
  EXPECT_EQ(QDir(root_).entryList(QDir::Files | QDir::Hidden), QStringList({"181001.csv"}));
  EXPECT_FALSE(f.FTPBusy);
  EXPECT_FALSE(f.CancelRequested);
  EXPECT_TRUE(f.MoveAllCancel->isHidden());
}

TEST_F(TransfersTest, AFullDiskEndsAMoveWithoutDeletingAndKeepsTheLocalCopy) {
  const std::string body(5000, 'z');
  for (const char* n : {"181001.csv", "181002.csv"}) Put(n, body);
  Connect();
  monitor::TForm1& f = Form();
  Write("181001.csv", "older local copy");
  answer = Answer::Yes;
  {
    // The local disk takes 1000 bytes per file; the window survives the kernel's signal.
    testsupport::FileSizeLimit full(1000, /*ignoreSignal=*/false);
    f.MoveAll->click();
  }
  ASSERT_EQ(messages.size(), 2u) << ::testing::PrintToString(Texts());  // question, error box
  EXPECT_EQ(messages[1].icon, platform::Icon::Stop);
  EXPECT_NE(messages[1].text.find("181001.csv: " + std::string(std::strerror(EFBIG))),
            std::string::npos)
      << messages[1].text;
  EXPECT_TRUE(server.Commands("DELE").empty());
  EXPECT_EQ(Read(ServerPath("181001.csv")), body);
  EXPECT_TRUE(OnServer("181002.csv"));
  EXPECT_EQ(Read(Path("181001.csv")), "older local copy");
  EXPECT_EQ(QDir(root_).entryList(QDir::Files | QDir::Hidden), QStringList({"181001.csv"}));
  ExpectIdle();
}

// During a run the local list takes each fetched name as it arrives, without reading the
// folder; at the end it is read once, so it shows the folder exactly.
TEST_F(TransfersTest, TheLocalListTakesEachFetchedNameAndIsReadOnceAtTheEnd) {
  for (const char* n : {"181001.csv", "181002.csv", "181003.csv"}) Put(n);
  Write("old.csv", "here before");
  Connect();
  monitor::TForm1& f = Form();
  monitor::TFTPClient& client = *f.FTPClient1;
  const auto started = client.OnTransactionStart;
  std::vector<QStringList> seen;  // the local list as each download starts
  client.OnTransactionStart = [&] {
    if (started) started();
    seen.push_back(Items(f.FileListBoxPC));
    if (seen.size() == 2) Write("zz.csv", "written by someone else meanwhile");
  };
  f.CopyAll->click();
  client.OnTransactionStart = started;

  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[1], QStringList({"181001.csv", "old.csv"}));
  EXPECT_EQ(seen[2], QStringList({"181001.csv", "181002.csv", "old.csv"}));  // zz.csv not yet
  EXPECT_EQ(Items(f.FileListBoxPC),
            QStringList({"181001.csv", "181002.csv", "181003.csv", "old.csv", "zz.csv"}));
  ExpectIdle();
}

// Exit during a transfer with a live connection closes the window, and the application
// quits: the file being fetched is still finished and the run stops after it.
TEST_F(TransfersTest, ExitDuringCopyAllFinishesTheRunningFileAndStops) {
  const std::string body(3000, 'x');
  for (const char* n : kFiveDays) Put(n, body);
  Connect();
  monitor::TForm1& f = Form();
  monitor::TFTPClient& client = *f.FTPClient1;
  const std::function<void()> started = client.OnTransactionStart;
  bool exited = false;
  client.OnTransactionStart = [&] {
    if (started) started();
    if (exited || server.Commands("RETR").size() != 2) return;
    exited = true;
    f.ExitBtnClick();
    QCoreApplication::quit();  // as closing the last window does
  };
  QTimer::singleShot(0, &f, [&] { f.CopyAll->click(); });
  QCoreApplication::exec();
  client.OnTransactionStart = started;

  ASSERT_TRUE(exited);
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
  EXPECT_EQ(Local(), QStringList({"181001.csv", "181002.csv"}));
  EXPECT_EQ(Read(Path("181002.csv")), body);
  EXPECT_EQ(server.Commands("RETR").size(), 2u);
  EXPECT_FALSE(f.FTPBusy);
}

TEST_F(TransfersTest, WithoutAConnection) {
  monitor::TForm1& f = Form();
  answer = Answer::Yes;
  for (QPushButton* b : {f.CopySelected, f.MoveSelected, f.MoveAll, f.CopyFromDate}) {
    messages.clear();
    b->setEnabled(true);
    b->click();
    EXPECT_EQ(Texts(), std::vector<std::string>{"No FTP connection. Please connect again"})
        << b->objectName().toStdString();
  }
  messages.clear();
  f.CopyAll->setEnabled(true);
  f.CopyAll->click();
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(f.FTPBusy);
}

TEST_F(TransfersTest, BusyTransfersAndTheDoubleClickTouchNothing) {
  Put("181001.csv");
  Connect();
  monitor::TForm1& f = Form();
  SelectRemote({"181001.csv"});
  f.FileListBoxFTP->setCurrentRow(0, QItemSelectionModel::NoUpdate);
  // Another operation (a folder change, say) holds the connection and has locked these.
  f.FTPBusy = true;
  f.DisConnectBtn->setEnabled(false);
  f.RefreshBtn->setEnabled(false);
  answer = Answer::Yes;
  for (auto handler :
       {&monitor::TForm1::CopySelectedClick, &monitor::TForm1::CopyAllClick,
        &monitor::TForm1::MoveSelectedClick, &monitor::TForm1::MoveAllClick,
        &monitor::TForm1::CopyFromDateClick, &monitor::TForm1::FileListBoxFTPDblClick})
    (f.*handler)();
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
  EXPECT_TRUE(server.Commands("RETR").empty());
  EXPECT_TRUE(f.FTPBusy);
  EXPECT_FALSE(f.DisConnectBtn->isEnabled());
  EXPECT_FALSE(f.RefreshBtn->isEnabled());
  EXPECT_TRUE(opened.empty());
}

TEST_F(TransfersTest, DoubleClickOpensAFetchedCopyOutsideTheWorkingFolder) {
  Put("181001.csv", "10:00;1;2");
  Put("181002.csv");
  Connect();
  monitor::TForm1& f = Form();
  QListWidget* list = f.FileListBoxFTP;

  list->setCurrentRow(1, QItemSelectionModel::NoUpdate);  // current but not selected
  f.FileListBoxFTPDblClick();
  EXPECT_EQ(Texts(), std::vector<std::string>{"No file selected"});
  EXPECT_TRUE(opened.empty());

  messages.clear();
  list->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
  f.FileListBoxFTPDblClick();
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(QFileInfo(QString::fromStdString(opened[0])).fileName(), QStringLiteral("181001.csv"));
  EXPECT_TRUE(QString::fromStdString(opened[0]).startsWith(cache_.path()));
  EXPECT_EQ(Read(opened[0]), "10:00;1;2");
  EXPECT_TRUE(Local().isEmpty());
  EXPECT_FALSE(f.FTPBusy);

  messages.clear();
  list->clear();
  f.FileListBoxFTPDblClick();
  EXPECT_EQ(Texts(), std::vector<std::string>{"No files        "});
}

TEST_F(TransfersTest, AFailedDoubleClickFetchEndsLikeAFailedTransfer) {
  for (const char* n : {"181001.csv", "181002.csv"}) Put(n);
  Connect();
  monitor::TForm1& f = Form();
  // The file goes away after the listing: its fetch fails.
  ASSERT_TRUE(QFile::remove(QString::fromStdString(ServerPath("181001.csv"))));
  f.FileListBoxFTP->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
  emit f.FileListBoxFTP->itemDoubleClicked(f.FileListBoxFTP->item(0));

  ASSERT_EQ(messages.size(), 1u);  // the error box
  EXPECT_EQ(messages[0].icon, platform::Icon::Stop);
  EXPECT_TRUE(opened.empty());
  // As after any failed run, the remote list shows what is on the server now.
  EXPECT_EQ(server.Commands("LIST").size(), 1u);
  EXPECT_EQ(Remote(), QStringList({"181002.csv"}));
  ExpectIdle();
}

TEST_F(TransfersTest, ANameThatWouldLeaveTheWorkingFolderIsNotFetched) {
  Put("181001.csv");
  Connect();
  monitor::TForm1& f = Form();
  // A listing that names a file outside the folder.
  f.FileListBoxFTP->insertItem(0, QStringLiteral("../181000.csv"));
  answer = Answer::Yes;
  f.MoveAll->click();

  EXPECT_EQ(Local(), QStringList({"181001.csv"}));
  EXPECT_FALSE(QFile::exists(QDir(root_).filePath(QStringLiteral("../181000.csv"))));
  const std::vector<std::string> texts = Texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), "Not copied, file name not allowed: ../181000.csv");
  for (const std::string& retr : server.Commands("RETR"))
    EXPECT_EQ(retr.find(".."), std::string::npos) << retr;
  ExpectIdle();
}

// ---- the window against a scripted server: faults real servers rarely show -------------

class ScriptedTransfersTest : public TransfersTest {
 protected:
  void ConnectScripted() {
    monitor::TForm1& f = Form();
    f.HostTxt->setText(QStringLiteral("127.0.0.1"));
    f.PortTxt->setText(QString::number(script.Port()));
    f.ConnectBtn->click();
    ASSERT_TRUE(f.FTPConnected) << ::testing::PrintToString(Texts());
    messages.clear();
    script.commands.clear();
  }
  testsupport::ScriptedFtpServer script;
};

// The server cuts the second of three files short and answers "226": the move stops there,
// keeps the older local copy, deletes nothing more, says which file and why, and the remote
// list shows what is left on the server.
TEST_F(ScriptedTransfersTest, AMoveStopsAtAFileCutShortAndDeletesOnlyWhatArrivedWhole) {
  const std::string body(9033, 'x');
  script.files["190101.csv"] = {body};
  script.files["190102.csv"] = {body, 4516};
  script.files["190103.csv"] = {body};
  ConnectScripted();
  monitor::TForm1& f = Form();
  ASSERT_EQ(Remote(), QStringList({"190101.csv", "190102.csv", "190103.csv"}));
  Write("190102.csv", "older local copy");
  answer = Answer::Yes;
  f.MoveAll->click();

  ASSERT_EQ(messages.size(), 2u) << ::testing::PrintToString(Texts());
  EXPECT_EQ(messages[1].icon, platform::Icon::Stop);
  EXPECT_EQ(messages[1].text, "Incomplete download of 190102.csv: 4516 of 9033 bytes received.");
  EXPECT_EQ(script.Commands("DELE"), std::vector<std::string>{"DELE 190101.csv"});
  EXPECT_EQ(Read(Path("190101.csv")), body);
  EXPECT_EQ(Read(Path("190102.csv")), "older local copy");
  EXPECT_EQ(Local(), QStringList({"190101.csv", "190102.csv"}));
  EXPECT_EQ(Items(f.FileListBoxPC), QStringList({"190101.csv", "190102.csv"}));
  EXPECT_EQ(Remote(), QStringList({"190102.csv", "190103.csv"}));
  EXPECT_EQ(f.RemoteFiles1cnt->text(), QStringLiteral("2"));
  ExpectIdle();
}

// Under a file-size limit the write fails like on a full disk: the window survives the
// kernel's signal, says which file and the system's reason, and deletes nothing.
TEST_F(ScriptedTransfersTest, AFileSizeLimitFailsTheWriteWithTheSystemsReason) {
  script.files["190101.csv"] = {std::string(5000, 'z')};
  ConnectScripted();
  monitor::TForm1& f = Form();
  answer = Answer::Yes;
  {
    testsupport::FileSizeLimit limit(1000, /*ignoreSignal=*/false);
    f.MoveAll->click();
  }
  ASSERT_EQ(messages.size(), 2u) << ::testing::PrintToString(Texts());
  EXPECT_EQ(messages[1].text,
            "Cannot write 190101.csv: " + std::string(std::strerror(EFBIG)) + ".");
  EXPECT_TRUE(script.Commands("DELE").empty());
  EXPECT_TRUE(Local().isEmpty());
  EXPECT_EQ(Remote(), QStringList({"190101.csv"}));
  ExpectIdle();
}

// Names that can't be local file names or can't go into a command are left on the server
// with one message; the other files are moved.
TEST_F(ScriptedTransfersTest, UnusableNamesAreSkippedWithOneMessageAndTheRunGoesOn) {
  for (const char* n : {"190101.csv", "a\rb.csv", "190102.csv", "x\n.csv"})
    script.files[n] = {"1;2;3"};
  ConnectScripted();
  monitor::TForm1& f = Form();
  // A listing may name "." and ".." too.
  f.FileListBoxFTP->insertItem(0, QStringLiteral(".."));
  f.FileListBoxFTP->insertItem(0, QStringLiteral("."));
  answer = Answer::Yes;
  f.MoveAll->click();

  EXPECT_EQ(Texts(),
            (std::vector<std::string>{"Move all files ?",
                                      "Not copied, file name not allowed: ., .., a\rb.csv"}));
  EXPECT_EQ(script.Commands("RETR"),
            (std::vector<std::string>{"RETR 190101.csv", "RETR 190102.csv"}));
  EXPECT_EQ(script.Commands("DELE"),
            (std::vector<std::string>{"DELE 190101.csv", "DELE 190102.csv"}));
  EXPECT_EQ(Local(), QStringList({"190101.csv", "190102.csv"}));
  EXPECT_EQ(Remote(), QStringList({"a\rb.csv"}));
  ExpectIdle();
}

// A remote name is the server's bytes: the lists show it readably (UTF-8 where valid, else
// Windows-1252), and every way from a list item back to a command or a local file name
// gives the same bytes, for names as long as a Linux file name holds.
TEST_F(ScriptedTransfersTest, RemoteNamesKeepTheServersBytesFromListToCommandAndFile) {
  const std::string utf8 =
      "Gr\xc3\xb6\xc3\x9f"
      "e \xc3\xa4.csv";
  const std::string cp1252 =
      "Gr\xf6\xdf"
      "e \xe4.csv";
  const std::string names[] = {std::string(245, 'a') + ".csv", std::string(251, 'b') + ".csv", utf8,
                               cp1252};
  for (const std::string& n : names) script.files[n] = {"1;2;3"};
  for (const std::string& n : names)
    script.listing.push_back("-rw-r--r--    1 0        0               5 Dec 10 22:00 " + n);
  const std::string folder = "Ordner \xc3\xa4";
  script.listing.push_back("drwxr-xr-x    2 0        0            4096 Dec 10 22:00 " + folder);
  ConnectScripted();
  monitor::TForm1& f = Form();
  const QString shown = QStringLiteral("Gr\u00f6\u00dfe \u00e4.csv");
  EXPECT_EQ(Remote(),
            QStringList({QString(245, 'a') + ".csv", QString(251, 'b') + ".csv", shown, shown}));
  EXPECT_EQ(Items(f.FileListBoxFTPdir), QStringList({QStringLiteral("Ordner \u00e4")}));

  f.CopyAll->click();
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
  std::vector<std::string> retr;
  for (const std::string& n : names) retr.push_back("RETR " + n);
  EXPECT_EQ(script.Commands("RETR"), retr);
  std::set<std::string> local;
  for (const auto& e : std::filesystem::directory_iterator(root_.toStdString()))
    if (e.path().extension() == ".csv") local.insert(e.path().filename().string());
  EXPECT_EQ(local, std::set<std::string>(std::begin(names), std::end(names)));
  for (const std::string& n : names) EXPECT_EQ(Read(Path(n)), "1;2;3");
  ExpectIdle();

  // Deleting a remote file, entering, renaming a remote folder: the same bytes go back.
  script.commands.clear();
  f.DeleteAllFTPButtonEnable->setChecked(true);
  f.FileListBoxFTP->setCurrentRow(2);
  answer = Answer::Yes;
  f.MenuItem1Click();
  f.FileListBoxFTPdir->setCurrentRow(0);
  f.FileListBoxFTPdirDblClick();
  EXPECT_EQ(f.sDirectory->text(), QStringLiteral("Ordner \u00e4"));
  f.MakeDirFTP->setText(QStringLiteral("neu"));
  EXPECT_THROW(f.RenameDirFTPbtnClick(), std::exception);  // this server renames nothing
  EXPECT_EQ(script.Commands("DELE"), std::vector<std::string>{"DELE " + names[2]});
  EXPECT_EQ(script.Commands("CWD"), (std::vector<std::string>{"CWD /", "CWD " + folder}));
  EXPECT_EQ(script.Commands("RNFR"), std::vector<std::string>{"RNFR " + folder});
  // Qt's own clean-up takes names as text: the one that is no UTF-8 goes by its bytes.
  for (const std::string& n : names) std::remove(Path(n).c_str());
}

// Cancel ends the run whatever the client waits for, within the client's own limit: the
// file being fetched stays as it was here and on the server, no message, the window usable.
// Where the server answers for the cut transfer the connection stays; where it is silent the
// connection is closed and the timer shows it.
TEST_F(ScriptedTransfersTest, CancelEndsTheRunWhateverItWaitsFor) {
  using Fault = testsupport::ScriptedFtpServer::Fault;
  const struct {
    const char* verb;
    Fault fault;
    bool kept;  // the connection
  } cases[] = {
      {"RETR", Fault::Stall, false},     {"RETR", Fault::NoConnect, false},
      {"RETR", Fault::StallData, false}, {"RETR", Fault::Endless, true},
      {"DELE", Fault::Stall, false},     {"LIST", Fault::Stall, false},
  };
  monitor::TForm1& f = Form();
  answer = Answer::Yes;
  for (const auto& k : cases) {
    SCOPED_TRACE(std::string(k.verb) + " " + std::to_string(static_cast<int>(k.fault)));
    // No size to hold the endless sender against: only Cancel stops it.
    script.files["190101.csv"] = {std::string(9000, 'x'), -1, "125 Transfer starting.",
                                  "550 SIZE not allowed in ASCII mode."};
    script.faults.clear();
    ConnectScripted();
    for (const QString& n : Local()) QFile::remove(QDir(root_).filePath(n));
    const bool inListing = std::string(k.verb) == "LIST";
    if (!inListing) Write("190101.csv", "older local copy");
    SelectRemote(Remote());
    script.faults[k.verb] = k.fault;
    bool clicked = false, safety = false;
    script.onCommand = [&](const std::string& line) {
      if (line.rfind(k.verb, 0) != 0) return;
      QTimer::singleShot(50, &f, [&] {
        EXPECT_FALSE(f.MoveSelectedCancel->isHidden());
        clicked = true;
        f.MoveSelectedCancel->click();
      });
    };
    QTimer::singleShot(15000, &f, [&] {
      safety = true;
      script.DropAll();
    });
    messages.clear();
    f.MoveSelected->click();
    script.onCommand = nullptr;
    ASSERT_FALSE(safety);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Move selected files ?"});
    EXPECT_EQ(script.files.count("190101.csv"), std::string(k.verb) == "LIST" ? 0u : 1u);
    if (!inListing) {
      EXPECT_EQ(Read(Path("190101.csv")),
                std::string(k.verb) == "DELE" ? std::string(9000, 'x') : "older local copy");
      EXPECT_EQ(QDir(root_).entryList(QDir::Files | QDir::Hidden), QStringList({"190101.csv"}));
    }
    EXPECT_FALSE(f.FTPBusy);
    EXPECT_FALSE(f.CancelRequested);
    EXPECT_FALSE(platform::BusyCursor());
    EXPECT_TRUE(f.MoveSelectedCancel->isHidden());
    EXPECT_EQ(f.FTPClient1->Connected(), k.kept);
    if (!k.kept) {
      EXPECT_TRUE(testsupport::WaitUntil([&] { return !f.FTPConnected; }, 5000));
      EXPECT_TRUE(f.ConnectBtn->isEnabled());
    } else {
      f.DisConnectBtnClick();
    }
  }
}

// Exit ends the program whatever the client waits for: the login, the listing of Connect,
// the data of a transfer; nothing is told, the local copy stays.
TEST_F(ScriptedTransfersTest, ExitEndsTheProgramWhateverTheClientWaitsFor) {
  using Fault = testsupport::ScriptedFtpServer::Fault;
  const struct {
    const char* verb;
    Fault fault;
  } cases[] = {{"PASS", Fault::Stall}, {"LIST", Fault::NoConnect}, {"RETR", Fault::StallData}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.verb);
    form.reset();
    monitor::TForm1& f = Form();
    f.HostTxt->setText(QStringLiteral("127.0.0.1"));
    f.PortTxt->setText(QString::number(script.Port()));
    script.files["190101.csv"] = {std::string(9000, 'x')};
    script.faults.clear();
    const bool transfer = std::string(k.verb) == "RETR";
    if (transfer) {
      f.ConnectBtn->click();
      ASSERT_TRUE(f.FTPConnected);
    }
    Write("190101.csv", "older local copy");
    script.faults[k.verb] = k.fault;
    bool exited = false, safety = false;
    script.onCommand = [&](const std::string& line) {
      if (line.rfind(k.verb, 0) != 0) return;
      QTimer::singleShot(50, &f, [&] {
        exited = true;
        f.ExitBtnClick();
        QCoreApplication::quit();  // as closing the last window does
      });
    };
    QTimer safetyTimer;
    safetyTimer.setSingleShot(true);
    QObject::connect(&safetyTimer, &QTimer::timeout, [&] {
      safety = true;
      script.DropAll();
    });
    safetyTimer.start(15000);
    messages.clear();
    QTimer::singleShot(0, &f, [&] { transfer ? f.CopyAll->click() : f.ConnectBtn->click(); });
    QCoreApplication::exec();
    script.onCommand = nullptr;
    EXPECT_FALSE(safety);
    EXPECT_TRUE(exited);
    EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
    EXPECT_FALSE(f.FTPBusy);
    EXPECT_EQ(Read(Path("190101.csv")), "older local copy");
  }
}

}  // namespace
}  // namespace monitor_test
