// The start-up's Connect of a shown window: it waits until the window has been painted,
// then runs once, with the account restored from csv.cfg.
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <fstream>
#include <string>
#include <vector>

#include "form_fixture.h"
#include "monitor/core/csvconfig.h"
#include "monitor/ftpclient.h"
#include "support/ftp_server.h"
#include "support/pty.h"

namespace monitor_test {
namespace {

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

class StartupConnectTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    ASSERT_TRUE(serverRoot_.isValid());
    std::ofstream(serverRoot_.path().toStdString() + "/181010.csv") << "1,2";
    const int port = server.Start("u7", "secret", serverRoot_.path().toStdString());
    monitor::TCSVConfig rec;
    rec.Host.set("127.0.0.1");
    rec.UserID.set("u7");
    rec.Password.set("secret");
    ASSERT_TRUE(monitor::SaveCSVConfig(Path("csv.cfg"), rec));
    Form().PortTxt->setText(QString::number(port));
  }
  void TearDown() override {
    FormTest::TearDown();
    server.Stop();
  }

  // The status texts of the window's FTP client, each with the window's paint count then.
  void WatchClientStatus(const PaintCounter& counter) {
    auto* client = Form().FTPClient1;
    auto original = client->OnStatus;
    client->OnStatus = [this, &counter, original](const std::string& text) {
      statuses.push_back({text, counter.paints});
      if (original) original(text);
    };
  }

  struct Status {
    std::string text;
    int paintsBefore;
  };
  std::vector<Status> statuses;
  QTemporaryDir serverRoot_;
  testsupport::FtpServer server;
};

TEST_F(StartupConnectTest, TheShownWindowConnectsOnceAfterItHasBeenPainted) {
  auto& f = Form();
  PaintCounter counter(&f);
  WatchClientStatus(counter);
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

}  // namespace
}  // namespace monitor_test
