#include "monitor/core/merge.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "monitor/core/load.h"
#include "platform/core/atomicfile.h"
#include "platform/core/error.h"

namespace monitor {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

std::string TwoDigits(int n) {
  std::string s = std::to_string(n).substr(0, 2);
  if (s.size() == 1) s.insert(s.begin(), '0');
  return s;
}

std::string DayDigits(const QDate& day) {
  const int yy = ((day.year() - 2000) % 100 + 100) % 100;
  std::string digits = TwoDigits(yy);
  digits += TwoDigits(day.month());
  digits += TwoDigits(day.day());
  return digits;
}

std::string DayPattern(const QDate& day) {
  std::string pattern = DayDigits(day);
  pattern += "*.csv";
  return pattern;
}

std::string MergedFileName(const QDate& from, const QDate& to) {
  std::string name = "-";
  name += DayDigits(from);
  name += '-';
  name += DayDigits(to);
  name += ".csv";
  return name;
}

bool SameMonth(const QDate& from, const QDate& to) {
  return from.year() == to.year() && from.month() == to.month();
}

std::vector<QDate> MergeDays(const QDate& from, const QDate& to) {
  std::vector<QDate> days{from};
  if (!from.isValid() || !SameMonth(from, to)) return days;
  for (QDate d = from.addDays(1); d <= to; d = d.addDays(1)) days.push_back(d);
  return days;
}

bool MatchesDay(const std::string& name, const std::string& dayDigits) {
  if (name.size() < dayDigits.size() + 4 || name.compare(0, dayDigits.size(), dayDigits) != 0)
    return false;
  const std::string ext = name.substr(name.size() - 4);
  return ext[0] == '.' && (ext[1] | 0x20) == 'c' && (ext[2] | 0x20) == 's' &&
         (ext[3] | 0x20) == 'v';
}

std::vector<std::string> FindDayFiles(const std::string& folder, const QDate& day) {
  namespace fs = std::filesystem;
  const std::string digits = DayDigits(day);
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder),
                            fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!MatchesDay(name, digits)) continue;
    std::error_code sec;
    if (!fs::is_regular_file(it->path(), sec)) continue;  // folders and devices hold no lines
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// ---------------------------------------------------------------------------------------
MergeBuffer::MergeBuffer() = default;

void MergeBuffer::Clear() {
  lines_.clear();
  inputs_.clear();
  truncated_ = false;
}

int MergeBuffer::AppendBytes(const std::string& bytes) {
  int taken = 0;
  bool refused = false;
  ForEachLine(std::string_view(bytes), [&](std::string_view line) {
    if (Full()) {
      refused = true;
      return;
    }
    lines_.emplace_back(line);
    ++taken;
  });
  // The buffer's last line never reaches the merged file either.
  if (refused || LineCount() > kMergeMaxSavedLines) truncated_ = true;
  return taken;
}

int MergeBuffer::FileOpen(const std::string& path) {
  std::string bytes;
  struct stat st {};  // st_mode stays 0 unless a regular file was opened
  const int err = ReadRegularFile(path, bytes, &st);
  // A day file that can't be opened, or is a folder, pipe or device, holds no lines.
  if (!S_ISREG(st.st_mode)) return 0;
  inputs_.emplace_back(st.st_dev, st.st_ino);
  // Once open, a failed read ends the merge: a merged file must not lack a day unsaid.
  if (err != 0) throw platform::Error("I/O error " + std::to_string(err));
  return AppendBytes(bytes);
}

std::string MergeBuffer::MergedBytes(int count) const {
  const std::size_t n =
      static_cast<std::size_t>(std::clamp(std::min(count, kMergeMaxSavedLines), 0, LineCount()));
  std::size_t size = n;
  for (std::size_t i = 0; i < n; ++i) size += lines_[i].size();
  std::string out;
  out.reserve(size);
  for (std::size_t i = 0; i < n; ++i) {
    out += lines_[i];
    out += '\r';
  }
  return out;
}

bool MergeBuffer::FileSave(const std::string& path, int count) const {
  // A merged name that leads (by a link) to a daily file just read is not written over it.
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 &&
      std::find(inputs_.begin(), inputs_.end(), std::make_pair(st.st_dev, st.st_ino)) !=
          inputs_.end())
    return false;
  return platform::WriteFileAtomically(path, MergedBytes(count), 0666);
}

// ---------------------------------------------------------------------------------------
MergeOutcome MergeFolder(const std::string& folder, const QDate& from, const QDate& to,
                         MergeBuffer& buffer, const MergeSteps& steps) {
  MergeOutcome out;
  buffer.Clear();
  if (!SameMonth(from, to)) {
    out.result = MergeOutcome::Result::DifferentMonths;
    return out;
  }
  bool found = false;
  for (const QDate& day : MergeDays(from, to)) {
    if (steps.onDay) steps.onDay(DayPattern(day));
    for (const std::string& name : FindDayFiles(folder, day)) {
      found = true;
      if (buffer.Full()) break;  // the buffer is full: stop reading
      const std::string path = Join(folder, name);
      if (steps.open)
        steps.open(path);
      else
        buffer.FileOpen(path);
      out.files.push_back(name);
    }
  }
  out.lines = buffer.LineCount();
  out.truncated = buffer.Truncated();
  if (!found) {
    out.result = MergeOutcome::Result::NoFiles;
    return out;
  }
  if (buffer.LineCount() == 0) {
    out.result = MergeOutcome::Result::NoLines;
    return out;
  }
  out.name = MergedFileName(from, to);
  const std::string path = Join(folder, out.name);
  const bool saved =
      steps.save ? steps.save(path, buffer.LineCount()) : buffer.FileSave(path, buffer.LineCount());
  out.result = saved ? MergeOutcome::Result::Written : MergeOutcome::Result::NotCreated;
  return out;
}

}  // namespace monitor
