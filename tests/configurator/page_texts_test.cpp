// Pages "External SMS", "Int/Ext SMS" and "IOname": the text commands on the wire, the
// "Read" boxes, the device's answers in the edits, and the texts through TK5063.cfg.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "configurator/formutil.h"
#include "configurator/core/pdu.h"
#include "configurator/core/texts.h"
#include "platform/controls.h"
#include "platform/widgets.h"
#include "window_fixture.h"

namespace {

using cfgtest::Frame;

using cfgtest::WindowTest;
using configurator::TForm1;
namespace ui = configurator::ui;

std::string Padded(std::string s, std::size_t width) {
  if (s.size() < width) s.resize(width, ' ');
  return s;
}

// ---- the pure core -----------------------------------------------------------------

TEST(TextsCore, CommandsAndEchoes) {
  using configurator::TextButtonCommand;
  using configurator::TextTable;
  struct Case {
    TextTable table;
    int slot;
    bool read;
    std::string text, command, echo;
  } cases[] = {
      {TextTable::Long, 5, false, "", "SETTX05 ", "SETTX05,"},
      {TextTable::Long, 1, true, "ignored", "GETTX01 ", "GETTX01 "},
      {TextTable::Long, 57, false, " a b ", "SETTX57  a b ", "SETTX57, a b "},
      {TextTable::Short, 9, false, "F SETOU1", "SETTI09 F SETOU1", "SETTI09,F SETOU1"},
      {TextTable::Short, 97, true, "", "GETTI97 ", "GETTI97 "},
      {TextTable::Short, 58, false, "INP1 1", "SETTI58 INP1 1", "SETTI58,INP1 1"},
  };
  for (const Case& c : cases) {
    const auto r = TextButtonCommand(c.table, c.slot, c.read, c.text);
    EXPECT_EQ(r.command, c.command) << c.slot;
    EXPECT_EQ(r.echo, c.echo) << c.slot;
  }
}

TEST(TextsCore, TextsTheWindowGivesTheSlots) {
  using configurator::DefaultLongText;
  using configurator::DefaultShortText;
  const std::pair<int, const char*> longTexts[] = {
      {1, "Temperature 1 Minimum"},   {2, "Temperature 1 Normal"},   {9, "Temperature 3 Maximum"},
      {10, "Analog Input 1 Minimum"}, {11, "Analog Input 1 Normal"}, {33, "Analog Input 8 Maximum"},
      {34, "Event INP1 0-1"},         {45, "Event INP12 0-1"},       {46, "Event INP1 1-0"},
      {57, "Event INP12 1-0"},
  };
  for (const auto& [slot, text] : longTexts) EXPECT_EQ(DefaultLongText(slot), text) << slot;
  const std::pair<int, const char*> shortTexts[] = {
      {1, ""},         {57, ""},       {58, "INP1 1"}, {69, "INP12 1"}, {70, "INP1 0"},
      {81, "INP12 0"}, {82, "OUT1 1"}, {89, "OUT8 1"}, {90, "OUT1 0"},  {97, "OUT8 0"},
  };
  for (const auto& [slot, text] : shortTexts) EXPECT_EQ(DefaultShortText(slot), text) << slot;
}

// ---- the window ----------------------------------------------------------------------

class PageTexts : public WindowTest {
 protected:
  QLineEdit* Edit(const QString& name) { return form->findChild<QLineEdit*>(name); }
  QPushButton* Button(const QString& name) { return form->findChild<QPushButton*>(name); }
  QCheckBox* Box(const QString& name) { return form->findChild<QCheckBox*>(name); }

  // A record whose long text n and short text m hold the given texts.
  static std::string Record(const std::vector<std::pair<int, std::string>>& longTexts,
                            const std::vector<std::pair<int, std::string>>& shortTexts) {
    std::string rec(4136, '\0');
    auto put = [&rec](std::size_t at, const std::string& t) {
      rec[at] = static_cast<char>(t.size());
      rec.replace(at + 1, t.size(), t);
    };
    for (const auto& [n, t] : longTexts) put(60 + 27 * static_cast<std::size_t>(n - 1), t);
    for (const auto& [n, t] : shortTexts) put(1599 + 16 * static_cast<std::size_t>(n - 1), t);
    return rec;
  }
};

TEST_F(PageTexts, ControlsOfTheThreePages) {
  TForm1& f = Start();
  struct Family {
    const char* edit;
    const char* button;
    int first, last;
    configurator::Page page;
    int maxLength;
  } families[] = {
      {"TXTSMS", "TXTSMSb", 1, 57, configurator::Page::ExternalSMS, 32},
      {"iTXTSMS", "iTXTSMSb", 1, 57, configurator::Page::IntExtSMS, 15},
      {"iTXTSMS", "TXTSMSb", 58, 97, configurator::Page::IOname, 15},
  };
  for (const Family& fam : families) {
    QWidget* page = f.PageOf(fam.page);
    for (int n = fam.first; n <= fam.last; ++n) {
      auto* e = page->findChild<platform::Edit*>(QString("%1%2").arg(fam.edit).arg(n));
      auto* b = page->findChild<QPushButton*>(QString("%1%2").arg(fam.button).arg(n));
      ASSERT_NE(e, nullptr) << fam.edit << n;
      ASSERT_NE(b, nullptr) << fam.button << n;
      EXPECT_EQ(e->MaxLength(), fam.maxLength) << fam.edit << n;
      EXPECT_EQ(b->text(), "WR");
      EXPECT_TRUE(b->font().bold());
      // The button stands just to the right of its edit.
      EXPECT_EQ(b->geometry().top(), e->geometry().top());
      EXPECT_GT(b->geometry().left(), e->geometry().right());
      EXPECT_LT(b->geometry().left() - e->geometry().right(), 10);
    }
  }
  for (const char* name : {"GetText", "iGetText", "nGetText"}) {
    ASSERT_NE(Box(name), nullptr) << name;
    EXPECT_EQ(Box(name)->text(), "Read");
    EXPECT_FALSE(Box(name)->isChecked());
  }
  // A zero record empties every edit of the three pages.
  for (int n = 1; n <= 97; ++n) EXPECT_EQ(Edit(QString("iTXTSMS%1").arg(n))->text(), "") << n;
  for (int n = 1; n <= 57; ++n) EXPECT_EQ(Edit(QString("TXTSMS%1").arg(n))->text(), "") << n;
  // The captions the model variant switches between, and the groups of "IOname".
  for (const char* name : {"LabelT2", "LabelT3", "LabelRT1", "LabelRT2", "iLabelT2", "iLabelT3",
                           "iLabelRT1", "iLabelRT2"})
    EXPECT_NE(f.findChild<QLabel*>(name), nullptr) << name;
  EXPECT_EQ(f.findChild<QLabel*>("LabelRT1")->text(), "RUNTIME1");
  EXPECT_EQ(f.findChild<QLabel*>("iLabelT3")->text(), "Temp.Inp.3");
  EXPECT_EQ(f.DIname->objectName(), "DIname");
  EXPECT_EQ(f.DOname->objectName(), "DOname");
}

// Row captions, column captions and the "Read" boxes of the three pages show whole, also
// the hidden run-time captions.
TEST_F(PageTexts, NoCaptionIsCutShort) {
  Start();
  for (configurator::Page index :
       {configurator::Page::ExternalSMS, configurator::Page::IntExtSMS, configurator::Page::IOname})
    EXPECT_EQ(cfgtest::ClippedCaptions(ShowPage(index)), std::vector<std::string>{})
        << "page " << configurator::PageIndex(index);
}

TEST_F(PageTexts, ButtonsPutTheirCommandOnTheWire) {
  TForm1& f = Start();
  const std::string long32(32, 'L');
  struct Case {
    const char* button;
    const char* edit;
    std::string text;
    const char* readBox;  // checked for this case, or nullptr
    std::string wire, echo;
  } cases[] = {
      // An empty text is written as such.
      {"TXTSMSb5", "TXTSMS5", "", nullptr, Frame(Padded("SETTX05 ", 48)), "SETTX05,"},
      // Blanks and a long text go as they stand; the user's 32 characters whole.
      {"TXTSMSb57", "TXTSMS57", long32, nullptr, Frame(Padded("SETTX57 " + long32, 48)),
       "SETTX57," + long32},
      {"TXTSMSb12", "TXTSMS12", "  Tank low ", nullptr, Frame(Padded("SETTX12   Tank low ", 48)),
       "SETTX12,  Tank low "},
      // Windows-1252 on the wire; the sent-command memo shows what is not plain ASCII as a
      // blank.
      {"TXTSMSb34", "TXTSMS34", "T\xfcr offen", nullptr, Frame(Padded("SETTX34 T\xfcr offen", 48)),
       "SETTX34,T r offen"},
      {"iTXTSMSb1", "iTXTSMS1", "F SETOU1 RSTOU2", nullptr, Frame("SETTI01 F SETOU1 RSTOU2"),
       "SETTI01,F SETOU1 RSTOU2"},
      {"iTXTSMSb57", "iTXTSMS57", "7 x", nullptr, Frame(Padded("SETTI57 7 x", 23)), "SETTI57,7 x"},
      // The names of "IOname" go to the short table, their slots running on from 58.
      {"TXTSMSb58", "iTXTSMS58", "Pump on", nullptr, Frame(Padded("SETTI58 Pump on", 23)),
       "SETTI58,Pump on"},
      {"TXTSMSb97", "iTXTSMS97", "OUT8 0", nullptr, Frame(Padded("SETTI97 OUT8 0", 23)),
       "SETTI97,OUT8 0"},
      // Each "Read" box turns the buttons of its own page into read buttons.
      {"TXTSMSb1", "TXTSMS1", "x", "GetText", Frame(Padded("GETTX01 ", 48)), "GETTX01 "},
      {"iTXTSMSb9", "iTXTSMS9", "x", "iGetText", Frame(Padded("GETTI09 ", 23)), "GETTI09 "},
      {"TXTSMSb97", "iTXTSMS97", "x", "nGetText", Frame(Padded("GETTI97 ", 23)), "GETTI97 "},
      {"TXTSMSb1", "TXTSMS1", "w", "nGetText", Frame(Padded("SETTX01 w", 48)), "SETTX01,w"},
      {"TXTSMSb58", "iTXTSMS58", "w", "GetText", Frame(Padded("SETTI58 w", 23)), "SETTI58,w"},
      {"iTXTSMSb1", "iTXTSMS1", "w", "nGetText", Frame(Padded("SETTI01 w", 23)), "SETTI01,w"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    for (const char* box : {"GetText", "iGetText", "nGetText"})
      Box(box)->setChecked(c.readBox && std::string(box) == c.readBox);
    platform::SetText(Edit(c.edit), c.text);
    f.SMSmode->setChecked(false);
    ui::SetMemoText(f.MemoSMSinput, "old answer");
    f.Exchange.Restore(
        [](auto& s) { s.RawATMode = true; });  // the click's Clear frames the line again
    Button(c.button)->click();
    EXPECT_EQ(Wire(), c.wire);
    EXPECT_EQ(ui::MemoText(f.MemoS), c.echo);
    // The old answer is gone; the echo leaves one line end in the input memo.
    EXPECT_EQ(ui::MemoText(f.MemoSMSinput), "\r\n");
    EXPECT_TRUE(f.Exchange.ReplyReady());
    EXPECT_EQ(platform::Text(Edit(c.edit)), c.text);  // a read leaves the edit alone
  }
}

TEST_F(PageTexts, ReadBoxesRecaptionTheirPageAndOnlyExternalClearsTheMemos) {
  TForm1& f = Start();
  struct Case {
    const char* box;
    const char* stem;
    int first, last;
    bool clearsMemos;
  } cases[] = {
      {"GetText", "TXTSMSb", 1, 57, true},
      {"iGetText", "iTXTSMSb", 1, 57, false},
      {"nGetText", "TXTSMSb", 58, 97, false},
  };
  auto captions = [&](const char* stem, int first, int last) {
    std::string s;
    for (int n = first; n <= last; ++n)
      s += Button(QString("%1%2").arg(stem).arg(n))->text().toStdString();
    return s;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    const int count = c.last - c.first + 1;
    for (bool checked : {true, false}) {
      ui::SetMemoText(f.MemoSMSinput, "answer");
      ui::SetMemoText(f.MemoS, "sent");
      f.Exchange.Restore([](auto& s) { s.RawATMode = true; });
      Box(c.box)->setChecked(checked);
      std::string expect;
      for (int i = 0; i < count; ++i) expect += checked ? "RD" : "WR";
      EXPECT_EQ(captions(c.stem, c.first, c.last), expect);
      EXPECT_FALSE(f.Exchange.RawATMode());
      EXPECT_EQ(ui::MemoText(f.MemoSMSinput), c.clearsMemos ? "" : "answer");
      EXPECT_EQ(ui::MemoText(f.MemoS), c.clearsMemos ? "" : "sent");
      EXPECT_EQ(f.Exchange.ReplyReady(), c.clearsMemos);
    }
    EXPECT_EQ(Wire(), "");  // the boxes send nothing
  }
  // One page's box leaves the other pages' captions alone.
  Box("iGetText")->setChecked(true);
  EXPECT_EQ(captions("TXTSMSb", 1, 97).find("RD"), std::string::npos);
}

TEST_F(PageTexts, AnswersLandInTheEditOfTheirSlotByThePageShown) {
  TForm1& f = Start();
  f.SkipCRLFcb->setChecked(true);
  struct Case {
    int page;
    std::string command, answer;
    std::vector<std::pair<const char*, const char*>> edits;  // edit, text after the tick
  } cases[] = {
      {2, "GETTX05 ", "05: Temperature 2 Normal\r\n", {{"TXTSMS5", "Temperature 2 Normal  "}}},
      {3, "GETTI05 ", "05: F SETOU1\r\n", {{"iTXTSMS5", "F SETOU1 "}, {"TXTSMS5", "unchanged"}}},
      // The names' answers fill their edit from "Int/Ext SMS" as well as from "IOname".
      {4, "GETTI58 ", "58: INP1 1\r\n", {{"iTXTSMS58", "INP1 1 "}}},
      {3, "GETTI97 ", "97: OUT8 0\r\n", {{"iTXTSMS97", "OUT8 0 "}}},
      // "External SMS" reads every answer as a long text: slot 5 of the short table lands in
      // TXTSMS5, and slot 58 has no edit there.
      {2, "GETTI05 ", "05: short\r\n", {{"TXTSMS5", "short  "}, {"iTXTSMS5", "unchanged"}}},
      {2, "GETTI58 ", "58: INP1 1\r\n", {{"iTXTSMS58", "unchanged"}, {"TXTSMS5", "unchanged"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    for (const auto& [edit, text] : c.edits) Edit(edit)->setText("unchanged");
    f.PageControl1->setCurrentIndex(c.page);
    f.RunCommand(c.command);
    Wire();
    Chunk(c.answer);
    f.Timer1Timer();
    for (const auto& [edit, text] : c.edits)
      EXPECT_EQ(Edit(edit)->text().toStdString(), text) << edit;
  }
}

// The same buttons serve in SMS mode: the padded command goes out as an SMS, and the
// device's answer, which comes back as an SMS, never reaches the edits.
TEST_F(PageTexts, InSmsModeTheCommandGoesAsAnSmsAndAnswersLeaveTheEdits) {
  TForm1& f = Start();
  f.TKnumber->setText("+1234567");
  f.SMSmode->setChecked(true);
  platform::SetText(Edit("iTXTSMS58"), "Pump on");
  Button("TXTSMSb58")->click();
  std::string pdu;
  ASSERT_TRUE(configurator::TextToPDU(Padded("SETTI58 Pump on", 23) + "\r", "+1234567", pdu));
  EXPECT_EQ(Wire(), "AT+CMGS=" + std::to_string(configurator::CmgsLength(pdu)) + "\r");
  EXPECT_EQ(ui::MemoText(f.MemoS), "SETTI58,Pump on");
  Chunk("> ");
  EXPECT_EQ(Wire(), pdu.substr(0, pdu.size() - 1) + "\x1a");

  f.PageControl1->setCurrentIndex(2);
  Edit("TXTSMS5")->setText("unchanged");
  f.Exchange.Clear();  // the reply to come is shown
  Chunk("05: Frost\r\n");
  f.Timer1Timer();
  EXPECT_EQ(Edit("TXTSMS5")->text(), "unchanged");
}

TEST_F(PageTexts, TextsComeBackFromTheSettingsFileCutToTheirFields) {
  WriteFile(Record({{1, "Frost"}, {57, std::string(26, 'z')}},
                   {{1, "F SETOU1 RSTOU2"}, {58, "Pump on"}, {97, "Off"}}));
  TForm1& f = Make();
  EXPECT_EQ(Edit("TXTSMS1")->text(), "Frost");
  EXPECT_EQ(Edit("TXTSMS57")->text().toStdString(), std::string(26, 'z'));
  EXPECT_EQ(Edit("TXTSMS2")->text(), "");
  EXPECT_EQ(Edit("iTXTSMS1")->text(), "F SETOU1 RSTOU2");
  EXPECT_EQ(Edit("iTXTSMS58")->text(), "Pump on");
  EXPECT_EQ(Edit("iTXTSMS97")->text(), "Off");
  EXPECT_EQ(Edit("iTXTSMS59")->text(), "");

  // A long text of 32 characters is kept as its first 26; a short one of 15 whole.
  const std::string long32 = "0123456789abcdefghijKLMNOPqrstuv";
  Edit("TXTSMS3")->setText(QString::fromStdString(long32));
  Edit("iTXTSMS82")->setText("Heating on 1234");
  Edit("iTXTSMS2")->setText("toolong-by-code-17");  // code may put more than one may type
  ASSERT_TRUE(f.SaveSetting1Click());
  form.reset();
  Make();
  EXPECT_EQ(Edit("TXTSMS3")->text().toStdString(), long32.substr(0, 26));
  EXPECT_EQ(Edit("iTXTSMS82")->text(), "Heating on 1234");
  EXPECT_EQ(Edit("iTXTSMS2")->text(), "toolong-by-code");
  EXPECT_EQ(Edit("TXTSMS1")->text(), "Frost");
  EXPECT_EQ(Edit("iTXTSMS97")->text(), "Off");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PageTexts, WithoutAUsableSettingsFile) {
  // No file: one warning, and every edit starts empty.
  {
    TForm1& f = Make();
    ASSERT_EQ(boxes.size(), 1u);
    for (int n = 1; n <= 57; ++n) EXPECT_EQ(f.TXTSMS[static_cast<std::size_t>(n)]->text(), "");
    for (int n = 1; n <= 97; ++n) EXPECT_EQ(f.iTXTSMS[static_cast<std::size_t>(n)]->text(), "");
  }
  // A short file ends the start-up before the texts: the window's own texts stay.
  form.reset();
  boxes.clear();
  WriteFile(std::string(100, '\0'));
  TForm1& f = Make();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(f.TXTSMS[2]->text(), "Temperature 1 Normal");
  EXPECT_EQ(f.TXTSMS[57]->text(), "Event INP12 1-0");
  EXPECT_EQ(f.iTXTSMS[5]->text(), "");
  EXPECT_EQ(f.iTXTSMS[64]->text(), "INP7 1");
  EXPECT_EQ(f.iTXTSMS[97]->text(), "OUT8 0");
}

}  // namespace
