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
#include "configurator/gprs_core.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"

namespace configurator {

namespace {
// The FTP server the devices upload to, as the form offers it.
constexpr char kDefaultFtpHost[] = "ftp.example.com";

QScrollBar* Bar(QWidget* w) { return static_cast<QScrollBar*>(w); }

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& accessible, int x, int y, int w = 60) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAccessibleName(accessible);
  b->setGeometry(x, y, w, 26);
  return b;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int w, int h = 20) {
  auto* l = new QLabel(text, parent);
  l->setGeometry(x, y, w, h);
  return l;
}

platform::Edit* MakeEdit(QWidget* parent, const char* name, const QString& label, int maxLength,
                         const char* text, int x, int y, int w) {
  auto* e = new platform::Edit(parent);
  e->setObjectName(name);
  e->setAccessibleName(label.trimmed());
  e->SetMaxLength(maxLength);
  e->setText(text);
  e->setGeometry(x, y, w, 24);
  return e;
}

QScrollBar* MakeBar(QWidget* parent, const char* name, const QString& accessible, int min,
                    int max, int position, int x, int y, int w) {
  auto* b = new QScrollBar(Qt::Horizontal, parent);
  b->setObjectName(name);
  b->setAccessibleName(accessible);
  b->setRange(min, max);
  b->setPageStep(1);
  b->setValue(position);
  b->setGeometry(x, y, w, 18);
  return b;
}

// A read-only edit that shows a bar's position.
platform::Edit* MakeValueEdit(QWidget* parent, const char* name, const QString& label,
                              const char* text, int x, int y) {
  auto* e = MakeEdit(parent, name, label, 1, text, x, y, 34);
  e->setReadOnly(true);
  e->setAlignment(Qt::AlignCenter);
  return e;
}
}  // namespace

void TForm1::BuildGprsPage() {
  QWidget* page = Pages[10];
  constexpr int kLabelX = 10, kEditX = 128, kEditW = 206, kButtonX = 342;

  // One row of a text setting: label, edit, button with the form caption "WRITE".
  auto row = [&](QGroupBox* group, int y, platform::Edit*& edit, const char* editName,
                 const char* label, int maxLength, const char* text, QPushButton*& button,
                 const char* buttonName) {
    auto* l = MakeLabel(group, label, kLabelX, y + 2, kEditX - kLabelX - 4);
    edit = MakeEdit(group, editName, QString(group->title()) + " " + QString(label).trimmed(),
                    maxLength, text, kEditX, y, kEditW);
    l->setBuddy(edit);
    button = MakeButton(group, buttonName, "WRITE", QString(label).trimmed(), kButtonX, y - 1);
  };

  auto* gprs = new QGroupBox("GPRS", page);
  gprs->setObjectName("GroupGPRS");
  gprs->setGeometry(8, 8, 410, 158);
  row(gprs, 26, APN, "APN", "APN ", 40, "internet", APNbtn, "APNbtn");
  row(gprs, 58, UserID, "UserID", "User ID", 16, "", UIDbtn, "UIDbtn");
  row(gprs, 90, Password, "Password", "Password", 16, "", PWbtn, "PWbtn");
  row(gprs, 122, IPaddress, "IPaddress", "IP address", 40, "0.0.0.0", IPbtn, "IPbtn");

  auto* ftp = new QGroupBox("FTP", page);
  ftp->setObjectName("GroupFTP");
  ftp->setGeometry(8, 172, 410, 158);
  row(ftp, 26, FTPHostName, "FTPHostName", "Host Name", 40, kDefaultFtpHost, FTPHostNamebtn,
      "FTPHostNamebtn");
  row(ftp, 58, UserNameFTP, "UserNameFTP", "User ID", 40, "", UNbtn, "UNbtn");
  row(ftp, 90, PasswordFTP, "PasswordFTP", "Password", 16, "", FPWbtn, "FPWbtn");
  row(ftp, 122, DirName, "DirName", "Object / Dir Name", 16, "IMEI", DirNameBtn, "DirNameBtn");

  ReadGPRS1 = new QCheckBox("Read ", page);
  ReadGPRS1->setObjectName("ReadGPRS1");
  ReadGPRS1->setAccessibleName("Read");
  ReadGPRS1->setGeometry(18, 338, 120, 22);

  auto* http = new QGroupBox("HTTP", page);
  http->setObjectName("GroupHTTP");
  http->setGeometry(426, 8, 422, 96);
  row(http, 26, HTTPhostName, "HTTPhostName", "HTTP Host ", 40, "", HTTPhostBtn, "HTTPhostBtn");
  MakeLabel(http, "Max Error Level", kLabelX, 62, kEditX - kLabelX - 4);
  MaxErrorScrollBar =
      MakeBar(http, "MaxErrorScrollBar", "Max Error Level", 0, 99, 4, kEditX, 64, 170);
  MaxError = MakeValueEdit(http, "MaxError", "Max Error Level value", "0", kEditX + 178, 60);
  MaxErrorLevel = MakeButton(http, "MaxErrorLevel", "WR", "Write Max Error Level", kButtonX, 59, 50);

  auto* files = new QGroupBox("Files parameters - sample rate, lines in file", page);
  files->setObjectName("GroupFiles");
  files->setGeometry(426, 110, 422, 220);
  MakeLabel(files, "Sampling Rate", kLabelX, 26, kEditX - kLabelX - 4);
  eSRateSB = MakeBar(files, "eSRateSB", "Sampling Rate", 0, 9, 0, kEditX, 28, 170);
  eSRate = MakeValueEdit(files, "eSRate", "Sampling Rate value", "0", kEditX + 178, 24);
  Button9 = MakeButton(files, "Button9", "WR", "Write Sampling Rate", kButtonX, 23, 50);
  auto* rateLegend = MakeLabel(
      files, "0: 1min 1: 2min 2: 3min 3: 4min 4: 5min 5: 6min 6: 7min 7: 8min 8: 9min 9: 10min",
      kLabelX, 54, 402, 36);
  rateLegend->setWordWrap(true);

  MakeLabel(files, "Lines in file", kLabelX, 110, kEditX - kLabelX - 4);
  eDLoggerTmSB = MakeBar(files, "eDLoggerTmSB", "Lines in file", 1, 9, 1, kEditX, 112, 170);
  eDLoggerTm = MakeValueEdit(files, "eDLoggerTm", "Lines in file value", "0", kEditX + 178, 108);
  Button10 = MakeButton(files, "Button10", "WR", "Write Lines in file", kButtonX, 107, 50);
  auto* linesLegend = MakeLabel(
      files, "1: 1 line 2: 2 lines 3: 4 lines 4: 8 lines ... 9: 256 lines", kLabelX, 138, 402, 36);
  linesLegend->setWordWrap(true);
  MakeLabel(files, "1 if HTTP mode", kLabelX, 180, 200);

  // Handlers, each inside Guard as every handler of the window.
  auto bind = [this](auto* sender, auto signal, void (TForm1::*handler)()) {
    connect(sender, signal, this, [this, handler] { platform::Guard([&] { (this->*handler)(); }); });
  };
  bind(APNbtn, &QPushButton::clicked, &TForm1::APNbtnClick);
  bind(UIDbtn, &QPushButton::clicked, &TForm1::UIDbtnClick);
  bind(PWbtn, &QPushButton::clicked, &TForm1::PWbtnClick);
  bind(IPbtn, &QPushButton::clicked, &TForm1::IPbtnClick);
  bind(FTPHostNamebtn, &QPushButton::clicked, &TForm1::FTPHostNamebtnClick);
  bind(UNbtn, &QPushButton::clicked, &TForm1::UNbtnClick);
  bind(FPWbtn, &QPushButton::clicked, &TForm1::FPWbtnClick);
  bind(DirNameBtn, &QPushButton::clicked, &TForm1::DirNameBtnClick);
  bind(HTTPhostBtn, &QPushButton::clicked, &TForm1::HTTPhostBtnClick);
  bind(ReadGPRS1, &QCheckBox::toggled, &TForm1::ReadGPRS1Click);
  bind(Button9, &QPushButton::clicked, &TForm1::bSRateClick);
  bind(Button10, &QPushButton::clicked, &TForm1::bDLperiodClick);
  bind(Bar(eSRateSB), &QScrollBar::valueChanged, &TForm1::eSRateSBChange);
  bind(Bar(eDLoggerTmSB), &QScrollBar::valueChanged, &TForm1::eDLoggerTmSBChange);
  bind(Bar(MaxErrorScrollBar), &QScrollBar::valueChanged, &TForm1::MaxErrorSB);
  bind(MaxErrorLevel, &QPushButton::clicked, &TForm1::MaxErrorClick);
  // The IO control page's period bar is mirrored into this page's "Lines in file".
  if (auto* twin = findChild<QScrollBar*>("DLoggerTmSB"))
    bind(twin, &QScrollBar::valueChanged, &TForm1::DLoggerTmSBChange);
}

void TForm1::GprsTextClick(const char* readWord, const char* writeWord, platform::Edit* edit) {
  Clear();
  if (ReadGPRS1->isChecked()) {
    RunCommandNoClear(readWord);
    return;
  }
  const TGprsCommand c = GprsTextCommand(writeWord, ui::Text(edit));
  if (c.edit != ui::Text(edit)) ui::SetText(edit, c.edit);
  RunCommandNoClear(c.command, c.echo);
}

void TForm1::UIDbtnClick() { GprsTextClick("GETID ", "SETID ", UserID); }
void TForm1::PWbtnClick() { GprsTextClick("GETPW ", "SETPW ", Password); }
void TForm1::IPbtnClick() { GprsTextClick("GETIP ", "SETIP ", IPaddress); }
void TForm1::FTPHostNamebtnClick() { GprsTextClick("GETFT ", "SETFT ", FTPHostName); }
void TForm1::UNbtnClick() { GprsTextClick("GETAF ", "SETAF ", UserNameFTP); }
void TForm1::FPWbtnClick() { GprsTextClick("GETPF ", "SETPF ", PasswordFTP); }
void TForm1::DirNameBtnClick() { GprsTextClick("GETDN ", "SETDN ", DirName); }

void TForm1::APNbtnClick() {
  Clear();
  if (ReadGPRS1->isChecked()) {
    RunCommandNoClear("GETAP ");
    return;
  }
  const TGprsCommand c = ApnCommand(ui::Text(APN));
  if (c.edit != ui::Text(APN)) ui::SetText(APN, c.edit);
  RunCommandNoClear(c.command, c.echo);
}

void TForm1::HTTPhostBtnClick() {
  Clear();
  if (ReadGPRS1->isChecked()) {
    RunCommandNoClear("GETRH ");
    return;
  }
  const TGprsCommand c = HttpHostCommand(ui::Text(HTTPhostName));
  if (c.edit != ui::Text(HTTPhostName)) ui::SetText(HTTPhostName, c.edit);
  RunCommandNoClear(c.command, c.echo);
}

void TForm1::ReadGPRS1Click() {
  RawATMode = false;
  const QString caption = ReadGPRS1->isChecked() ? "RD" : "WR";
  for (QPushButton* b : {APNbtn, UIDbtn, PWbtn, IPbtn, FTPHostNamebtn, UNbtn, FPWbtn, DirNameBtn,
                         HTTPhostBtn})
    b->setText(caption);
}

void TForm1::bSRateClick() {
  // The IO control page's bar holds the value; this page's twin stands in when it is absent.
  const int position = ui::BarPosition(this, "SRateSB", Bar(eSRateSB)->value());
  RunCommand(DigitCommand("SRATE", position));
}

void TForm1::bDLperiodClick() {
  const int position = ui::BarPosition(this, "DLoggerTmSB", Bar(eDLoggerTmSB)->value());
  RunCommand(DigitCommand("DLPER", position));
}

void TForm1::eSRateSBChange() {
  ui::SetText(eSRate, ui::Dec(Bar(eSRateSB)->value()));
  ui::SetNamedBar(this, "SRateSB", Bar(eSRateSB)->value());
  ui::SetNamedText(this, "SRate", ui::Text(eSRate));
}

void TForm1::eDLoggerTmSBChange() {
  ui::SetText(eDLoggerTm, ui::Dec(Bar(eDLoggerTmSB)->value()));
  ui::SetNamedBar(this, "DLoggerTmSB", Bar(eDLoggerTmSB)->value());
  ui::SetNamedText(this, "DLoggerTm", ui::Text(eDLoggerTm));
}

void TForm1::DLoggerTmSBChange() {
  auto* twin = findChild<QScrollBar*>("DLoggerTmSB");
  if (!twin) return;
  ui::SetNamedText(this, "DLoggerTm", ui::Dec(twin->value()));
  Bar(eDLoggerTmSB)->setValue(twin->value());
  ui::SetText(eDLoggerTm, ui::NamedText(this, "DLoggerTm", ui::Text(eDLoggerTm)));
}

void TForm1::MaxErrorSB() { ui::SetText(MaxError, ui::Dec(Bar(MaxErrorScrollBar)->value())); }

void TForm1::MaxErrorClick() {
  RunCommandNoClear(MaxErrorCommand(Bar(MaxErrorScrollBar)->value()));
}

}  // namespace configurator
