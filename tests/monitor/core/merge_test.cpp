#include "monitor/core/merge.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "monitor/core/load.h"
#include "platform/messagebox.h"

namespace {

using namespace monitor;
using Result = MergeOutcome::Result;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class MergeFolderTest : public testing::Test {
 protected:
  std::string Path(const std::string& name) const {
    return dir_.filePath(QString::fromStdString(name)).toStdString();
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  bool Exists(const std::string& name) const {
    return QFileInfo::exists(QString::fromStdString(Path(name)));
  }
  MergeOutcome Merge(QDate from, QDate to) {
    return MergeFolder(dir_.path().toStdString(), from, to, buffer_);
  }

  QTemporaryDir dir_;
  MergeBuffer buffer_;
};

// "<tag> line <i>" padded to a record's length.
std::string Line(const std::string& tag, int i) {
  std::string s = tag + " line " + std::to_string(i) + ",";
  s.resize(90, '.');
  return s;
}
std::string Lines(const std::string& tag, int n, const std::string& end) {
  std::string s;
  for (int i = 1; i <= n; ++i) s += Line(tag, i) + end;
  return s;
}

TEST(MergeNames, DigitsPatternsAndRange) {
  EXPECT_EQ(TwoDigits(7), "07");
  EXPECT_EQ(TwoDigits(12), "12");
  EXPECT_EQ(TwoDigits(123), "12");
  EXPECT_EQ(DayDigits(QDate(2009, 3, 5)), "090305");
  EXPECT_EQ(DayDigits(QDate(2099, 12, 31)), "991231");
  EXPECT_EQ(DayDigits(QDate(2105, 1, 2)), "050102");  // outside 2000..2099: year modulo 100
  EXPECT_EQ(DayDigits(QDate(1999, 1, 2)), "990102");
  EXPECT_EQ(DayPattern(QDate(2009, 3, 5)), "090305*.csv");
  EXPECT_EQ(MergedFileName(QDate(2009, 3, 1), QDate(2009, 3, 15)), "-090301-090315.csv");
  EXPECT_EQ(MergedFileName(QDate(2009, 3, 1), QDate(2009, 3, 15)).size(), 18u);

  EXPECT_TRUE(SameMonth(QDate(2009, 3, 1), QDate(2009, 3, 31)));
  EXPECT_FALSE(SameMonth(QDate(2009, 3, 1), QDate(2009, 4, 2)));
  EXPECT_FALSE(SameMonth(QDate(2009, 3, 1), QDate(2010, 3, 1)));
  EXPECT_EQ(MergeDays(QDate(2009, 3, 20), QDate(2009, 3, 10)),
            std::vector<QDate>{QDate(2009, 3, 20)});
  EXPECT_EQ(MergeDays(QDate(2009, 2, 27), QDate(2009, 2, 28)),
            (std::vector<QDate>{QDate(2009, 2, 27), QDate(2009, 2, 28)}));

  struct Case {
    const char* name;
    bool match;
  } cases[] = {{"090305.csv", true},   {"090305a.csv", true},   {"090305b.CSV", true},
               {"0903051.txt", false}, {"0903051.csvx", false}, {"-090305-090306.csv", false},
               {"09030.csv", false},   {"090305csv", false},    {"090306a.csv", false}};
  for (const Case& c : cases) EXPECT_EQ(MatchesDay(c.name, "090305"), c.match) << c.name;
}

TEST_F(MergeFolderTest, JoinsTheDaysFilesLineByLineEndedByCarriageReturns) {
  Write("090305b.csv", Lines("b", 2, "\r\n"));
  Write("090305a.csv", "short\r\n\r\n" + Lines("a", 100, "\r\n"));  // header and blank kept
  Write("0903051.txt", Lines("txt", 3, "\r\n"));
  QDir(QString::fromStdString(Path(""))).mkdir("090305c.csv");  // a folder, not a file
  Write("090306.csv", Lines("six", 1, "\r"));                   // no CR LF: one line
  Write("090307.csv", Lines("seven", 1, ""));                   // no line end at all
  Write("090308.csv", Lines("eight", 1, "\r\n"));               // after To

  std::vector<std::string> patterns;
  MergeSteps steps;
  steps.onDay = [&](const std::string& p) { patterns.push_back(p); };
  const MergeOutcome out =
      MergeFolder(dir_.path().toStdString(), QDate(2009, 3, 5), QDate(2009, 3, 7), buffer_, steps);
  ASSERT_EQ(out.result, Result::Written);
  EXPECT_EQ(out.name, "-090305-090307.csv");
  EXPECT_EQ(out.files,
            (std::vector<std::string>{"090305a.csv", "090305b.csv", "090306.csv", "090307.csv"}));
  EXPECT_EQ(patterns, (std::vector<std::string>{"090305*.csv", "090306*.csv", "090307*.csv"}));
  EXPECT_EQ(out.lines, 106);
  EXPECT_FALSE(out.truncated);
  const std::string want = "short\r\r" + Lines("a", 100, "\r") + Lines("b", 2, "\r") +
                           Lines("six", 1, "\r") + Lines("seven", 1, "\r");
  EXPECT_EQ(ReadAll(Path(out.name)), want);

  // The merged file loads with its lone CRs as line ends; the short lines are skipped.
  const LoadResult r = LoadCSV(ReadFileBytes(Path(out.name)), LoadOptions{});
  EXPECT_EQ(r.records, 104);
  EXPECT_EQ(r.table.cell(1, 1), "a line 1");
}

// As the window runs it: in the current folder by bare names, its reads and the write
// through the caller's steps, each day's mask before that day's files.
TEST_F(MergeFolderTest, TheCallersStepsReadAndWriteTheCurrentFolderByBareNames) {
  Write("090301.csv", Lines("x", 2, "\r\n"));
  Write("090303.csv", Lines("y", 1, "\r\n"));
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir_.path()));
  std::vector<std::string> calls;
  MergeSteps steps;
  steps.onDay = [&](const std::string& p) { calls.push_back("day " + p); };
  steps.open = [&](const std::string& name) {
    calls.push_back("open " + name);
    buffer_.FileOpen(name);
  };
  steps.save = [&](const std::string& name, int count) {
    calls.push_back("save " + name + " " + std::to_string(count));
    return buffer_.FileSave(name, count);
  };
  const MergeOutcome out = MergeFolder("", QDate(2009, 3, 1), QDate(2009, 3, 3), buffer_, steps);
  QDir::setCurrent(before);
  EXPECT_EQ(out.result, Result::Written);
  EXPECT_EQ(calls, (std::vector<std::string>{"day 090301*.csv", "open 090301.csv",
                                             "day 090302*.csv", "day 090303*.csv",
                                             "open 090303.csv", "save -090301-090303.csv 3"}));
  EXPECT_EQ(ReadAll(Path(out.name)), Lines("x", 2, "\r") + Lines("y", 1, "\r"));
}

TEST_F(MergeFolderTest, FromLaterThanToSearchesTheFromDayOnly) {
  Write("090320.csv", Lines("twenty", 2, "\r\n"));
  Write("090315.csv", Lines("fifteen", 2, "\r\n"));
  const MergeOutcome out = Merge(QDate(2009, 3, 20), QDate(2009, 3, 10));
  ASSERT_EQ(out.result, Result::Written);
  EXPECT_EQ(out.name, "-090320-090310.csv");
  EXPECT_EQ(ReadAll(Path(out.name)), Lines("twenty", 2, "\r"));
}

TEST_F(MergeFolderTest, DifferentMonthsNoFilesAndEmptyFilesWriteNothing) {
  Write("090301.csv", Lines("x", 2, "\r\n"));
  EXPECT_EQ(Merge(QDate(2009, 3, 1), QDate(2009, 4, 2)).result, Result::DifferentMonths);
  EXPECT_EQ(Merge(QDate(2009, 3, 1), QDate(2010, 3, 2)).result, Result::DifferentMonths);
  EXPECT_FALSE(Exists("-090301-090402.csv"));
  EXPECT_STREQ(kMergeMonthMessage, "Enable only in one month array");

  EXPECT_EQ(Merge(QDate(2009, 3, 2), QDate(2009, 3, 31)).result, Result::NoFiles);
  EXPECT_STREQ(kMergeNoFilesMessage, "no csv-files in selected period");

  Write("090410.csv", "");
  Write("090411.csv", "\x1a rest after the end mark\r\n");
  const MergeOutcome empty = Merge(QDate(2009, 4, 10), QDate(2009, 4, 11));
  EXPECT_EQ(empty.result, Result::NoLines);
  EXPECT_FALSE(Exists("-090410-090411.csv"));

  EXPECT_EQ(buffer_.FileOpen(Path("missing.csv")), 0);
  EXPECT_EQ(buffer_.LineCount(), 0);
}

TEST_F(MergeFolderTest, MergedFileThatCannotBeCreated) {
  Write("090301.csv", Lines("x", 2, "\r\n"));
  Write("-090301-090302.csv", "older merge\r");
  QDir(QString::fromStdString(Path(""))).mkdir("-090301-090301.csv");
  EXPECT_EQ(Merge(QDate(2009, 3, 1), QDate(2009, 3, 1)).result, Result::NotCreated);
  // A later merge of the same range replaces the older file.
  EXPECT_EQ(Merge(QDate(2009, 3, 1), QDate(2009, 3, 2)).result, Result::Written);
  EXPECT_EQ(ReadAll(Path("-090301-090302.csv")), Lines("x", 2, "\r"));
}

// The merged name can be a link to a daily file of the range: that file is not replaced.
TEST_F(MergeFolderTest, MergedNameLinkedToADailyFileLeavesItAlone) {
  const std::string day = Lines("x", 2, "\r\n");
  Write("090301.csv", day);
  ASSERT_EQ(::symlink("090301.csv", Path("-090301-090301.csv").c_str()), 0);
  EXPECT_EQ(Merge(QDate(2009, 3, 1), QDate(2009, 3, 1)).result, Result::NotCreated);
  EXPECT_EQ(ReadAll(Path("090301.csv")), day);
}

// A daily file that opens but fails to read ends the merge with an error; nothing is written.
TEST_F(MergeFolderTest, ADailyFileThatFailsToReadRaises) {
  Write("090301.csv", Lines("x", 2, "\r\n"));
  // Reading this process's memory at offset 0 fails with an input/output error.
  ASSERT_EQ(::symlink("/proc/self/mem", Path("090302.csv").c_str()), 0);
  EXPECT_THROW(Merge(QDate(2009, 3, 1), QDate(2009, 3, 2)), platform::Error);
  EXPECT_FALSE(Exists("-090301-090302.csv"));
}

TEST_F(MergeFolderTest, StopsAtTheBufferAndKeepsTheFirst16383Lines) {
  Write("090301.csv", Lines("one", 6000, "\r\n"));
  Write("090302.csv", Lines("two", 6000, "\r\n"));
  Write("090303.csv", Lines("three", 6000, "\r\n"));
  Write("090304.csv", Lines("four", 10, "\r\n"));
  const MergeOutcome out = Merge(QDate(2009, 3, 1), QDate(2009, 3, 4));
  ASSERT_EQ(out.result, Result::Written);
  EXPECT_EQ(out.lines, kMergeBufferLines);
  EXPECT_TRUE(out.truncated);
  EXPECT_EQ(out.files, (std::vector<std::string>{"090301.csv", "090302.csv", "090303.csv"}));
  const std::string want =
      Lines("one", 6000, "\r") + Lines("two", 6000, "\r") + Lines("three", 4383, "\r");
  EXPECT_EQ(ReadAll(Path(out.name)), want);

  // Exactly 16383 lines fit without a word.
  Write("090310.csv", Lines("ten", 16383, "\r\n"));
  const MergeOutcome fits = Merge(QDate(2009, 3, 10), QDate(2009, 3, 10));
  EXPECT_FALSE(fits.truncated);
  EXPECT_EQ(ReadAll(Path(fits.name)), Lines("ten", 16383, "\r"));
  // One more, and the last is left out.
  Write("090311.csv", Lines("eleven", 16384, "\r\n"));
  EXPECT_TRUE(Merge(QDate(2009, 3, 11), QDate(2009, 3, 11)).truncated);
  EXPECT_EQ(ReadAll(Path("-090311-090311.csv")), Lines("eleven", 16383, "\r"));
}

TEST_F(MergeFolderTest, SampleDaysMergeIntoTheSampleMergedFile) {
  const std::string samples = TK_SAMPLES_DIR;
  for (const char* day : {"261201.csv", "261202.csv", "261203.csv", "261204.csv"})
    Write(day, ReadAll(samples + "/" + day));
  const MergeOutcome out = Merge(QDate(2026, 12, 1), QDate(2026, 12, 4));
  ASSERT_EQ(out.result, Result::Written);
  EXPECT_EQ(ReadAll(Path(out.name)), ReadAll(samples + "/-261201-261204.csv"));
}

}  // namespace
