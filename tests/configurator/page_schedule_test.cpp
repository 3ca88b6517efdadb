// The SMS schedule page: the 9-character schedule edited by the controls, "SET" and "GET" on
// the wire, the numbers of the scheduled SMS, and the schedule through the settings file.
#include <QCheckBox>
#include <QPushButton>
#include <QSlider>

#include "configurator/formutil.h"
#include "configurator/core/schedule.h"
#include "configurator/core/setupconfig.h"
#include "platform/widgets.h"
#include <QAbstractButton>
#include <QLabel>

#include "window_fixture.h"

namespace {
using cfgtest::LayoutFaults;

using cfgtest::Frame;

using cfgtest::WindowTest;
using configurator::TForm1;
using configurator::TScheduleControls;
using configurator::TSetupConfig;
namespace ui = configurator::ui;

// ---- pure rules ---------------------------------------------------------------------------

TEST(ScheduleCore, BuildFromControls) {
  auto controls = [](int type, int period, std::array<bool, 4> on, std::array<int, 4> hour) {
    TScheduleControls c;
    c.type = type;
    c.period = period;
    c.enabled = on;
    c.hour = hour;
    return c;
  };
  struct Case {
    std::string current;
    TScheduleControls c;
    std::string want;
  } cases[] = {
      {"", controls(0, 0, {false, true, true, false}, {0, 5, 12, 0}), "A330512  "},
      {"", controls(1, 4, {true, false, false, false}, {7, 0, 0, 0}), "C07      "},
      // "other" keeps what the slot left: its two blanks here.
      {"", controls(2, 4, {false, false, false, true}, {0, 0, 0, 23}), "T      23"},
      // Unchecked slots keep what the text held; the period overrides slot 1.
      {"L11223344", controls(3, 3, {true, false, false, false}, {9, 0, 0, 0}), "L66223344"},
      {"A330512  ", controls(4, 0, {true, true, true, true}, {1, 2, 3, 4}), std::string(9, ' ')},
      {"A330512  ", controls(-1, -1, {false, false, false, false}, {}), std::string(9, ' ')},
  };
  for (const Case& k : cases)
    EXPECT_EQ(configurator::BuildScheduleString(k.current, k.c), k.want) << k.want;
}

TEST(ScheduleCore, DecodeStoredSchedule) {
  struct Case {
    std::string stored;
    int type, period;
    std::array<bool, 4> on;
    std::array<int, 4> hour;  // -1: the bar keeps its position
  } cases[] = {
      {"T330512  ", 2, 0, {true, true, true, false}, {0, 5, 12, -1}},
      {"C07      ", 1, 4, {true, false, false, false}, {7, -1, -1, -1}},
      {"L2499  5x", 3, 4, {true, true, false, false}, {0, 23, -1, -1}},
      {"x66      ", 4, 3, {true, false, false, false}, {0, -1, -1, -1}},
      {"", 4, 4, {false, false, false, false}, {-1, -1, -1, -1}},
  };
  for (const Case& k : cases) {
    const TScheduleControls c = configurator::DecodeSchedule(k.stored);
    EXPECT_EQ(c.type, k.type) << k.stored;
    EXPECT_EQ(c.period, k.period) << k.stored;
    EXPECT_EQ(c.enabled, k.on) << k.stored;
    EXPECT_EQ(c.hour, k.hour) << k.stored;
  }
}

// ---- the page in the window ---------------------------------------------------------------

class SchedulePage : public WindowTest {
 protected:
  TForm1& Start(const std::string& schedule = "") {
    TSetupConfig c;
    c.ScheduleString.set(schedule);
    return WindowTest::Start(c);
  }
  // Sets a slot from code as the user would leave it: the bar silently, then its box.
  void Slot(int n, bool on, int hour) {
    platform::SetTrackPosition(form->TrackBar[static_cast<std::size_t>(n)], hour);
    form->CheckBoxS[static_cast<std::size_t>(n)]->setChecked(on);
  }
};

TEST_F(SchedulePage, SetFromAnEmptyScheduleSendsTheWholeText) {
  struct Case {
    int type, period;
    std::array<bool, 4> on;
    std::array<int, 4> hour;
    std::string sent;
  } cases[] = {
      {0, 0, {false, true, true, false}, {0, 5, 12, 0}, "A330512  "},
      {1, 4, {true, false, false, false}, {7, 0, 0, 0}, "C07      "},
      {4, 2, {true, true, true, true}, {1, 2, 3, 4}, std::string(9, ' ')},
  };
  for (const Case& k : cases) {
    TForm1& f = Start();
    ASSERT_EQ(f.ScheduleString, "");
    f.SMSShed->SetItemIndex(k.type);
    f.RadioGroup1->SetItemIndex(k.period);
    for (int n = 1; n <= 4; ++n)
      Slot(n, k.on[static_cast<std::size_t>(n - 1)], k.hour[static_cast<std::size_t>(n - 1)]);
    EXPECT_EQ(f.ScheduleString, "");  // the controls alone leave an empty schedule empty
    ui::SetMemoText(f.MemoSMSinput, "old");
    f.Exchange.Restore([](auto& s) { s.RawATMode = true; });
    f.SetShedule->click();
    EXPECT_EQ(Wire(), Frame("SETSH," + k.sent)) << k.sent;
    EXPECT_EQ(f.ScheduleString, k.sent);
    EXPECT_EQ(ui::MemoText(f.MemoS), "SETSH," + k.sent);
    EXPECT_EQ(ui::MemoText(f.MemoSMSinput), "");
    EXPECT_TRUE(f.Exchange.ReplyReady());
    form.reset();
  }
}

TEST_F(SchedulePage, GetAsksForTheStoredSchedule) {
  TForm1& f = Start();
  f.Exchange.Restore([](auto& s) { s.RawATMode = true; });
  f.GetShedule->click();
  EXPECT_EQ(Wire(), Frame("GETSH"));
  EXPECT_EQ(ui::MemoText(f.MemoS), "GETSH");
  EXPECT_TRUE(f.Exchange.ReplyReady());
}

// "GET" and "SET" put their command into the sent memo whatever line the terminal output
// stands at (a line written earlier moves it on).
TEST_F(SchedulePage, SentMemoShowsTheCommandAfterEarlierTerminalLines) {
  TForm1& f = Start("A33      ");
  serial::MemoLine = 2;
  f.SetShedule->click();
  EXPECT_EQ(Wire(), Frame("SETSH,A33      "));
  EXPECT_EQ(ui::MemoText(f.MemoS), "SETSH,A33      ");
  serial::MemoLine = 2;
  f.GetShedule->click();
  EXPECT_EQ(Wire(), Frame("GETSH"));
  EXPECT_EQ(ui::MemoText(f.MemoS), "GETSH");
}

TEST_F(SchedulePage, StoredScheduleComesBackIntoTheControls) {
  TForm1& f = Start("T330512  ");
  EXPECT_EQ(f.SMSShed->ItemIndex(), 2);
  EXPECT_EQ(f.RadioGroup1->ItemIndex(), 0);
  const bool on[] = {true, true, true, false};
  const int hour[] = {0, 5, 12, 0};
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(f.CheckBoxS[static_cast<std::size_t>(n)]->isChecked(), on[n - 1]) << n;
    EXPECT_EQ(f.TrackBar[static_cast<std::size_t>(n)]->value(), hour[n - 1]) << n;
  }
  EXPECT_EQ(f.ScheduleString, "T330512  ");
  // Unchanged controls send the same text back.
  f.SetShedule->click();
  EXPECT_EQ(Wire(), Frame("SETSH,T330512  "));
}

TEST_F(SchedulePage, UnknownTypeComesBackAsDisableAndBlank) {
  TForm1& f = Start("x66  13  ");
  EXPECT_EQ(f.SMSShed->ItemIndex(), 4);
  EXPECT_EQ(f.RadioGroup1->ItemIndex(), 3);
  EXPECT_TRUE(f.CheckBoxS[1]->isChecked());
  EXPECT_TRUE(f.CheckBoxS[3]->isChecked());
  EXPECT_EQ(f.TrackBar[3]->value(), 13);
  EXPECT_EQ(f.ScheduleString, " 66  13  ");
  ASSERT_TRUE(f.SaveSetting1Click());
  const std::string saved = ReadFile();
  ASSERT_EQ(saved.size(), configurator::kSetupConfigSize);
  const auto back = configurator::DecodeSetupConfig(
      reinterpret_cast<const unsigned char*>(saved.data()), saved.size());
  EXPECT_EQ(configurator::GetText(back.ScheduleString), " 66  13  ");
}

TEST_F(SchedulePage, ControlsEditSingleCharacters) {
  TForm1& f = Start("A330512  ");
  // Unchecking a box blanks its slot at once; checking it again leaves the blanks.
  f.CheckBoxS[3]->setChecked(false);
  EXPECT_EQ(f.ScheduleString, "A3305    ");
  f.CheckBoxS[3]->setChecked(true);
  EXPECT_EQ(f.ScheduleString, "A3305    ");
  f.TrackBar[3]->setValue(8);  // as the user moves it
  EXPECT_EQ(f.ScheduleString, "A330508  ");
  // A bar whose box is off writes nothing.
  f.TrackBar[4]->setValue(20);
  EXPECT_EQ(f.ScheduleString, "A330508  ");
  // Slot 1's hour overwrites the period code until "SET" puts it back.
  f.CheckBoxS[1]->setChecked(true);
  f.TrackBar[1]->setValue(6);
  EXPECT_EQ(f.ScheduleString, "A060508  ");
  f.SMSShed->SetItemIndex(3);
  f.RadioGroup1->SetItemIndex(2);
  EXPECT_EQ(f.ScheduleString, "L550508  ");
  f.RadioGroup1->SetItemIndex(4);  // "other" leaves the characters
  EXPECT_EQ(f.ScheduleString, "L550508  ");
  f.RadioGroup1->SetItemIndex(0);
  f.TrackBar[1]->setValue(9);
  EXPECT_EQ(f.ScheduleString, "L090508  ");
  f.SetShedule->click();
  EXPECT_EQ(Wire(), Frame("SETSH,L330508  "));
  EXPECT_EQ(f.ScheduleString, "L330508  ");
}

TEST_F(SchedulePage, NumbersWriteTheirBitsWithoutClearing) {
  TForm1& f = Start();
  // The value follows the boxes from the start: number 1 is checked in the form.
  f.Button36->click();
  EXPECT_EQ(Wire(), Frame("SNFLT1"));
  f.CheckBox2->setChecked(true);  // number 3
  f.Button36->click();
  EXPECT_EQ(Wire(), Frame("SNFLT5"));
  EXPECT_EQ(ui::MemoText(f.MemoS), "SNFLT5");
  f.CheckBox4->setChecked(false);
  f.CheckBox3->setChecked(true);
  f.Button36->click();
  EXPECT_EQ(Wire(), Frame("SNFLT6"));
  f.ScheduleNumberBits = 9;  // out of range goes as 0
  f.Button36->click();
  EXPECT_EQ(Wire(), Frame("SNFLT0"));
  f.Exchange.Restore([](auto& s) { s.RawATMode = true; });
  f.Button36->click();
  EXPECT_EQ(Wire(), "SNFLT0\r");
  EXPECT_TRUE(f.Exchange.RawATMode());
}

TEST_F(SchedulePage, PageIsLaidOutWithoutOverlapOrClippedCaptions) {
  Start();
  EXPECT_EQ(LayoutFaults(ShowPage(configurator::Page::Schedule)), std::vector<std::string>{});
}

}  // namespace
