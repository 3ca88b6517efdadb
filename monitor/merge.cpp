// Merging the daily files of a range of days into one file, then showing it.
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>

#include "monitor/folderlists.h"
#include "monitor/form.h"
#include "platform/messagebox.h"

namespace monitor {

void TForm1::FileOpen(const std::string& name, int& count) { count = MergeLines.FileOpen(name); }

bool TForm1::FileSave(const std::string& name, int count) { return MergeLines.FileSave(name, count); }

void TForm1::MergeButtonClick() {
  // However the merge ends, the daily list shows all daily files again.
  struct Restore {
    TForm1* f;
    ~Restore() {
      f->FileListBox1->SetMask(QStringLiteral("*.csv"));
      f->FileListBox8->Update();
      f->FileListBoxPC->Update();
      f->LocalFiles1cnt->setText(QString::number(f->FileListBoxPC->count()));
    }
  } restore{this};

  MergeLines.Clear();
  const QDate from = DateTimePicker1->date();
  const QDate to = DateTimePicker2->date();
  if (!SameMonth(from, to)) {
    platform::MessageBox(kMergeMonthMessage, "");
  } else {
    const std::string folder = QFile::encodeName(QDir::currentPath()).toStdString();
    bool found = false;
    for (const QDate& day : MergeDays(from, to)) {
      FileListBox1->SetMask(QString::fromStdString(DayPattern(day)));
      for (const std::string& name : FindDayFiles(folder, day)) {
        found = true;
        if (MergeLines.Full()) continue;  // the buffer is full: read no further file
        int count = 0;
        FileOpen(name, count);
      }
    }
    if (!found) platform::MessageBox(kMergeNoFilesMessage, "");
  }

  if (MergeLineCount() > 0) {
    const std::string name = MergedFileName(from, to);
    // A merged file that can't be written must not leave an older file of that name to
    // be shown as the merge's result.
    if (!FileSave(name, MergeLineCount()))
      throw platform::Error("Cannot create file " + name);
    if (MergeLines.Truncated()) platform::MessageBox(kMergeLimitMessage, "");
    LoadCSVFile(name, ',');
    vFileName->setText(QString::fromStdString(name));
  }
}

}  // namespace monitor
