// Start-up from the settings file, the save, and Exit.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>

#include <cstring>
#include <sys/stat.h>
#include <map>

#include "configurator/formutil.h"
#include "configurator/core/setupconfig.h"
#include "platform/controls.h"
#include "platform/widgets.h"
#include "serial/displayunit.h"
#include "unprivileged.h"
#include "window_fixture.h"
#include "support/filesizelimit.h"

namespace {

using cfgtest::WindowTest;
using configurator::TForm1;
using configurator::TSetupConfig;

std::string Encode(const TSetupConfig& c) {
  const auto bytes = configurator::EncodeSetupConfig(c);
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

struct Opening {
  std::string device;
  std::uint32_t rate;
  bool connected;
};

class WindowStartup : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    serial::MemoLine = 0;
    TForm1::InitPortObserver() = [this](const TForm1& f) {
      openings.push_back({f.SerialPort1->OpenedDevice(), f.SerialPort1->BaudRateValue(),
                          f.SerialPort1->Connected()});
    };
  }
  std::vector<Opening> openings;
};

TEST_F(WindowStartup, SavedRateAndPortReopenThePortTwice) {
  testsupport::PtyPair com4;
  ASSERT_TRUE(com4.Open());
  Link(4, com4);
  TSetupConfig c;
  c.RadioGroupRate = 2;
  c.RadioGroupPort = 3;
  WriteFile(Encode(c));
  TForm1& f = Make();
  EXPECT_TRUE(boxes.empty());
  ASSERT_EQ(openings.size(), 3u);
  const std::string p1 = PortFolder() + "/com1", p4 = PortFolder() + "/com4";
  auto same = [](const std::string& opened, const std::string& link) {
    return std::filesystem::weakly_canonical(opened) == std::filesystem::weakly_canonical(link);
  };
  EXPECT_TRUE(openings[0].connected && same(openings[0].device, p1));
  EXPECT_EQ(openings[0].rate, 2400u);
  EXPECT_TRUE(openings[1].connected && same(openings[1].device, p1));
  EXPECT_EQ(openings[1].rate, 9600u);
  EXPECT_TRUE(openings[2].connected && same(openings[2].device, p4));
  EXPECT_EQ(openings[2].rate, 9600u);
  EXPECT_EQ(com4.SlaveSpeed(), 9600u);
  EXPECT_EQ(f.SerialPort1->PortName(), "\\\\.\\COM4");
}

TEST_F(WindowStartup, NoSettingsFileStartsFromAZeroRecord) {
  TForm1& f = Make();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "TK5063.cfg access error");
  EXPECT_EQ(boxes[0].caption, "Warning");
  EXPECT_EQ(boxes[0].icon, platform::Icon::Warning);
  ASSERT_EQ(openings.size(), 1u);  // Com1 at 2400, not reopened
  EXPECT_EQ(openings[0].rate, 2400u);
  EXPECT_EQ(f.RadioGroupRate->ItemIndex(), 0);
  EXPECT_EQ(f.RadioGroupPort->ItemIndex(), 0);
  EXPECT_EQ(platform::Text(f.TKnumber), "");
  EXPECT_EQ(f.TrackBar5->value(), 0);
  EXPECT_EQ(f.Edit1->text(), "0");
  for (QCheckBox* b :
       {f.SMSmode, f.ParityEven, f.SkipCRLFcb, f.SaveSettingAfterExitCB, f.DeleteSMS})
    EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
  EXPECT_FALSE(f.TKM506GM1->isChecked());
  EXPECT_EQ(f.OptionString, "");
  EXPECT_EQ(f.ScheduleString, "");
  EXPECT_FALSE(f.Exchange.ModemInitActive());
  EXPECT_TRUE(f.PanelAT->isHidden());
  EXPECT_TRUE(f.PanelBand->isHidden());
  EXPECT_EQ(platform::Base(f.TKnumber), QColor(255, 255, 245));
  // A later save creates the file.
  EXPECT_TRUE(f.SaveSetting1Click());
  EXPECT_EQ(ReadFile().size(), 4136u);
}

TEST_F(WindowStartup, ShortFileEndsTheStartUpWithTheErrorBox) {
  platform::SetApplicationTitle("TK5063SM");
  TSetupConfig c;
  c.RadioGroupRate = 2;
  c.TKnumber.set("+4912345");
  WriteFile(Encode(c).substr(0, 100));
  TForm1& f = Make();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Read beyond end of file.\r\n" + Folder() +
                               "/TK5063.cfg could not be read whole: \"Save Setting\" writes it "
                               "again.");
  EXPECT_EQ(boxes[0].caption, "TK5063SM");
  EXPECT_EQ(boxes[0].icon, platform::Icon::Stop);
  // The steps after the read did not run: design values everywhere.
  EXPECT_EQ(openings.size(), 1u);
  EXPECT_EQ(f.RadioGroupRate->ItemIndex(), 0);
  EXPECT_EQ(platform::Text(f.TKnumber), "");
  EXPECT_NE(platform::Base(f.TKnumber), QColor(255, 255, 245));
  EXPECT_FALSE(f.Exchange.ModemInitActive());
  // The bytes that were there are in the record.
  EXPECT_EQ(f.Config.RadioGroupRate, 2);
}

TEST_F(WindowStartup, SmsModeStartArmsTheModemSequence) {
  TSetupConfig c;
  c.SMSmode = 1;
  c.SkipCRLFcb = 1;
  c.ParityEven = 1;
  c.TrackBar5 = 1500;
  WriteFile(Encode(c));
  TForm1& f = Make();
  EXPECT_TRUE(f.SMSModeOn);
  EXPECT_TRUE(f.MemoS->isHidden());
  EXPECT_TRUE(f.Exchange.ModemInitActive());
  EXPECT_EQ(f.Exchange.ModemInitStep(), 0);
  EXPECT_TRUE(f.SkipCRLFcb->isChecked());
  EXPECT_EQ(f.SerialPort1->Parity(), serial::ptEVEN);
  EXPECT_EQ(f.Edit1->text(), "1500");
  EXPECT_TRUE(f.Memo5->isHidden());
}

// A read-only settings file (the window runs as an ordinary user here, for whom the mode
// counts): the warning at start, with the file and why, the zero-record start, the warning
// on every save; Exit says it could not save, where and why, and asks: No stays (nothing is
// lost), Yes leaves. The file stays as it was.
TEST_F(WindowStartup, ReadOnlyFileAtStartAndOnSaveAndExit) {
  TSetupConfig c;
  c.RadioGroupRate = 2;
  c.TKnumber2.set("+4917012345");
  const std::string original = Encode(c);
  WriteFile(original);
  ::chmod("TK5063.cfg", 0444);
  cfgtest::OpenFolderForOthers(Folder());
  const std::string warning =
      "TK5063.cfg access error\r\n" + Folder() +
      "/TK5063.cfg: permission denied: give yourself read and write access to the file, or "
      "start the program in a folder of your own.";
  TForm1& f = cfgtest::AsOrdinaryUser([&]() -> TForm1& { return Make(); });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, warning);
  EXPECT_EQ(boxes[0].caption, "Warning");
  EXPECT_EQ(f.RadioGroupRate->ItemIndex(), 0);
  EXPECT_EQ(platform::Text(f.TKnumber), "");
  EXPECT_EQ(f.Config.RadioGroupRate, 0);

  boxes.clear();
  EXPECT_FALSE(cfgtest::AsOrdinaryUser([&] { return f.SaveSetting1Click(); }));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, warning);

  boxes.clear();
  f.show();
  f.SaveSettingAfterExitCB->setChecked(true);
  for (const platform::Answer a : {platform::Answer::No, platform::Answer::Yes}) {
    answer = a;
    cfgtest::AsOrdinaryUser([&] { f.ExitBtn->click(); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, warning + "\r\n" + configurator::kExitUnsavedText);
    EXPECT_EQ(boxes[0].caption, "Warning");
    EXPECT_EQ(boxes[0].icon, platform::Icon::Warning);
    EXPECT_EQ(boxes[0].buttons, platform::Buttons::YesNo);
    EXPECT_EQ(f.isVisible(), a == platform::Answer::No);
    boxes.clear();
  }
  EXPECT_EQ(ReadFile(), original);
}

// A folder the user can't write and no settings file in it: the start's warning says so with
// the folder, and so does the Exit that can't save, which lets the user leave.
TEST_F(WindowStartup, FolderThatTakesNoFileIsToldAtStartAndExit) {
  cfgtest::OpenFolderForOthers(Folder());
  const bool root = ::geteuid() == 0;
  if (!root) ::chmod(Folder().c_str(), 0555);
  const std::string folderLine =
      "The folder " + Folder() +
      " takes no new file (no write permission): start the program in a folder of your own, or "
      "ask the folder's owner for write access.";
  TForm1& f = cfgtest::AsOrdinaryUser([&]() -> TForm1& { return Make(); });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "TK5063.cfg access error\r\n" + folderLine);
  boxes.clear();
  f.show();
  f.SaveSettingAfterExitCB->setChecked(true);
  answer = platform::Answer::Yes;
  cfgtest::AsOrdinaryUser([&] { f.ExitBtn->click(); });
  if (!root) ::chmod(Folder().c_str(), 0755);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text,
            "TK5063.cfg access error\r\n" + folderLine + "\r\n" + configurator::kExitUnsavedText);
  EXPECT_FALSE(f.isVisible());
  EXPECT_FALSE(std::filesystem::exists(Folder() + "/TK5063.cfg"));
}

// An I/O error while saving (here the file-size limit, which binds root too) at Exit: the
// error and the file, and the question; No keeps the window open, and the old file is left
// whole.
TEST_F(WindowStartup, WriteErrorOnExitKeepsTheWindowAndTheOldFile) {
  platform::SetApplicationTitle("TK5063SM");
  WriteZeroFile();
  TForm1& f = Make();
  ASSERT_TRUE(boxes.empty());
  f.show();
  f.TKnumber->setText("+4917012345");
  f.SaveSettingAfterExitCB->setChecked(true);

  answer = platform::Answer::No;
  {
    testsupport::FileSizeLimit limit(1000);
    f.ExitBtn->click();
  }

  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Disk write error (File too large).\r\n" + Folder() +
                               "/TK5063.cfg was left as it was: make room on its disk, or start "
                               "the program in a folder of your own.\r\n" +
                               configurator::kExitUnsavedText);
  EXPECT_EQ(boxes[0].caption, "Warning");
  EXPECT_EQ(boxes[0].buttons, platform::Buttons::YesNo);
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(ReadFile(), std::string(4136, '\0'));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder()),
                          std::filesystem::directory_iterator{}),
            2);  // the file and the port folder, no temporary file
}

TEST_F(WindowStartup, ExitWithoutSaveLeavesTheFileAlone) {
  WriteZeroFile();
  TForm1& f = Make();
  f.show();
  f.TKnumber->setText("+491701234");
  f.Exit1->trigger();
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(ReadFile(), std::string(4136, '\0'));
}

TEST_F(WindowStartup, SaveAfterStartWritesBackWhatWasRead) {
  TSetupConfig c;
  c.RadioGroupRate = 1;
  c.TrackBar5 = 777;
  c.Kept12 = 12;
  c.TKnumber.set("+111");
  c.TKnumber2.set("+4917012345");
  c.TXTSMS[0].set("alarm text one");
  c.SRateSB = 5;
  c.Kept3624 = 3624;
  c.OptionString.set("ABC");
  c.Reserved3649 = {0x49, 0x36};
  c.Reserved37[3] = 0x5A;
  c.Kept4052 = -4052;
  c.Kept4056 = 4056;
  c.Value4080 = 7;
  c.Kept4084 = 4084;
  c.Kept4086 = -2;
  c.SkipCRLFcb = 1;
  c.ParityEven = 1;
  c.SaveSettingAfterExitCB = 1;
  c.ScheduleString.set("123456789");
  c.Pad4094 = {1, 2};
  WriteFile(Encode(c));
  TForm1& f = Make();
  ASSERT_TRUE(boxes.empty());
  f.TKnumber->setText("+4917012345");
  ASSERT_TRUE(f.SaveSetting1Click());
  const std::string saved = ReadFile();
  ASSERT_EQ(saved.size(), 4136u);

  TSetupConfig want = c;
  want.TKnumber.set("+4917012345");  // offset 16 takes the copy of offset 3986
  want.Value4080 = 0;                // above 4 comes back as 0
  want.OptionString.set("ABC   ");   // padded by as many blanks as it has characters
  want.TNrFilter.set("---");         // empty masks come back as their defaults
  want.ANrFilter.set("--------");
  want.DNrFilter.set("000000000000");
  // What the pages' controls make of the record: the schedule's first character, not one of
  // the four type letters, becomes a blank; offset 3204 takes the sampling rate of 4096; the
  // data logger bars clamp 0 to their minimum 1.
  want.ScheduleString.set(" 23456789");
  want.SRateSB = c.eSRateSB;
  want.DLoggerTmSB = 1;
  want.eDLoggerTmSB = 1;
  EXPECT_EQ(saved, Encode(want));
  EXPECT_EQ(f.OptionString, "ABC   ");
}

TEST_F(WindowStartup, LongTextsAreCutToTheirFields) {
  WriteZeroFile();
  TForm1& f = Make();
  f.TKnumber->setText(QString(30, '9'));
  ASSERT_TRUE(f.SaveSetting1Click());
  const auto cfg = configurator::DecodeSetupConfig(
      reinterpret_cast<const unsigned char*>(ReadFile().data()), 4136);
  EXPECT_EQ(configurator::GetText(cfg.TKnumber), std::string(20, '9'));
  EXPECT_EQ(configurator::GetText(cfg.TKnumber2), std::string(20, '9'));
}

TEST_F(WindowStartup, LongerFileIsCutToOneRecordOnSave) {
  TSetupConfig c;
  c.TKnumber2.set("+42");
  WriteFile(Encode(c) + std::string(100, 'x'));
  TForm1& f = Make();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(platform::Text(f.TKnumber), "+42");
  ASSERT_TRUE(f.SaveSetting1Click());
  EXPECT_EQ(ReadFile().size(), 4136u);
}

// The restore decodes the masks into the grid, fills the edits and clamps the level bars;
// their positions go back into the record.
TEST_F(WindowStartup, RestoreFillsThePagesControls) {
  TSetupConfig c;
  c.TNrFilter.set("1F-");
  c.ANrFilter.set("f");  // lower case: disabled
  c.AnalogLevels[0] = 7;
  c.AnalogLevels[1] = 150;  // beyond its bar's range
  c.TempLevels[0] = -5;
  c.NNumber[2].set("+333");
  c.TXTSMS[4].set("door");
  WriteFile(Encode(c));
  TForm1& f = Make();
  EXPECT_EQ(f.TNrFilter->text(), "1F-");
  EXPECT_EQ(f.NNumber[3]->text(), "+333");
  EXPECT_EQ(f.TXTSMS[5]->text(), "door");
  EXPECT_EQ(f.MinLv[1]->text(), "07");
  EXPECT_EQ(f.MaxLv[1]->text(), "99");
  EXPECT_EQ(f.Tmin[1]->text(), "-5");
  EXPECT_EQ(f.ScrollBarMax[1]->value(), 99);
  // The grid's handlers leave "0" in the stash of a channel restored as disabled.
  EXPECT_EQ(f.MaskStash.substr(0, 4), std::string("1F00"));
  struct Want {
    QCheckBox* box;
    bool checked;
  } wants[] = {
      {f.CheckBoxTdis[1], false}, {f.CheckBoxT[1][1], true},  {f.CheckBoxT[2][1], false},
      {f.CheckBoxT[3][1], false}, {f.CheckBoxT[4][1], false}, {f.CheckBoxTdis[2], false},
      {f.CheckBoxT[1][2], true},  {f.CheckBoxT[2][2], true},  {f.CheckBoxT[3][2], true},
      {f.CheckBoxT[4][2], true},  {f.CheckBoxTdis[3], true},  {f.CheckBoxT[1][3], false},
      {f.CheckBoxT[4][3], false}, {f.CheckBoxAdis[1], true},  {f.CheckBoxA[1][1], false},
      {f.CheckBoxAdis[2], true},  {f.CheckBoxA[1][2], false},
  };
  for (const Want& w : wants)
    EXPECT_EQ(w.box->isChecked(), w.checked) << w.box->objectName().toStdString();
  // Positions go back into the record as the bars hold them.
  EXPECT_EQ(f.Config.AnalogLevels[0], 7);
  EXPECT_EQ(f.Config.AnalogLevels[1], 99);
}

// A record without masks starts from the default masks: T/C and analog channels disabled,
// digital channels enabled for no number.
TEST_F(WindowStartup, EmptyMasksAreDecodedFromTheirDefaults) {
  WriteZeroFile();
  TForm1& f = Make();
  EXPECT_EQ(f.TNrFilter->text(), "---");
  EXPECT_EQ(f.ANrFilter->text(), "--------");
  EXPECT_EQ(f.DNrFilter->text(), "000000000000");
  // The grid's handlers turn the stash of the disabled channels into digits.
  EXPECT_EQ(f.MaskStash, std::string(23, '0'));
  for (int p = 1; p <= 3; ++p) EXPECT_TRUE(f.CheckBoxTdis[p]->isChecked()) << p;
  for (int p = 1; p <= 8; ++p) EXPECT_TRUE(f.CheckBoxAdis[p]->isChecked()) << p;
  for (int p = 1; p <= 12; ++p) EXPECT_FALSE(f.CheckBoxDdis[p]->isChecked()) << p;
  for (int b = 1; b <= 4; ++b) {
    for (int p = 1; p <= 3; ++p) EXPECT_FALSE(f.CheckBoxT[b][p]->isChecked());
    for (int p = 1; p <= 8; ++p) EXPECT_FALSE(f.CheckBoxA[b][p]->isChecked());
    for (int p = 1; p <= 12; ++p) EXPECT_FALSE(f.CheckBoxD[b][p]->isChecked());
  }
}

TEST_F(WindowStartup, EveryPageChangeRecoloursTheSettingEdits) {
  WriteZeroFile();
  TForm1& f = Make();
  platform::SetBase(f.TKnumber, QColor(255, 0, 0));
  platform::SetBase(f.SMScommand, QColor(255, 255, 0));
  f.PageControl1->setCurrentIndex(11);
  EXPECT_EQ(platform::Base(f.TKnumber), QColor(255, 255, 245));
  EXPECT_EQ(platform::Base(f.MemoSMSinput), QColor(255, 255, 245));
  EXPECT_EQ(platform::Base(f.SMScommand), QColor(255, 255, 0));  // not in the list
}

TEST_F(WindowStartup, WindowShape) {
  WriteZeroFile();
  TForm1& f = Make();
  EXPECT_EQ(f.windowTitle(), "TK5063SM");
  EXPECT_EQ(f.size(), QSize(886, 703));
  const char* captions[13] = {"Main",       "Abonents", "External SMS",        "Int/Ext SMS",
                              "IOname",     "Analog",   "Temperature/Counter", "SMS Shedule",
                              "IO control", "Other",    "GPRS, FTP",           "Serial Port",
                              "RunTime"};
  ASSERT_EQ(f.PageControl1->count(), 13);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(f.PageControl1->tabText(i), captions[i]);
  EXPECT_EQ(f.PageControl1->widget(6)->objectName(), "bClearCT");
  EXPECT_EQ(f.PageControl1->currentIndex(), 0);
  EXPECT_EQ(f.Timer1->interval(), 1000);
  EXPECT_EQ(f.Status->text(), "Setting Mode");
  EXPECT_EQ(f.RadioGroupPort->Count(), 16);
  EXPECT_EQ(f.RadioGroupRate->Count(), 7);
  EXPECT_EQ(f.SerialPort1->InBufSize(), 8192u);
  EXPECT_EQ(f.SerialPort1->PollingDelay(), 5000);
  EXPECT_EQ(f.SerialPort1->HwFlow(), serial::hfNONE);
  EXPECT_FALSE(f.SerialPort1->EnableDTROnOpen());
  EXPECT_FALSE(f.TKM506GM1->isVisible());
}

TEST_F(WindowStartup, PanelsShowOneAtATime) {
  WriteZeroFile();
  TForm1& f = Make();
  f.ATcmdOpen->click();
  EXPECT_FALSE(f.PanelAT->isHidden());
  EXPECT_EQ(f.ATcmdOpen->text(), "AT Command disable");
  f.ATcmdOpen->click();
  EXPECT_TRUE(f.PanelAT->isHidden());
  EXPECT_EQ(f.ATcmdOpen->text(), "AT Command enable");
  f.ATcmdOpen->click();
  f.GSMbandOpen->click();
  EXPECT_TRUE(f.PanelAT->isHidden());
  EXPECT_FALSE(f.PanelBand->isHidden());
  EXPECT_EQ(f.GSMbandOpen->text(), "GSM Band disable");
  EXPECT_EQ(f.ATcmdOpen->text(), "AT Command enable");
}

TEST_F(WindowStartup, LinkOptions) {
  WriteZeroFile();
  TForm1& f = Make();
  f.SMSmode->setChecked(true);
  EXPECT_TRUE(f.Memo5->isHidden());
  EXPECT_FALSE(f.Hersteller->isHidden());
  f.SMSmode->setChecked(false);
  EXPECT_FALSE(f.Memo5->isHidden());
  EXPECT_TRUE(f.Hersteller->isHidden());
  f.TrackBar5->setValue(1500);
  EXPECT_EQ(f.Edit1->text(), "1500");
  EXPECT_EQ(f.SerialPort1->InputTimeout(), 200u);
  f.ParityEven->setChecked(true);
  EXPECT_TRUE(f.SerialPort1->Connected());
  EXPECT_EQ(f.SerialPort1->Parity(), serial::ptEVEN);
}

}  // namespace
