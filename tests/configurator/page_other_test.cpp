// The "Other" page: the filter command in its fixed columns and the mirrored filter bars on
// the input pages, the option text, the time source and the automatic restart; their wire
// bytes in direct mode and their share of TK5063.cfg.
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include <cstring>

#include "configurator/formutil.h"
#include "configurator/core/other.h"
#include "configurator/core/setupconfig.h"
#include "platform/controls.h"
#include "platform/widgets.h"
#include "window_fixture.h"

namespace {

using cfgtest::Frame;

using cfgtest::WindowTest;
using configurator::TForm1;
namespace other = configurator::other;
namespace ui = configurator::ui;

TEST(OtherCore, FilterValuesAndCommands) {
  struct Case {
    std::string got, want;
  } cases[] = {
      {other::TwoDigitText(0), "00"},
      {other::TwoDigitText(7), "07"},
      {other::TwoDigitText(42), "42"},
      {other::EditFilterValue("0"), "00"},
      {other::EditFilterValue("7"), "07"},
      {other::EditFilterValue("42"), "42"},
      {other::EditFilterValue("123"), "12"},
      {other::EditFilterValue("4x"), "04"},
      {other::EditFilterValue(""), "00"},
      {other::AllFiltersCommand(5, 12, 3), "SETTF,05,12,3"},
      {other::TemperatureFilterCommand("7"), "SETTF,07 "},
      {other::AnalogFilterCommand("42"), "SETTF,,,,42 "},
      {other::DigitalFilterCommand("4"), "SETTF       4"},
      {other::WithOptionChar("MP", 4, 'E'), "MP E"},
      {other::PaddedOptionText("MPEDEEDDDEEDDDE"), "MPEDEEDDDEEDDDE "},
      {other::PaddedOptionText(std::string(20, 'E')), std::string(16, 'E')},
      {other::TimeSourceCommand(5), "DTFTP6"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
}

class OtherPage : public WindowTest {
 protected:
  QScrollBar* Bar(const char* name) { return form->findChild<QScrollBar*>(name); }
  std::string EditText(const char* name) {
    return platform::Text(form->findChild<QLineEdit*>(name));
  }
  QPushButton* Button(const char* name) { return form->findChild<QPushButton*>(name); }
  // A key typed into an edit as the user types it.
  static void Type(QWidget* w, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
  }
};

TEST_F(OtherPage, ControlsStartAtTheirDefaults) {
  TForm1& f = Start();
  for (const char* edit :
       {"TTimeout1", "TTimeout1t", "ATimeout1", "ATimeout1a", "DFilter", "DFilterD"}) {
    ASSERT_NE(form->findChild<QLineEdit*>(edit), nullptr) << edit;
    EXPECT_EQ(EditText(edit), "0") << edit;
    EXPECT_TRUE(form->findChild<QLineEdit*>(edit)->isReadOnly()) << edit;
  }
  // Each filter button stands on its own page with the caption it has there.
  using configurator::Page;
  const std::pair<const char*, Page> buttons[] = {{"SetTimeoutFilter", Page::Other},
                                                  {"SetTtimeoutFilter", Page::TempCounter},
                                                  {"SetTimeoutAnalogFilter", Page::Analog},
                                                  {"SetDtimeoutFilter", Page::IOControl}};
  for (const auto& [name, page] : buttons) {
    ASSERT_NE(Button(name), nullptr) << name;
    EXPECT_TRUE(f.PageOf(page)->isAncestorOf(Button(name))) << name;
    EXPECT_EQ(Button(name)->text(), page == Page::Analog ? "Timeout Filter" : "Set Timeout Filter")
        << name;
  }
  const std::pair<const char*, int> ranges[] = {{"TTimeout1SB", 99}, {"TTimeout1SBt", 99},
                                                {"ATimeout1SB", 99}, {"ATimeout1SBa", 99},
                                                {"DFilterSB", 9},    {"DFilterSBd", 9}};
  for (const auto& [name, max] : ranges) {
    ASSERT_NE(Bar(name), nullptr) << name;
    EXPECT_EQ(Bar(name)->maximum(), max) << name;
    EXPECT_EQ(Bar(name)->value(), 0) << name;
  }
  EXPECT_EQ(platform::Text(f.StringStr1), "MPEDEEDDDEEDDDE");
  EXPECT_TRUE(f.StringStr1->isReadOnly());
  EXPECT_EQ(f.RadioGroup2->ItemIndex(), 2);
  EXPECT_FALSE(f.RestartEnable->isChecked());
  std::string fromBoxes = "MP";
  for (int n = 3; n <= 15; ++n) fromBoxes += f.oCheckBox[n]->isChecked() ? 'E' : 'D';
  EXPECT_EQ(fromBoxes, platform::Text(f.StringStr1));
}

TEST_F(OtherPage, CommandsOnTheWire) {
  TForm1& f = Start();
  struct Case {
    std::function<void()> prepare;
    const char* button;
    std::string command;
  } cases[] = {
      {[] {}, "SetTimeoutFilter", "SETTF,00,00,0"},
      {[] {}, "SetTimeoutAnalogFilter", "SETTF,,,,00 "},
      {[] {}, "SetTtimeoutFilter", "SETTF,00 "},
      {[] {}, "SetDtimeoutFilter", "SETTF       0"},
      {[] {}, "Button1", "DTFTP3"},
      {[] {}, "Button19", "RSTEN0"},
      {[] {}, "GetOther", "GETMP"},
      {[this] {
         Bar("TTimeout1SB")->setValue(5);
         Bar("ATimeout1SB")->setValue(12);
         Bar("DFilterSB")->setValue(3);
       },
       "SetTimeoutFilter", "SETTF,05,12,3"},
      // Positions beyond the ranges stop at their ends.
      {[this] {
         Bar("TTimeout1SB")->setValue(150);
         Bar("ATimeout1SB")->setValue(99);
         Bar("DFilterSB")->setValue(12);
       },
       "SetTimeoutFilter", "SETTF,99,99,9"},
      {[this] { Bar("TTimeout1SBt")->setValue(7); }, "SetTtimeoutFilter", "SETTF,07 "},
      {[this] { Bar("ATimeout1SBa")->setValue(42); }, "SetTimeoutAnalogFilter", "SETTF,,,,42 "},
      {[this] { Bar("DFilterSBd")->setValue(4); }, "SetDtimeoutFilter", "SETTF       4"},
      {[&f] { f.RadioGroup2->SetItemIndex(5); }, "Button1", "DTFTP6"},
      {[&f] { f.RadioGroup2->SetItemIndex(0); }, "Button1", "DTFTP1"},
      {[&f] { f.RestartEnable->setChecked(true); }, "Button19", "RSTEN1"},
  };
  for (const Case& c : cases) {
    c.prepare();
    ASSERT_NE(Button(c.button), nullptr) << c.button;
    Button(c.button)->click();
    EXPECT_EQ(Wire(), Frame(c.command)) << c.button << " " << c.command;
    EXPECT_EQ(ui::MemoText(f.MemoS), c.command) << c.button;
  }
  // The digital filter bar on "Other" followed its twin.
  EXPECT_EQ(Bar("DFilterSB")->value(), 4);
}

TEST_F(OtherPage, TwinBarsFollowEachOther) {
  Start();
  struct Pair {
    const char *bar, *twin, *edit, *twinEdit;
  } pairs[] = {
      {"TTimeout1SB", "TTimeout1SBt", "TTimeout1", "TTimeout1t"},
      {"ATimeout1SB", "ATimeout1SBa", "ATimeout1", "ATimeout1a"},
  };
  for (const Pair& p : pairs) {
    Bar(p.bar)->setValue(7);
    EXPECT_EQ(Bar(p.twin)->value(), 7) << p.bar;
    EXPECT_EQ(EditText(p.edit), "07") << p.bar;
    EXPECT_EQ(EditText(p.twinEdit), "07") << p.bar;
    Bar(p.twin)->setValue(15);
    EXPECT_EQ(Bar(p.bar)->value(), 15) << p.twin;
    EXPECT_EQ(EditText(p.edit), "15") << p.twin;
    EXPECT_EQ(EditText(p.twinEdit), "15") << p.twin;
  }
  Bar("DFilterSB")->setValue(6);
  EXPECT_EQ(Bar("DFilterSBd")->value(), 6);
  EXPECT_EQ(EditText("DFilter"), "6");
  EXPECT_EQ(EditText("DFilterD"), "6");
  Bar("DFilterSBd")->setValue(2);
  EXPECT_EQ(Bar("DFilterSB")->value(), 2);
  EXPECT_EQ(EditText("DFilter"), "2");
  EXPECT_EQ(EditText("DFilterD"), "2");
}

// The time source and the restart leave raw AT mode as they find it, so they go out
// unframed after a raw AT line; the filter and option buttons clear it first.
TEST_F(OtherPage, TimeSourceAndRestartKeepRawMode) {
  TForm1& f = Start();
  f.Squality->click();
  Wire();
  f.Button1->click();
  EXPECT_EQ(Wire(), "DTFTP3\r");
  f.Button19->click();
  EXPECT_EQ(Wire(), "RSTEN0\r");
  EXPECT_TRUE(f.Exchange.RawATMode());
  f.SetOther->click();
  EXPECT_EQ(Wire(), Frame("SETMP MPEDEEDDDEEDDDE "));
  EXPECT_FALSE(f.Exchange.RawATMode());
}

TEST_F(OtherPage, OptionTextFollowsBoxesAndMarksAndSetPadsIt) {
  TForm1& f = Start();
  // A box changes its character at once; nothing goes to the device.
  f.oCheckBox[4]->setChecked(true);
  EXPECT_EQ(platform::Text(f.StringStr1), "MPEEEEDDDEEDDDE");
  f.oCheckBox[15]->setChecked(false);
  EXPECT_EQ(platform::Text(f.StringStr1), "MPEEEEDDDEEDDDD");
  EXPECT_EQ(Wire(), "");

  // The minus mark typed over its selected character; a second one is refused.
  f.MinusMark->selectAll();
  Type(f.MinusMark, Qt::Key_X, "X");
  EXPECT_EQ(platform::Text(f.MinusMark), "X");
  Type(f.MinusMark, Qt::Key_Y, "Y");
  EXPECT_EQ(platform::Text(f.MinusMark), "X");
  EXPECT_EQ(platform::Text(f.StringStr1), "XPEEEEDDDEEDDDD");
  // An emptied mark leaves the character until a new one is typed.
  f.PlusMark->setText("");
  EXPECT_EQ(platform::Text(f.StringStr1), "XPEEEEDDDEEDDDD");
  f.PlusMark->setText("+");
  EXPECT_EQ(platform::Text(f.StringStr1), "X+EEEEDDDEEDDDD");

  f.MemoSMSinput->setPlainText("old answer");
  f.SetOther->click();
  EXPECT_EQ(Wire(), Frame("SETMP X+EEEEDDDEEDDDD "));
  EXPECT_EQ(platform::Text(f.StringStr1), "X+EEEEDDDEEDDDD ");
  EXPECT_EQ(f.OptionString, "X+EEEEDDDEEDDDD ");
  EXPECT_EQ(ui::MemoText(f.MemoS), "SETMP X+EEEEDDDEEDDDD ");
  EXPECT_EQ(ui::MemoText(f.MemoSMSinput), "");
  EXPECT_TRUE(f.Exchange.ReplyReady());

  // After SET the sixteenth character stays through later changes.
  f.oCheckBox[3]->setChecked(false);
  EXPECT_EQ(platform::Text(f.StringStr1), "X+DEEEDDDEEDDDD ");
  // GET only asks; the answer changes neither the text nor the boxes.
  f.GetOther->click();
  EXPECT_EQ(Wire(), Frame("GETMP"));
  Chunk("MPEEEEEEEEEEEEE \r\n");
  f.Timer1Timer();
  EXPECT_EQ(platform::Text(f.StringStr1), "X+DEEEDDDEEDDDD ");
  EXPECT_FALSE(f.oCheckBox[3]->isChecked());
  EXPECT_NE(ui::MemoText(f.MemoSMSinput).find("MPEEEEEEEEEEEEE"), std::string::npos);
}

TEST_F(OtherPage, FiltersAndOptionTextLiveInTheSettingsFile) {
  {
    std::string rec(configurator::kSetupConfigSize, '\0');
    auto put32 = [&rec](std::size_t off, std::int32_t v) { std::memcpy(&rec[off], &v, 4); };
    put32(configurator::cfgoff::TTimeout1SB, 25);
    put32(configurator::cfgoff::ATimeout1SB, 130);  // beyond the bar: it stops at 99
    put32(configurator::cfgoff::DFilterSB, 4);
    WriteFile(rec);
  }
  TForm1& f = Make();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(Bar("TTimeout1SB")->value(), 25);
  EXPECT_EQ(Bar("TTimeout1SBt")->value(), 25);
  EXPECT_EQ(EditText("TTimeout1"), "25");
  EXPECT_EQ(EditText("TTimeout1t"), "25");
  EXPECT_EQ(Bar("ATimeout1SBa")->value(), 99);
  EXPECT_EQ(EditText("ATimeout1a"), "99");
  EXPECT_EQ(Bar("DFilterSBd")->value(), 4);
  EXPECT_EQ(EditText("DFilter"), "4");
  EXPECT_EQ(EditText("DFilterD"), "4");
  EXPECT_EQ(f.OptionString, "");

  // Saved: the positions of the bars on "Other" (set here through their twins) and the
  // option text last sent.
  Bar("TTimeout1SBt")->setValue(3);
  Bar("ATimeout1SB")->setValue(61);
  Bar("DFilterSBd")->setValue(9);
  f.oCheckBox[14]->setChecked(true);
  f.SetOther->click();
  f.oCheckBox[13]->setChecked(true);  // not sent: not saved
  ASSERT_TRUE(f.SaveSetting1Click());
  const std::string saved = ReadFile();
  ASSERT_EQ(saved.size(), configurator::kSetupConfigSize);
  auto get32 = [&saved](std::size_t off) {
    std::int32_t v;
    std::memcpy(&v, &saved[off], 4);
    return v;
  };
  EXPECT_EQ(get32(configurator::cfgoff::TTimeout1SB), 3);
  EXPECT_EQ(get32(configurator::cfgoff::ATimeout1SB), 61);
  EXPECT_EQ(get32(configurator::cfgoff::DFilterSB), 9);
  const std::size_t o = configurator::cfgoff::OptionString;
  EXPECT_EQ(static_cast<unsigned char>(saved[o]), 16);
  EXPECT_EQ(saved.substr(o + 1, 16), "MPEDEEDDDEEDDEE ");

  // A restart brings the filters back; the option text comes back only as the value last
  // sent, the page itself starts from its defaults.
  form.reset();
  TForm1& g = Make();
  EXPECT_EQ(EditText("TTimeout1t"), "03");
  EXPECT_EQ(EditText("ATimeout1a"), "61");
  EXPECT_EQ(EditText("DFilterD"), "9");
  EXPECT_EQ(g.OptionString, "MPEDEEDDDEEDDEE ");
  EXPECT_EQ(platform::Text(g.StringStr1), "MPEDEEDDDEEDDDE");
  EXPECT_FALSE(g.oCheckBox[14]->isChecked());
}

}  // namespace
