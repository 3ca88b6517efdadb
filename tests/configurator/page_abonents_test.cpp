// The Abonents page: the number commands on the wire, the mask grid and its texts, and the
// page's fields through the settings file.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "configurator/core/abonents.h"
#include "configurator/formutil.h"
#include "configurator/core/setupconfig.h"
#include "platform/widgets.h"
#include "window_fixture.h"

namespace {

using cfgtest::Frame;

using cfgtest::WindowTest;
using configurator::TForm1;
using configurator::TSetupConfig;
namespace ab = configurator::abonents;
namespace ui = configurator::ui;

// ---- pure rules ---------------------------------------------------------------------------

TEST(AbonentsCore, AlarmNumberNeedsThreeValidLeadingCharacters) {
  const std::string twenty = "+4917012345678901234";
  struct Case {
    std::string number, command;
  } cases[] = {
      {"12+", "SETNN2,12+"},
      {"+49 call me", "SETNN2,+49 call me"},  // nothing after the third character is checked
      {twenty, "SETNN2," + twenty},
      {twenty + "567", "SETNN2," + twenty},  // cut to 20 characters
      {"+3", ""},
      {"1+2", ""},
      {"12a", ""},
      {"a12", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ab::SetNumberCommand(2, c.number), c.command) << c.number;
  EXPECT_EQ(ab::SetNumberCommand(2, twenty).size(), 27u);
}

TEST(AbonentsCore, PhoneBookEntryNeedsTwoOrBecomesPlus99) {
  struct Case {
    std::string entry, sent;
  } cases[] = {{"+1", "+1"}, {"0171 x", "0171 x"}, {"", "+99"},
               {"5", "+99"}, {"A12", "+99"},       {"+a1", "+99"}};
  for (const Case& c : cases) EXPECT_EQ(ab::PhoneBookEntry(c.entry), c.sent) << c.entry;
}

TEST(AbonentsCore, BitOperationsKeepADigitInRange) {
  std::uint8_t d = 15;
  ab::ClearNumberBit(8, d);
  EXPECT_EQ(d, 7);
  ab::SetNumberBit(8, d);
  EXPECT_EQ(d, 15);
  d = 0;
  ab::SetNumberBit(2, d);
  ab::SetNumberBit(8, d);
  EXPECT_EQ(ab::HexDigit(d), 'A');
  ab::SetNumberBit(3, d);  // not a number's bit: no change
  ab::ClearNumberBit(0, d);
  EXPECT_EQ(d, 10);
  ab::ClearNumberBit(1, d);  // clearing an unset bit
  EXPECT_EQ(d, 10);
  EXPECT_EQ(ab::DigitValue('f'), 0);
  EXPECT_EQ(ab::DigitValue('-'), 0);
  EXPECT_EQ(ab::DigitValue('C'), 12);
}

// ---- the page in the window ---------------------------------------------------------------

class AbonentsPage : public WindowTest {
 protected:
  // The form's default masks, as a record holds them.
  static TSetupConfig DefaultMasks() {
    TSetupConfig c;
    c.TNrFilter.set("FFF");
    c.ANrFilter.set("FFFFFFFF");
    c.DNrFilter.set("FFFFFFFFFFFF");
    return c;
  }
  QCheckBox* Box(const char* name) {
    auto* b = form->findChild<QCheckBox*>(name);
    EXPECT_NE(b, nullptr) << name;
    return b;
  }
  void FillMemos() {
    ui::SetMemoText(form->MemoS, "old");
    ui::SetMemoText(form->MemoSMSinput, "old");
  }
};

TEST_F(AbonentsPage, ControlsCarryTheirNamesAndDefaults) {
  TForm1& f = Start(DefaultMasks());
  for (const char* name :
       {"NNumber1", "NNumber7", "PBnr1", "PBnr7", "TNrFilter", "ANrFilter", "DNrFilter"})
    EXPECT_NE(f.findChild<QLineEdit*>(name), nullptr) << name;
  for (const char* name : {"GetNr", "SetNr", "ClrNr", "ReadPB", "ToPhoneBook", "SetNfilter1"})
    EXPECT_NE(f.findChild<QPushButton*>(name), nullptr) << name;
  for (const char* name :
       {"CheckBoxT11", "CheckBoxT43", "CheckBoxA18", "CheckBoxA48", "CheckBoxD101", "CheckBoxD412",
        "CheckBoxT1dis", "CheckBoxA8dis", "CheckBoxD01dis", "CheckBoxD12dis"})
    EXPECT_NE(f.findChild<QCheckBox*>(name), nullptr) << name;
  EXPECT_EQ(f.SetNr->toolTip(), "Set Number with 1 or 2; other number set from cell phone");
  EXPECT_EQ(f.GetNr->toolTip(), f.SetNr->toolTip());
  EXPECT_EQ(f.NNumber[1]->MaxLength(), 20);
  EXPECT_EQ(f.DNrFilter->MaxLength(), 12);
  EXPECT_TRUE(f.TNrFilter->isReadOnly());
  EXPECT_EQ(f.RadioGroupNR->Count(), 7);
  EXPECT_EQ(f.RadioGroupPB->ItemIndex(), 0);
}

TEST_F(AbonentsPage, NoCaptionIsCutShort) {
  Start(DefaultMasks());
  EXPECT_EQ(cfgtest::ClippedCaptions(ShowPage(configurator::Page::Abonents)),
            std::vector<std::string>{});
}

TEST_F(AbonentsPage, ButtonsPutTheirCommandsOnTheWire) {
  TSetupConfig c = DefaultMasks();
  c.NNumber[1].set("12+");
  c.PBnr[0].set("+1");
  TForm1& f = Start(c);
  struct Case {
    QPushButton* button;
    int nr, pb;
    std::string command, echo;
  } cases[] = {
      {f.SetNr, 1, 0, "SETNN2,12+", "SETNN2,12+"},
      {f.ClrNr, 0, 0, "CLRNR1", "CLRNR1"},
      {f.GetNr, 6, 0, "GETNR7", "GETNR7"},
      {f.ToPhoneBook, 0, 0, "SETPB1,+1", "SETPB1,+1"},
      {f.ReadPB, 0, 0, "  GETPB", "GETPB"},
      {f.SetNfilter1, 0, 0, "SETME,FFF,,FFFFFFFF,FFFFFFFFFFFF", "SETME,FFF,,FFFFFFFF,FFFFFFFFFFFF"},
  };
  for (const Case& k : cases) {
    f.RadioGroupNR->SetItemIndex(k.nr);
    f.RadioGroupPB->SetItemIndex(k.pb);
    k.button->click();
    EXPECT_EQ(Wire(), Frame(k.command)) << k.command;
    EXPECT_EQ(ui::MemoText(f.MemoS), k.echo) << k.command;
  }
}

TEST_F(AbonentsPage, InvalidAlarmNumberSendsNothingAndLeavesTheMemosEmpty) {
  TForm1& f = Start(DefaultMasks());
  f.RadioGroupNR->SetItemIndex(1);
  for (const char* number : {"+3", "1+2", "12a", ""}) {
    f.NNumber[2]->setText(number);
    FillMemos();
    f.SetNr->click();
    EXPECT_EQ(Wire(), "") << number;
    EXPECT_EQ(ui::MemoText(f.MemoS), "") << number;
    EXPECT_EQ(ui::MemoText(f.MemoSMSinput), "") << number;
  }
  f.NNumber[2]->setText(QString(20, QChar('7')));
  f.SetNr->click();
  EXPECT_EQ(Wire(), Frame("SETNN2," + std::string(20, '7')));
}

TEST_F(AbonentsPage, InvalidPhoneBookEntryGoesOutAsPlus99AndStaysInItsEdit) {
  TForm1& f = Start(DefaultMasks());
  for (const char* entry : {"", "5", "A12"}) {
    f.PBnr[1]->setText(entry);
    f.ToPhoneBook->click();
    EXPECT_EQ(Wire(), Frame("SETPB1,+99")) << entry;
    EXPECT_EQ(f.PBnr[1]->text(), "+99") << entry;
  }
  // Entry 3 checks its own edit; a valid one goes out whole, longer than the saved 20.
  f.RadioGroupPB->SetItemIndex(2);
  f.PBnr[3]->setText("+4917012345678901234567");
  f.ToPhoneBook->click();
  EXPECT_EQ(Wire(), Frame("SETPB3,+4917012345678901234567"));
  EXPECT_EQ(f.PBnr[1]->text(), "+99");
}

TEST_F(AbonentsPage, PendingPollSilencesTheReadClearAndPhoneBookButtonsOnly) {
  TSetupConfig c = DefaultMasks();
  c.NNumber[0].set("+4911");
  TForm1& f = Start(c);
  f.Exchange.Restore([](auto& s) { s.PollPending = true; });
  for (QPushButton* b : {f.GetNr, f.ClrNr, f.ToPhoneBook}) {
    FillMemos();
    b->click();
    EXPECT_EQ(Wire(), "") << b->objectName().toStdString();
    EXPECT_EQ(ui::MemoText(f.MemoS), "");
    EXPECT_EQ(ui::MemoText(f.MemoSMSinput), "");
  }
  EXPECT_EQ(f.PBnr[1]->text(), "");  // "Number To SIM" left the empty entry alone (no "+99")
  f.SetNr->click();
  EXPECT_EQ(Wire(), Frame("SETNN1,+4911"));
  f.ReadPB->click();
  EXPECT_EQ(Wire(), Frame("  GETPB"));
  f.SetNfilter1->click();
  EXPECT_EQ(Wire(), Frame("SETME,FFF,,FFFFFFFF,FFFFFFFFFFFF"));
}

TEST_F(AbonentsPage, NumberBoxesEditTheirChannelsDigit) {
  TForm1& f = Start(DefaultMasks());
  Box("CheckBoxA42")->setChecked(false);
  EXPECT_EQ(f.ANrFilter->text(), "F7FFFFFF");
  Box("CheckBoxA42")->setChecked(true);
  EXPECT_EQ(f.ANrFilter->text(), "FFFFFFFF");
  // Digital input 12 down to "A" (numbers 2 and 4), by user clicks.
  Box("CheckBoxD112")->click();
  Box("CheckBoxD312")->click();
  EXPECT_EQ(f.DNrFilter->text(), "FFFFFFFFFFFA");
  Box("CheckBoxT13")->click();
  EXPECT_EQ(f.TNrFilter->text(), "FFE");
}

TEST_F(AbonentsPage, DisabledChannelKeepsItsDigitAside) {
  TSetupConfig c = DefaultMasks();
  c.TNrFilter.set("3A5");
  TForm1& f = Start(c);
  // A = numbers 2 and 4 of channel 2.
  EXPECT_FALSE(Box("CheckBoxT12")->isChecked());
  EXPECT_TRUE(Box("CheckBoxT22")->isChecked());
  EXPECT_FALSE(Box("CheckBoxT32")->isChecked());
  EXPECT_TRUE(Box("CheckBoxT42")->isChecked());
  Box("CheckBoxT2dis")->setChecked(true);
  EXPECT_EQ(f.TNrFilter->text(), "3-5");
  EXPECT_EQ(f.MaskStash.substr(0, 3), "3A5");
  Box("CheckBoxT22")->setChecked(false);  // number 2 of channel 2 while it is disabled
  EXPECT_EQ(f.TNrFilter->text(), "3-5");
  EXPECT_EQ(f.MaskStash[1], '8');
  Box("CheckBoxT2dis")->setChecked(false);
  EXPECT_EQ(f.TNrFilter->text(), "385");
  f.SetNfilter1->click();
  EXPECT_EQ(Wire(), Frame("SETME,385,,FFFFFFFF,FFFFFFFFFFFF"));
}

TEST_F(AbonentsPage, EmptySavedMasksStartDisabledOrForNoNumber) {
  WriteZeroFile();
  TForm1& f = Make();
  Wire();
  EXPECT_EQ(f.TNrFilter->text(), "---");
  EXPECT_EQ(f.ANrFilter->text(), "--------");
  EXPECT_EQ(f.DNrFilter->text(), "000000000000");
  for (QCheckBox* b : f.findChildren<QCheckBox*>(QRegularExpression("^CheckBox[TAD]\\d+$")))
    EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
  EXPECT_TRUE(f.CheckBoxAdis[8]->isChecked());
  EXPECT_FALSE(f.CheckBoxDdis[1]->isChecked());
  // Every set-aside digit is a digit: "0" for the channels restored as disabled.
  EXPECT_EQ(f.MaskStash, std::string(23, '0'));
  f.SetNfilter1->click();
  EXPECT_EQ(Wire(), Frame("SETME,---,,--------,000000000000"));
  Box("CheckBoxT1dis")->setChecked(false);
  EXPECT_EQ(f.TNrFilter->text(), "0--");
}

TEST_F(AbonentsPage, ChannelSavedAsDisabledComesBackAsZero) {
  TSetupConfig c = DefaultMasks();
  c.ANrFilter.set("F-FfFFFF");  // a lower-case digit is a disabled channel too
  TForm1& f = Start(c);
  EXPECT_EQ(f.ANrFilter->text(), "F-F-FFFF");
  EXPECT_EQ(f.MaskStash.substr(3, 8), "F0F0FFFF");
  EXPECT_TRUE(Box("CheckBoxA2dis")->isChecked());
  EXPECT_TRUE(Box("CheckBoxA4dis")->isChecked());
  for (const char* name : {"CheckBoxA12", "CheckBoxA22", "CheckBoxA32", "CheckBoxA42"})
    EXPECT_FALSE(Box(name)->isChecked()) << name;
  EXPECT_TRUE(Box("CheckBoxA13")->isChecked());
  Box("CheckBoxA2dis")->setChecked(false);
  EXPECT_EQ(f.ANrFilter->text(), "F0F-FFFF");
}

TEST_F(AbonentsPage, ShortMaskFromADamagedFileIsCompletedFromTheGrid) {
  // A short text whose record bytes after it still say "F": the first box that changes
  // completes the text from the grid, never working past its end.
  TSetupConfig c = DefaultMasks();
  configurator::PutText(c.TNrFilter, "FF");
  configurator::PutText(c.ANrFilter, "F3");
  TForm1& f = Start(c);
  EXPECT_EQ(f.TNrFilter->text(), "FF");        // no box changed at start-up
  EXPECT_EQ(f.ANrFilter->text(), "F3FFFFFF");  // channel 2 lost numbers 3 and 4
  Box("CheckBoxA48")->setChecked(false);
  EXPECT_EQ(f.ANrFilter->text(), "F3FFFFF7");
  // A channel beyond the end of the text: its boxes' digit goes aside and comes back.
  Box("CheckBoxT3dis")->setChecked(true);
  EXPECT_EQ(f.TNrFilter->text(), "FF-");
  EXPECT_EQ(f.MaskStash[2], 'F');
  Box("CheckBoxT3dis")->setChecked(false);
  EXPECT_EQ(f.TNrFilter->text(), "FFF");

  // Zero bytes after the text: those channels come up disabled, shown as "-".
  TSetupConfig d = DefaultMasks();
  d.DNrFilter.set("12");
  form.reset();
  TForm1& g = Start(d);
  EXPECT_EQ(g.DNrFilter->text(), "12----------");
  EXPECT_TRUE(g.CheckBoxDdis[12]->isChecked());
  EXPECT_FALSE(Box("CheckBoxD112")->isChecked());
  Box("CheckBoxD05dis")->setChecked(false);
  EXPECT_EQ(g.DNrFilter->text(), "12--0-------");
  g.SetNfilter1->click();
  EXPECT_EQ(Wire(), Frame("SETME,FFF,,FFFFFFFF,12--0-------"));
}

TEST_F(AbonentsPage, NumbersAndMasksGoThroughTheSettingsFile) {
  TSetupConfig c = DefaultMasks();
  c.NNumber[0].set("+4911");
  c.NNumber[6].set("+4917");
  c.PBnr[3].set("+4924");
  c.DNrFilter.set("0123456789AB");
  TForm1& f = Start(c);
  EXPECT_EQ(f.NNumber[1]->text(), "+4911");
  EXPECT_EQ(f.NNumber[7]->text(), "+4917");
  EXPECT_EQ(f.PBnr[4]->text(), "+4924");
  EXPECT_EQ(f.NNumber[2]->text(), "");
  EXPECT_TRUE(Box("CheckBoxD211")->isChecked());  // "A" = numbers 2 and 4
  EXPECT_FALSE(Box("CheckBoxD111")->isChecked());
  EXPECT_TRUE(Box("CheckBoxD412")->isChecked());  // "B" = numbers 1, 2 and 4
  EXPECT_FALSE(Box("CheckBoxD312")->isChecked());

  f.NNumber[2]->setText("+4912345678901234567890");  // 23 characters: 20 are kept
  f.PBnr[7]->setText("0171");
  Box("CheckBoxD01dis")->setChecked(true);
  Box("CheckBoxT11")->setChecked(false);
  ASSERT_TRUE(f.SaveSetting1Click());
  const std::string bytes = ReadFile();
  ASSERT_EQ(bytes.size(), configurator::kSetupConfigSize);
  const TSetupConfig saved = configurator::DecodeSetupConfig(
      reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  EXPECT_EQ(configurator::GetText(saved.NNumber[1]), "+4912345678901234567");
  EXPECT_EQ(configurator::GetText(saved.PBnr[6]), "0171");
  EXPECT_EQ(configurator::GetText(saved.TNrFilter), "EFF");
  EXPECT_EQ(configurator::GetText(saved.DNrFilter), "-123456789AB");

  // The next run shows what was saved; the set-aside digit of input 1 is gone.
  form.reset();
  TForm1& g = Make();
  EXPECT_EQ(g.NNumber[2]->text(), "+4912345678901234567");
  EXPECT_EQ(g.DNrFilter->text(), "-123456789AB");
  Box("CheckBoxD01dis")->setChecked(false);
  EXPECT_EQ(g.DNrFilter->text(), "0123456789AB");
}

}  // namespace
