// Opening a file in the text editor: the desktop's plain-text handler through its opener,
// or a message box naming the file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "platform/messagebox.h"
#include "platform/texteditor.h"
#include "support/scopedenv.h"

namespace {

using testsupport::ScopedEnv;

class TextEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp_.isValid());
    platform::SetMessageHook([this](const platform::MessageRequest& r) {
      messages.push_back(r);
      return platform::Answer::Ok;
    });
  }
  void TearDown() override {
    platform::SetMessageHook({});
    platform::SetProgramRunner({});
  }
  QString Dir(const QString& sub) const {
    QDir(tmp_.path()).mkpath(sub);
    return tmp_.path() + "/" + sub;
  }
  static void WriteFile(const QString& path, const QByteArray& bytes, bool executable = false) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    if (executable) f.setPermissions(f.permissions() | QFile::ExeOwner);
  }
  static void Open(const QString& path) {
    platform::OpenInTextEditor(QFile::encodeName(path).toStdString());
  }

  QTemporaryDir tmp_;
  std::vector<platform::MessageRequest> messages;
};

// A desktop stand-in made of real programs: the handler query answers an editor's desktop
// file, the opener writes down what it was given. The file's path reaches it as one argument.
TEST_F(TextEditor, TheDesktopsPlainTextHandlerStartsThroughItsOpener) {
  const QString bin = Dir("bin");
  const QString apps = Dir("data/applications");
  const QString log = tmp_.path() + "/launched";
  WriteFile(bin + "/xdg-mime",
            "#!/bin/sh\n[ \"$*\" = 'query default text/plain' ] && echo fake-editor.desktop\n",
            true);
  WriteFile(bin + "/gio", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + log.toUtf8() + "'\n", true);
  WriteFile(apps + "/fake-editor.desktop", "[Desktop Entry]\nType=Application\nExec=true %F\n");
  ScopedEnv path("PATH", bin.toLocal8Bit());
  ScopedEnv dataHome("XDG_DATA_HOME", (tmp_.path() + "/data").toLocal8Bit());
  ScopedEnv dataDirs("XDG_DATA_DIRS", (tmp_.path() + "/none").toLocal8Bit());

  const QString file = Dir("my data") + "/261201 $(x) 'a'.csv";
  Open(file);
  EXPECT_TRUE(messages.empty());
  QFile launched(log);
  ASSERT_TRUE(launched.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(launched.readAll()),
            "launch\n" + apps + "/fake-editor.desktop\n" + file + "\n");
}

TEST_F(TextEditor, WithoutAHandlerOrAnOpenerAMessageNamesTheFile) {
  struct Case {
    const char* name;
    bool queryOk;
    const char* answer;  // what the handler query prints
    bool haveFile;       // the handler's desktop file is installed
    bool gioOk, gtkOk;
    std::vector<std::string> calls;
    bool message;
  } cases[] = {
      {"no handler query", false, "", true, true, true, {"xdg-mime"}, true},
      {"no default application", true, "\n", true, true, true, {"xdg-mime"}, true},
      {"not a desktop file name", true, "../ed.desktop\n", true, true, true, {"xdg-mime"}, true},
      {"an option for a name", true, "-x.desktop\n", true, true, true, {"xdg-mime"}, true},
      {"gio starts it",
       true,
       "ed.desktop\nother\n",
       true,
       true,
       true,
       {"xdg-mime", "gio launch"},
       false},
      {"gio fails, gtk-launch starts it",
       true,
       "ed.desktop\n",
       true,
       false,
       true,
       {"xdg-mime", "gio launch", "gtk-launch ed.desktop"},
       false},
      {"desktop file elsewhere: gtk-launch looks it up",
       true,
       "ed.desktop\n",
       false,
       true,
       true,
       {"xdg-mime", "gtk-launch ed.desktop"},
       false},
      {"neither opener starts it",
       true,
       "ed.desktop\n",
       true,
       false,
       false,
       {"xdg-mime", "gio launch", "gtk-launch ed.desktop"},
       true},
  };
  const QString apps = Dir("data/applications");
  ScopedEnv dataHome("XDG_DATA_HOME", (tmp_.path() + "/data").toLocal8Bit());
  ScopedEnv dataDirs("XDG_DATA_DIRS", (tmp_.path() + "/none").toLocal8Bit());
  const QString file = tmp_.path() + "/261201.csv";
  for (const Case& c : cases) {
    QFile::remove(apps + "/ed.desktop");
    if (c.haveFile) WriteFile(apps + "/ed.desktop", "[Desktop Entry]\nType=Application\nExec=ed\n");
    std::vector<std::string> calls;
    platform::SetProgramRunner(
        [&](const QString& program, const QStringList& args, QByteArray* out) {
          if (program == "xdg-mime") {
            calls.push_back("xdg-mime");
            EXPECT_EQ(args, (QStringList{"query", "default", "text/plain"}));
            if (out) *out = c.answer;
            return c.queryOk;
          }
          EXPECT_EQ(args.last(), file) << c.name;
          if (program == "gio") {
            calls.push_back("gio " + args.front().toStdString());
            EXPECT_EQ(args.at(1), apps + "/ed.desktop") << c.name;
            return c.gioOk;
          }
          calls.push_back(program.toStdString() + " " + args.front().toStdString());
          return c.gtkOk;
        });
    messages.clear();
    Open(file);
    EXPECT_EQ(calls, c.calls) << c.name;
    if (c.message) {
      ASSERT_EQ(messages.size(), 1u) << c.name;
      EXPECT_EQ(messages[0].text, "No text editor could be started for\r\n" + file.toStdString());
      EXPECT_EQ(messages[0].icon, platform::Icon::Warning);
    } else {
      EXPECT_TRUE(messages.empty()) << c.name;
    }
  }
}

}  // namespace
