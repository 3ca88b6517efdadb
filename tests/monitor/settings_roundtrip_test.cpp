// csv.cfg with every field set: the record is written here from the file's layout (not by the
// code under test), the window restores it and saves it again, byte for byte; and one control
// per page changed through the window changes exactly its field.
#include <QCalendarWidget>
#include <QLineEdit>
#include <QScrollBar>

#include <fstream>
#include <functional>
#include <iterator>

#include "form_fixture.h"
#include "monitor/folderlists.h"
#include "support/layout_record.h"

namespace {

using monitor_test::FormTest;
using Record = testsupport::LayoutRecord;

constexpr std::size_t kSize = 828;
constexpr bool kZeroRoom = true;

// Days since 30 December 1899 of a day.
double Days(const QDate& day) { return static_cast<double>(QDate(1899, 12, 30).daysTo(day)); }

// Every field with a value of its own that the window can hold. The working folder is stored
// but not restored: it holds the folder the window starts in, which the save stores again.
// The save clears the room after each text, so the room holds zeros here.
Record DistinctRecord(const std::string& folder) {
  Record r(kSize);
  r.Int32("DriveIndex", 0, 1);
  r.Text("WorkFolder", 4, 64, folder.substr(0, 64), kZeroRoom);
  r.Text("Host", 69, 64, "logger.upload.example.org", kZeroRoom);
  r.Text("UserID", 134, 64, "user-5063", kZeroRoom);
  r.Text("Password", 199, 64, "pa\xDF-word", kZeroRoom);
  r.Int32("TLevel", 264, -12);
  r.Int32("ALevel", 268, 77);
  r.Reserved("Reserved272", 272, 8);
  for (int k = 0; k < 8; ++k) {
    r.Int32("Coarse" + std::to_string(k + 1), 280 + 8 * static_cast<std::size_t>(k), 10 + k);
    r.Int32("Fine" + std::to_string(k + 1), 284 + 8 * static_cast<std::size_t>(k), 900 + k);
  }
  for (int k = 0; k < 8; ++k)
    r.Text("AName" + std::to_string(k + 1), 344 + 41 * static_cast<std::size_t>(k), 40,
           "Tank " + std::to_string(k + 1), kZeroRoom);
  r.Text("C1Name", 672, 40, "Gas", kZeroRoom);
  r.Text("C2Name", 713, 40, "Water", kZeroRoom);
  r.Text("T1Name", 754, 40,
         "Boiler \xB0"
         "C",
         kZeroRoom);
  r.Reserved("Pad795", 795, 1);
  r.Double("CopyFromDate", 796, Days(QDate(2024, 2, 29)));
  r.Reserved("Reserved804", 804, 24);
  return r;
}

class CsvSettingsRoundTrip : public FormTest {
 protected:
  monitor::TForm1& StartFrom(const Record& r) {
    std::ofstream(Path("csv.cfg"), std::ios::binary) << r.Bytes();
    auto& f = Form();
    f.OnCreate();
    EXPECT_TRUE(messages.empty());
    return f;
  }
  std::string Saved() const {
    std::ifstream in(Path("csv.cfg"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(CsvSettingsRoundTrip, TheLayoutTableCoversEveryByteOnce) {
  EXPECT_EQ(DistinctRecord(root_.toStdString()).CoverageFaults(), std::vector<std::string>{});
}

TEST_F(CsvSettingsRoundTrip, EveryFieldRestoredAndSavedUnchanged) {
  const Record r = DistinctRecord(root_.toStdString());
  auto& f = StartFrom(r);
  EXPECT_EQ(f.HostTxt->text(), "logger.upload.example.org");
  EXPECT_EQ(f.ScrollBarA0[8]->value(), 907);
  EXPECT_EQ(f.MonthCalendar1->selectedDate(), QDate(2024, 2, 29));
  f.SaveSetting1Click();
  const std::string saved = Saved();
  ASSERT_EQ(saved.size(), kSize);
  EXPECT_EQ(r.ChangedFields(saved), std::vector<std::string>{});
  EXPECT_TRUE(saved == r.Bytes());
}

TEST_F(CsvSettingsRoundTrip, OneControlPerPageChangesExactlyItsField) {
  struct Case {
    const char* page;
    std::function<void(monitor::TForm1&)> change;
    std::string field;
  };
  const Case cases[] = {
      {"transfer", [](monitor::TForm1& f) { f.UserTxt->setText("other"); }, "UserID"},
      {"transfer", [](monitor::TForm1& f) { f.PassTxt->setText("pw2"); }, "Password"},
      {"transfer", [](monitor::TForm1& f) { f.MonthCalendar2->setSelectedDate(QDate(2025, 1, 2)); },
       "CopyFromDate"},
      {"CSV", [](monitor::TForm1& f) { f.ScrollBar1->setValue(50); }, "TLevel"},
      {"CSV", [](monitor::TForm1& f) { f.ScrollBar2->setValue(3); }, "ALevel"},
      {"CSV", [](monitor::TForm1& f) { f.DriveComboBox1->ShowIndex(0); }, "DriveIndex"},
      {"Temperature", [](monitor::TForm1& f) { f.T1Name->setText("Oven"); }, "T1Name"},
      {"Counter 2", [](monitor::TForm1& f) { f.C2Name->setText("Oil"); }, "C2Name"},
      {"Analog 5", [](monitor::TForm1& f) { f.ScrollBarA[5]->setValue(3); }, "Coarse5"},
      {"Analog 6", [](monitor::TForm1& f) { f.ScrollBarA0[6]->setValue(12); }, "Fine6"},
      {"Analog 7", [](monitor::TForm1& f) { f.AName[7]->setText("Pump"); }, "AName7"},
  };
  const Record r = DistinctRecord(root_.toStdString());
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.page) + " " + c.field);
    form.reset();
    auto& f = StartFrom(r);
    c.change(f);
    f.SaveSetting1Click();
    EXPECT_EQ(r.ChangedFields(Saved()), std::vector<std::string>{c.field});
  }
}

}  // namespace
