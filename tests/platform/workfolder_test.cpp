// The start in the working folder as both programs' main blocks do it: the user's home
// folder from HOME, only with the option, and a warning that names the folder and the reason.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "platform/messagebox.h"
#include "platform/workfolder.h"
#include "support/scopedenv.h"

namespace {

class WorkFolderStart : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    started_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(home_.path()));
    platform::SetMessageHook([this](const platform::MessageRequest& r) {
      messages_.push_back(r);
      return platform::Answer::Ok;
    });
  }
  void TearDown() override {
    platform::SetMessageHook({});
    QDir::setCurrent(started_);
  }
  QTemporaryDir home_;
  QString started_;
  std::vector<platform::MessageRequest> messages_;
};

TEST_F(WorkFolderStart, TheOptionMovesIntoTK5063InTheHomeFolderAndNothingElseDoes) {
  testsupport::ScopedEnv home("HOME", home_.path().toUtf8());
  const char* plain[] = {"Fernlog", "-platform", "offscreen"};
  platform::EnterWorkFolderWhenAsked(3, plain);
  EXPECT_EQ(QDir::currentPath(), home_.path());
  EXPECT_FALSE(QDir(home_.path() + "/TK5063").exists());

  const char* menu[] = {"Fernlog", "--work-folder"};
  platform::EnterWorkFolderWhenAsked(2, menu);
  EXPECT_EQ(QDir::currentPath(), home_.path() + "/TK5063");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(WorkFolderStart, AFolderThatCannotBeMadeIsToldAndTheStartFolderKept) {
  testsupport::ScopedEnv home("HOME", home_.path().toUtf8());
  QFile inTheWay(home_.path() + "/TK5063");
  ASSERT_TRUE(inTheWay.open(QIODevice::WriteOnly));
  inTheWay.write("mine");
  inTheWay.close();

  const char* menu[] = {"TK5063SM", "--work-folder"};
  platform::EnterWorkFolderWhenAsked(2, menu);
  EXPECT_EQ(QDir::currentPath(), home_.path());
  ASSERT_EQ(messages_.size(), 1u);
  const std::string path = home_.path().toStdString();
  EXPECT_EQ(messages_[0].text, "Could not use the working folder " + path +
                                   "/TK5063: a file of that name is in the way.\r\n"
                                   "The program works in " +
                                   path + " instead.");
  EXPECT_EQ(messages_[0].icon, platform::Icon::Warning);
  EXPECT_EQ(messages_[0].caption, "");  // the application title
  ASSERT_TRUE(inTheWay.open(QIODevice::ReadOnly));
  EXPECT_EQ(inTheWay.readAll(), "mine");
}

}  // namespace
