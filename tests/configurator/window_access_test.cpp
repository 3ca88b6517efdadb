// The window as assistive technology meets it: every control is announced by its current
// caption (or its label's), and a radio item checked through the accessibility interface is
// the item the page works with.
#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "platform/widgets.h"
#include "support/captions.h"
#include "window_fixture.h"

namespace {

using configurator::TForm1;

// Runs the accessibility "Toggle" action of a control.
void Toggle(QWidget* w) {
  QAccessibleInterface* acc = QAccessible::queryAccessibleInterface(w);
  ASSERT_TRUE(acc && acc->actionInterface());
  acc->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
}

class WindowAccess : public cfgtest::WindowTest {
 protected:
  template <class W>
  W* Find(const char* name) {
    W* w = form->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
};

TEST_F(WindowAccess, EveryControlIsAnnouncedByItsCurrentCaption) {
  TForm1& f = Start();
  for (bool runTime : {false, true}) {
    f.ApplyModelVariant(runTime);
    EXPECT_EQ(testsupport::Misnamed(&f), std::vector<std::string>{})
        << (runTime ? "run-time" : "standard");
  }
  // A mask row's boxes follow its caption through the variant switch.
  f.ApplyModelVariant(false);
  EXPECT_EQ(testsupport::AccessibleName(f.CheckBoxTdis[2]), "T2 / Counter1 Disable");
  EXPECT_EQ(testsupport::AccessibleName(f.CheckBoxT[4][3]), "T3 / Counter2 number 4");
  f.ApplyModelVariant(true);
  EXPECT_EQ(testsupport::AccessibleName(f.CheckBoxTdis[2]), "Runtime 1 Disable");

  // The captions the program changes: WRITE / RD, enable / disable.
  f.ReadGPRS1->setChecked(true);
  EXPECT_EQ(f.APNbtn->text(), "RD");
  EXPECT_EQ(testsupport::AccessibleName(f.APNbtn), "RD");
  f.ReadGPRS1->setChecked(false);
  EXPECT_EQ(testsupport::AccessibleName(f.DirNameBtn), "WR");
  f.GetTextBox->setChecked(true);
  EXPECT_EQ(testsupport::AccessibleName(f.TXTSMSb[1]), "RD");
  ShowPage(configurator::Page::Main);
  f.ATcmdOpen->click();
  EXPECT_EQ(testsupport::AccessibleName(f.ATcmdOpen), "AT Command disable");
  f.GSMbandOpen->click();
  EXPECT_EQ(testsupport::AccessibleName(f.ATcmdOpen), "AT Command enable");
  EXPECT_EQ(testsupport::AccessibleName(f.GSMbandOpen), "GSM Band disable");
  EXPECT_EQ(testsupport::Misnamed(&f), std::vector<std::string>{});
}

// Toggling an item by the accessibility action selects it: the line runs at the toggled
// rate, SETNR sends the toggled number and the time source command carries the toggled source.
TEST_F(WindowAccess, ARadioItemToggledByAssistiveTechnologyIsTheOneUsed) {
  TForm1& f = Start();
  auto* rate = Find<platform::RadioGroup>("RadioGroupRate");
  auto* r19200 = Find<QRadioButton>("RadioGroupRate3");
  Toggle(r19200);
  EXPECT_EQ(rate->ItemIndex(), 3);
  EXPECT_EQ(f.SerialPort1->BaudRateValue(), 19200u);
  for (int i = 0; i < rate->Count(); ++i) EXPECT_EQ(rate->Button(i)->isChecked(), i == 3) << i;
  Toggle(r19200);  // toggling the selected item leaves it selected
  EXPECT_TRUE(r19200->isChecked());
  EXPECT_EQ(f.SerialPort1->BaudRateValue(), 19200u);
  Wire();

  f.NNumber[2]->setText("+4912345");
  Toggle(Find<QRadioButton>("RadioGroupNR1"));  // "2"
  f.SetNr->click();
  EXPECT_EQ(Wire(), cfgtest::Frame("SETNN2,+4912345"));

  Toggle(Find<QRadioButton>("RadioGroup25"));  // "RTC-NITZ-MODEM"
  EXPECT_FALSE(Find<QRadioButton>("RadioGroup21")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>("RadioGroup22")->isChecked());
  f.Button1->click();
  EXPECT_EQ(Wire(), cfgtest::Frame("DTFTP6"));
}

// A text the program restores or a reply puts into an edit shows its beginning.
TEST_F(WindowAccess, TextsPutIntoEditsShowTheirBeginning) {
  configurator::TSetupConfig c;
  c.NNumber[0].set("+491234567890123456");  // number 1
  TForm1& f = Start(c);
  ShowPage(configurator::Page::Abonents);
  EXPECT_EQ(f.NNumber[1]->text(), "+491234567890123456");
  EXPECT_EQ(f.NNumber[1]->cursorPosition(), 0);
  f.NNumber[3]->setText("+440000000000000000");
  EXPECT_EQ(f.NNumber[3]->cursorPosition(), 0);
}

}  // namespace
