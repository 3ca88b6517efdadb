// The model variant switch: what the start-up shows for the saved flag, the menu item's
// toggle, and the Disable boxes of the number masks that the switch drives.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "configurator/formutil.h"
#include "configurator/core/setupconfig.h"
#include "window_fixture.h"

namespace {

using cfgtest::WindowTest;
using configurator::TForm1;
using configurator::TSetupConfig;

// The controls of other pages that the switch changes, with the page each lies on.
using configurator::Page;
struct Named {
  QString name;
  Page page;
};
std::vector<Named> ShownInRunTime() {
  return {{"LabelRT1", Page::ExternalSMS}, {"LabelRT2", Page::ExternalSMS},
          {"iLabelRT1", Page::IntExtSMS},  {"iLabelRT2", Page::IntExtSMS},
          {"ReadRT", Page::Main},          {"PanelRT", Page::TempCounter},
          {"Panel1", Page::Analog}};
}
std::vector<Named> ShownInStandard() {
  return {{"LabelT2", Page::ExternalSMS},
          {"LabelT3", Page::ExternalSMS},
          {"iLabelT2", Page::IntExtSMS},
          {"iLabelT3", Page::IntExtSMS}};
}
std::vector<Named> DisabledInRunTime() {
  std::vector<Named> v;
  for (int n = 5; n <= 8; ++n) v.push_back({QString("AMode%1").arg(n), Page::Analog});
  auto pairs = [&v](const char* edit, const char* button, int first, int last, Page page) {
    for (int n = first; n <= last; ++n) {
      v.push_back({QString("%1%2").arg(edit).arg(n), page});
      v.push_back({QString("%1%2").arg(button).arg(n), page});
    }
  };
  for (auto [first, last] : {std::pair{22, 33}, {41, 45}, {53, 57}}) {
    pairs("TXTSMS", "TXTSMSb", first, last, Page::ExternalSMS);
    pairs("iTXTSMS", "iTXTSMSb", first, last, Page::IntExtSMS);
  }
  for (auto [first, last] : {std::pair{65, 69}, {77, 81}, {87, 89}, {95, 97}})
    pairs("iTXTSMS", "TXTSMSb", first, last, Page::IOname);
  return v;
}
const char* const kSwitchedBoxes[] = {"CheckBoxA5dis",  "CheckBoxA6dis",  "CheckBoxA7dis",
                                      "CheckBoxA8dis",  "CheckBoxD08dis", "CheckBoxD09dis",
                                      "CheckBoxD10dis", "CheckBoxD11dis", "CheckBoxD12dis"};

class ModelVariant : public WindowTest {
 protected:
  TForm1& Start(bool runTime, const char* analogMask = "12345678",
                const char* digitalMask = "0123456789AB") {
    TSetupConfig c;
    c.RunTimeVariant = runTime ? 1 : 0;
    c.TNrFilter.set("FFF");
    c.ANrFilter.set(analogMask);
    c.DNrFilter.set(digitalMask);
    WriteRecord(c);
    return Make();
  }
  // The named control. Every page is built, so a missing one is a fault of its name; a
  // stand-in on its page keeps the remaining checks going.
  QWidget* Control(const Named& n) {
    if (auto* w = form->findChild<QWidget*>(n.name)) {
      EXPECT_TRUE(form->PageOf(n.page)->isAncestorOf(w)) << n.name.toStdString();
      return w;
    }
    ADD_FAILURE() << "no control " << n.name.toStdString();
    auto* w = new QWidget(form->PageOf(n.page));
    w->setObjectName(n.name);
    return w;
  }
  void ExpectVariant(bool runTime) {
    for (const Named& n : ShownInRunTime())
      EXPECT_EQ(!Control(n)->isHidden(), runTime) << n.name.toStdString();
    for (const Named& n : ShownInStandard())
      EXPECT_EQ(!Control(n)->isHidden(), !runTime) << n.name.toStdString();
    for (const Named& n : DisabledInRunTime())
      EXPECT_EQ(Control(n)->isEnabled(), !runTime) << n.name.toStdString();
    for (const char* name : kSwitchedBoxes)
      EXPECT_EQ(form->findChild<QCheckBox*>(name)->isChecked(), runTime) << name;
    EXPECT_EQ(form->RTname1->text(), runTime ? "Runtime 1" : "T2 / Counter1");
    EXPECT_EQ(form->RTname2->text(), runTime ? "Runtime 2" : "T3 / Counter2");
    EXPECT_EQ(form->TKM506GM1->isChecked(), runTime);
    EXPECT_EQ(form->RunTimeVariant, runTime);
  }
  // Looks up every control the switch changes (a missing one fails, see Control).
  void WithAllControls() {
    for (const auto& list : {ShownInRunTime(), ShownInStandard(), DisabledInRunTime()})
      for (const Named& n : list) Control(n);
  }
};

// A file saved in the run-time variant holds its masks with the missing channels taken out.
TEST_F(ModelVariant, SavedFlagOpensTheRunTimeWindow) {
  TForm1& f = Start(true, "1234----", "0123456-----");
  EXPECT_EQ(f.TNrFilter->text(), "FFF");
  EXPECT_EQ(f.ANrFilter->text(), "1234----");
  EXPECT_EQ(f.DNrFilter->text(), "0123456-----");
  EXPECT_FALSE(f.TKM506GM1->isVisible());
  ExpectVariant(true);
}

// Panel1 lies over the level controls of analog inputs 5 to 8 and leaves inputs 1 to 4 free.
TEST_F(ModelVariant, Panel1CoversTheLevelControlsOfAnalog5To8) {
  TForm1& f = Start(true, "1234----", "0123456-----");
  auto* panel = f.findChild<QWidget*>("Panel1");
  ASSERT_NE(panel, nullptr);
  QWidget* group = panel->parentWidget();
  for (int n = 1; n <= 8; ++n) {
    const QStringList names = {QString("ScrollBarMin%1").arg(n), QString("ScrollBarMax%1").arg(n),
                               n == 1 ? QString("Minlv1") : QString("MinLv%1").arg(n),
                               n == 1 ? QString("Maxlv1") : QString("MaxLv%1").arg(n)};
    for (const QString& name : names) {
      auto* w = f.findChild<QWidget*>(name);
      ASSERT_TRUE(w && w->parentWidget() == group) << name.toStdString();
      // What lies on top at the control's centre: the panel for inputs 5 to 8.
      EXPECT_EQ(group->childAt(w->geometry().center()) == panel, n >= 5) << name.toStdString();
    }
  }
}

// The start-up decodes the saved masks after applying the variant, so a channel of the nine
// that the saved masks enable starts enabled.
TEST_F(ModelVariant, SavedMasksDecideTheDisableBoxesAfterTheVariant) {
  TForm1& f = Start(true);
  EXPECT_EQ(f.ANrFilter->text(), "12345678");
  EXPECT_EQ(f.DNrFilter->text(), "0123456789AB");
  for (const char* name : kSwitchedBoxes)
    EXPECT_FALSE(f.findChild<QCheckBox*>(name)->isChecked()) << name;
  EXPECT_EQ(f.RTname1->text(), "Runtime 1");
  EXPECT_FALSE(f.PanelRT->isHidden());
}

TEST_F(ModelVariant, ClearFlagShowsTheStandardCaptionsOverTheFormsOwn) {
  TForm1& f = Start(false);
  EXPECT_EQ(f.ANrFilter->text(), "12345678");
  EXPECT_EQ(f.DNrFilter->text(), "0123456789AB");
  ExpectVariant(false);
}

TEST_F(ModelVariant, TwoClicksRestoreEverythingButAHandCheckedDisableBox) {
  TForm1& f = Start(false);
  WithAllControls();
  f.ApplyModelVariant(false);
  f.CheckBoxAdis[6]->setChecked(true);  // by hand, before the switch
  EXPECT_EQ(f.ANrFilter->text(), "12345-78");

  f.TKM506GM1->trigger();
  ExpectVariant(true);
  EXPECT_EQ(f.ANrFilter->text(), "1234----");
  EXPECT_EQ(f.DNrFilter->text(), "0123456-----");
  f.SetNfilter1->click();
  EXPECT_EQ(configurator::ui::MemoText(f.MemoS), "SETME,FFF,,1234----,0123456-----");

  f.TKM506GM1Click();
  ExpectVariant(false);
  EXPECT_EQ(f.ANrFilter->text(), "12345678");  // input 6 is back in the mask as well
  EXPECT_EQ(f.DNrFilter->text(), "0123456789AB");
  EXPECT_FALSE(f.CheckBoxAdis[6]->isChecked());
}

TEST_F(ModelVariant, SaveKeepsTheToggledFlag) {
  TForm1& f = Start(false);
  f.TKM506GM1Click();
  ASSERT_TRUE(f.SaveSetting1Click());
  const std::string bytes = ReadFile();
  ASSERT_EQ(bytes.size(), configurator::kSetupConfigSize);
  EXPECT_EQ(static_cast<int>(bytes[configurator::cfgoff::RunTimeVariant]), 1);
  EXPECT_EQ(
      configurator::GetText(configurator::DecodeSetupConfig(
                                reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size())
                                .ANrFilter),
      "1234----");

  // The next run opens in the run-time variant with the masks as saved.
  form.reset();
  TForm1& g = Make();
  EXPECT_TRUE(g.TKM506GM1->isChecked());
  EXPECT_TRUE(g.CheckBoxDdis[12]->isChecked());
  EXPECT_EQ(g.ANrFilter->text(), "1234----");
  // Back to the standard variant, the channels return as "0": their digits were not saved.
  g.TKM506GM1Click();
  EXPECT_EQ(g.ANrFilter->text(), "12340000");
}

}  // namespace
