// The IO control page: output, input and pulse commands on the wire, the output edits, the
// long filter, the sampling bar's twin on "GPRS, FTP", and the saved bar positions.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include <vector>

#include "configurator/formutil.h"
#include "configurator/core/ioanalog.h"
#include "configurator/pagebuild.h"
#include "configurator/core/setupconfig.h"
#include "platform/widgets.h"
#include "window_fixture.h"

namespace {

using cfgtest::Frame;

using cfgtest::WindowTest;
using configurator::TForm1;
using configurator::TSetupConfig;
namespace io = configurator::ioanalog;
namespace ui = configurator::ui;

TEST(IOControlCore, CommandAndDisplayTexts) {
  EXPECT_EQ(io::PulseCommand(0, 1, {}), "SETTN0,1,00000000");
  EXPECT_EQ(io::PulseCommand(12, 6, {9, 9, 9, 9, 9, 9, 9, 9}), "SETTN9,6,99999999");
  EXPECT_EQ(io::PulseCommand(3, 2, {0, 0, 7, 0, 0, 0, 0, 1}), "SETTN3,2,00700001");
  EXPECT_EQ(io::PulseText(7), "14");
  EXPECT_EQ(io::PulseText(0), "0");
  EXPECT_EQ(io::InputStateCommand(7), "GETIS07");
  EXPECT_EQ(io::InputStateCommand(12), "GETIS12");
  EXPECT_EQ(io::InputStateCommand(0), "GETIS00");
  struct Case {
    int position;
    const char* text;
  } filters[] = {{0, "000"}, {5, "005"}, {42, "042"}, {120, "120"}, {999, "999"}};
  for (const Case& c : filters) EXPECT_EQ(io::LongFilterText(c.position), c.text) << c.position;
}

TEST(IOControlCore, ParallelTextChangesOnlyTheOutputsItNames) {
  const auto states = io::OutputsAfterParallel("10x1");
  const std::array<std::string, 8> want{"ON ", "OFF", "", "ON ", "", "", "", ""};
  EXPECT_EQ(states, want);
  EXPECT_EQ(io::OutputsAfterParallel(""), (std::array<std::string, 8>{}));
  EXPECT_EQ(io::OutputsAfterParallel("111111110")[7], "ON ");  // a ninth character is ignored
}

class IOControlPage : public WindowTest {
 protected:
  QScrollBar* Bar(const char* name) { return form->findChild<QScrollBar*>(name); }
  std::string Outputs() {
    std::string s;
    for (int n = 1; n <= 8; ++n) s += form->Output[n]->text().toStdString() + "|";
    return s;
  }
};

TEST_F(IOControlPage, ControlsCarryTheirNamesCaptionsAndDefaults) {
  TForm1& f = Start();
  EXPECT_EQ(f.SetPulse->text(), "Set  Parameter");
  EXPECT_EQ(f.SetOutBin->text(), "OUTPUT parallel =");
  EXPECT_EQ(f.Button42->text(), "DInputs Filter Delay for Long Filter");
  EXPECT_EQ(f.GetOut[8]->text(), "Get Out8");
  EXPECT_EQ(f.ResetOut[3]->text(), "Out3 OFF");
  EXPECT_EQ(f.GetInp[12]->text(), "Get Inp12");
  EXPECT_EQ(f.findChild<QPushButton*>("SetOut8")->text(), "Out8 ON");
  EXPECT_EQ(f.OutputBin->text(), "00000000");
  EXPECT_EQ(f.OutputBin->MaxLength(), 8);
  EXPECT_EQ(f.LFilter->text(), "000");
  EXPECT_FALSE(f.LFilter->isReadOnly());
  EXPECT_EQ(Outputs(), "OFF|OFF|OFF|OFF|OFF|OFF|OFF|OFF|");
  struct Range {
    const char* bar;
    int min, max;
  } ranges[] = {{"SRateSB", 0, 9},
                {"DLoggerTmSB", 1, 6},
                {"PulseDsb1", 0, 9},
                {"PulseDsb8", 0, 9},
                {"LFilterSB", 0, 999}};
  for (const Range& r : ranges) {
    QScrollBar* b = Bar(r.bar);
    ASSERT_NE(b, nullptr) << r.bar;
    EXPECT_EQ(b->minimum(), r.min) << r.bar;
    EXPECT_EQ(b->maximum(), r.max) << r.bar;
  }
  for (int n = 1; n <= 8; ++n) EXPECT_TRUE(f.Output[n]->isReadOnly());
  EXPECT_TRUE(f.SRate->isReadOnly());
  EXPECT_TRUE(f.PulseD[4]->isReadOnly());
}

TEST_F(IOControlPage, ButtonsPutTheirCommandsOnTheWire) {
  TForm1& f = Start();
  struct Case {
    QPushButton* button;
    std::string command;
  } cases[] = {
      {f.SetPulse, "SETTN0,1,00000000"},
      {f.GetInp[7], "GETIS07"},
      {f.GetInp[12], "GETIS12"},
      {f.GetAllInput, "GETIS00"},
      {f.GetOutState, "GETOS0"},
      {f.GetOut[3], "GETOS3"},
      {f.SetOut[5], "SETOU5"},
      {f.ResetOut[8], "RSTOU8"},
      {f.Button43, "LONGF1"},
      {f.Button44, "LONGF0"},
      {f.Button42, "CNTMX,000"},
  };
  for (const Case& k : cases) {
    k.button->click();
    EXPECT_EQ(Wire(), Frame(k.command)) << k.command;
    EXPECT_EQ(Echo(), k.command);
  }
}

TEST_F(IOControlPage, PulseCommandCarriesTheBarsWhileTheEditsShowTwiceThem) {
  TForm1& f = Start();
  f.PulseDsb[3]->setValue(7);
  EXPECT_EQ(f.PulseD[3]->text(), "14");
  f.SetPulse->click();
  EXPECT_EQ(Wire(), Frame("SETTN0,1,00700000"));
  Bar("SRateSB")->setValue(9);
  Bar("DLoggerTmSB")->setValue(6);
  for (int n = 1; n <= 8; ++n) f.PulseDsb[n]->setValue(9);
  EXPECT_EQ(f.PulseD[8]->text(), "18");
  f.SetPulse->click();
  EXPECT_EQ(Wire(), Frame("SETTN9,6,99999999"));
}

TEST_F(IOControlPage, SingleOutputButtonsSetTheirEditOnly) {
  TForm1& f = Start();
  f.SetOut[2]->click();
  f.SetOut[7]->click();
  f.ResetOut[7]->click();
  Wire();
  EXPECT_EQ(Outputs(), "OFF|ON |OFF|OFF|OFF|OFF|OFF|OFF|");
}

TEST_F(IOControlPage, ParallelOutputsFollowTheTypedText) {
  TForm1& f = Start();
  for (int n = 1; n <= 8; ++n) f.Output[n]->setText("---");
  f.OutputBin->setText("10x1");
  f.SetOutBin->click();
  EXPECT_EQ(Wire(), Frame("OUTP 10x1"));
  EXPECT_EQ(Echo(), "OUTP 10x1");
  EXPECT_EQ(Outputs(), "ON |OFF|---|ON |---|---|---|---|");
  f.OutputBin->setText("");
  f.SetOutBin->click();
  EXPECT_EQ(Wire(), Frame("OUTP "));
  EXPECT_EQ(Outputs(), "ON |OFF|---|ON |---|---|---|---|");
}

// The output edit shows what was commanded, also when the busy modem drops the command.
TEST_F(IOControlPage, OutputEditChangesWhenABusyModemDropsTheCommand) {
  TSetupConfig c;
  c.SMSmode = 1;
  c.TKnumber2.set("+4917012345");
  TForm1& f = Start(c);
  f.Exchange.Restore([](auto& s) { s.ModemBusy = true; });
  f.SetOut[4]->click();
  EXPECT_EQ(Wire(), "");
  EXPECT_EQ(f.Output[4]->text(), "ON ");
  EXPECT_EQ(Echo(), "SETOU4");
}

TEST_F(IOControlPage, LongFilterDelayShowsThreeDigitsAndSendsWhatTheEditHolds) {
  TForm1& f = Start();
  Bar("LFilterSB")->setValue(5);
  EXPECT_EQ(f.LFilter->text(), "005");
  Bar("LFilterSB")->setValue(120);
  EXPECT_EQ(f.LFilter->text(), "120");
  f.Button42->click();
  EXPECT_EQ(Wire(), Frame("CNTMX,120"));
  f.LFilter->setText("7x");  // typed over: sent unchecked
  f.Button42->click();
  EXPECT_EQ(Wire(), Frame("CNTMX,7x"));
}

// The long filter buttons skip the clearing: after a raw AT line they go out unframed and
// leave the raw-line state set; a standard button frames again and clears it.
TEST_F(IOControlPage, LongFilterButtonsKeepTheRawLineState) {
  TForm1& f = Start();
  for (QPushButton* b : {f.Button42, f.Button43, f.Button44}) {
    f.Exchange.Restore([](auto& s) { s.RawATMode = true; });
    b->click();
    EXPECT_EQ(Wire().substr(0, 5), std::string(b == f.Button42 ? "CNTMX" : "LONGF"));
    EXPECT_TRUE(f.Exchange.RawATMode());
    EXPECT_FALSE(f.Exchange.ReplyReady());
  }
  f.GetOutState->click();
  EXPECT_EQ(Wire(), Frame("GETOS0"));
  EXPECT_FALSE(f.Exchange.RawATMode());
  EXPECT_TRUE(f.Exchange.ReplyReady());
}

TEST_F(IOControlPage, SamplingBarAndItsTwinFollowEachOther) {
  TForm1& f = Start();
  QScrollBar* twin = Bar("eSRateSB");
  if (!twin) GTEST_SKIP() << "the GPRS, FTP page is not built";
  Bar("SRateSB")->setValue(4);
  EXPECT_EQ(f.SRate->text(), "4");
  EXPECT_EQ(twin->value(), 4);
  EXPECT_EQ(f.findChild<QLineEdit*>("eSRate")->text(), "4");
  twin->setValue(7);
  EXPECT_EQ(Bar("SRateSB")->value(), 7);
  EXPECT_EQ(f.SRate->text(), "7");
  EXPECT_EQ(f.findChild<QLineEdit*>("eSRate")->text(), "7");
}

TEST_F(IOControlPage, BarPositionsAreSavedAndRestoredTheOutputsAreNot) {
  TSetupConfig c;
  c.PulseDsb = {1, 2, 3, 4, 5, 6, 7, 42};  // the last beyond its bar's range
  c.SRateSB = 8;                           // the twin's position at 4096 wins
  c.eSRateSB = 3;
  c.DLoggerTmSB = 5;
  c.eDLoggerTmSB = 2;  // set first, then 3628 at its later step
  TForm1& f = Start(c);
  EXPECT_EQ(f.PulseD[3]->text(), "6");
  EXPECT_EQ(f.PulseD[8]->text(), "18");
  EXPECT_EQ(Bar("SRateSB")->value(), 3);
  EXPECT_EQ(f.SRate->text(), "3");
  EXPECT_EQ(Bar("DLoggerTmSB")->value(), 5);

  f.PulseDsb[1]->setValue(9);
  Bar("SRateSB")->setValue(6);
  Bar("LFilterSB")->setValue(300);
  f.SetOut[1]->click();
  f.OutputBin->setText("0101");
  Wire();
  ASSERT_TRUE(f.SaveSetting1Click());
  const std::string saved = ReadFile();
  const TSetupConfig s = configurator::DecodeSetupConfig(
      reinterpret_cast<const unsigned char*>(saved.data()), saved.size());
  EXPECT_EQ(s.PulseDsb, (std::array<std::int32_t, 8>{9, 2, 3, 4, 5, 6, 7, 9}));
  EXPECT_EQ(s.SRateSB, 6);
  EXPECT_EQ(s.DLoggerTmSB, 5);

  form.reset();
  TForm1& g = Make();
  EXPECT_EQ(g.PulseD[1]->text(), "18");
  EXPECT_EQ(g.PulseDsb[1]->value(), 9);
  EXPECT_EQ(g.Output[1]->text(), "OFF");
  EXPECT_EQ(g.OutputBin->text(), "00000000");
  EXPECT_EQ(g.LFilter->text(), "000");
  EXPECT_EQ(g.LFilterSB->value(), 0);
}

}  // namespace

// Both pages of this file and the groups other pages put on them: inside the page, no two
// groups or buttons over each other, and no caption cut short.
TEST_F(IOControlPage, PagesAreLaidOutWithoutOverlap) {
  Start();
  for (configurator::Page index : {configurator::Page::Analog, configurator::Page::IOControl}) {
    QWidget* page = ShowPage(index);
    EXPECT_EQ(cfgtest::OverlapFaults(page), std::vector<std::string>{})
        << page->objectName().toStdString() << " " << page->width() << "x" << page->height();
    EXPECT_EQ(cfgtest::ClippedCaptions(page), std::vector<std::string>{})
        << page->objectName().toStdString();
  }
}
