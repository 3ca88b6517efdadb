// The Analog page: level, mode, correction and load commands on the wire, the level edits,
// and the page's fields through the settings file.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

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

TEST(AnalogCore, LevelTextIsAlwaysTwoDigits) {
  struct Case {
    int position;
    const char* text;
  } cases[] = {{0, "00"}, {7, "07"}, {10, "10"}, {99, "99"}, {123, "12"}};
  for (const Case& c : cases) EXPECT_EQ(io::LevelText(c.position), c.text) << c.position;
}

TEST(AnalogCore, CommandTexts) {
  EXPECT_EQ(io::LevelCommand(1, "05", "80"), "ANLEV1,05,80");
  EXPECT_EQ(io::ModeCommand({0, 1, 0, 0, 0, 0, 0, 1}, "11111111", "11111111"),
            "AMODE12111112,11111111,11111111");
  EXPECT_EQ(io::ModeCommand({}, "", "9x"), "AMODE11111111,,9x");  // texts go as typed
  EXPECT_EQ(io::CorrectionCommand(4, "105"), "K20MA4,105");
}

class AnalogPage : public WindowTest {
 protected:
  // The form's own texts, as a record that the configurator saved with them holds them.
  static TSetupConfig Defaults() {
    TSetupConfig c;
    c.AkoeffStr.set("11111111");
    c.ADividerStr.set("11111111");
    for (auto& m : c.MUX) m.set("100");
    return c;
  }
};

TEST_F(AnalogPage, ControlsCarryTheirNamesAndRanges) {
  TForm1& f = Start(Defaults());
  for (const char* name :
       {"Minlv1", "Maxlv1", "MinLv2", "MaxLv8", "AkoeffStr", "ADividerStr", "MUX1", "MUX8"})
    EXPECT_NE(f.findChild<QLineEdit*>(name), nullptr) << name;
  for (const char* name : {"Level1Cmd", "Level8Cmd", "WriteAMode1", "Button11", "Button18",
                           "Button37", "Button38", "RefLevel"})
    EXPECT_NE(f.findChild<QPushButton*>(name), nullptr) << name;
  for (int n = 1; n <= 8; ++n) {
    EXPECT_EQ(f.ScrollBarMin[n]->maximum(), 99);
    EXPECT_EQ(f.ScrollBarMax[n]->minimum(), 0);
    EXPECT_TRUE(f.MinLv[n]->isReadOnly());
    EXPECT_EQ(f.AMode[n]->Count(), 2);
    EXPECT_EQ(f.AMode[n]->ItemIndex(), 0);
    EXPECT_EQ(f.MUX[n]->MaxLength(), 8);
  }
  EXPECT_EQ(f.AMode[3]->title(), "Analog 3");
  EXPECT_EQ(f.AkoeffStr->MaxLength(), 8);
  EXPECT_EQ(f.RefLevel->text(), "Analog parameters");
  EXPECT_EQ(f.MinLv[1]->text(), "00");  // refilled as two digits at start
}

TEST_F(AnalogPage, LevelBarsShowTwoDigitsAndTheButtonSendsTheEdits) {
  TForm1& f = Start(Defaults());
  for (const auto& [position, text] : {std::pair{7, "07"}, {99, "99"}, {0, "00"}}) {
    f.ScrollBarMax[3]->setValue(position);
    EXPECT_EQ(f.MaxLv[3]->text(), text) << position;
  }
  f.ScrollBarMin[6]->setValue(10);
  f.ScrollBarMax[6]->setValue(90);
  f.LevelCmd[6]->click();
  EXPECT_EQ(Wire(), Frame("ANLEV6,10,90"));
  EXPECT_EQ(Echo(), "ANLEV6,10,90");
  f.ScrollBarMin[6]->setValue(95);  // a minimum above the maximum goes out unchanged
  f.ScrollBarMax[6]->setValue(20);
  f.LevelCmd[6]->click();
  EXPECT_EQ(Wire(), Frame("ANLEV6,95,20"));
  f.ScrollBarMin[1]->setValue(5);
  f.ScrollBarMax[1]->setValue(80);
  f.LevelCmd[1]->click();
  EXPECT_EQ(Wire(), Frame("ANLEV1,05,80"));
}

TEST_F(AnalogPage, ModeCommandReadsEveryGroupAlsoADisabledOne) {
  TForm1& f = Start(Defaults());
  f.WriteAMode1->click();
  EXPECT_EQ(Wire(), Frame("AMODE11111111,11111111,11111111"));
  f.AMode[2]->SetItemIndex(1);
  f.AMode[8]->SetItemIndex(1);
  f.WriteAMode1->click();
  EXPECT_EQ(Wire(), Frame("AMODE12111112,11111111,11111111"));
  EXPECT_EQ(Echo(), "AMODE12111112,11111111,11111111");
  f.ApplyModelVariant(true);
  f.AMode[8]->SetItemIndex(0);
  f.AMode[5]->SetItemIndex(1);
  f.AkoeffStr->setText("5");
  f.ADividerStr->setText("0a");
  f.WriteAMode1->click();
  EXPECT_EQ(Wire(), Frame("AMODE12112111,5,0a"));
}

TEST_F(AnalogPage, CorrectionLoadAndParameterButtons) {
  TForm1& f = Start(Defaults());
  f.MUX[4]->setText("105");
  f.MuxButton[4]->click();
  EXPECT_EQ(Wire(), Frame("K20MA4,105"));
  EXPECT_EQ(f.MuxButton[4]->objectName(), "Button14");
  f.MUX[2]->setText("12345");
  f.MuxButton[2]->click();
  EXPECT_EQ(Wire(), Frame("K20MA2,12345"));
  f.RefLevel->click();
  EXPECT_EQ(Wire(), Frame("GETAN1"));
  EXPECT_EQ(Echo(), "GETAN1");
  f.Button37->click();
  EXPECT_EQ(Wire(), Frame("R200M1"));
  f.Button38->click();
  EXPECT_EQ(Wire(), Frame("R200M0"));
  // The load buttons skip the clearing: after a raw AT line they go out unframed.
  f.Exchange.Restore([](auto& s) { s.RawATMode = true; });
  f.Button37->click();
  EXPECT_EQ(Wire(), "R200M1\r");
  EXPECT_TRUE(f.Exchange.RawATMode());
  EXPECT_FALSE(f.Exchange.ReplyReady());
  f.RefLevel->click();
  EXPECT_EQ(Wire(), Frame("GETAN1"));
  EXPECT_FALSE(f.Exchange.RawATMode());
}

TEST_F(AnalogPage, FieldsGoThroughTheSettingsFile) {
  TSetupConfig c = Defaults();
  c.AnalogLevels[0] = 7;
  c.AnalogLevels[1] = 50;
  c.AnalogLevels[15] = 120;  // beyond the bar's range: clamped
  c.AMode[6] = 1;
  c.AkoeffStr.set("12345123");
  c.ADividerStr.set("90");
  c.MUX[2].set("095");
  TForm1& f = Start(c);
  EXPECT_EQ(f.MinLv[1]->text(), "07");
  EXPECT_EQ(f.MaxLv[1]->text(), "50");
  EXPECT_EQ(f.MaxLv[8]->text(), "99");
  EXPECT_EQ(f.AMode[7]->ItemIndex(), 1);
  EXPECT_EQ(f.AkoeffStr->text(), "12345123");
  EXPECT_EQ(f.ADividerStr->text(), "90");
  EXPECT_EQ(f.MUX[3]->text(), "095");

  f.ScrollBarMin[4]->setValue(33);
  f.AMode[1]->SetItemIndex(1);
  f.MUX[2]->setText("12345");
  ASSERT_TRUE(f.SaveSetting1Click());
  const std::string saved = ReadFile();
  const TSetupConfig s = configurator::DecodeSetupConfig(
      reinterpret_cast<const unsigned char*>(saved.data()), saved.size());
  EXPECT_EQ(s.AnalogLevels[0], 7);
  EXPECT_EQ(s.AnalogLevels[6], 33);  // minimum of input 4
  EXPECT_EQ(s.AnalogLevels[15], 99);
  EXPECT_EQ(s.AMode, (std::array<std::int32_t, 8>{1, 0, 0, 0, 0, 0, 1, 0}));
  EXPECT_EQ(configurator::GetText(s.MUX[1]), "123");

  form.reset();
  TForm1& g = Make();
  EXPECT_EQ(g.MUX[2]->text(), "123");
  EXPECT_EQ(g.MinLv[4]->text(), "33");
  EXPECT_EQ(g.AMode[1]->ItemIndex(), 1);
}

}  // namespace
