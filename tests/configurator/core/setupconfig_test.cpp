#include "configurator/core/setupconfig.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/messagebox.h"
#include "configurator/unprivileged.h"
#include "support/filesizelimit.h"

namespace configurator {
namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<unsigned char>;

Bytes ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}
void WriteAll(const fs::path& p, const Bytes& b) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// Little helpers that lay out a stored record by the offsets of the file format, written
// here by hand so that the record type's own offsets are checked against them.
void Put32(Bytes& b, std::size_t at, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(u >> (8 * i));
}
void PutRaw(Bytes& b, std::size_t at, const std::string& text) {
  b[at] = static_cast<unsigned char>(text.size());
  std::memcpy(b.data() + at + 1, text.data(), text.size());
}

// Every byte distinct-ish, so that a field read from or written to the wrong place shows.
Bytes PatternRecord() {
  Bytes b(kSetupConfigSize);
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<unsigned char>(i * 7 + 3);
  return b;
}

Bytes FieldByFieldRecord() {
  Bytes b = PatternRecord();
  Put32(b, 0, 6);
  Put32(b, 4, 15);
  Put32(b, 8, 99999);
  Put32(b, 12, -7);
  PutRaw(b, 16, "+491701234567");
  PutRaw(b, 60, "Alarm 1");
  PutRaw(b, 60 + 27 * 56, "Alarm 57 with 26 letters..");
  PutRaw(b, 1599, "Input 1");
  PutRaw(b, 1599 + 16 * 96, "Name 97");
  Put32(b, 3152, 11);
  Put32(b, 3160, 12);
  Put32(b, 3168, 13);
  Put32(b, 3172, 21);
  Put32(b, 3172 + 4 * 7, 28);
  Put32(b, 3204, 30);
  b[3208] = 1;
  b[3209] = 2;                   // any non-zero byte is true
  Put32(b, 3212, 101);           // ScrollBarMin1
  Put32(b, 3212 + 4 * 15, 116);  // ScrollBarMax8
  Put32(b, 3276, -40);           // ScrollBarT1min
  Put32(b, 3276 + 4 * 5, 125);   // ScrollBarT3max
  PutRaw(b, 3308, "-1-");
  PutRaw(b, 3313, "12345678");
  PutRaw(b, 3322, "101010101010");
  PutRaw(b, 3335, "internet.apn");
  PutRaw(b, 3376, "user");
  PutRaw(b, 3417, "secret");
  PutRaw(b, 3458, "10.0.0.1");
  PutRaw(b, 3499, "ftp.example.org");
  PutRaw(b, 3540, "logger");
  PutRaw(b, 3581, "ftppass");
  PutRaw(b, 3598, "/data");
  Put32(b, 3624, 3624);
  Put32(b, 3628, 500);
  PutRaw(b, 3632, "OPTIONS");
  PutRaw(b, 3651, "www.example.org");
  PutRaw(b, 3692, "+4911");
  PutRaw(b, 3692 + 21 * 6, "+4917");
  PutRaw(b, 3839, "+4921");
  PutRaw(b, 3839 + 21 * 6, "+4927");
  PutRaw(b, 3986, "+4999");
  PutRaw(b, 4007, "123456789");
  b[4017] = 0x55;
  Put32(b, 4020, 1);
  Put32(b, 4020 + 4 * 7, 2);
  Put32(b, 4052, 4052);
  Put32(b, 4056, 4056);
  PutRaw(b, 4060, "1.000");
  PutRaw(b, 4069, "2.500");
  Put32(b, 4080, 9);
  b[4084] = 0x34;
  b[4085] = 0x12;
  b[4086] = 0xFF;
  b[4087] = 0xFF;
  b[4088] = 1;
  b[4091] = 1;
  b[4092] = 1;
  b[4093] = 0;
  Put32(b, 4096, 60);
  Put32(b, 4100, 1440);
  PutRaw(b, 4104, "ab1");
  PutRaw(b, 4104 + 4 * 7, "xy8");
  return b;
}

TEST(SetupRecord, DecodesEveryFieldAtItsOffsetAndEncodesTheSameBytes) {
  const Bytes file = FieldByFieldRecord();
  const TSetupConfig c = DecodeSetupConfig(file.data(), file.size());

  EXPECT_EQ(c.RadioGroupRate, 6);
  EXPECT_EQ(c.RadioGroupPort, 15);
  EXPECT_EQ(c.TrackBar5, 99999);
  EXPECT_EQ(c.Kept12, -7);
  EXPECT_EQ(GetText(c.TKnumber), "+491701234567");
  EXPECT_EQ(GetText(c.TXTSMS[0]), "Alarm 1");
  EXPECT_EQ(GetText(c.TXTSMS[56]), "Alarm 57 with 26 letters..");
  EXPECT_EQ(GetText(c.iTXTSMS[0]), "Input 1");
  EXPECT_EQ(GetText(c.iTXTSMS[96]), "Name 97");
  EXPECT_EQ(c.TTimeout1SB, 11);
  EXPECT_EQ(c.ATimeout1SB, 12);
  EXPECT_EQ(c.DFilterSB, 13);
  EXPECT_EQ(c.PulseDsb[0], 21);
  EXPECT_EQ(c.PulseDsb[7], 28);
  EXPECT_EQ(c.SRateSB, 30);
  EXPECT_TRUE(AsBool(c.DeleteSMS));
  EXPECT_TRUE(AsBool(c.SMSmode));
  EXPECT_EQ(c.AnalogLevels[0], 101);
  EXPECT_EQ(c.AnalogLevels[15], 116);
  EXPECT_EQ(c.TempLevels[0], -40);
  EXPECT_EQ(c.TempLevels[5], 125);
  EXPECT_EQ(GetText(c.TNrFilter), "-1-");
  EXPECT_EQ(GetText(c.ANrFilter), "12345678");
  EXPECT_EQ(GetText(c.DNrFilter), "101010101010");
  EXPECT_EQ(GetText(c.APN), "internet.apn");
  EXPECT_EQ(GetText(c.UserID), "user");
  EXPECT_EQ(GetText(c.Password), "secret");
  EXPECT_EQ(GetText(c.IPaddress), "10.0.0.1");
  EXPECT_EQ(GetText(c.FTPHostName), "ftp.example.org");
  EXPECT_EQ(GetText(c.UserNameFTP), "logger");
  EXPECT_EQ(GetText(c.PasswordFTP), "ftppass");
  EXPECT_EQ(GetText(c.DirName), "/data");
  EXPECT_EQ(c.Kept3624, 3624);
  EXPECT_EQ(c.DLoggerTmSB, 500);
  EXPECT_EQ(GetText(c.OptionString), "OPTIONS");
  EXPECT_EQ(GetText(c.HTTPhostName), "www.example.org");
  EXPECT_EQ(GetText(c.NNumber[0]), "+4911");
  EXPECT_EQ(GetText(c.NNumber[6]), "+4917");
  EXPECT_EQ(GetText(c.PBnr[0]), "+4921");
  EXPECT_EQ(GetText(c.PBnr[6]), "+4927");
  EXPECT_EQ(GetText(c.TKnumber2), "+4999");
  EXPECT_EQ(GetText(c.ScheduleString), "123456789");
  EXPECT_EQ(c.Byte4017, 0x55);
  EXPECT_EQ(c.AMode[0], 1);
  EXPECT_EQ(c.AMode[7], 2);
  EXPECT_EQ(c.Kept4052, 4052);
  EXPECT_EQ(c.Kept4056, 4056);
  EXPECT_EQ(GetText(c.AkoeffStr), "1.000");
  EXPECT_EQ(GetText(c.ADividerStr), "2.500");
  EXPECT_EQ(c.Value4080, 9);
  EXPECT_EQ(c.Kept4084, 0x1234);
  EXPECT_EQ(c.Kept4086, -1);
  EXPECT_TRUE(AsBool(c.SkipCRLFcb));
  EXPECT_TRUE(AsBool(c.RunTimeVariant));
  EXPECT_TRUE(AsBool(c.ParityEven));
  EXPECT_FALSE(AsBool(c.SaveSettingAfterExitCB));
  EXPECT_EQ(c.eSRateSB, 60);
  EXPECT_EQ(c.eDLoggerTmSB, 1440);
  EXPECT_EQ(GetText(c.MUX[0]), "ab1");
  EXPECT_EQ(GetText(c.MUX[7]), "xy8");

  const SetupBytes again = EncodeSetupConfig(c);
  EXPECT_TRUE(std::equal(again.begin(), again.end(), file.begin(), file.end()));
}

TEST(SetupRecord, LengthBytesAboveCapacityStayInsideTheirField) {
  // An exact-size heap buffer, so that a read past the record shows under the sanitizer.
  Bytes b(kSetupConfigSize, 'x');
  b[60] = 255;            // TXTSMS1, capacity 26
  b[4104 + 4 * 7] = 200;  // MUX8, the record's last field, capacity 3
  b[4007] = 10;           // ScheduleString, capacity 9
  const TSetupConfig c = DecodeSetupConfig(b.data(), b.size());
  EXPECT_EQ(GetText(c.TXTSMS[0]), std::string(26, 'x'));
  EXPECT_EQ(GetText(c.MUX[7]), "xxx");
  EXPECT_EQ(GetText(c.ScheduleString), std::string(9, 'x'));
  // The stored length byte itself goes back unchanged.
  EXPECT_EQ(EncodeSetupConfig(c)[60], 255);
}

TEST(SetupRecord, TextsAreCutToCapacityAndKeepTheBytesBehindThem) {
  TSetupConfig c;
  PutText(c.TXTSMS[0], std::string(30, 'a'));
  PutText(c.iTXTSMS[0], std::string(20, 'b'));
  PutText(c.MUX[0], "12345");
  EXPECT_EQ(GetText(c.TXTSMS[0]), std::string(26, 'a'));
  EXPECT_EQ(GetText(c.iTXTSMS[0]), std::string(15, 'b'));
  EXPECT_EQ(GetText(c.MUX[0]), "123");

  PutText(c.TXTSMS[0], "short");
  const SetupBytes b = EncodeSetupConfig(c);
  EXPECT_EQ(b[60], 5);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[61]), 26), "short" + std::string(21, 'a'));
}

TEST(SetupRecord, KeptValuesFollowTheStartUpRules) {
  TSetupConfig c;
  c.Kept12 = 12;
  c.Kept3624 = -3624;
  c.Reserved3649 = {0x49, 0x50};
  c.Kept4052 = 52;
  c.Kept4056 = 56;
  c.Kept4084 = -84;
  c.Kept4086 = 86;
  for (const auto& [stored, kept] : {std::pair{5, 0}, {4, 4}, {0, 0}, {-3, -3}, {1000, 0}}) {
    c.Value4080 = stored;
    const TKeptValues k = TKeptValues::FromRecord(c);
    EXPECT_EQ(k.v4080, kept) << stored;
    EXPECT_EQ(k.v12, 12);
    EXPECT_EQ(k.v3624, -3624);
    EXPECT_EQ(k.v3649, 0x49);
    EXPECT_EQ(k.v3650, 0x50);
    EXPECT_EQ(k.v4052, 52);
    EXPECT_EQ(k.v4056, 56);
    EXPECT_EQ(k.v4084, -84);
    EXPECT_EQ(k.v4086, 86);
  }
  TSetupConfig fresh;
  TKeptValues::FromRecord(c).StoreInto(fresh);
  EXPECT_EQ(fresh.Kept12, 12);
  EXPECT_EQ(fresh.Kept3624, -3624);
  EXPECT_EQ(fresh.Kept4052, 52);
  EXPECT_EQ(fresh.Kept4056, 56);
  EXPECT_EQ(fresh.Value4080, 0);
  EXPECT_EQ(fresh.Kept4084, -84);
  EXPECT_EQ(fresh.Kept4086, 86);
}

class SetupFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tk5063cfg.XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    file_ = dir_ / kSetupFileName;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
    return names;
  }
  fs::path dir_, file_;
};

TEST_F(SetupFile, SaveThenReadGivesTheSameRecord) {
  const Bytes original = FieldByFieldRecord();
  const TSetupConfig c = DecodeSetupConfig(original.data(), original.size());
  ASSERT_EQ(WriteSetupConfigFile(file_, c), CfgFileResult::Ok);
  EXPECT_EQ(ReadAll(file_), original);
  EXPECT_EQ(Entries(), std::vector<std::string>{kSetupFileName});  // no temporary left

  TSetupConfig back;
  ASSERT_EQ(ReadSetupConfigFile(file_, back), CfgFileResult::Ok);
  const SetupBytes b = EncodeSetupConfig(back);
  EXPECT_TRUE(std::equal(b.begin(), b.end(), original.begin(), original.end()));
}

// The record holds passwords: a new file and one that others could read end as the owner's
// alone.
TEST_F(SetupFile, SavedFileIsReadableByItsOwnerOnly) {
  TSetupConfig c;
  ASSERT_EQ(WriteSetupConfigFile(file_, c), CfgFileResult::Ok);
  EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(file_, fs::perms::all);
  ASSERT_EQ(WriteSetupConfigFile(file_, c), CfgFileResult::Ok);
  EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(SetupFile, LongerFileReadsOneRecordAndTheNextSaveCutsIt) {
  Bytes longer = FieldByFieldRecord();
  longer.resize(kSetupConfigSize + 100, 0xEE);
  WriteAll(file_, longer);
  TSetupConfig c;
  ASSERT_EQ(ReadSetupConfigFile(file_, c), CfgFileResult::Ok);
  EXPECT_EQ(GetText(c.MUX[7]), "xy8");
  ASSERT_EQ(WriteSetupConfigFile(file_, c), CfgFileResult::Ok);
  EXPECT_EQ(fs::file_size(file_), kSetupConfigSize);
}

TEST_F(SetupFile, MissingFileIsAnAccessErrorAndLeavesTheRecordZero) {
  TSetupConfig c;
  EXPECT_EQ(ReadSetupConfigFile(file_, c), CfgFileResult::AccessError);
  const SetupBytes b = EncodeSetupConfig(c);
  EXPECT_TRUE(std::all_of(b.begin(), b.end(), [](unsigned char x) { return x == 0; }));
}

TEST_F(SetupFile, ShortFileRaisesReadBeyondEndWithTheBytesThatWereThere) {
  Bytes shorter = FieldByFieldRecord();
  shorter.resize(kSetupConfigSize - 1);
  WriteAll(file_, shorter);
  TSetupConfig c;
  try {
    ReadSetupConfigFile(file_, c);
    FAIL() << "no error raised";
  } catch (const platform::Error& e) {
    EXPECT_STREQ(e.what(), "Read beyond end of file");
  }
  EXPECT_EQ(c.RadioGroupRate, 6);
  EXPECT_EQ(GetText(c.MUX[0]), "ab1");
  // MUX8 lost its last character byte, which stays zero; its length byte says 3.
  EXPECT_EQ(GetText(c.MUX[7]), std::string("xy\0", 3));

  WriteAll(file_, {});
  TSetupConfig empty;
  EXPECT_THROW(ReadSetupConfigFile(file_, empty), platform::Error);
}

// Tests run as root, for whom file modes grant everything; a directory standing at the
// file's path, or a path below a regular file, can't be opened or created by anyone.
TEST_F(SetupFile, UnusablePathsAreAccessErrorsOnReadAndSave) {
  const Bytes original = FieldByFieldRecord();
  const TSetupConfig c = DecodeSetupConfig(original.data(), original.size());

  fs::create_directory(file_);
  TSetupConfig r;
  EXPECT_EQ(ReadSetupConfigFile(file_, r), CfgFileResult::AccessError);
  EXPECT_EQ(WriteSetupConfigFile(file_, c), CfgFileResult::AccessError);
  EXPECT_TRUE(fs::is_directory(file_));

  const fs::path plain = dir_ / "plain";
  WriteAll(plain, {'x'});
  EXPECT_EQ(ReadSetupConfigFile(plain / kSetupFileName, r), CfgFileResult::AccessError);
  EXPECT_EQ(WriteSetupConfigFile(plain / kSetupFileName, c), CfgFileResult::AccessError);
  EXPECT_EQ(ReadAll(plain), Bytes{'x'});
}

// A read-only file is refused on reading (opened for writing too) and on saving, and stays
// as it was. Run as an ordinary user, for whom the file's mode counts.
TEST_F(SetupFile, ReadOnlyFileIsAnAccessErrorOnReadAndSave) {
  const Bytes original = FieldByFieldRecord();
  const TSetupConfig c = DecodeSetupConfig(original.data(), original.size());
  cfgtest::OpenFolderForOthers(dir_);
  WriteAll(file_, original);
  ::chmod(file_.c_str(), 0444);
  TSetupConfig r;
  EXPECT_EQ(cfgtest::AsOrdinaryUser([&] { return ReadSetupConfigFile(file_, r); }),
            CfgFileResult::AccessError);
  const SetupBytes untouched = EncodeSetupConfig(r);
  EXPECT_TRUE(
      std::all_of(untouched.begin(), untouched.end(), [](unsigned char x) { return x == 0; }));
  EXPECT_EQ(cfgtest::AsOrdinaryUser([&] { return WriteSetupConfigFile(file_, c); }),
            CfgFileResult::AccessError);
  EXPECT_EQ(ReadAll(file_), original);
  EXPECT_EQ(Entries(), std::vector<std::string>{kSetupFileName});
}

// A save that fails half-way (here the file-size limit, which binds root as well) raises
// the error and leaves the old file whole, with no temporary file beside it.
TEST_F(SetupFile, FailedSaveLeavesTheOldFileIntact) {
  const Bytes original = FieldByFieldRecord();
  WriteAll(file_, original);
  TSetupConfig changed = DecodeSetupConfig(original.data(), original.size());
  changed.RadioGroupRate = 2;

  bool raised = false;
  try {
    testsupport::FileSizeLimit limit(1000);
    WriteSetupConfigFile(file_, changed);
  } catch (const platform::Error&) {
    raised = true;
  }

  EXPECT_TRUE(raised);
  EXPECT_EQ(ReadAll(file_), original);
  EXPECT_EQ(Entries(), std::vector<std::string>{kSetupFileName});
}

// With no room for a temporary file beside it (here every name the save would try is
// taken, which holds for root as for anyone), a writable file is overwritten in place.
TEST_F(SetupFile, SaveWithoutTemporaryFileOverwritesInPlace) {
  Bytes longer(kSetupConfigSize + 50, 0xEE);
  WriteAll(file_, longer);
  for (int i = 0; i < 100; ++i)
    WriteAll(dir_ / ("." + std::string(kSetupFileName) + ".tmp" + std::to_string(::getpid()) + "_" +
                     std::to_string(i)),
             {});
  TSetupConfig c;
  c.RadioGroupRate = 4;
  ASSERT_EQ(WriteSetupConfigFile(file_, c), CfgFileResult::Ok);
  const SetupBytes expected = EncodeSetupConfig(c);
  const Bytes got = ReadAll(file_);
  EXPECT_TRUE(std::equal(got.begin(), got.end(), expected.begin(), expected.end()));
}

TEST_F(SetupFile, SaveReplacesTheFileALinkPointsAt) {
  const fs::path real = dir_ / "real.cfg";
  WriteAll(real, Bytes(kSetupConfigSize, 0));
  fs::create_symlink(real, file_);
  TSetupConfig c;
  c.RadioGroupPort = 3;
  ASSERT_EQ(WriteSetupConfigFile(file_, c), CfgFileResult::Ok);
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(ReadAll(real)[4], 3);
}

}  // namespace
}  // namespace configurator
