// The GPRS, FTP page: the text settings' blank rules and read box on the wire, the error
// limit, the file parameter bars mirrored with the IO control page, and the settings file.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "configurator/formutil.h"
#include "configurator/core/gprs.h"
#include "configurator/core/setupconfig.h"
#include <QAbstractButton>
#include <QLabel>

#include "window_fixture.h"
#include "platform/controls.h"

namespace {
using cfgtest::LayoutFaults;

using cfgtest::Frame;

using cfgtest::WindowTest;
using configurator::TForm1;
using configurator::TSetupConfig;
namespace ui = configurator::ui;

// ---- pure rules ---------------------------------------------------------------------------

TEST(GprsCore, BlankRulesOfTheTextSettings) {
  using configurator::TGprsCommand;
  struct Case {
    TGprsCommand got, want;
  } cases[] = {
      {configurator::GprsTextCommand("SETID ", "user"), {"SETID user", "SETID,user", "user"}},
      {configurator::GprsTextCommand("SETID ", "user x"), {"SETID user", "SETID,user", "user"}},
      {configurator::GprsTextCommand("SETID ", " user"), {"SETID ", "SETID,", ""}},
      {configurator::GprsTextCommand("SETDN ", ""), {"SETDN ", "SETDN,", ""}},
      // A control character is no blank for the common form.
      {configurator::GprsTextCommand("SETPW ", "\tpw"), {"SETPW \tpw", "SETPW,\tpw", "\tpw"}},
      {configurator::ApnCommand("internet extra"),
       {"SETAP internet", "SETAP,internet", "internet"}},
      {configurator::ApnCommand(" internet"), {"SETAP    ", "SETAP    ", " internet"}},
      {configurator::ApnCommand(""), {"SETAP    ", "SETAP    ", ""}},
      {configurator::ApnCommand("\x1fnet"), {"SETAP    ", "SETAP    ", "\x1fnet"}},
      // A Windows-1252 letter above 127 is no control character.
      {configurator::ApnCommand("\xe9t x"), {"SETAP \xe9t", "SETAP,\xe9t", "\xe9t"}},
      {configurator::HttpHostCommand("\xe9t x"), {"SETRH,\xe9t", "SETRH,\xe9t", "\xe9t"}},
      {configurator::HttpHostCommand(""), {"SETRH,   ", "SETRH,   ", "   "}},
      {configurator::HttpHostCommand("host.example path"),
       {"SETRH,host.example", "SETRH,host.example", "host.example"}},
      {configurator::HttpHostCommand(" host x"), {"SETRH, host x", "SETRH, host x", " host x"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.got.command, c.want.command);
    EXPECT_EQ(c.got.echo, c.want.echo) << c.want.command;
    EXPECT_EQ(c.got.edit, c.want.edit) << c.want.command;
  }
  EXPECT_EQ(configurator::MaxErrorCommand(0), "ESKTD00");
  EXPECT_EQ(configurator::MaxErrorCommand(7), "ESKTD07");
  EXPECT_EQ(configurator::MaxErrorCommand(99), "ESKTD99");
}

// ---- the page in the window ---------------------------------------------------------------

class GprsPage : public WindowTest {
 protected:
  QScrollBar* Bar(const char* name) {
    auto* b = form->findChild<QScrollBar*>(name);
    EXPECT_NE(b, nullptr) << name;
    return b;
  }
  std::string Text(const char* name) { return platform::Text(form->findChild<QLineEdit*>(name)); }
};

TEST_F(GprsPage, ControlsStartAtTheirDefaults) {
  // A settings file that cannot be read whole ends the start-up before any restore: the form's
  // own texts stay.
  WriteFile(std::string(100, '\0'));
  TForm1& f = Make();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(f.MaxError->text(), "0");
  EXPECT_EQ(f.APN->text(), "internet");
  EXPECT_EQ(f.IPaddress->text(), "0.0.0.0");
  EXPECT_EQ(f.DirName->text(), "IMEI");
  EXPECT_FALSE(f.FTPHostName->text().isEmpty());
  EXPECT_EQ(f.UserID->text(), "");
  struct Len {
    platform::Edit* edit;
    int max;
  } lens[] = {{f.APN, 40},         {f.UserID, 16},      {f.Password, 16},
              {f.IPaddress, 40},   {f.FTPHostName, 40}, {f.UserNameFTP, 40},
              {f.PasswordFTP, 16}, {f.DirName, 16},     {f.HTTPhostName, 40}};
  for (const Len& l : lens)
    EXPECT_EQ(l.edit->MaxLength(), l.max) << l.edit->objectName().toStdString();
  for (QPushButton* b : {f.APNbtn, f.UIDbtn, f.PWbtn, f.IPbtn, f.FTPHostNamebtn, f.UNbtn, f.FPWbtn,
                         f.DirNameBtn, f.HTTPhostBtn})
    EXPECT_EQ(b->text(), "WRITE") << b->objectName().toStdString();
  EXPECT_FALSE(f.ReadGPRS1->isChecked());
  EXPECT_EQ(f.ReadGPRS1->text(), "Read ");
  EXPECT_EQ(Bar("eDLoggerTmSB")->maximum(), 9);
  EXPECT_EQ(Bar("DLoggerTmSB")->maximum(), 6);

  // A full start from a zero record empties the texts and shows the error limit's 4.
  form.reset();
  TForm1& g = Start();
  EXPECT_EQ(g.APN->text(), "");
  EXPECT_EQ(g.DirName->text(), "");
  EXPECT_EQ(Bar("MaxErrorScrollBar")->value(), 4);
  EXPECT_EQ(g.MaxError->text(), "4");
  EXPECT_EQ(Text("eDLoggerTm"), "1");
}

TEST_F(GprsPage, WriteButtonsApplyTheBlankRules) {
  TForm1& f = Start();
  struct Case {
    platform::Edit* edit;
    QPushButton* button;
    const char* text;
    std::string command, echo, after;
  } cases[] = {
      {f.APN, f.APNbtn, "internet extra", "SETAP internet", "SETAP,internet", "internet"},
      {f.APN, f.APNbtn, " internet", "SETAP    ", "SETAP    ", " internet"},
      {f.APN, f.APNbtn, "", "SETAP    ", "SETAP    ", ""},
      {f.UserID, f.UIDbtn, " user", "SETID ", "SETID,", ""},
      {f.Password, f.PWbtn, "pw", "SETPW pw", "SETPW,pw", "pw"},
      {f.IPaddress, f.IPbtn, "10.0.0.1 x", "SETIP 10.0.0.1", "SETIP,10.0.0.1", "10.0.0.1"},
      {f.FTPHostName, f.FTPHostNamebtn, "ftp.host", "SETFT ftp.host", "SETFT,ftp.host", "ftp.host"},
      {f.UserNameFTP, f.UNbtn, "logger", "SETAF logger", "SETAF,logger", "logger"},
      {f.PasswordFTP, f.FPWbtn, "", "SETPF ", "SETPF,", ""},
      {f.DirName, f.DirNameBtn, "IMEI", "SETDN IMEI", "SETDN,IMEI", "IMEI"},
      {f.HTTPhostName, f.HTTPhostBtn, "", "SETRH,   ", "SETRH,   ", "   "},
      {f.HTTPhostName, f.HTTPhostBtn, " web x", "SETRH, web x", "SETRH, web x", " web x"},
      {f.HTTPhostName, f.HTTPhostBtn, "web x", "SETRH,web", "SETRH,web", "web"},
  };
  for (const Case& c : cases) {
    c.edit->setText(c.text);
    f.Exchange.Restore(
        [](auto& s) { s.RawATMode = true; });  // each button clears first, so its line goes framed
    c.button->click();
    EXPECT_EQ(Wire(), Frame(c.command)) << c.command;
    EXPECT_EQ(ui::MemoText(f.MemoS), c.echo) << c.command;
    EXPECT_EQ(platform::Text(c.edit), c.after) << c.command;
  }
}

TEST_F(GprsPage, ReadBoxTurnsEveryButtonIntoItsReadCommand) {
  TForm1& f = Start();
  f.Exchange.Restore([](auto& s) { s.RawATMode = true; });
  f.ReadGPRS1->setChecked(true);
  EXPECT_FALSE(f.Exchange.RawATMode());
  f.APN->setText(" a b");
  f.UserID->setText("x y");
  f.HTTPhostName->setText("");
  struct Case {
    QPushButton* button;
    std::string command;
  } cases[] = {{f.APNbtn, "GETAP "}, {f.UIDbtn, "GETID "},         {f.PWbtn, "GETPW "},
               {f.IPbtn, "GETIP "},  {f.FTPHostNamebtn, "GETFT "}, {f.UNbtn, "GETAF "},
               {f.FPWbtn, "GETPF "}, {f.DirNameBtn, "GETDN "},     {f.HTTPhostBtn, "GETRH "}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.button->text(), "RD");
    c.button->click();
    EXPECT_EQ(Wire(), Frame(c.command)) << c.command;
    EXPECT_EQ(ui::MemoText(f.MemoS), c.command);
  }
  EXPECT_EQ(f.APN->text(), " a b");  // reads leave the edits alone
  EXPECT_EQ(f.UserID->text(), "x y");
  EXPECT_EQ(f.HTTPhostName->text(), "");
  f.ReadGPRS1->setChecked(false);
  EXPECT_EQ(f.HTTPhostBtn->text(), "WR");
  f.UIDbtn->click();
  EXPECT_EQ(Wire(), Frame("SETID x"));
}

TEST_F(GprsPage, MaxErrorLevelSendsTwoDigitsWithoutClearing) {
  TForm1& f = Start();
  QScrollBar* bar = Bar("MaxErrorScrollBar");
  for (int pos : {7, 42}) {
    bar->setValue(pos);
    EXPECT_EQ(f.MaxError->text().toStdString(), std::to_string(pos));
    f.MaxErrorLevel->click();
    EXPECT_EQ(Wire(), Frame(configurator::MaxErrorCommand(pos)));
    EXPECT_EQ(ui::MemoText(f.MemoS), configurator::MaxErrorCommand(pos));
  }
  // Raw mode stays as it is: the line goes out unframed.
  f.Exchange.Restore([](auto& s) { s.RawATMode = true; });
  f.MaxErrorLevel->click();
  EXPECT_EQ(Wire(), "ESKTD42\r");
  EXPECT_TRUE(f.Exchange.RawATMode());
}

TEST_F(GprsPage, FileParameterBarsMirrorTheIOControlPage) {
  TForm1& f = Start();
  auto* ioRate = f.findChild<QPushButton*>("bSRate");
  auto* ioPeriod = f.findChild<QPushButton*>("bDLperiod");
  ASSERT_NE(ioRate, nullptr);
  ASSERT_NE(ioPeriod, nullptr);

  Bar("eSRateSB")->setValue(5);
  EXPECT_EQ(Bar("SRateSB")->value(), 5);
  EXPECT_EQ(Text("eSRate"), "5");
  EXPECT_EQ(Text("SRate"), "5");
  for (QPushButton* b : {f.Button9, ioRate}) {
    b->click();
    EXPECT_EQ(Wire(), Frame("SRATE5"));
  }
  Bar("SRateSB")->setValue(2);  // and back from the IO control page
  EXPECT_EQ(Bar("eSRateSB")->value(), 2);
  EXPECT_EQ(Text("eSRate"), "2");

  Bar("eDLoggerTmSB")->setValue(3);
  EXPECT_EQ(Bar("DLoggerTmSB")->value(), 3);
  EXPECT_EQ(Text("DLoggerTm"), "3");
  EXPECT_EQ(Text("eDLoggerTm"), "3");
  for (QPushButton* b : {f.Button10, ioPeriod}) {
    b->click();
    EXPECT_EQ(Wire(), Frame("DLPER3"));
  }
  // Beyond the IO control bar's 6 the twin clamps and pulls this page's bar back.
  Bar("eDLoggerTmSB")->setValue(8);
  EXPECT_EQ(Bar("DLoggerTmSB")->value(), 6);
  EXPECT_EQ(Bar("eDLoggerTmSB")->value(), 6);
  EXPECT_EQ(Text("eDLoggerTm"), "6");
  EXPECT_EQ(Text("DLoggerTm"), "6");
  f.Button10->click();
  EXPECT_EQ(Wire(), Frame("DLPER6"));
  Bar("DLoggerTmSB")->setValue(2);
  EXPECT_EQ(Bar("eDLoggerTmSB")->value(), 2);
  EXPECT_EQ(Text("eDLoggerTm"), "2");
}

TEST_F(GprsPage, TextsAndBarsLiveInTheSettingsFile) {
  TSetupConfig c;
  c.APN.set("web.apn");
  c.UserID.set("uid");
  c.Password.set("pw");
  c.IPaddress.set("1.2.3.4");
  c.FTPHostName.set("ftp.logger");
  c.UserNameFTP.set("ftpuser");
  c.PasswordFTP.set("ftppw");
  c.DirName.set("dir");
  c.HTTPhostName.set("http.host");
  c.eSRateSB = 7;
  c.eDLoggerTmSB = 4;
  c.DLoggerTmSB = 5;  // restored after the lines bar, so it wins on both pages
  TForm1& f = Start(c);
  EXPECT_EQ(f.APN->text(), "web.apn");
  EXPECT_EQ(f.HTTPhostName->text(), "http.host");
  EXPECT_EQ(f.PasswordFTP->text(), "ftppw");
  EXPECT_EQ(Bar("eSRateSB")->value(), 7);
  EXPECT_EQ(Bar("SRateSB")->value(), 7);
  EXPECT_EQ(Text("eSRate"), "7");
  EXPECT_EQ(Bar("DLoggerTmSB")->value(), 5);
  EXPECT_EQ(Bar("eDLoggerTmSB")->value(), 5);
  EXPECT_EQ(Text("eDLoggerTm"), "5");

  // A click that cuts the text is what the next save stores.
  f.UserNameFTP->setText("new user");
  f.UNbtn->click();
  ASSERT_TRUE(f.SaveSetting1Click());
  const std::string saved = ReadFile();
  ASSERT_EQ(saved.size(), configurator::kSetupConfigSize);
  const auto back = configurator::DecodeSetupConfig(
      reinterpret_cast<const unsigned char*>(saved.data()), saved.size());
  EXPECT_EQ(configurator::GetText(back.UserNameFTP), "new");
  EXPECT_EQ(configurator::GetText(back.APN), "web.apn");
  EXPECT_EQ(configurator::GetText(back.DirName), "dir");
  EXPECT_EQ(configurator::GetText(back.HTTPhostName), "http.host");
  EXPECT_EQ(back.eSRateSB, 7);
  EXPECT_EQ(back.eDLoggerTmSB, 5);
  EXPECT_EQ(back.DLoggerTmSB, 5);
}

TEST_F(GprsPage, ReplyOnThisPageFillsItsEdit) {
  TForm1& f = Start();
  f.PageControl1->setCurrentIndex(10);
  f.ReadGPRS1->setChecked(true);
  f.HTTPhostBtn->click();
  Wire();
  Chunk("Remote Host: web.example\r\n");
  f.Timer1Timer();
  EXPECT_EQ(f.HTTPhostName->text(), "web.example");
}

TEST_F(GprsPage, PageIsLaidOutWithoutOverlapOrClippedCaptions) {
  Start();
  EXPECT_EQ(LayoutFaults(ShowPage(configurator::Page::GprsFtp)), std::vector<std::string>{});
}

}  // namespace
