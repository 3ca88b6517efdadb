// The local working folder: folder lists in step, file lists, their menus, MkDir and the
// text editor.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "form_fixture.h"
#include "monitor/folderlists.h"
#include "support/scopedenv.h"

namespace monitor_test {
namespace {

using platform::Answer;

QStringList Folders(const monitor::DirectoryListBox* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text().trimmed();
  return out;
}

void Select(monitor::FileListBox* list, const QStringList& names) {
  list->clearSelection();
  for (int i = 0; i < list->count(); ++i)
    if (names.contains(list->item(i)->text())) {
      list->item(i)->setSelected(true);
      list->setCurrentItem(list->item(i), QItemSelectionModel::Select);
    }
}

TEST_F(FormTest, FolderListsFollowEachOtherAndMoveTheCurrentFolder) {
  ASSERT_TRUE(QDir(root_).mkpath("sub/deeper"));
  Write("sub/-090301-090302.csv", "m");
  Write("sub/090301.csv", "d");
  auto& f = Form();
  const QString sub = root_ + "/sub";

  ASSERT_TRUE(f.DirectoryListBox1->SetDirectory(sub));
  EXPECT_EQ(f.DirectoryListBoxPC->Directory(), sub);
  EXPECT_EQ(f.DirectoryListBox2->Directory(), sub);
  EXPECT_EQ(QDir::currentPath(), sub);
  EXPECT_EQ(f.FileListBox8->Names(), QStringList{"-090301-090302.csv"});
  EXPECT_EQ(f.FileListBoxPC->Names(), (QStringList{"-090301-090302.csv", "090301.csv"}));
  EXPECT_TRUE(Folders(f.DirectoryListBoxPC).contains("deeper"));

  // And back from the transfer page's list.
  ASSERT_TRUE(f.DirectoryListBoxPC->SetDirectory(root_));
  EXPECT_EQ(f.DirectoryListBox1->Directory(), root_);
  EXPECT_EQ(f.DirectoryListBox2->Directory(), root_);
  EXPECT_EQ(QDir::currentPath(), root_);
  EXPECT_TRUE(f.FileListBox8->Names().isEmpty());
  EXPECT_EQ(f.LocalDir->text(), root_);

  // A drive choice moves the folder list to that root.
  const int rootIndex = f.DriveComboBox1->findText("/");
  ASSERT_GE(rootIndex, 0);
  f.DriveComboBox1->setCurrentIndex(rootIndex);
  emit f.DriveComboBox1->activated(rootIndex);
  EXPECT_EQ(f.DirectoryListBoxPC->Directory(), "/");
  QDir::setCurrent(root_);
}

TEST_F(FormTest, FileListsShowTheirMaskInNameOrderWithoutRegardToCase) {
  for (const char* n : {"b.csv", "a.csv", "C.csv", "-m.csv", "x.txt", "d.csvx", "e.CSV"})
    Write(n, "x");
  ASSERT_TRUE(QDir(root_).mkdir("dir.csv"));  // folders are not files
  auto& f = Form();
  const QStringList daily{"-m.csv", "a.csv", "b.csv", "C.csv", "e.CSV"};
  EXPECT_EQ(f.FileListBox1->Names(), daily);
  EXPECT_EQ(f.FileListBoxPC->Names(), daily);
  EXPECT_EQ(f.FileListBox8->Names(), QStringList{"-m.csv"});
  EXPECT_EQ(f.FileListBox1->Mask(), "*.csv");
  EXPECT_EQ(f.FileListBox8->Mask(), "-*.csv");

  struct Case {
    const char* mask;
    const char* name;
    bool match;
  } cases[] = {
      {"*.csv", "261201.csv", true},
      {"*.csv", "261201.csv.bak", false},
      {"-*.csv", "261201.csv", false},
      {"-*.csv", "-261201-261202.csv", true},
      {"261201*.csv", "261201a.csv", true},
      {"261201*.csv", "2612011.txt", false},
      {"*.*", "noext", true},
      {"?.csv", "ab.csv", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(monitor::FileListBox::Matches(c.mask, c.name), c.match) << c.mask << " " << c.name;
}

TEST_F(FormTest, MkDirAddsTheFolderWithoutMovingTheWorkingFolder) {
  auto& f = Form();
  f.MakeDirPC->setText("new");
  f.MkDirPC->click();
  EXPECT_TRUE(QFileInfo(QString::fromStdString(Path("new"))).isDir());
  EXPECT_TRUE(Folders(f.DirectoryListBoxPC).contains("new"));
  EXPECT_EQ(QDir::currentPath(), root_);
  EXPECT_TRUE(messages.empty());

  f.MakeDirPC->setText("new");  // exists already
  f.MkDirPC->click();
  f.MakeDirPC->setText("");
  f.MkDirPC->click();
  f.MakeDirPC->setText(" lead");
  f.MkDirPC->click();
  ASSERT_EQ(Texts(), (std::vector<std::string>{"Cannot create directory", "Name incorrect",
                                               "Name incorrect"}));
  EXPECT_EQ(messages[0].icon, platform::Icon::Warning);
  EXPECT_FALSE(Exists(" lead"));

  // Dots alone are a name in their own right.
  messages.clear();
  f.MakeDirPC->setText("...");
  f.MkDirPC->click();
  EXPECT_TRUE(QFileInfo(QString::fromStdString(Path("..."))).isDir());
  EXPECT_TRUE(messages.empty());
}

TEST_F(FormTest, MkDirRefusesPathsAndDotNamesAndStaysInTheWorkingFolder) {
  // The working folder one level down, so that a step out of it would land in root_.
  ASSERT_TRUE(QDir(root_).mkdir("work"));
  ASSERT_TRUE(QDir::setCurrent(root_ + "/work"));
  auto& f = Form();
  const QStringList before = QDir(root_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
  const char* names[] = {"../x_escape",         "..",  ".",   ".. ", ". ", "..\t", "a/b", "new/",
                         "/fernlog-mkdir-test", "./x", "x/.."};
  for (const char* n : names) {
    messages.clear();
    f.MakeDirPC->setText(QString::fromUtf8(n));
    f.MkDirPC->click();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Name incorrect"}) << n;
  }
  EXPECT_TRUE(QDir(root_ + "/work").isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
  EXPECT_EQ(QDir(root_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
  if (QFileInfo::exists("/fernlog-mkdir-test")) {
    QDir("/").rmdir("fernlog-mkdir-test");  // made by a faulty build: gone again
    ADD_FAILURE() << "the folder was made at the root";
  }
  EXPECT_EQ(QDir::currentPath(), root_ + "/work");
  QDir::setCurrent(root_);
}

TEST_F(FormTest, DeleteSelectedAsksOnceAndDeletesOnlyOnYes) {
  for (const char* n : {"1.csv", "2.csv", "3.csv"}) Write(n, "x");
  auto& f = Form();
  Select(f.FileListBoxPC, {"1.csv", "3.csv"});

  answer = Answer::No;
  f.Delete1->trigger();
  EXPECT_EQ(Texts(), std::vector<std::string>{"Delete all selected files ?"});
  EXPECT_EQ(messages[0].icon, platform::Icon::Question);
  EXPECT_EQ(messages[0].buttons, platform::Buttons::YesNoCancel);
  EXPECT_EQ(messages[0].position, QPoint(200, 200));
  EXPECT_TRUE(Exists("1.csv") && Exists("3.csv"));

  messages.clear();
  Select(f.FileListBoxPC, {"1.csv", "3.csv"});
  answer = Answer::Yes;
  f.Delete1->trigger();
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_FALSE(Exists("1.csv"));
  EXPECT_FALSE(Exists("3.csv"));
  EXPECT_TRUE(Exists("2.csv"));
  EXPECT_EQ(f.FileListBoxPC->Names(), QStringList{"2.csv"});
  EXPECT_EQ(f.FileListBox1->Names(), QStringList{"2.csv"});
  EXPECT_EQ(f.LocalFiles1cnt->text(), "1");
  EXPECT_FALSE(platform::BusyCursor());

  messages.clear();
  f.FileListBoxPC->clearSelection();
  f.Delete1->trigger();
  EXPECT_EQ(Texts(), std::vector<std::string>{"No file selected    "});
}

TEST_F(FormTest, DeleteOnAnEmptyListOnlySaysSo) {
  auto& f = Form();
  f.Delete1->trigger();
  EXPECT_EQ(Texts(), std::vector<std::string>{"No files        "});
}

TEST_F(FormTest, DeleteAllOfTheTransferListDeletesEveryListedFile) {
  for (const char* n : {"1.csv", "2.csv", "keep.txt"}) Write(n, "x");
  auto& f = Form();
  answer = Answer::Cancel;
  f.DeleteAll1->trigger();
  EXPECT_TRUE(Exists("1.csv"));
  answer = Answer::Yes;
  f.DeleteAll1->trigger();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Delete all files ?", "Delete all files ?"}));
  EXPECT_FALSE(Exists("1.csv") || Exists("2.csv"));
  EXPECT_TRUE(Exists("keep.txt"));
  EXPECT_EQ(f.FileListBox1->count(), 0);
}

TEST_F(FormTest, DailyListDeleteAllDeletesOnlyTheSelectedFile) {
  for (const char* n : {"261201.csv", "261202.csv", "261203.csv", "-261201-261203.csv"})
    Write(n, "x");
  auto& f = Form();
  Select(f.FileListBox1, {"261202.csv"});
  answer = Answer::Yes;
  f.DeleteAll2->trigger();
  EXPECT_EQ(Texts(), std::vector<std::string>{"Delete selected file ? "});
  EXPECT_FALSE(Exists("261202.csv"));
  EXPECT_TRUE(Exists("261201.csv") && Exists("261203.csv") && Exists("-261201-261203.csv"));
  EXPECT_EQ(f.FileListBoxPC->count(), 3);

  // "Delete" of either CSV-page list takes its selected file, without a question.
  messages.clear();
  Select(f.FileListBox1, {"261203.csv"});
  f.Delete2->trigger();
  EXPECT_FALSE(Exists("261203.csv"));
  EXPECT_EQ(f.FileListBox8->Names(), QStringList{"-261201-261203.csv"});
  Select(f.FileListBox8, {"-261201-261203.csv"});
  f.Delete3->trigger();
  EXPECT_FALSE(Exists("-261201-261203.csv"));
  EXPECT_TRUE(Exists("261201.csv"));
  f.FileListBox1->clearSelection();
  f.Delete2->trigger();  // nothing selected: nothing happens
  EXPECT_TRUE(Exists("261201.csv"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(FormTest, DoubleClickOpensTheSelectedFileInTheTextEditor) {
  auto& f = Form();
  f.FileListBoxPCDblClick();
  Write("261201.csv", "x");
  f.Refresh1->trigger();
  f.FileListBoxPC->setCurrentRow(0, QItemSelectionModel::Clear);
  f.FileListBoxPCDblClick();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"No files        ", "No file selected"}));
  EXPECT_TRUE(opened.empty());

  f.FileListBoxPC->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
  f.FileListBoxPCClick();
  EXPECT_EQ(f.LocalFile->text(), "261201.csv");
  f.FileListBoxPCDblClick();
  EXPECT_EQ(opened, std::vector<std::string>{Path("261201.csv")});

  // A folder named with letters beyond the Western code page reaches the editor intact.
  const QString name = QStringLiteral("M\u011b\u0159en\u00ed \u0141\u00f3d\u017a");
  const QString folder = root_ + "/" + name;
  ASSERT_TRUE(QDir(root_).mkdir(name));
  ASSERT_TRUE(f.DirectoryListBoxPC->SetDirectory(folder));
  Write((name + "/261202.csv").toStdString(), "x");
  f.Refresh1->trigger();
  f.FileListBoxPC->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
  f.FileListBoxPCDblClick();
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(QFile::decodeName(QByteArray::fromStdString(opened[1])), folder + "/261202.csv");
  EXPECT_TRUE(QFile::exists(QFile::decodeName(QByteArray::fromStdString(opened[1]))));
  QDir::setCurrent(root_);
}

TEST_F(FormTest, DoubleClickWhereNoTextEditorStartsSaysSoWithThePath) {
  // A machine with no desktop: no handler query and no opener on the search path.
  platform::SetOpenInTextEditorHook({});
  QTemporaryDir emptyBin;
  ASSERT_TRUE(emptyBin.isValid());
  testsupport::ScopedEnv path("PATH", emptyBin.path().toLocal8Bit());
  Write("261201.csv", "x");
  auto& f = Form();
  f.FileListBoxPC->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
  emit f.FileListBoxPC->itemDoubleClicked(f.FileListBoxPC->item(0));

  ASSERT_EQ(Texts(), std::vector<std::string>{"No text editor could be started for\r\n" +
                                              Path("261201.csv")});
  EXPECT_EQ(messages[0].icon, platform::Icon::Warning);
  EXPECT_EQ(messages[0].buttons, platform::Buttons::Ok);
  EXPECT_TRUE(Exists("261201.csv"));
  EXPECT_EQ(f.FileListBoxPC->Names(), QStringList{"261201.csv"});
}

}  // namespace
}  // namespace monitor_test
