#pragma once
// Merging the daily files of a range of days of one month into one file
// "-YYMMDDfrom-YYMMDDto.csv", lines ended by CR alone. The window's MergeButtonClick,
// FileOpen and FileSave are thin over these.
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

#include <QDate>

namespace monitor {

inline constexpr int kMergeBufferLines = 16384;    // lines the buffer holds
inline constexpr int kMergeMaxSavedLines = 16383;  // lines a merged file receives
inline constexpr const char* kMergeMonthMessage = "Enable only in one month array";
inline constexpr const char* kMergeNoFilesMessage = "no csv-files in selected period";
inline constexpr const char* kMergeLimitMessage =
    "Too many lines in the selected period: the merged file holds only the first 16383 "
    "lines";

// Two-digit text of a number: its decimal text cut to two characters, a single
// character with a "0" in front.
std::string TwoDigits(int n);
// YYMMDD of a day (year minus 2000; years outside 2000..2099 take the year modulo 100,
// so the text is always six digits).
std::string DayDigits(const QDate& day);
// "YYMMDD*.csv" of a day.
std::string DayPattern(const QDate& day);
// "-" + YYMMDD of from + "-" + YYMMDD of to + ".csv".
std::string MergedFileName(const QDate& from, const QDate& to);
// From and To lie in the same month of the same year.
bool SameMonth(const QDate& from, const QDate& to);
// The days searched: the From day always, then each next day not later than To.
std::vector<QDate> MergeDays(const QDate& from, const QDate& to);

// True when a file name matches the day's pattern: begins with the six digits and ends
// in ".csv" (letters of the extension in any case).
bool MatchesDay(const std::string& name, const std::string& dayDigits);
// The regular files of `folder` that match the day, sorted by name (bare names).
std::vector<std::string> FindDayFiles(const std::string& folder, const QDate& day);

// The merge's buffer of lines.
class MergeBuffer {
 public:
  MergeBuffer();
  void Clear();
  int LineCount() const { return static_cast<int>(lines_.size()); }
  bool Full() const { return LineCount() >= kMergeBufferLines; }
  // Lines were left out of the merged file (more than it can hold were found).
  bool Truncated() const { return truncated_; }
  const std::vector<std::string>& Lines() const { return lines_; }

  // Appends the lines of a file's bytes (lines end as in a CSV file; a last line without
  // CR counts). Stops when the buffer is full. Returns the number of lines taken.
  int AppendBytes(const std::string& bytes);
  // Reads a file and appends its lines. Returns 0 and does nothing when the file cannot
  // be opened or is no regular file; throws platform::Error when reading it fails.
  int FileOpen(const std::string& path);

  // The merged file's bytes: lines 1 to the lesser of count and 16383, each + CR.
  std::string MergedBytes(int count) const;
  // Writes MergedBytes(count) to `path` by a temporary file renamed over it. Returns false
  // when the file cannot be created, or when `path` names one of the files read since
  // Clear (through a link); throws platform::Error when writing fails (the old file, if
  // any, stays as it was).
  bool FileSave(const std::string& path, int count) const;

 private:
  std::vector<std::string> lines_;
  std::vector<std::pair<dev_t, ino_t>> inputs_;  // the files read since Clear
  bool truncated_ = false;
};

// The whole merge over a folder; the window's MergeButtonClick runs it.
struct MergeOutcome {
  enum class Result {
    DifferentMonths,  // kMergeMonthMessage; nothing read or written
    NoFiles,          // kMergeNoFilesMessage; nothing written
    NoLines,          // files found but empty; nothing written, no message
    NotCreated,       // the merged file could not be created; no message
    Written,          // the merged file is written (Truncated: kMergeLimitMessage too)
  };
  Result result = Result::NoFiles;
  std::string name;  // the merged file's bare name (Written, NotCreated)
  int lines = 0;     // lines in the buffer
  bool truncated = false;
  std::vector<std::string> files;  // the daily files read, in order
};
// What the merge does through its caller; each may be empty. `onDay` is called with each
// day's pattern before its search, so the window can show it as its daily list's mask.
// `open` reads a daily file into the merge's buffer and `save` writes the merged file from
// it; the buffer's own FileOpen and FileSave do when they are empty. The window passes its
// methods of those names.
struct MergeSteps {
  std::function<void(const std::string& pattern)> onDay;
  std::function<void(const std::string& path)> open;
  std::function<bool(const std::string& path, int count)> save;
};
// Names are joined to `folder`; an empty folder is the current one, and the names stay bare.
MergeOutcome MergeFolder(const std::string& folder, const QDate& from, const QDate& to,
                         MergeBuffer& buffer, const MergeSteps& steps = {});

}  // namespace monitor
