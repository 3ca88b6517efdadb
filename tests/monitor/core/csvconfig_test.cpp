#include "monitor/core/csvconfig.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>

#include "configurator/unprivileged.h"
#include "platform/messagebox.h"
#include "support/filesizelimit.h"

namespace {

using monitor::TCSVConfig;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A record laid out by hand from the file's layout table, independent of the codec.
struct HandRecord {
  std::string b = std::string(828, '\0');
  void Int(std::size_t at, std::int32_t v) {
    for (int i = 0; i < 4; ++i)
      b[at + i] = static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * i));
  }
  void Text(std::size_t at, std::size_t room, const std::string& s) {
    b[at] = static_cast<char>(s.size());
    for (std::size_t i = 0; i < room; ++i) b[at + 1 + i] = '#';  // room beyond the length
    b.replace(at + 1, s.size(), s);
  }
};

HandRecord SampleRecord() {
  HandRecord r;
  r.Int(0, 3);
  r.Text(4, 64, "/home/user/logs");
  r.Text(69, 64, "ftp.example.net");
  r.Text(134, 64, "5063");
  r.Text(199, 64, "KP7391MX-R");
  r.Int(264, -12);
  r.Int(268, 77);
  for (int i = 0; i < 8; ++i) r.b[272 + i] = static_cast<char>(0xA0 + i);
  for (int k = 0; k < 8; ++k) {
    r.Int(280 + 8 * k, 10 + k);
    r.Int(284 + 8 * k, 500 + k);
    r.Text(344 + 41 * k, 40,
           "Channel " + std::to_string(k + 1) +
               " \xB0"
               "C");
  }
  r.Text(672, 40, "Gas meter");
  r.Text(713, 40, "Water meter");
  r.Text(754, 40, "Boiler room");
  r.b[795] = '\x5A';
  const double day = 45000.75;  // 15 March 2023, 18:00
  std::uint64_t u;
  std::memcpy(&u, &day, 8);
  for (int i = 0; i < 8; ++i) r.b[796 + i] = static_cast<char>(u >> (8 * i));
  for (int i = 0; i < 24; ++i) r.b[804 + i] = static_cast<char>(i + 1);
  return r;
}

TEST(CsvConfig, ReadsEveryFieldAtItsOffsetAndSavesTheSameBytes) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("csv.cfg").toStdString();
  const HandRecord hand = SampleRecord();
  WriteAll(path, hand.b + std::string(50, 'x'));  // bytes after the record are not read

  TCSVConfig c;
  ASSERT_TRUE(monitor::ReadCSVConfig(path, c));
  EXPECT_EQ(c.DriveIndex, 3);
  EXPECT_EQ(c.WorkFolder.get(), "/home/user/logs");
  EXPECT_EQ(c.Host.get(), "ftp.example.net");
  EXPECT_EQ(c.UserID.get(), "5063");
  EXPECT_EQ(c.Password.get(), "KP7391MX-R");
  EXPECT_EQ(c.TLevel, -12);
  EXPECT_EQ(c.ALevel, 77);
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(c.Coarse[k], 10 + k);
    EXPECT_EQ(c.Fine[k], 500 + k);
    EXPECT_EQ(c.AName[k].get(), "Channel " + std::to_string(k + 1) +
                                    " \xB0"
                                    "C");
  }
  EXPECT_EQ(c.C1Name.get(), "Gas meter");
  EXPECT_EQ(c.C2Name.get(), "Water meter");
  EXPECT_EQ(c.T1Name.get(), "Boiler room");
  EXPECT_DOUBLE_EQ(c.CopyFromDate, 45000.75);
  EXPECT_EQ(c.CopyFromDay(), QDate(2023, 3, 15));

  // Reserved bytes, the pad and the room beyond each text's length come back as read.
  const std::string saved = dir.filePath("again.cfg").toStdString();
  ASSERT_TRUE(monitor::SaveCSVConfig(saved, c));
  EXPECT_EQ(ReadAll(saved), hand.b);
}

TEST(CsvConfig, LongTextsAreCutToTheirRoom) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("csv.cfg").toStdString();
  TCSVConfig c;
  c.Host.set(std::string(70, 'h'));
  c.AName[2].set(std::string(50, 'n'));
  c.T1Name.set(std::string(50, 't'));
  ASSERT_TRUE(monitor::SaveCSVConfig(path, c));

  const std::string bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 828u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[69]), 64);
  EXPECT_EQ(static_cast<unsigned char>(bytes[134]), 0);  // the user ID behind it is untouched

  TCSVConfig back;
  ASSERT_TRUE(monitor::ReadCSVConfig(path, back));
  EXPECT_EQ(back.Host.get(), std::string(64, 'h'));
  EXPECT_EQ(back.AName[2].get(), std::string(40, 'n'));
  EXPECT_EQ(back.T1Name.get(), std::string(40, 't'));
  EXPECT_EQ(back.AName[3].get(), "");
}

TEST(CsvConfig, MissingFileLeavesTheRecordAndReportsAccessError) {
  QTemporaryDir dir;
  TCSVConfig c;
  c.TLevel = 42;
  EXPECT_FALSE(monitor::ReadCSVConfig(dir.filePath("csv.cfg").toStdString(), c));
  EXPECT_FALSE(monitor::ReadCSVConfig(dir.path().toStdString(), c));  // a folder
  const std::string fifo = dir.filePath("pipe.cfg").toStdString();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(monitor::ReadCSVConfig(fifo, c));  // returns at once, no writer needed
  EXPECT_EQ(c.TLevel, 42);
  EXPECT_STREQ(monitor::kCSVConfigAccessError, "csv.cfg access error");
}

TEST(CsvConfig, ShortFileRaisesAndLeavesTheRecord) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("csv.cfg").toStdString();
  for (std::size_t size : {0u, 1u, 264u, 827u}) {
    WriteAll(path, SampleRecord().b.substr(0, size));
    TCSVConfig c;
    c.ALevel = 9;
    try {
      monitor::ReadCSVConfig(path, c);
      ADD_FAILURE() << "no error for " << size << " bytes";
    } catch (const platform::Error& e) {
      EXPECT_STREQ(e.what(), "Read beyond end of file");
    }
    EXPECT_EQ(c.ALevel, 9) << size;
  }
}

TEST(CsvConfig, SavedFileIsReadableByItsOwnerOnly) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("csv.cfg").toStdString();
  WriteAll(path, std::string(828, '\0'));
  ::chmod(path.c_str(), 0644);
  TCSVConfig c;
  c.Password.set("secret");
  ASSERT_TRUE(monitor::SaveCSVConfig(path, c));
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // No temporary file is left beside it.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

  // A csv.cfg that links to a file elsewhere stays a link; the linked file is replaced.
  const std::string link = dir.filePath("sub/csv.cfg").toStdString();
  QDir(dir.path()).mkdir("sub");
  ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
  c.Password.set("changed");
  ASSERT_TRUE(monitor::SaveCSVConfig(link, c));
  struct stat lst;
  ASSERT_EQ(::lstat(link.c_str(), &lst), 0);
  EXPECT_TRUE(S_ISLNK(lst.st_mode));
  TCSVConfig back;
  ASSERT_TRUE(monitor::ReadCSVConfig(path, back));
  EXPECT_EQ(back.Password.get(), "changed");
}

// A folder the user can't write, holding a csv.cfg that everybody may read and write: the
// save goes into the old file in place, which becomes the owner's alone first; a file of
// another user can't be made so and is left as it was, with the reason.
TEST(CsvConfig, SaveInPlaceLeavesNoPasswordReadableByOthers) {
  const bool root = ::geteuid() == 0;
  struct Case {
    const char* what;
    bool ours;  // the file belongs to the user who saves
  };
  for (const Case& c : {Case{"own file", true}, Case{"another user's file", false}}) {
    SCOPED_TRACE(c.what);
    if (!c.ours && !root) continue;  // only root can give a file to another user
    QTemporaryDir dir;
    cfgtest::OpenFolderForOthers(dir.path().toStdString());
    const std::string path = dir.filePath("csv.cfg").toStdString();
    const std::string old = SampleRecord().b;
    WriteAll(path, old);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    if (root && c.ours) {
      ASSERT_EQ(::chown(path.c_str(), cfgtest::kNobody, cfgtest::kNobody), 0);
    }
    if (!root) {
      ASSERT_EQ(::chmod(dir.path().toUtf8().constData(), 0555), 0);
    }

    TCSVConfig cfg;
    cfg.Password.set("new secret");
    platform::FileFailure failure;
    const bool saved =
        cfgtest::AsOrdinaryUser([&] { return monitor::SaveCSVConfig(path, cfg, &failure); });
    ::chmod(dir.path().toUtf8().constData(), 0755);

    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(saved, c.ours);
    EXPECT_EQ(st.st_mode & 0777, c.ours ? 0600u : 0666u);
    if (c.ours) {
      TCSVConfig back;
      ASSERT_TRUE(monitor::ReadCSVConfig(path, back));
      EXPECT_EQ(back.Password.get(), "new secret");
    } else {
      EXPECT_EQ(ReadAll(path), old);
      EXPECT_EQ(failure.where, platform::FileFailure::Where::Private);
      EXPECT_EQ(failure.path, path);
      EXPECT_EQ(platform::FileFailureLine(failure),
                path +
                    " can be read by other users and can't be made private, as it belongs "
                    "to another user: remove it, or ask its owner to.");
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
  }
}

TEST(CsvConfig, FailedSaveLeavesTheOldFileIntact) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("csv.cfg").toStdString();
  const std::string old = SampleRecord().b;
  WriteAll(path, old);
  TCSVConfig c;
  c.Host.set("new.example.net");

  // Writing stops half-way: the file size limit lets 100 bytes through.
  bool raised = false;
  try {
    testsupport::FileSizeLimit limit(100);
    monitor::SaveCSVConfig(path, c);
  } catch (const platform::Error&) {
    raised = true;
  }

  EXPECT_TRUE(raised);
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

  // A name that cannot be created at all: false, nothing changes.
  EXPECT_FALSE(monitor::SaveCSVConfig(dir.filePath("none/csv.cfg").toStdString(), c));
  EXPECT_FALSE(monitor::SaveCSVConfig(dir.path().toStdString(), c));
  EXPECT_EQ(ReadAll(path), old);
}

TEST(CsvConfig, CopyFromDateConversions) {
  struct Case {
    double days;
    QDate date;
  } cases[] = {
      {0.0, QDate(1899, 12, 30)},
      {43344.0, QDate(2018, 9, 1)},
      {43344.999, QDate(2018, 9, 1)},
      {-1.5, QDate(1899, 12, 29)},  // the whole part counts, towards zero
      {std::nan(""), QDate()},
      {1e300, QDate()},
      {-std::numeric_limits<double>::infinity(), QDate()},
      {3e6, QDate()},  // beyond the year 9999
  };
  for (const Case& c : cases) EXPECT_EQ(monitor::DateFromDays(c.days), c.date) << c.days;
  EXPECT_EQ(monitor::DaysFromDate(QDate(2026, 12, 10)), 46366.0);
  EXPECT_EQ(monitor::DateFromDays(monitor::DaysFromDate(QDate(2026, 12, 10))), QDate(2026, 12, 10));
}

}  // namespace
