// Start-up of the window (its thirty-five steps, in order, in FormCreate), the colours of the
// setting edits on every change of page, and Exit.
//
// Steps that restore a page's controls find them by name, so a page joins the restore by
// existing; where a page needs more than plain values (decoding, handlers), its file adds a
// call at its numbered step here.
#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QPlainTextEdit>
#include <QSlider>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "platform/widgets.h"
#include "serial/SerialDrv.h"

namespace configurator {

namespace {
QString Numbered(const char* stem, int n) { return QString("%1%2").arg(stem).arg(n); }
QString Numbered2(const char* stem, int n, const char* tail) {
  return QString("%1%2%3").arg(stem).arg(n, 2, 10, QChar('0')).arg(tail);
}

// Mask character of a channel: 0..15 for "0".."9", "A".."F"; -1 (disabled) for any other.
int DecodeMaskDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Level edits of the analog inputs: input 1 is spelled Minlv1/Maxlv1, the others MinLvN/MaxLvN.
QString AnalogEditName(bool max, int n) {
  if (n == 1) return max ? "Maxlv1" : "Minlv1";
  return Numbered(max ? "MaxLv" : "MinLv", n);
}

std::string TwoDigits(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }
}  // namespace

void TForm1::FormCreate() { RunStartupSteps(); }

void TForm1::RunStartupSteps() {
  TSetupConfig& c = Config;

  // 1. The port with the window's design values (Com1, 2400 bit/s, no parity).
  InitPort();
  // 2.
  PanelAT->setVisible(false);
  PanelBand->setVisible(false);
  RawATMode = false;
  SkipCRLFState = SkipCRLFcb->isChecked();
  // 3. An error here ends the start-up (the caller shows it).
  ReadCFGFile(kSetupFileName);
  // 4. Each real change of item reopens the port: first the speed, then the port.
  RadioGroupRate->SetItemIndex(c.RadioGroupRate);
  RadioGroupPort->SetItemIndex(c.RadioGroupPort);
  // 5.
  platform::SetTrackPosition(TrackBar5, c.TrackBar5);
  Edit1->setText(QString::number(TrackBar5->value()));
  // 6.
  PollFactor = 1;
  Kept.v12 = c.Kept12;
  // 7.
  for (int n = 1; n <= 8; ++n) ui::SetNamedItem(this, Numbered("AMode", n), c.AMode[n - 1]);
  // 8.
  ScheduleString = GetText(c.ScheduleString);
  DecodeScheduleString();
  // 9.
  ui::SetText(TKnumber, GetText(c.TKnumber));
  ui::SetText(TKnumber, GetText(c.TKnumber2));
  for (int n = 1; n <= 7; ++n) ui::SetNamedText(this, Numbered("NNumber", n), GetText(c.NNumber[n - 1]));
  for (int n = 1; n <= 7; ++n) ui::SetNamedText(this, Numbered("PBnr", n), GetText(c.PBnr[n - 1]));
  for (int n = 1; n <= 8; ++n) ui::SetNamedText(this, Numbered("MUX", n), GetText(c.MUX[n - 1]));
  // 10.
  ui::SetNamedBar(this, "DFilterSB", c.DFilterSB);
  ui::SetNamedBar(this, "TTimeout1SB", c.TTimeout1SB);
  ui::SetNamedBar(this, "ATimeout1SB", c.ATimeout1SB);
  ui::SetNamedBar(this, "SRateSB", c.SRateSB);
  for (int n = 1; n <= 8; ++n) ui::SetNamedBar(this, Numbered("PulseDsb", n), c.PulseDsb[n - 1]);
  // 11.
  DeleteSMS->setChecked(AsBool(c.DeleteSMS));
  // 12.
  SMSmode->setChecked(AsBool(c.SMSmode));
  SMSModeOn = SMSmode->isChecked();
  MemoS->setVisible(!SMSModeOn);
  // 13.
  TKM506GM1->setChecked(AsBool(c.RunTimeVariant));
  ParityEven->setChecked(AsBool(c.ParityEven));
  // 14.
  ui::SetNamedBar(this, "SRateSB", c.eSRateSB);
  ui::SetNamedBar(this, "eSRateSB", c.eSRateSB);
  if (findChild<QScrollBar*>("eSRateSB")) {
    const std::string pos = ui::Dec(ui::BarPosition(this, "eSRateSB", 0));
    ui::SetNamedText(this, "eSRate", pos);
    ui::SetNamedText(this, "SRate", pos);
  }
  ui::SetNamedBar(this, "DLoggerTmSB", c.eDLoggerTmSB);
  ui::SetNamedBar(this, "eDLoggerTmSB", c.eDLoggerTmSB);
  if (findChild<QScrollBar*>("eDLoggerTmSB")) {
    const std::string pos = ui::Dec(ui::BarPosition(this, "eDLoggerTmSB", 0));
    ui::SetNamedText(this, "DLoggerTm", pos);
    ui::SetNamedText(this, "eDLoggerTm", pos);
  }
  // 15.
  SerialPort1->SetParity(ParityEven->isChecked() ? serial::ptEVEN : serial::ptNONE);
  // 16.
  SaveSettingAfterExitCB->setChecked(AsBool(c.SaveSettingAfterExitCB));
  // 17. The saved flag itself is not changed here.
  ApplyModelVariant(AsBool(c.RunTimeVariant));
  // 18.
  for (int n = 1; n <= 57; ++n) ui::SetNamedText(this, Numbered("TXTSMS", n), GetText(c.TXTSMS[n - 1]));
  for (int n = 1; n <= 97; ++n) ui::SetNamedText(this, Numbered("iTXTSMS", n), GetText(c.iTXTSMS[n - 1]));
  // 19. Number masks.
  {
    // An empty mask becomes its default in the record itself, so that the channels are
    // decoded from the default (the digital one enables every input for no number).
    std::string t = GetText(c.TNrFilter), a = GetText(c.ANrFilter), d = GetText(c.DNrFilter);
    if (t.empty()) PutText(c.TNrFilter, t = "---");
    if (a.empty()) PutText(c.ANrFilter, a = "--------");
    if (d.empty()) PutText(c.DNrFilter, d = "000000000000");
    ui::SetNamedText(this, "TNrFilter", t);
    ui::SetNamedText(this, "ANrFilter", a);
    ui::SetNamedText(this, "DNrFilter", d);
    // The characters as they lie in the record (a short text leaves what follows it).
    auto raw = [](const auto& field, int count) {
      return std::string(field.chars, field.chars + count);
    };
    const std::string rt = raw(c.TNrFilter, 3), ra = raw(c.ANrFilter, 8), rd = raw(c.DNrFilter, 12);
    MaskStash = rt + ra + rd;
    auto channel = [this](const QString& disable, auto numberBox, char ch) {
      const int v = DecodeMaskDigit(ch);
      ui::SetNamedCheck(this, disable, v < 0);
      if (v < 0) {
        for (int b = 1; b <= 4; ++b) ui::SetNamedCheck(this, numberBox(b), false);
        ui::SetNamedCheck(this, disable, true);
      } else {
        for (int b = 1; b <= 4; ++b) ui::SetNamedCheck(this, numberBox(b), (v >> (b - 1)) & 1);
      }
    };
    for (int p = 1; p <= 3; ++p)
      channel(QString("CheckBoxT%1dis").arg(p),
              [p](int b) { return QString("CheckBoxT%1%2").arg(b).arg(p); }, rt[p - 1]);
    for (int p = 1; p <= 8; ++p)
      channel(QString("CheckBoxA%1dis").arg(p),
              [p](int b) { return QString("CheckBoxA%1%2").arg(b).arg(p); }, ra[p - 1]);
    for (int p = 1; p <= 12; ++p)
      channel(Numbered2("CheckBoxD", p, "dis"),
              [p](int b) { return QString("CheckBoxD%1%2").arg(b).arg(p, 2, 10, QChar('0')); },
              rd[p - 1]);
  }
  // 20.
  ui::SetNamedText(this, "APN", GetText(c.APN));
  ui::SetNamedText(this, "UserID", GetText(c.UserID));
  ui::SetNamedText(this, "Password", GetText(c.Password));
  ui::SetNamedText(this, "IPaddress", GetText(c.IPaddress));
  ui::SetNamedText(this, "FTPHostName", GetText(c.FTPHostName));
  ui::SetNamedText(this, "UserNameFTP", GetText(c.UserNameFTP));
  ui::SetNamedText(this, "PasswordFTP", GetText(c.PasswordFTP));
  ui::SetNamedText(this, "DirName", GetText(c.DirName));
  ui::SetNamedText(this, "HTTPhostName", GetText(c.HTTPhostName));
  // 21.
  if (findChild<QScrollBar*>("MaxErrorScrollBar"))
    ui::SetNamedText(this, "MaxError", ui::Dec(ui::BarPosition(this, "MaxErrorScrollBar", 0)));
  // 22.
  Kept.v3624 = c.Kept3624;
  ui::SetNamedBar(this, "DLoggerTmSB", c.DLoggerTmSB);
  // 23. The option text padded with as many blanks as it has characters, at most 16.
  {
    const std::string o = GetText(c.OptionString);
    OptionString = (o + std::string(o.size(), ' ')).substr(0, 16);
    PutText(c.OptionString, OptionString);
  }
  // 24.
  Kept.v3649 = c.Reserved3649[0];
  Kept.v3650 = c.Reserved3649[1];
  Kept.v4052 = c.Kept4052;
  Kept.v4056 = c.Kept4056;
  // 25.
  ui::SetNamedText(this, "AkoeffStr", GetText(c.AkoeffStr));
  ui::SetNamedText(this, "ADividerStr", GetText(c.ADividerStr));
  // 26.
  Kept.v4080 = c.Value4080;
  SkipCRLFcb->setChecked(AsBool(c.SkipCRLFcb));
  SkipCRLFState = SkipCRLFcb->isChecked();
  if (Kept.v4080 > 4) Kept.v4080 = 0;
  // 27.
  Kept.v4084 = c.Kept4084;
  Kept.v4086 = c.Kept4086;
  // 28. Analog levels, input by input.
  for (int n = 1; n <= 8; ++n) {
    ui::SetNamedBar(this, Numbered("ScrollBarMin", n), c.AnalogLevels[2 * (n - 1)]);
    ui::SetNamedBar(this, Numbered("ScrollBarMax", n), c.AnalogLevels[2 * (n - 1) + 1]);
    if (findChild<QScrollBar*>(Numbered("ScrollBarMax", n)))
      ui::SetNamedText(this, AnalogEditName(true, n),
                       TwoDigits(ui::BarPosition(this, Numbered("ScrollBarMax", n).toLatin1(), 0)));
    if (findChild<QScrollBar*>(Numbered("ScrollBarMin", n)))
      ui::SetNamedText(this, AnalogEditName(false, n),
                       TwoDigits(ui::BarPosition(this, Numbered("ScrollBarMin", n).toLatin1(), 0)));
  }
  // 29. Temperature levels.
  static const char* const kTempBars[6] = {"ScrollBarT1min", "ScrollBarT1max", "ScrollBarT2min",
                                           "ScrollBarT2max", "ScrollBarT3min", "ScrollBarT3max"};
  for (int i = 0; i < 6; ++i) ui::SetNamedBar(this, kTempBars[i], c.TempLevels[i]);
  for (const auto& [edit, bar] : {std::pair{"T1min", "ScrollBarT1min"}, {"T1max", "ScrollBarT1max"},
                                  {"T2max", "ScrollBarT2max"}, {"T2min", "ScrollBarT2min"},
                                  {"T3max", "ScrollBarT3max"}, {"T3min", "ScrollBarT3min"}})
    if (findChild<QScrollBar*>(bar)) ui::SetNamedText(this, edit, ui::Dec(ui::BarPosition(this, bar, 0)));
  // 30. The bars' positions (clamped by the bars) go back into the record.
  for (int i = 0; i < 6; ++i) c.TempLevels[i] = ui::BarPosition(this, kTempBars[i], c.TempLevels[i]);
  for (int n = 1; n <= 8; ++n) {
    auto& mn = c.AnalogLevels[2 * (n - 1)];
    auto& mx = c.AnalogLevels[2 * (n - 1) + 1];
    mn = ui::BarPosition(this, Numbered("ScrollBarMin", n).toLatin1(), mn);
    mx = ui::BarPosition(this, Numbered("ScrollBarMax", n).toLatin1(), mx);
  }
  // 31. Reply and modem state.
  Exchange.Reset();
  // 32.
  platform::SetBusyCursor(false);
  // 33. In SMS mode this arms the modem start-up sequence.
  ReadAllParameterClick();
  // 34.
  RawATMode = false;
  ReplyText.clear();
  ReplyReady = false;
  // 35.
  PageControl1Change();
}

void TForm1::PageControl1Change() {
  static const QStringList kNames = [] {
    QStringList n{"TKnumber", "MemoSMSinput"};
    for (int i = 1; i <= 7; ++i) n << Numbered("NNumber", i) << Numbered("PBnr", i);
    n << "APN" << "UserID" << "Password" << "IPaddress" << "FTPHostName" << "UserNameFTP"
      << "PasswordFTP" << "DirName";
    for (int i = 1; i <= 57; ++i) n << Numbered("TXTSMS", i);
    for (int i = 1; i <= 97; ++i) n << Numbered("iTXTSMS", i);
    n << "AkoeffStr" << "ADividerStr" << "TNrFilter" << "ANrFilter" << "DNrFilter";
    for (int i = 1; i <= 8; ++i) n << AnalogEditName(false, i);
    for (int i = 1; i <= 8; ++i) n << AnalogEditName(true, i);
    n << "T1min" << "T1max" << "T2min" << "T2max" << "T3min" << "T3max" << "RT1" << "RT2";
    n << "FormatSelect" << "SRate" << "DLoggerTm";
    for (int i = 1; i <= 8; ++i) n << Numbered("PulseD", i);
    for (int i = 1; i <= 7; ++i) n << Numbered("Output", i);
    return n;
  }();
  const QColor colour(255, 255, 245);
  for (const QString& name : kNames)
    if (auto* w = findChild<QWidget*>(name, Qt::FindChildrenRecursively)) ui::SetColour(w, colour);
}

void TForm1::ExitBtnClick() {
  // A save that fails keeps the window open, so the user can mend the cause and lose nothing:
  // an I/O error raises and ends the handler here, a file that can't be created returns false.
  if (SaveSettingAfterExitCB->isChecked() && !SaveSetting1Click()) return;
  close();
}

}  // namespace configurator
