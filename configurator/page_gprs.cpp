// Page "GPRS, FTP": the GPRS access, the FTP upload account and the HTTP host the data logger
// uses, its error limit, and the two file parameters that mirror the IO control page's bars.
// Each text setting has one button: write the edit's text, or read the stored value while
// "Read " is checked. The device's answers come back into the edits by the page parse.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/core/gprs.h"
#include "configurator/pagebuild.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"

namespace configurator {

namespace {
// The FTP server the devices upload to, as the form offers it.
constexpr char kDefaultFtpHost[] = "ftp.example.com";

// A read-only edit that shows a bar's position.
platform::Edit* MakeValueEdit(QWidget* parent, const char* name, const QString& label,
                              const char* text, int x, int y) {
  auto* e = ui::MakeTyped(parent, name, label.trimmed(), text, 1, x, y, 34, 24);
  e->setReadOnly(true);
  e->setAlignment(Qt::AlignCenter);
  return e;
}
}  // namespace

void TForm1::BuildGprsPage() {
  QWidget* page = PageOf(Page::GprsFtp);
  constexpr int kLabelX = 10, kEditX = 128, kEditW = 206, kButtonX = 342;

  // One row of a text setting: label, edit, button with the form caption "WRITE".
  auto row = [&](QGroupBox* group, int y, platform::Edit*& edit, const char* editName,
                 const char* label, int maxLength, const char* text, QPushButton*& button,
                 const char* buttonName) {
    auto* l = ui::MakeLabel(group, label, kLabelX, y + 2, kEditX - kLabelX - 4, 20);
    edit = ui::MakeTyped(group, editName,
                         (QString(group->title()) + " " + QString(label).trimmed()).trimmed(), text,
                         maxLength, kEditX, y, kEditW, 24);
    l->setBuddy(edit);
    button = ui::MakeButton(group, buttonName, "WRITE", QString(label).trimmed(), kButtonX, y - 1,
                            60, 26);
  };

  auto* gprs = ui::MakeGroup(page, "GroupGPRS", "GPRS", 8, 8, 410, 158);
  row(gprs, 26, APN, "APN", "APN ", 40, "internet", APNbtn, "APNbtn");
  row(gprs, 58, UserID, "UserID", "User ID", 16, "", UIDbtn, "UIDbtn");
  row(gprs, 90, Password, "Password", "Password", 16, "", PWbtn, "PWbtn");
  row(gprs, 122, IPaddress, "IPaddress", "IP address", 40, "0.0.0.0", IPbtn, "IPbtn");

  auto* ftp = ui::MakeGroup(page, "GroupFTP", "FTP", 8, 172, 410, 158);
  row(ftp, 26, FTPHostName, "FTPHostName", "Host Name", 40, kDefaultFtpHost, FTPHostNamebtn,
      "FTPHostNamebtn");
  row(ftp, 58, UserNameFTP, "UserNameFTP", "User ID", 40, "", UNbtn, "UNbtn");
  row(ftp, 90, PasswordFTP, "PasswordFTP", "Password", 16, "", FPWbtn, "FPWbtn");
  row(ftp, 122, DirName, "DirName", "Object / Dir Name", 16, "IMEI", DirNameBtn, "DirNameBtn");

  ReadGPRS1 = ui::MakeCheck(page, "ReadGPRS1", "Read ", "Read", 18, 338, 120, 22);

  auto* http = ui::MakeGroup(page, "GroupHTTP", "HTTP", 426, 8, 422, 96);
  row(http, 26, HTTPhostName, "HTTPhostName", "HTTP Host ", 40, "", HTTPhostBtn, "HTTPhostBtn");
  ui::MakeLabel(http, "Max Error Level", kLabelX, 62, kEditX - kLabelX - 4, 20);
  MaxErrorScrollBar =
      ui::MakeBar(http, "MaxErrorScrollBar", "Max Error Level", {0, 99, 4, 1}, kEditX, 64, 170, 18);
  MaxError = MakeValueEdit(http, "MaxError", "Max Error Level value", "0", kEditX + 178, 60);
  MaxErrorLevel =
      ui::MakeButton(http, "MaxErrorLevel", "WR", "Write Max Error Level", kButtonX, 59, 50, 26);

  auto* files = ui::MakeGroup(page, "GroupFiles", "Files parameters - sample rate, lines in file",
                              426, 110, 422, 220);
  ui::MakeLabel(files, "Sampling Rate", kLabelX, 26, kEditX - kLabelX - 4, 20);
  eSRateSB = ui::MakeBar(files, "eSRateSB", "Sampling Rate", {0, 9, 0, 1}, kEditX, 28, 170, 18);
  eSRate = MakeValueEdit(files, "eSRate", "Sampling Rate value", "0", kEditX + 178, 24);
  Button9 = ui::MakeButton(files, "Button9", "WR", "Write Sampling Rate", kButtonX, 23, 50, 26);
  auto* rateLegend = ui::MakeLabel(
      files, "0: 1min 1: 2min 2: 3min 3: 4min 4: 5min 5: 6min 6: 7min 7: 8min 8: 9min 9: 10min",
      kLabelX, 54, 402, 36);
  rateLegend->setWordWrap(true);

  ui::MakeLabel(files, "Lines in file", kLabelX, 110, kEditX - kLabelX - 4, 20);
  eDLoggerTmSB =
      ui::MakeBar(files, "eDLoggerTmSB", "Lines in file", {1, 9, 1, 1}, kEditX, 112, 170, 18);
  eDLoggerTm = MakeValueEdit(files, "eDLoggerTm", "Lines in file value", "0", kEditX + 178, 108);
  Button10 = ui::MakeButton(files, "Button10", "WR", "Write Lines in file", kButtonX, 107, 50, 26);
  auto* linesLegend = ui::MakeLabel(
      files, "1: 1 line 2: 2 lines 3: 4 lines 4: 8 lines ... 9: 256 lines", kLabelX, 138, 402, 36);
  linesLegend->setWordWrap(true);
  ui::MakeLabel(files, "1 if HTTP mode", kLabelX, 180, 200, 20);

  // Handlers, each inside Guard as every handler of the window.
  platform::OnClick(this, APNbtn, [this] { APNbtnClick(); });
  platform::OnClick(this, UIDbtn, [this] { UIDbtnClick(); });
  platform::OnClick(this, PWbtn, [this] { PWbtnClick(); });
  platform::OnClick(this, IPbtn, [this] { IPbtnClick(); });
  platform::OnClick(this, FTPHostNamebtn, [this] { FTPHostNamebtnClick(); });
  platform::OnClick(this, UNbtn, [this] { UNbtnClick(); });
  platform::OnClick(this, FPWbtn, [this] { FPWbtnClick(); });
  platform::OnClick(this, DirNameBtn, [this] { DirNameBtnClick(); });
  platform::OnClick(this, HTTPhostBtn, [this] { HTTPhostBtnClick(); });
  platform::OnToggle(this, ReadGPRS1, [this] { ReadGPRS1Click(); });
  platform::OnClick(this, Button9, [this] { bSRateClick(); });
  platform::OnClick(this, Button10, [this] { bDLperiodClick(); });
  platform::OnChange(this, eSRateSB, [this] { eSRateSBChange(); });
  platform::OnChange(this, eDLoggerTmSB, [this] { eDLoggerTmSBChange(); });
  platform::OnChange(this, MaxErrorScrollBar, [this] { MaxErrorSB(); });
  platform::OnClick(this, MaxErrorLevel, [this] { MaxErrorClick(); });
}

// ---- settings -------------------------------------------------------------------------

void TForm1::RestoreFileParameters(const TSetupConfig& c) {
  SRateSB->setValue(c.eSRateSB);
  eSRateSB->setValue(c.eSRateSB);
  const std::string rate = ui::Dec(eSRateSB->value());
  platform::SetText(eSRate, rate);
  platform::SetText(SRate, rate);
  DLoggerTmSB->setValue(c.eDLoggerTmSB);
  eDLoggerTmSB->setValue(c.eDLoggerTmSB);
  const std::string lines = ui::Dec(eDLoggerTmSB->value());
  platform::SetText(DLoggerTm, lines);
  platform::SetText(eDLoggerTm, lines);
}

void TForm1::RestoreGprsTexts(const TSetupConfig& c) {
  platform::SetText(APN, GetText(c.APN));
  platform::SetText(UserID, GetText(c.UserID));
  platform::SetText(Password, GetText(c.Password));
  platform::SetText(IPaddress, GetText(c.IPaddress));
  platform::SetText(FTPHostName, GetText(c.FTPHostName));
  platform::SetText(UserNameFTP, GetText(c.UserNameFTP));
  platform::SetText(PasswordFTP, GetText(c.PasswordFTP));
  platform::SetText(DirName, GetText(c.DirName));
  platform::SetText(HTTPhostName, GetText(c.HTTPhostName));
  // The error limit is not kept: its edit shows the bar's own position.
  platform::SetText(MaxError, ui::Dec(MaxErrorScrollBar->value()));
}

void TForm1::StoreGprsPage(TSetupConfig& c) const {
  c.eSRateSB = eSRateSB->value();
  c.eDLoggerTmSB = eDLoggerTmSB->value();
  PutText(c.APN, platform::Text(APN));
  PutText(c.UserID, platform::Text(UserID));
  PutText(c.Password, platform::Text(Password));
  PutText(c.IPaddress, platform::Text(IPaddress));
  PutText(c.FTPHostName, platform::Text(FTPHostName));
  PutText(c.UserNameFTP, platform::Text(UserNameFTP));
  PutText(c.PasswordFTP, platform::Text(PasswordFTP));
  PutText(c.DirName, platform::Text(DirName));
  PutText(c.HTTPhostName, platform::Text(HTTPhostName));
}

namespace {
// One text setting's button: reads the stored value while "Read " is checked, else sends what
// `write` makes of the edit's text and leaves the edit as the blank rules have it.
template <class Write>
void TextSettingClick(TForm1& f, const char* readWord, platform::Edit* edit, Write write) {
  f.Clear();
  if (f.ReadGPRS1->isChecked()) {
    f.RunCommandNoClear(readWord);
    return;
  }
  const TGprsCommand c = write(platform::Text(edit));
  if (c.edit != platform::Text(edit)) platform::SetText(edit, c.edit);
  f.RunCommandNoClear(c.command, c.echo);
}
}  // namespace

void TForm1::GprsTextClick(const char* readWord, const char* writeWord, platform::Edit* edit) {
  TextSettingClick(*this, readWord, edit, [writeWord](const std::string& text) {
    return GprsTextCommand(writeWord, text);
  });
}

void TForm1::UIDbtnClick() { GprsTextClick("GETID ", "SETID ", UserID); }
void TForm1::PWbtnClick() { GprsTextClick("GETPW ", "SETPW ", Password); }
void TForm1::IPbtnClick() { GprsTextClick("GETIP ", "SETIP ", IPaddress); }
void TForm1::FTPHostNamebtnClick() { GprsTextClick("GETFT ", "SETFT ", FTPHostName); }
void TForm1::UNbtnClick() { GprsTextClick("GETAF ", "SETAF ", UserNameFTP); }
void TForm1::FPWbtnClick() { GprsTextClick("GETPF ", "SETPF ", PasswordFTP); }
void TForm1::DirNameBtnClick() { GprsTextClick("GETDN ", "SETDN ", DirName); }

void TForm1::APNbtnClick() { TextSettingClick(*this, "GETAP ", APN, ApnCommand); }
void TForm1::HTTPhostBtnClick() {
  TextSettingClick(*this, "GETRH ", HTTPhostName, HttpHostCommand);
}

void TForm1::ReadGPRS1Click() {
  Exchange.EndRawATMode();
  const QString caption = ReadGPRS1->isChecked() ? "RD" : "WR";
  for (QPushButton* b :
       {APNbtn, UIDbtn, PWbtn, IPbtn, FTPHostNamebtn, UNbtn, FPWbtn, DirNameBtn, HTTPhostBtn})
    platform::SetCaption(b, caption);
}

void TForm1::bSRateClick() { RunCommand(DigitCommand("SRATE", SRateSB->value())); }

void TForm1::bDLperiodClick() { RunCommand(DigitCommand("DLPER", DLoggerTmSB->value())); }

void TForm1::eSRateSBChange() {
  platform::SetText(eSRate, ui::Dec(eSRateSB->value()));
  SRateSB->setValue(eSRateSB->value());
  platform::SetText(SRate, platform::Text(eSRate));
}

void TForm1::eDLoggerTmSBChange() {
  platform::SetText(eDLoggerTm, ui::Dec(eDLoggerTmSB->value()));
  DLoggerTmSB->setValue(eDLoggerTmSB->value());
  platform::SetText(DLoggerTm, platform::Text(eDLoggerTm));
}

void TForm1::DLoggerTmSBChange() {
  platform::SetText(DLoggerTm, ui::Dec(DLoggerTmSB->value()));
  eDLoggerTmSB->setValue(DLoggerTmSB->value());
  platform::SetText(eDLoggerTm, platform::Text(DLoggerTm));
}

void TForm1::MaxErrorSB() { platform::SetText(MaxError, ui::Dec(MaxErrorScrollBar->value())); }

void TForm1::MaxErrorClick() { RunCommandNoClear(MaxErrorCommand(MaxErrorScrollBar->value())); }

}  // namespace configurator
