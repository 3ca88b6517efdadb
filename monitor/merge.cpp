// Merging the daily files of a range of days into one file, then showing it.
#include <QDateEdit>
#include <QLabel>

#include "monitor/folderlists.h"
#include "monitor/form.h"
#include "platform/messagebox.h"

namespace monitor {

void TForm1::FileOpen(const std::string& name, int& count) { count = MergeLines.FileOpen(name); }

bool TForm1::FileSave(const std::string& name, int count) {
  return MergeLines.FileSave(name, count);
}

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

  MergeSteps steps;
  steps.onDay = [this](const std::string& pattern) {
    FileListBox1->SetMask(QString::fromStdString(pattern));
  };
  steps.open = [this](const std::string& name) {
    int count = 0;
    FileOpen(name, count);
  };
  steps.save = [this](const std::string& name, int count) { return FileSave(name, count); };
  // The current folder, by bare names.
  const MergeOutcome out =
      MergeFolder("", DateTimePicker1->date(), DateTimePicker2->date(), MergeLines, steps);
  if (out.result == MergeOutcome::Result::DifferentMonths)
    platform::MessageBox(kMergeMonthMessage, "");
  else if (out.result == MergeOutcome::Result::NoFiles)
    platform::MessageBox(kMergeNoFilesMessage, "");

  // A merged file that can't be written must not leave an older file of that name to be
  // shown as the merge's result.
  if (out.result == MergeOutcome::Result::NotCreated)
    throw platform::Error("Cannot create file " + out.name);
  if (out.result == MergeOutcome::Result::Written) {
    if (out.truncated) platform::MessageBox(kMergeLimitMessage, "");
    LoadCSVFile(out.name, ',');
    vFileName->setText(QString::fromStdString(out.name));
  }
}

}  // namespace monitor
