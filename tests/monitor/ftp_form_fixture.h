#pragma once
// A monitor window (FormTest) and a real FTP server on 127.0.0.1 whose root is a temporary
// folder; the window's account points at the server.
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "form_fixture.h"
#include "support/ftp_server.h"

namespace monitor_test {

// The items of a list, in order.
inline QStringList Items(const QListWidget* list) {
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
  return names;
}

class FtpFormTest : public FormTest {
 protected:
  static constexpr char kUser[] = "5063";
  static constexpr char kPass[] = "secret";

  void SetUp() override {
    FormTest::SetUp();
    ASSERT_TRUE(serverRoot_.isValid());
  }
  void TearDown() override {
    FormTest::TearDown();
    server.Stop();
  }

  std::string ServerPath(const std::string& name) const {
    return serverRoot_.path().toStdString() + "/" + name;
  }
  void Put(const std::string& name, const std::string& bytes = "1;2;3") const {
    std::ofstream(ServerPath(name), std::ios::binary) << bytes;
  }
  void PutDir(const std::string& name) const {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(ServerPath(name))));
  }
  bool OnServer(const std::string& name) const {
    return QFileInfo::exists(QString::fromStdString(ServerPath(name)));
  }

  // Starts the server on the files put so far and points the window's account at it,
  // with the password given.
  void Account(const char* password = kPass) {
    const int port = server.Start(kUser, kPass, serverRoot_.path().toStdString());
    monitor::TForm1& f = Form();
    f.HostTxt->setText(QStringLiteral("127.0.0.1"));
    f.PortTxt->setText(QString::number(port));
    f.UserTxt->setText(QString::fromLatin1(kUser));
    f.PassTxt->setText(QString::fromLatin1(password));
  }
  // Account, then Connect; the messages and commands so far are dropped.
  void Connect() {
    Account();
    Form().ConnectBtn->click();
    ASSERT_TRUE(form->FTPConnected) << ::testing::PrintToString(Texts());
    messages.clear();
    server.ClearCommands();
  }

  testsupport::FtpServer server;
  QTemporaryDir serverRoot_;
};

}  // namespace monitor_test
