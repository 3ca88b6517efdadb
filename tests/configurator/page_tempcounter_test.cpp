// Temperature/Counter and RunTime pages: command texts, the bytes on the wire, the divider
// check, the restore and save of the temperature levels, and the pages' layout.
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

#include <cstring>

#include "configurator/formutil.h"
#include "configurator/core/setupconfig.h"
#include "configurator/core/tempcounter.h"
#include "platform/controls.h"
#include "platform/widgets.h"
#include "window_fixture.h"

namespace {

using cfgtest::Frame;

using cfgtest::WindowTest;
using configurator::TForm1;
namespace tc = configurator::tempcounter;

// ---- command texts ----------------------------------------------------------------------

TEST(TempCounterCore, SignedLevelText) {
  const std::pair<const char*, const char*> cases[] = {
      {"0", "+000"},   {"5", "+005"},   {"12", "+012"},  {"149", "+149"},
      {"-5", "-005"},  {"-10", "-010"}, {"-99", "-099"}, {"-146", "-146"},
      {"600", "+600"}, {"+7", "+007"},  {"+42", "+042"}, {"12345", "+123"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(tc::NormalizeSignedLevel(in), out) << in;
}

TEST(TempCounterCore, CommandTexts) {
  EXPECT_EQ(tc::TemperatureLevelCommand(1, -10, 30), "TCLEV1-010+030");
  EXPECT_EQ(tc::TemperatureLevelCommand(1, 0, 0), "TCLEV1+000+000");
  EXPECT_EQ(tc::TemperatureLevelCommand(3, -99, 149), "TCLEV3-099+149");
  EXPECT_EQ(tc::RunTimeLevelCommand(100, 32000), "RTLEV 00100 32000");
  EXPECT_EQ(tc::RunTimeLevelCommand(100, 32000).size(), 17u);
  EXPECT_EQ(tc::RunTimeDividerText(0), "0000");
  EXPECT_EQ(tc::RunTimeDividerText(4), "0004");
  EXPECT_EQ(tc::RunTimeDividerText(9600), "9600");
  EXPECT_EQ(tc::RunTimeSourceCommand(0, 0, "0004"), "RTMOD1A0004");
  EXPECT_EQ(tc::RunTimeSourceCommand(2, 2, "0240"), "RTMOD3I0240");
  EXPECT_EQ(tc::RunTimeSourceCommand(3, 1, "9999"), "RTMOD4D9999");
  EXPECT_EQ(tc::RunTimeSourceCommand(-1, 0, "0000"), "");
  EXPECT_EQ(tc::RunTimeSourceCommand(0, 3, "0000"), "");
  EXPECT_EQ(tc::RunTimeModeCommand(1, 2), "RTMOD12");
  EXPECT_EQ(tc::RunTimeModeCommand(0, 7), "RTMOD07");
  EXPECT_EQ(tc::RunTimeModeCommand(2, 0), "");
  EXPECT_EQ(tc::RunTimeModeCommand(0, 8), "");
}

TEST(TempCounterCore, DividerField) {
  const std::pair<const char*, const char*> cases[] = {
      {"0000", "0000"}, {"0240", "0240"}, {"4", "0004"}, {"96", "0096"}, {"9999", "9999"},
      {"", ""},         {"12a", ""},      {" 12", ""},   {"-1", ""},     {"12345", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(tc::RunTimeDividerField(in), out) << in;
}

TEST(TempCounterCore, ModeLabelsSpellTheMask) {
  EXPECT_EQ(tc::RunTimeModeLabel(1, 2, 1), "DI11       Pulse COUNTER 1");
  EXPECT_EQ(tc::RunTimeModeLabel(1, 2, 2), "DI12=1 RunTime COUNTER 2");
  EXPECT_EQ(tc::RunTimeModeLabel(1, 2, 3), "DI10       Pulse COUNTER 3");
  EXPECT_EQ(tc::RunTimeModeLabel(0, 5, 1), "DI11=0 RunTime COUNTER 1");
  EXPECT_EQ(tc::RunTimeModeLabel(0, 5, 3), "DI10=0 RunTime COUNTER 3");
}

// ---- the window ---------------------------------------------------------------------------

class TempCounterPage : public WindowTest {
 protected:
  QScrollBar* Bar(const char* name) { return form->findChild<QScrollBar*>(name); }
  QLineEdit* Edit(const char* name) { return form->findChild<QLineEdit*>(name); }
  QPushButton* Btn(const QString& name) {
    auto* b = form->findChild<QPushButton*>(name);
    EXPECT_NE(b, nullptr) << name.toStdString();
    return b;
  }
  void Click(const QString& name) {
    if (QPushButton* b = Btn(name)) b->click();
  }
  static std::int32_t Int32At(const std::string& bytes, std::size_t offset) {
    std::int32_t v = 0;
    std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
  }
  static void PutInt32(std::string& bytes, std::size_t offset, std::int32_t v) {
    std::memcpy(bytes.data() + offset, &v, sizeof v);
  }
};

TEST_F(TempCounterPage, EveryButtonSendsItsCommandFramed) {
  TForm1& f = Start();
  struct Case {
    QString button;
    std::string command;
  };
  std::vector<Case> cases = {
      {"TlevelCmd", "TCLEV1+000+000"},
      {"TlevelCmd2", "TCLEV2+000+000"},
      {"TlevelCmd3", "TCLEV3+000+000"},
      {"COUNTERS", "GETCT"},
      {"Button7", "GETCT"},
      {"Button8", "CLRCT0"},
      {"Button39", "CLRCT1"},
      {"Button40", "CLRCT2"},
      {"Button41", "CLRCT3"},
      {"Button45", "CFLOW0"},
      {"Button46", "CFLOW1"},
      {"ReadRT", "GETRT"},
      {"RTlevelSend", "RTLEV 00000 00000"},
      {"SetRTsource", "RTMOD1A0000"},
      {"Button2", "RTMODR"},
  };
  // The RunTime page's "Write" buttons: level 0 masks 0..7 on Button27 down to Button20,
  // level 1 masks 0..7 on Button28 up to Button35.
  for (int mask = 0; mask <= 7; ++mask) {
    cases.push_back({QString("Button%1").arg(27 - mask), "RTMOD0" + std::to_string(mask)});
    cases.push_back({QString("Button%1").arg(28 + mask), "RTMOD1" + std::to_string(mask)});
  }
  for (const Case& c : cases) {
    Click(c.button);
    EXPECT_EQ(Wire(), Frame(c.command)) << c.button.toStdString();
    EXPECT_EQ(Echo(), c.command) << c.button.toStdString();
  }
  EXPECT_TRUE(f.Exchange.ReplyReady());
}

TEST_F(TempCounterPage, FormatSourceAndModeButtonsKeepRawModeAndGoUnframed) {
  TForm1& f = Start();
  const std::pair<const char*, std::string> cases[] = {
      {"Button45", "CFLOW0"}, {"Button46", "CFLOW1"},  {"SetRTsource", "RTMOD1A0000"},
      {"Button2", "RTMODR"},  {"Button20", "RTMOD07"},
  };
  for (const auto& [button, command] : cases) {
    f.Exchange.Restore([](auto& s) { s.RawATMode = true; });
    Click(button);
    EXPECT_EQ(Wire(), command + "\r") << button;
    EXPECT_TRUE(f.Exchange.RawATMode()) << button;
    EXPECT_FALSE(f.Exchange.ReplyReady()) << button;
  }
  // A handler with Clear ends the raw mode: framed again.
  Click("Button7");
  EXPECT_EQ(Wire(), Frame("GETCT"));
  EXPECT_FALSE(f.Exchange.RawATMode());
}

TEST_F(TempCounterPage, TemperatureLevelsShowSendAndMarkTheLevels) {
  TForm1& f = Start();
  Bar("ScrollBarT2min")->setValue(-5);
  Bar("ScrollBarT2max")->setValue(45);
  EXPECT_EQ(Edit("T2min")->text(), "-5");
  EXPECT_EQ(Edit("T2max")->text(), "45");
  // Edits are typed over in vain: the bars are what is sent.
  Edit("T2max")->setText("99");
  Click("TlevelCmd2");
  EXPECT_EQ(Wire(), Frame("TCLEV2-005+045"));
  EXPECT_EQ(platform::Base(Edit("T2max")), QColor(0, 255, 0));
  EXPECT_EQ(platform::Base(Edit("T2min")), QColor(0, 255, 255));
  EXPECT_EQ(platform::Base(Edit("T1max")), QColor(255, 255, 245));

  // The bars clamp at their ends.
  Bar("ScrollBarT3min")->setValue(-500);
  Bar("ScrollBarT3max")->setValue(500);
  EXPECT_EQ(Edit("T3min")->text(), "-99");
  EXPECT_EQ(Edit("T3max")->text(), "149");
  Click("TlevelCmd3");
  EXPECT_EQ(Wire(), Frame("TCLEV3-099+149"));

  // A change of page gives the marked edits their common colour back.
  f.PageControl1->setCurrentIndex(6);
  f.PageControl1->setCurrentIndex(12);
  for (const char* name : {"T2max", "T2min", "T3max", "T3min"})
    EXPECT_EQ(platform::Base(Edit(name)), QColor(255, 255, 245)) << name;
}

TEST_F(TempCounterPage, RunTimeLevelsAndSource) {
  Start();
  Bar("ScrollBarRT1")->setValue(7);
  Bar("ScrollBarRT2")->setValue(0);
  EXPECT_EQ(Edit("RT1")->text(), "7");
  Click("RTlevelSend");
  EXPECT_EQ(Wire(), Frame("RTLEV 00007 00000"));
  Bar("ScrollBarRT2")->setValue(40000);
  Click("RTlevelSend");
  EXPECT_EQ(Wire(), Frame("RTLEV 00007 32000"));

  Bar("ScrollBar1")->setValue(240);
  EXPECT_EQ(Edit("RTdivider")->text(), "0240");
  form->RTsource->SetItemIndex(2);       // "Digital Inversion"
  form->RTinputSource->SetItemIndex(2);  // "A3 / D3"
  Click("SetRTsource");
  EXPECT_EQ(Wire(), Frame("RTMOD3I0240"));
  // The edit is not written back into the bar.
  Edit("RTdivider")->setText("2400");
  EXPECT_EQ(Bar("ScrollBar1")->value(), 240);
  form->RTsource->SetItemIndex(1);
  form->RTinputSource->SetItemIndex(3);
  Click("SetRTsource");
  EXPECT_EQ(Wire(), Frame("RTMOD4D2400"));
}

TEST_F(TempCounterPage, TypedDividerIsCheckedBeforeSending) {
  Start();
  // A short number is sent as the four digits the device reads, and shown so.
  Edit("RTdivider")->setText("7");
  Click("SetRTsource");
  EXPECT_EQ(Wire(), Frame("RTMOD1A0007"));
  EXPECT_EQ(Edit("RTdivider")->text(), "0007");
  EXPECT_TRUE(boxes.empty());

  for (const char* bad : {"", "12a", "1 2"}) {
    boxes.clear();
    Edit("RTdivider")->setText(bad);
    Click("SetRTsource");
    EXPECT_EQ(Wire(), "") << bad;
    ASSERT_EQ(boxes.size(), 1u) << bad;
    EXPECT_EQ(boxes[0].text,
              "The run-time divider must be a number of up to four digits (0000..9999).\r\n"
              "Nothing was sent.");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(Edit("RTdivider")->text(), bad);  // the user's text stays for correcting
  }
}

TEST_F(TempCounterPage, TemperatureLevelsRestoreAndSave) {
  std::string bytes(configurator::kSetupConfigSize, '\0');
  // minimum 1, maximum 1, minimum 2, maximum 2, minimum 3, maximum 3
  const std::int32_t stored[6] = {-10, 30, -5, 45, -200, 149};
  for (int i = 0; i < 6; ++i) PutInt32(bytes, configurator::cfgoff::TempLevels + 4 * i, stored[i]);
  WriteFile(bytes);
  TForm1& f = Make();
  const std::pair<const char*, const char*> shown[] = {
      {"ScrollBarT1min", "T1min"}, {"ScrollBarT1max", "T1max"}, {"ScrollBarT2min", "T2min"},
      {"ScrollBarT2max", "T2max"}, {"ScrollBarT3min", "T3min"}, {"ScrollBarT3max", "T3max"},
  };
  const int expected[6] = {-10, 30, -5, 45, -99, 149};  // the bar clamps -200
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(Bar(shown[i].first)->value(), expected[i]) << shown[i].first;
    EXPECT_EQ(Edit(shown[i].second)->text().toStdString(), std::to_string(expected[i]));
  }
  Click("TlevelCmd");
  EXPECT_EQ(Wire(), Frame("TCLEV1-010+030"));

  Bar("ScrollBarT2max")->setValue(120);
  ASSERT_TRUE(f.SaveSetting1Click());
  const std::string saved = ReadFile();
  ASSERT_EQ(saved.size(), configurator::kSetupConfigSize);
  const int after[6] = {-10, 30, -5, 120, -99, 149};
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(Int32At(saved, configurator::cfgoff::TempLevels + 4 * i), after[i]) << i;
}

// A click on either run-time group runs the schedule's period click once: it writes the code
// of the schedule's own period item into the schedule text.
TEST_F(TempCounterPage, RunTimeGroupsRunTheSchedulePeriodClick) {
  TForm1& f = Start();
  ASSERT_NE(f.RadioGroup1, nullptr);
  f.RadioGroup1->SetItemIndex(0);  // "Hours": code 33
  int periodRuns = 0;
  auto run = [&](auto&& change) {
    f.ScheduleString = "A99123456";
    change();
    if (f.ScheduleString != "A99123456") ++periodRuns;
    return f.ScheduleString;
  };
  EXPECT_EQ(run([&] { f.RTsource->SetItemIndex(1); }), "A33123456");
  EXPECT_EQ(run([&] { f.RTinputSource->SetItemIndex(3); }), "A33123456");
  EXPECT_EQ(run([&] { f.RTinputSource->SetItemIndex(3); }), "A99123456");  // no change, no click
  EXPECT_EQ(periodRuns, 2);
  EXPECT_EQ(Wire(), "");  // choosing sends nothing
}

TEST_F(TempCounterPage, PagesAreLaidOutWithoutOverlap) {
  TForm1& f = Start();
  f.show();
  QCoreApplication::processEvents();
  // The run-time controls show only in the run-time variant.
  EXPECT_FALSE(f.PanelRT->isVisibleTo(f.PageOf(configurator::Page::TempCounter)));
  EXPECT_FALSE(f.ReadRT->isVisibleTo(f.PageOf(configurator::Page::Main)));
  EXPECT_TRUE(f.COUNTERS->isVisibleTo(f.PageOf(configurator::Page::Main)));

  // Both variants' controls are measured.
  f.ApplyModelVariant(true);
  for (configurator::Page p :
       {configurator::Page::Main, configurator::Page::TempCounter, configurator::Page::RunTime}) {
    QWidget* page = ShowPage(p);
    const auto mine = p == configurator::Page::Main
                          ? QList<QWidget*>{f.COUNTERS, f.ReadRT}
                          : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    EXPECT_EQ(cfgtest::OverlapFaults(page, mine), std::vector<std::string>{})
        << page->objectName().toStdString();
  }
}

}  // namespace
