// The window against Debian's vsftpd on 127.0.0.1, the most common FTP server on Linux: its
// listing fills the remote lists, and files are copied and moved byte for byte.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "ftp_form_fixture.h"
#include "monitor/folderlists.h"
#include "support/vsftpd_server.h"

namespace monitor_test {
namespace {

using platform::Answer;

class VsftpdTest : public FormTest {
 protected:
  void SetUp() override {
    if (!testsupport::VsftpdServer::Available()) GTEST_SKIP() << "vsftpd is not installed";
    FormTest::SetUp();
    ASSERT_TRUE(serverRoot_.isValid());
  }
  std::string ServerPath(const std::string& name) const {
    return serverRoot_.path().toStdString() + "/" + name;
  }
  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(ServerPath(name), std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void Connect() {
    const int port = server.Start(serverRoot_.path().toStdString());
    monitor::TForm1& f = Form();
    f.HostTxt->setText(QStringLiteral("127.0.0.1"));
    f.PortTxt->setText(QString::number(port));
    f.UserTxt->setText(QStringLiteral("anonymous"));
    f.PassTxt->setText(QStringLiteral("fernlog@"));
    f.ConnectBtn->click();
    ASSERT_TRUE(f.FTPConnected) << ::testing::PrintToString(Texts());
  }

  QTemporaryDir serverRoot_;
  testsupport::VsftpdServer server;
};

// A day's file of some size, in the logger's CSV lines with CR LF ends.
std::string Day(int n) {
  std::string body;
  for (int i = 0; i < 50 + n * 37; ++i)
    body += "19010" + std::to_string(n) + ",08:00," + std::to_string(i) + ",1.5\r\n";
  return body;
}

TEST_F(VsftpdTest, ListsCopiesAndMovesTheLoggersFiles) {
  Put("190101.csv", Day(1));
  Put("190102.csv", Day(2));
  Put("-190101-190131.csv", Day(3));
  Put("notes.txt", "not listed");
  Put("README.CSV", "not listed");
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(ServerPath("2019"))));
  Connect();
  monitor::TForm1& f = Form();
  EXPECT_EQ(Items(f.FileListBoxFTP),
            QStringList({"-190101-190131.csv", "190101.csv", "190102.csv"}));
  EXPECT_EQ(Items(f.FileListBoxFTPdir), QStringList({"2019"}));

  f.CopyAll->click();
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
  EXPECT_EQ(Read(Path("190101.csv")), Day(1));
  EXPECT_EQ(Read(Path("190102.csv")), Day(2));
  EXPECT_EQ(Read(Path("-190101-190131.csv")), Day(3));
  EXPECT_EQ(Items(f.FileListBoxPC),
            QStringList({"-190101-190131.csv", "190101.csv", "190102.csv"}));

  // Move the daily files; the merged one stays.
  for (int i = 0; i < f.FileListBoxFTP->count(); ++i)
    f.FileListBoxFTP->item(i)->setSelected(
        f.FileListBoxFTP->item(i)->text().startsWith(QLatin1Char('1')));
  answer = Answer::Yes;
  f.MoveSelected->click();
  EXPECT_EQ(Texts(), std::vector<std::string>{"Move selected files ?"});
  EXPECT_FALSE(QFile::exists(QString::fromStdString(ServerPath("190101.csv"))));
  EXPECT_FALSE(QFile::exists(QString::fromStdString(ServerPath("190102.csv"))));
  EXPECT_EQ(Read(Path("190102.csv")), Day(2));
  EXPECT_EQ(Items(f.FileListBoxFTP), QStringList({"-190101-190131.csv"}));
  EXPECT_EQ(f.RemoteFiles1cnt->text(), QStringLiteral("1"));
}

}  // namespace
}  // namespace monitor_test
