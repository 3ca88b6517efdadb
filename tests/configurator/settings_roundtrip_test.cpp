// TK5063.cfg with every field set: the record is written here from the file's layout (not by
// the code under test), the window restores it and saves it again. A control whose setting
// is not restored, not saved, or restored into or saved from the wrong field shows as a
// changed byte.
#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/widgets.h"
#include "support/layout_record.h"
#include "window_fixture.h"

namespace {

using cfgtest::WindowTest;
using configurator::TForm1;

constexpr std::size_t kSize = 4136;

using testsupport::Field;
using Record = testsupport::LayoutRecord;

std::string N(const char* stem, int n) { return platform::Nr(stem, n).toStdString(); }

// Every field of TK5063.cfg with a value of its own that the controls can hold. Where the
// start-up ties two fields to one control (the two copies of TKnumber, SRateSB and
// eSRateSB, DLoggerTmSB and eDLoggerTmSB) they hold the same value; the option text has its
// full 16 characters, which the start-up leaves as they are.
Record DistinctRecord() {
  Record r(kSize);
  r.Int32("RadioGroupRate", 0, 3);
  r.Int32("RadioGroupPort", 4, 3);  // Com4
  r.Int32("TrackBar5", 8, 4321);
  r.Int32("Kept12", 12, 0x12345678);
  r.Text("TKnumber", 16, 20, "+49170111222");
  r.Reserved("Reserved37", 37, 23);
  for (int n = 1; n <= 57; ++n)
    r.Text(N("TXTSMS", n), 60 + 27 * static_cast<std::size_t>(n - 1), 26,
           "Alarm " + std::to_string(n) + (n % 2 ? " high \xE4" : " low"));
  for (int n = 1; n <= 97; ++n)
    r.Text(N("iTXTSMS", n), 1599 + 16 * static_cast<std::size_t>(n - 1), 15,
           "i" + std::to_string(n) + (n % 3 ? " SETOU1" : " RST"));
  r.Reserved("Pad3151", 3151, 1);
  r.Int32("TTimeout1SB", 3152, 17);
  r.Reserved("Reserved3156", 3156, 4);
  r.Int32("ATimeout1SB", 3160, 23);
  r.Reserved("Reserved3164", 3164, 4);
  r.Int32("DFilterSB", 3168, 7);
  const int pulses[8] = {1, 2, 3, 4, 5, 6, 8, 9};
  for (int n = 1; n <= 8; ++n)
    r.Int32(N("PulseDsb", n), 3172 + 4 * static_cast<std::size_t>(n - 1), pulses[n - 1]);
  r.Int32("SRateSB", 3204, 6);
  r.Byte("DeleteSMS", 3208, 1);
  r.Byte("SMSmode", 3209, 1);
  r.Reserved("Pad3210", 3210, 2);
  for (int n = 1; n <= 8; ++n) {
    r.Int32(N("ScrollBarMin", n), 3212 + 8 * static_cast<std::size_t>(n - 1), 10 + n);
    r.Int32(N("ScrollBarMax", n), 3216 + 8 * static_cast<std::size_t>(n - 1), 90 - n);
  }
  const char* const temps[6] = {"ScrollBarT1min", "ScrollBarT1max", "ScrollBarT2min",
                                "ScrollBarT2max", "ScrollBarT3min", "ScrollBarT3max"};
  const int tempValues[6] = {-50, 120, -7, 45, -99, 149};
  for (int i = 0; i < 6; ++i)
    r.Int32(temps[i], 3276 + 4 * static_cast<std::size_t>(i), tempValues[i]);
  r.Reserved("Reserved3300", 3300, 8);
  r.Text("TNrFilter", 3308, 4, "1F-");
  r.Text("ANrFilter", 3313, 8, "0123-5A7");
  r.Text("DNrFilter", 3322, 12, "89ABCDEF-012");
  r.Text("APN", 3335, 40, "apn.example");
  r.Text("UserID", 3376, 40, "gprs-user");
  r.Text("Password", 3417, 40, "gprs-pass");
  r.Text("IPaddress", 3458, 40, "10.20.30.40");
  r.Text("FTPHostName", 3499, 40, "ftp.upload.example");
  r.Text("UserNameFTP", 3540, 40, "ftp-user");
  r.Text("PasswordFTP", 3581, 16, "ftp-pass");
  r.Text("DirName", 3598, 16, "logger7");
  r.Reserved("Reserved3615", 3615, 9);
  r.Int32("Kept3624", 3624, -3624);
  r.Int32("DLoggerTmSB", 3628, 4);
  r.Text("OptionString", 3632, 16, "MPEDEEDDDEEDDDDE");
  r.Reserved("Reserved3649", 3649, 2);
  r.Text("HTTPhostName", 3651, 40, "http.example");
  for (int n = 1; n <= 7; ++n)
    r.Text(N("NNumber", n), 3692 + 21 * static_cast<std::size_t>(n - 1), 20,
           "+4917000" + std::to_string(n));
  for (int n = 1; n <= 7; ++n)
    r.Text(N("PBnr", n), 3839 + 21 * static_cast<std::size_t>(n - 1), 20,
           "+4916000" + std::to_string(n));
  r.Text("TKnumber2", 3986, 20, "+49170111222");
  r.Text("ScheduleString", 4007, 9, "T55071223");
  r.Byte("Byte4017", 4017, 0);
  r.Reserved("Pad4018", 4018, 2);
  const int modes[8] = {1, 0, 1, 1, 0, 1, 0, 0};
  for (int n = 1; n <= 8; ++n)
    r.Int32(N("AMode", n), 4020 + 4 * static_cast<std::size_t>(n - 1), modes[n - 1]);
  r.Int32("Kept4052", 4052, 4052);
  r.Int32("Kept4056", 4056, -4056);
  r.Text("AkoeffStr", 4060, 8, "12345123");
  r.Text("ADividerStr", 4069, 8, "98765432");
  r.Reserved("Pad4078", 4078, 2);
  r.Int32("Value4080", 4080, -7);  // negative: kept (only a value above 4 becomes 0)
  r.Int16("Kept4084", 4084, 4084);
  r.Int16("Kept4086", 4086, -4086);
  r.Byte("SkipCRLFcb", 4088, 1);
  r.Reserved("Reserved4089", 4089, 2);
  r.Byte("RunTimeVariant", 4091, 1);
  r.Byte("ParityEven", 4092, 1);
  r.Byte("SaveSettingAfterExitCB", 4093, 1);
  r.Reserved("Pad4094", 4094, 2);
  r.Int32("eSRateSB", 4096, 6);
  r.Int32("eDLoggerTmSB", 4100, 4);
  for (int n = 1; n <= 8; ++n)
    r.Text(N("MUX", n), 4104 + 4 * static_cast<std::size_t>(n - 1), 3, std::to_string(100 + n));
  return r;
}

class SettingsRoundTrip : public WindowTest {
 protected:
  TForm1& StartFrom(const Record& r) {
    Link(4, com1);
    WriteFile(r.Bytes());
    TForm1& f = Make();
    EXPECT_TRUE(boxes.empty());
    return f;
  }
};

TEST_F(SettingsRoundTrip, TheLayoutTableCoversEveryByteOnce) {
  EXPECT_EQ(DistinctRecord().CoverageFaults(), std::vector<std::string>{});
}

TEST_F(SettingsRoundTrip, EveryFieldRestoredAndSavedUnchanged) {
  const Record r = DistinctRecord();
  TForm1& f = StartFrom(r);
  // A few controls read back, so that a restore into the wrong control shows by name too.
  EXPECT_EQ(f.TKnumber->text(), "+49170111222");
  EXPECT_EQ(f.MUX[8]->text(), "108");
  EXPECT_EQ(f.ScrollBarMax[8]->value(), 82);
  EXPECT_EQ(f.DFilterSBd->value(), 7);
  ASSERT_TRUE(f.SaveSetting1Click());
  const std::string saved = ReadFile();
  ASSERT_EQ(saved.size(), kSize);
  EXPECT_EQ(r.ChangedFields(saved), std::vector<std::string>{});
  EXPECT_TRUE(saved == r.Bytes());
}

// One control per page changed as the user would: exactly its field changes in the saved
// file, to the control's value.
TEST_F(SettingsRoundTrip, OneControlPerPageChangesExactlyItsField) {
  struct Case {
    const char* page;
    std::function<void(TForm1&)> change;
    std::vector<std::string> fields;
    std::string value;  // the first field's bytes after the change
  };
  auto text = [](const std::string& s) {
    return std::string(1, static_cast<char>(s.size())) + s;  // length byte and characters
  };
  auto int32 = [](std::int32_t v) { return Record::LE32(v); };
  const Case cases[] = {
      {"Main",
       [](TForm1& f) { f.TKnumber->setText("+4915099"); },
       {"TKnumber", "TKnumber2"},
       text("+4915099")},
      {"Main",
       [](TForm1& f) { f.DeleteSMS->setChecked(false); },
       {"DeleteSMS"},
       std::string(1, '\0')},
      {"Abonents", [](TForm1& f) { f.NNumber[4]->setText("+333"); }, {"NNumber4"}, text("+333")},
      {"Abonents",
       [](TForm1& f) { f.CheckBoxT[3][1]->setChecked(true); },
       {"TNrFilter"},
       text("5F-")},
      {"External SMS",
       [](TForm1& f) { f.TXTSMS[30]->setText("door open"); },
       {"TXTSMS30"},
       text("door open")},
      {"Int/Ext SMS",
       [](TForm1& f) { f.iTXTSMS[40]->setText("F SETOU2"); },
       {"iTXTSMS40"},
       text("F SETOU2")},
      {"IOname",
       [](TForm1& f) { f.iTXTSMS[70]->setText("pump on"); },
       {"iTXTSMS70"},
       text("pump on")},
      {"Analog", [](TForm1& f) { f.ScrollBarMax[6]->setValue(55); }, {"ScrollBarMax6"}, int32(55)},
      {"Analog", [](TForm1& f) { f.AMode[2]->SetItemIndex(1); }, {"AMode2"}, int32(1)},
      {"Analog", [](TForm1& f) { f.MUX[3]->setText("95"); }, {"MUX3"}, text("95")},
      {"Analog",
       [](TForm1& f) { f.ADividerStr->setText("11112222"); },
       {"ADividerStr"},
       text("11112222")},
      {"Temperature/Counter",
       [](TForm1& f) { f.ScrollBarTmin[2]->setValue(-20); },
       {"ScrollBarT2min"},
       int32(-20)},
      {"SMS Shedule",
       [](TForm1& f) { f.SMSShed->SetItemIndex(0); },
       {"ScheduleString"},
       text("A55071223")},
      {"IO control", [](TForm1& f) { f.PulseDsb[3]->setValue(0); }, {"PulseDsb3"}, int32(0)},
      {"Other", [](TForm1& f) { f.TTimeout1SB->setValue(42); }, {"TTimeout1SB"}, int32(42)},
      {"Other", [](TForm1& f) { f.ATimeout1SBa->setValue(5); }, {"ATimeout1SB"}, int32(5)},
      {"GPRS, FTP", [](TForm1& f) { f.DirName->setText("site9"); }, {"DirName"}, text("site9")},
      {"GPRS, FTP", [](TForm1& f) { f.HTTPhostName->setText("h2"); }, {"HTTPhostName"}, text("h2")},
      {"Serial Port", [](TForm1& f) { f.TrackBar5->setValue(1234); }, {"TrackBar5"}, int32(1234)},
      {"Serial Port",
       [](TForm1& f) { f.SkipCRLFcb->setChecked(false); },
       {"SkipCRLFcb"},
       std::string(1, '\0')},
      {"Serial Port",
       [](TForm1& f) { f.SaveSettingAfterExitCB->setChecked(false); },
       {"SaveSettingAfterExitCB"},
       std::string(1, '\0')},
  };
  const Record r = DistinctRecord();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.page) + " " + c.fields.front());
    form.reset();
    TForm1& f = StartFrom(r);
    c.change(f);
    ASSERT_TRUE(f.SaveSetting1Click());
    const std::string saved = ReadFile();
    ASSERT_EQ(saved.size(), kSize);
    EXPECT_EQ(r.ChangedFields(saved), c.fields);
    const Field& first = r.Named(c.fields.front());
    EXPECT_EQ(saved.substr(first.offset, c.value.size()), c.value);
  }
}

}  // namespace
