// The window's FTP session against a real server on 127.0.0.1: connect and disconnect, the
// connection state, the remote lists, remote folders, remote deleting, the status texts and
// the check for a dropped connection.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QPushButton>

#include "ftp_form_fixture.h"
#include "monitor/ftpclient.h"
#include "support/pty.h"
#include "support/scripted_ftp.h"
#include "platform/widgets.h"

namespace monitor_test {
namespace {

using platform::Answer;

// A listing line with `name` from character 56 on.
std::string Line(char kind, const std::string& name) {
  return std::string(1, kind) + "rw-r--r--   1 owner    group        1234 Dec 10 13:57 " + name;
}

class FtpSessionTest : public FtpFormTest {
 protected:
  // The connection state as both status fields show it ("" when they differ).
  std::string State() const {
    const monitor::TForm1& f = *form;
    const QColor a = f.cSTATUS->palette().color(QPalette::Base);
    const QColor b = f.StatusLine->palette().color(QPalette::Base);
    if (f.cSTATUS->text() != f.StatusLine->text() || a != b) return "";
    return f.cSTATUS->text().toStdString() + " " + a.name().toStdString();
  }
};

// ---- the listing parse ------------------------------------------------------------------

TEST_F(FtpSessionTest, ListingLinesFillTheSortedListsAndTheMemo) {
  monitor::TForm1& f = Form();
  for (const std::string& line :
       {Line('-', "b.csv"), Line('d', "2019"), Line('-', "a.csv.bak"), Line('-', "A.CSV"),
        Line('-', "a.txt"), Line('-', "csvdata"), Line('-', "a.csv"), Line('-', "B0.csv"),
        Line('d', " 2018  zz"), Line('d', "Archive"), std::string("total 7"), std::string(),
        Line('d', "x.csv")})
    f.FTPClient1ListItem(line);
  f.FTPClient1TransactionStop();  // the listing's end shows what it listed
  EXPECT_EQ(Items(f.FileListBoxFTP),
            QStringList({"a.csv", "a.csv.bak", "b.csv", "B0.csv", "csvdata"}));
  EXPECT_EQ(Items(f.FileListBoxFTPdir), QStringList({" 2018  zz", "2019", "Archive", "x.csv"}));
  // Every non-empty line shows in the memo as received, short ones included.
  EXPECT_EQ(f.Memo1->blockCount(), 12);
  EXPECT_EQ(f.Memo1->document()->findBlockByNumber(10).text().toStdString(), "total 7");
}

// ---- connect and disconnect ---------------------------------------------------------------

TEST_F(FtpSessionTest, ConnectLogsInListsTheRootAndShowsTheConnection) {
  for (const char* n : {"190102.csv", "181010.csv", "notes.txt"}) Put(n);
  PutDir("2019");
  Account();
  monitor::TForm1& f = Form();
  f.sDirectory->setText("old");
  f.ConnectBtn->click();

  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
  EXPECT_TRUE(f.FTPConnected);
  EXPECT_EQ(State(), "FTP Connected #eeffee");
  EXPECT_EQ(Items(f.FileListBoxFTP), QStringList({"181010.csv", "190102.csv"}));
  EXPECT_EQ(Items(f.FileListBoxFTPdir), QStringList({"2019"}));
  EXPECT_EQ(f.Memo1->blockCount(), 4);
  EXPECT_FALSE(f.ConnectBtn->isEnabled());
  for (QPushButton* b : {f.DisConnectBtn, f.RefreshBtn, f.CopyAll, f.MoveAll, f.CopySelected,
                         f.MoveSelected, f.CopyFromDate})
    EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
  EXPECT_TRUE(f.CopyAllCancel->isHidden());
  EXPECT_EQ(f.StatusText(), "List success");
  const auto sent = server.Commands();
  const std::vector<std::string> verbs = {"USER 5063", "PASS secret", "CWD ..", "SYST"};
  ASSERT_GE(sent.size(), verbs.size() + 2);
  EXPECT_EQ(std::vector<std::string>(sent.begin(), sent.begin() + 4), verbs);
  EXPECT_EQ(sent.back(), "LIST");

  // A second Connect while connected does nothing.
  server.ClearCommands();
  f.ConnectBtnClick();
  EXPECT_TRUE(server.Commands().empty());
}

TEST_F(FtpSessionTest, ARefusedLoginSaysSoAndLeavesTheWindowUsable) {
  Account("wrong");
  monitor::TForm1& f = Form();
  f.ConnectBtn->click();
  EXPECT_EQ(Texts(), std::vector<std::string>{"Connection Failed            "});
  EXPECT_FALSE(f.FTPConnected);
  EXPECT_EQ(State(), "FTP Disconnected #ffffee");
  for (QPushButton* b : {f.ExitBtn, f.ExitButton, f.ConnectBtn, f.DisConnectBtn, f.CopyAll})
    EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
  EXPECT_EQ(f.FileListBoxFTP->count(), 0);
}

TEST_F(FtpSessionTest, ConnectToAHostThatDoesNotResolve) {
  monitor::TForm1& f = Form();
  f.HostTxt->setText("nohost.invalid");
  f.ConnectBtn->click();
  EXPECT_EQ(Texts(), std::vector<std::string>{"Invalid Host"});
  EXPECT_FALSE(f.FTPConnected);
  EXPECT_EQ(State(), "FTP Disconnected #ffffee");
}

TEST_F(FtpSessionTest, APortThatIsNoNumberStopsConnectBeforeItLocksTheWindow) {
  for (bool proxy : {false, true}) {
    messages.clear();
    monitor::TForm1& f = Form();
    f.CheckBox1->setChecked(proxy);
    (proxy ? f.ProxyPort : f.PortTxt)->setText("2l");
    f.ConnectBtn->click();
    ASSERT_EQ(Texts(), std::vector<std::string>{"'2l' is not a valid integer value."}) << proxy;
    EXPECT_EQ(messages[0].icon, platform::Icon::Stop);
    EXPECT_TRUE(f.ConnectBtn->isEnabled());
    f.PortTxt->setText("21");
  }
}

TEST_F(FtpSessionTest, DisconnectSaysQuitAndEmptiesTheRemoteLists) {
  Put("181010.csv");
  Connect();
  monitor::TForm1& f = Form();
  f.DisConnectBtn->click();
  EXPECT_EQ(server.Commands("QUIT").size(), 1u);
  EXPECT_FALSE(f.FTPConnected);
  EXPECT_EQ(State(), "FTP Disconnected #ffffee");
  EXPECT_EQ(f.StatusText(), "FTP Disconnected");
  EXPECT_EQ(f.FileListBoxFTP->count() + f.FileListBoxFTPdir->count(), 0);
  EXPECT_TRUE(f.Memo1->toPlainText().isEmpty());
  EXPECT_TRUE(f.ConnectBtn->isEnabled());
  for (QPushButton* b : {f.DisConnectBtn, f.RefreshBtn, f.CopyAll, f.CopyFromDate})
    EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
  // Connect works again after it.
  f.ConnectBtn->click();
  EXPECT_TRUE(f.FTPConnected);
  EXPECT_EQ(Items(f.FileListBoxFTP), QStringList({"181010.csv"}));
}

TEST_F(FtpSessionTest, ADroppedConnectionIsNoticedByTheTimer) {
  Put("181010.csv");
  Connect();
  monitor::TForm1& f = Form();
  server.DropClients();
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !f.FTPConnected; }, 5000));
  EXPECT_EQ(State(), "FTP Disconnected #ffffee");
  EXPECT_EQ(f.FileListBoxFTP->count(), 0);
  EXPECT_TRUE(f.ConnectBtn->isEnabled());
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
}

// ---- remote folders ------------------------------------------------------------------------

TEST_F(FtpSessionTest, FoldersAreEnteredFromTheRootAndLeftByTheFolderEdit) {
  PutDir("2019/inner");
  Put("2019/190101.csv");
  Put("181010.csv");
  Connect();
  monitor::TForm1& f = Form();
  f.FileListBoxFTPdir->setCurrentRow(0);
  f.FileListBoxFTPdirDblClick();
  EXPECT_EQ(f.sDirectory->text(), "2019");
  EXPECT_EQ(Items(f.FileListBoxFTP), QStringList({"190101.csv"}));
  EXPECT_EQ(Items(f.FileListBoxFTPdir), QStringList({"inner"}));
  EXPECT_EQ(f.RemoteFiles1cnt->text(), "1");
  EXPECT_EQ(server.Commands("CWD"), (std::vector<std::string>{"CWD /", "CWD 2019"}));

  // "inner" is looked up at the root, which has no such folder: the server refuses.
  f.FileListBoxFTPdir->setCurrentRow(0);
  emit f.FileListBoxFTPdir->itemDoubleClicked(f.FileListBoxFTPdir->item(0));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.substr(0, 4), "550 ");
  EXPECT_EQ(f.StatusText(), "ChangeDir failure");
  EXPECT_FALSE(f.FTPBusy);
  for (QPushButton* b : {f.ExitBtn, f.ExitButton, f.RefreshBtn, f.DisConnectBtn})
    EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();

  // The folder edit's double click goes up.
  messages.clear();
  server.ClearCommands();
  f.sDirectoryDblClick();
  EXPECT_EQ(server.Commands("CWD"), std::vector<std::string>{"CWD .."});
  EXPECT_EQ(f.sDirectory->text(), "*.*");
  EXPECT_EQ(Items(f.FileListBoxFTP), QStringList({"181010.csv"}));
  EXPECT_EQ(Items(f.FileListBoxFTPdir), QStringList({"2019"}));
}

TEST_F(FtpSessionTest, FolderDoubleClicksSendNothingWithoutAFolderOrWhileBusy) {
  PutDir("2019");
  Connect();
  monitor::TForm1& f = Form();
  f.FileListBoxFTPdir->setCurrentItem(nullptr);
  f.FileListBoxFTPdirDblClick();
  f.FTPBusy = true;
  f.FileListBoxFTPdir->setCurrentRow(0);
  f.FileListBoxFTPdirDblClick();
  f.sDirectoryDblClick();
  EXPECT_TRUE(server.Commands().empty());
  EXPECT_EQ(Items(f.FileListBoxFTPdir), QStringList({"2019"}));
  EXPECT_EQ(f.sDirectory->text(), "*.*");
  f.FTPBusy = false;
}

TEST_F(FtpSessionTest, RefreshListsTheParentAgain) {
  PutDir("2019");
  Put("2019/190101.csv");
  Connect();
  monitor::TForm1& f = Form();
  f.FileListBoxFTPdir->setCurrentRow(0);
  f.FileListBoxFTPdirDblClick();
  Put("181010.csv");
  server.ClearCommands();
  f.RefreshBtn->click();
  EXPECT_EQ(f.sDirectory->text(), "*.*");
  EXPECT_EQ(server.Commands("CWD"), std::vector<std::string>{"CWD .."});
  EXPECT_EQ(Items(f.FileListBoxFTP), QStringList({"181010.csv"}));
  EXPECT_FALSE(f.FTPBusy);
  for (QPushButton* b : {f.RefreshBtn, f.ExitBtn, f.ExitButton, f.CopyAll, f.CopyFromDate})
    EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
}

TEST_F(FtpSessionTest, MakeRenameAndDeleteRemoteFolders) {
  Connect();
  monitor::TForm1& f = Form();
  f.MakeDirFTP->setText("logs");
  f.MkDirFTPbtn->click();
  EXPECT_TRUE(OnServer("logs"));
  EXPECT_EQ(Items(f.FileListBoxFTPdir), QStringList({"logs"}));

  f.sDirectory->setText("logs");
  f.MakeDirFTP->setText("old");
  f.RenameDirFTPbtn->click();
  EXPECT_TRUE(OnServer("old"));
  EXPECT_EQ(Items(f.FileListBoxFTPdir), QStringList({"old"}));

  // Deleting a folder needs the unlock box.
  f.sDirectory->setText("old");
  f.DeleteFTPdirClick();
  EXPECT_TRUE(OnServer("old"));
  f.DeleteAllFTPButtonEnable->setChecked(true);
  f.MenuItem3->trigger();
  EXPECT_FALSE(OnServer("old"));
  EXPECT_EQ(f.FileListBoxFTPdir->count(), 0);
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());

  // A failure reply: the status says so and the error box shows the server's reply.
  f.MakeDirFTP->setText("x");
  f.MkDirFTPbtn->click();
  f.MkDirFTPbtn->click();
  EXPECT_EQ(f.StatusText(), "MakeDir failure");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.substr(0, 4), "550 ");
}

TEST_F(FtpSessionTest, RemoteFolderCommandsCheckTheirNames) {
  Connect();
  monitor::TForm1& f = Form();
  f.DeleteAllFTPButtonEnable->setChecked(true);
  for (const char* dir : {"", " x", "*.*", "..", "."}) {
    messages.clear();
    f.sDirectory->setText(dir);
    f.DeleteFTPdirClick();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Directory not selected "}) << dir;
  }
  for (const char* name : {"", " x"}) {
    messages.clear();
    f.MakeDirFTP->setText(name);
    f.MkDirFTPbtnClick();
    f.RenameDirFTPbtnClick();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Name incorrect", "Name incorrect"})) << name;
  }
  EXPECT_TRUE(server.Commands().empty());
}

TEST_F(FtpSessionTest, WithoutAConnectionRemoteCommandsSendNothing) {
  Put("181010.csv");
  Connect();
  monitor::TForm1& f = Form();
  f.DeleteAllFTPButtonEnable->setChecked(true);
  f.FileListBoxFTP->setCurrentRow(0);
  f.sDirectory->setText("logs");
  f.MakeDirFTP->setText("logs");
  f.DisConnectBtnClick();
  f.FileListBoxFTP->addItem("181010.csv");
  f.FileListBoxFTP->setCurrentRow(0);
  messages.clear();
  answer = Answer::Yes;
  f.MenuItem1Click();
  f.DeleteAllFTPClick();
  EXPECT_TRUE(messages.empty());  // the file deletes stay silent
  f.MkDirFTPbtnClick();
  f.RenameDirFTPbtnClick();
  f.DeleteFTPdirClick();
  EXPECT_EQ(Texts(), std::vector<std::string>(3, "No FTP connection. Please connect again"));
  EXPECT_EQ(server.Commands().size(), 1u);  // the QUIT of the disconnect
  EXPECT_TRUE(OnServer("181010.csv"));
}

// ---- remote files ----------------------------------------------------------------------------

TEST_F(FtpSessionTest, DeletingRemoteFilesIsUnlockedAndConfirmed) {
  for (const char* n : {"181010.csv", "181011.csv", "181012.csv"}) Put(n);
  Connect();
  monitor::TForm1& f = Form();
  f.FileListBoxFTP->setCurrentRow(1);

  // Locked: the menu items are hidden and do nothing.
  f.DeleteAllFTPButtonEnable->setChecked(true);
  f.DeleteAllFTPButtonEnable->setChecked(false);
  EXPECT_FALSE(f.MenuItem1->isVisible() || f.MenuItem2->isVisible());
  f.MenuItem1Click();
  f.DeleteAllFTPClick();
  EXPECT_TRUE(messages.empty());

  f.DeleteAllFTPButtonEnable->setChecked(true);
  EXPECT_TRUE(f.MenuItem1->isVisible() && f.MenuItem2->isVisible());
  // Only Yes goes on.
  for (Answer a : {Answer::No, Answer::Cancel}) {
    answer = a;
    f.MenuItem1->trigger();
  }
  EXPECT_TRUE(server.Commands().empty());
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, "Delete selected file ? ");
  EXPECT_EQ(messages[0].icon, platform::Icon::Question);
  EXPECT_EQ(messages[0].buttons, platform::Buttons::YesNoCancel);
  EXPECT_EQ(messages[0].position, QPoint(200, 200));

  answer = Answer::Yes;
  f.MenuItem1->trigger();
  EXPECT_EQ(server.Commands("DELE"), std::vector<std::string>{"DELE 181011.csv"});
  EXPECT_EQ(Items(f.FileListBoxFTP), QStringList({"181010.csv", "181012.csv"}));

  server.ClearCommands();
  messages.clear();
  f.MenuItem2->trigger();
  EXPECT_EQ(Texts(), std::vector<std::string>{"Delete all files from server ?"});
  EXPECT_EQ(server.Commands("DELE"),
            (std::vector<std::string>{"DELE 181010.csv", "DELE 181012.csv"}));
  EXPECT_EQ(f.FileListBoxFTP->count(), 0);

  // With nothing listed: no DELE, but listed again.
  server.ClearCommands();
  f.MenuItem2->trigger();
  EXPECT_TRUE(server.Commands("DELE").empty());
  EXPECT_EQ(server.Commands("LIST").size(), 1u);
}

TEST_F(FtpSessionTest, ClickingARemoteFile) {
  monitor::TForm1& f = Form();
  f.FileListBoxFTPClick();
  EXPECT_EQ(Texts(), std::vector<std::string>{"No files        "});
  f.FileListBoxFTP->addItems({"181010.csv", "181011.csv"});
  f.FileListBoxFTP->setCurrentRow(1);
  f.FileListBoxFTPClick();
  EXPECT_EQ(f.sFile->text(), "181011.csv");
  f.FileListBoxFTP->item(1)->setSelected(false);
  f.FileListBoxFTPClick();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"No files        ", "No file selected"}));
  EXPECT_EQ(f.sFile->text(), "181011.csv");
}

TEST_F(FtpSessionTest, StatusTextsOfTheClientsEvents) {
  monitor::TForm1& f = Form();
  const struct {
    std::function<void()> event;
    const char* status;
  } cases[] = {
      {[&] { f.FTPClient1Success(13); }, "NList success"},
      {[&] { f.FTPClient1Success(8); }, "Download success"},
      {[&] {
         bool h = true;
         f.FTPClient1Failure(h, 5);
         EXPECT_FALSE(h);
       },
       "Rename failure"},
      {[&] { f.FTPClient1PacketRecvd(1024, 4096); }, "1024 of 4096"},
      {[&] { f.FTPClient1TransactionStart(); }, "Beginning Data Transfer"},
      {[&] { f.FTPClient1TransactionStop(); }, "Data Transfer Complete"},
      {[&] { f.FTPClient1HostResolved(); }, "Host resolved"},
      {[&] { f.FTPClient1Connect(); }, "FTP Connected"},
  };
  for (const auto& c : cases) {
    c.event();
    EXPECT_EQ(f.StatusText(), c.status);
  }
  f.FTPClient1UnSupportedFunction(14);
  f.FTPClient1Error(10061, "Connection refused");
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{"DoCommand unsupported", "Error 10061: Connection refused"}));
}

// ---- Connect against servers that fail ------------------------------------------------

// Every way Connect can fail ends with one message, the normal cursor and Connect usable.
TEST_F(FtpSessionTest, EveryFailedConnectSaysSoAndLeavesConnectUsable) {
  using Fault = testsupport::ScriptedFtpServer::Fault;
  const int oldTimeOut = monitor::TFTPClient::DefaultTimeOut;
  monitor::TFTPClient::DefaultTimeOut = 300;
  const struct {
    const char* verb;
    Fault fault;
    const char* text;
  } cases[] = {
      {"LIST", Fault::Stall, "No answer from the server (data)."},
      {"LIST", Fault::NoConnect, "No answer from the server (data)."},
      {"CWD", Fault::Stall, "No answer from the server (reply)."},
      {"CWD", Fault::Close, "Connection closed by the server."},
      {"PASS", Fault::Stall, "Connection Failed            "},
      {"", Fault::Stall, "Invalid Host"},
  };
  monitor::TForm1& f = Form();
  for (const auto& k : cases) {
    SCOPED_TRACE(std::string(k.verb) + " " + k.text);
    testsupport::ScriptedFtpServer script;
    script.faults[k.verb] = k.fault;
    f.HostTxt->setText(*k.verb ? QStringLiteral("127.0.0.1") : QStringLiteral("nohost.invalid"));
    f.PortTxt->setText(QString::number(script.Port()));
    messages.clear();
    f.ConnectBtn->click();
    EXPECT_EQ(Texts(), std::vector<std::string>{k.text});
    EXPECT_FALSE(f.FTPConnected);
    EXPECT_EQ(State(), "FTP Disconnected #ffffee");
    EXPECT_TRUE(f.ConnectBtn->isEnabled());
    EXPECT_FALSE(platform::BusyCursor());
  }
  monitor::TFTPClient::DefaultTimeOut = oldTimeOut;
}

// A listing past its bounds ends with one message, at Connect as at Refresh, and leaves
// both usable.
TEST_F(FtpSessionTest, AListingWithoutEndStopsWithOneMessageAndLeavesConnectAndRefresh) {
  using Fault = testsupport::ScriptedFtpServer::Fault;
  testsupport::ScriptedFtpServer script;
  script.faults["LIST"] = Fault::Endless;
  script.endlessChunk = Line('-', "190101.csv") + "\r\n";
  monitor::TForm1& f = Form();
  f.FTPClient1->Listing = {1 << 30, 1000, 4096};
  f.HostTxt->setText(QStringLiteral("127.0.0.1"));
  f.PortTxt->setText(QString::number(script.Port()));
  f.ConnectBtn->click();
  EXPECT_EQ(Texts(), std::vector<std::string>{"Listing stopped: more than 1000 lines."});
  EXPECT_FALSE(f.FTPConnected);
  EXPECT_TRUE(f.ConnectBtn->isEnabled());
  EXPECT_FALSE(platform::BusyCursor());

  messages.clear();
  script.faults.clear();
  script.listing = {Line('-', "190102.csv")};
  f.ConnectBtn->click();
  ASSERT_TRUE(f.FTPConnected) << ::testing::PrintToString(Texts());
  EXPECT_EQ(Items(f.FileListBoxFTP), QStringList({"190102.csv"}));

  script.faults["LIST"] = Fault::Endless;
  script.endlessChunk = std::string(65536, 'x');
  f.RefreshBtn->click();
  EXPECT_EQ(Texts(), std::vector<std::string>{"Listing stopped: a line of more than 4096 bytes."});
  EXPECT_TRUE(f.RefreshBtn->isEnabled());
  EXPECT_FALSE(platform::BusyCursor());
  script.faults.clear();
  f.RefreshBtn->click();
  EXPECT_EQ(Items(f.FileListBoxFTP), QStringList({"190102.csv"}));
  EXPECT_TRUE(f.FTPConnected);
}

}  // namespace
}  // namespace monitor_test
