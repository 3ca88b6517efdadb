// The local working folder: the three folder lists kept in step, the file lists' menus,
// making a folder and opening a file in the text editor.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include "monitor/folderlists.h"
#include "monitor/form.h"
#include "monitor/formutil.h"
#include "platform/messagebox.h"
#include "platform/texteditor.h"
#include "platform/widgets.h"

namespace monitor {

namespace {
constexpr int kMaxItemsLooked = 32768;

// The selected item of a one-selection list, or nullptr.
QListWidgetItem* SelectedItem(const QListWidget* list) {
  const auto items = list->selectedItems();
  return items.isEmpty() ? nullptr : items.front();
}
}  // namespace

void TForm1::DirectoryListBoxPCChange() {
  const QString dir = DirectoryListBoxPC->Directory();
  DirectoryListBox1->SetDirectory(dir);
  DirectoryListBox2->SetDirectory(dir);
  LocalDir->setText(dir);
  FileListBoxPC->Update();
}

void TForm1::DirectoryListBox1Change() {
  const QString dir = DirectoryListBox1->Directory();
  DirectoryListBoxPC->SetDirectory(dir);
  DirectoryListBox2->SetDirectory(dir);
  LocalDir->setText(dir);
  FileListBox1->Update();
}

void TForm1::FileListBoxPCClick() {
  if (QListWidgetItem* item = FileListBoxPC->currentItem()) LocalFile->setText(item->text());
}

void TForm1::DeleteLocal(const QString& path) {
  QFile::remove(path);  // a file that can't be deleted stays; the lists show it again
}

void TForm1::WriteLocalCount() { LocalFiles1cnt->setText(QString::number(FileListBoxPC->count())); }

void TForm1::ReReadLocalLists() {
  FileListBoxPC->Update();
  FileListBox1->Update();
  FileListBox8->Update();
}

void TForm1::Delete1Click() {
  if (FileListBoxPC->count() == 0) {
    Tell("No files        ");
    return;
  }
  bool any = false;
  bool asked = false;
  bool go = false;
  const int n = std::min(FileListBoxPC->count(), kMaxItemsLooked);
  for (int i = 0; i < n; ++i) {
    QListWidgetItem* item = FileListBoxPC->item(i);
    if (!item->isSelected() || item->text().isEmpty()) continue;
    any = true;
    if (!asked) {
      asked = true;
      platform::SetBusyCursor(true);
      go = Confirm("Delete all selected files ?");
      if (!go) break;
    }
    DeleteLocal(FileListBoxPC->PathOf(item->text()));
  }
  if (any) {
    FileListBoxPC->Update();
    WriteLocalCount();
    FileListBox1->Update();
    FileListBox8->Update();
  } else {
    Tell("No file selected    ");
  }
  platform::SetBusyCursor(false);
}

void TForm1::DeleteAll1Click() {
  if (!Confirm("Delete all files ?")) return;
  for (const QString& name : FileListBoxPC->Names()) DeleteLocal(FileListBoxPC->PathOf(name));
  ReReadLocalLists();
}

void TForm1::Refresh1Click() { FileListBoxPC->Update(); }

void TForm1::Delete2Click() {
  QListWidgetItem* item = SelectedItem(FileListBox1);
  if (!item) return;
  DeleteLocal(FileListBox1->PathOf(item->text()));
  ReReadLocalLists();
}

// The question asks about the selected file, so the selected file is what goes.
void TForm1::DeleteAll2Click() {
  if (!Confirm("Delete selected file ? ")) return;
  if (QListWidgetItem* item = SelectedItem(FileListBox1))
    DeleteLocal(FileListBox1->PathOf(item->text()));
  ReReadLocalLists();
}

void TForm1::Refresh2Click() {
  FileListBox1->Update();
  FileListBox8->Update();
  FileListBoxPC->Update();
}

void TForm1::Delete3Click() {
  QListWidgetItem* item = SelectedItem(FileListBox8);
  if (!item) return;
  DeleteLocal(FileListBox8->PathOf(item->text()));
  ReReadLocalLists();
}

void TForm1::Refresh3Click() { Refresh2Click(); }

void TForm1::FileListBoxPCDblClick() {
  if (FileListBoxPC->count() == 0) {
    Tell("No files        ");
    return;
  }
  QListWidgetItem* item = FileListBoxPC->currentItem();
  if (!item || !item->isSelected()) {
    Tell("No file selected");
    return;
  }
  if (item->text().isEmpty()) return;
  // The path as the file system names it, whatever characters its folders use.
  platform::OpenInTextEditor(QFile::encodeName(FileListBoxPC->PathOf(item->text())).toStdString());
}

void TForm1::MkDirPCClick() {
  const QString name = MakeDirPC->text();
  // One folder name, made in the working folder: no path and no step out of it.
  const QString bare = name.trimmed();
  if (name.isEmpty() || name.front() == QLatin1Char(' ') || bare.contains(QLatin1Char('/')) ||
      bare == QLatin1String(".") || bare == QLatin1String("..")) {
    Tell("Name incorrect");
    return;
  }
  if (!QDir().mkdir(QDir::currentPath() + QLatin1Char('/') + name)) {
    platform::MessageBox("Cannot create directory", "", platform::Icon::Warning,
                         platform::Buttons::Ok);
    return;
  }
  DirectoryListBoxPC->Update();
  DirectoryListBox1->Update();
  WriteLocalCount();
}

}  // namespace monitor
