// The settings file TK5063.cfg on the window's side: reading it into the record, refreshing
// the record from the controls and writing it.
#include <QAction>
#include <QCheckBox>
#include <QSlider>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"
#include "serial/SerialDrv.h"

namespace configurator {

namespace {
void AccessErrorBox() {
  platform::MessageBox(kSetupAccessErrorText, kSetupAccessErrorCaption, platform::Icon::Warning);
}

QString Numbered(const char* stem, int n) { return QString("%1%2").arg(stem).arg(n); }

// A control that is not on the window (its page isn't built) leaves its field as read.
template <std::size_t N>
void SaveText(const QObject* root, const QString& name, platform::FixedText<N>& field) {
  if (const auto* e = root->findChild<QLineEdit*>(name)) PutText(field, ui::Text(e));
}
template <class T>
void SaveBar(const QObject* root, const QString& name, T& field) {
  if (const auto* bar = root->findChild<QScrollBar*>(name)) field = static_cast<T>(bar->value());
}
}  // namespace

void TForm1::ReadCFGFile(const std::string& name) {
  if (ReadSetupConfigFile(name, Config) == CfgFileResult::AccessError) AccessErrorBox();
}

bool TForm1::SaveCFGFile(const std::string& name) {
  TSetupConfig& c = Config;
  // 1
  c.RadioGroupRate = RadioGroupRate->ItemIndex();
  c.RadioGroupPort = RadioGroupPort->ItemIndex();
  c.TrackBar5 = TrackBar5->value();
  // 2
  PutText(c.ScheduleString, ScheduleString);
  c.Byte4017 = 0;
  // 3
  PutText(c.TKnumber, ui::Text(TKnumber));
  PutText(c.TKnumber2, ui::Text(TKnumber));
  // 4
  for (int n = 1; n <= 7; ++n) SaveText(this, Numbered("NNumber", n), c.NNumber[n - 1]);
  for (int n = 1; n <= 7; ++n) SaveText(this, Numbered("PBnr", n), c.PBnr[n - 1]);
  // 5, 6
  c.RunTimeVariant = FromBool(TKM506GM1->isChecked());
  c.ParityEven = FromBool(ParityEven->isChecked());
  SaveBar(this, "eSRateSB", c.eSRateSB);
  SaveBar(this, "eDLoggerTmSB", c.eDLoggerTmSB);
  SerialPort1->SetParity(ParityEven->isChecked() ? serial::ptEVEN : serial::ptNONE);
  // 7
  SaveBar(this, "DFilterSB", c.DFilterSB);
  SaveBar(this, "TTimeout1SB", c.TTimeout1SB);
  SaveBar(this, "ATimeout1SB", c.ATimeout1SB);
  SaveBar(this, "SRateSB", c.SRateSB);
  for (int n = 1; n <= 8; ++n) SaveBar(this, Numbered("PulseDsb", n), c.PulseDsb[n - 1]);
  c.DeleteSMS = FromBool(DeleteSMS->isChecked());
  c.SMSmode = FromBool(SMSmode->isChecked());
  // 8
  static const char* const kTempBars[6] = {"ScrollBarT1min", "ScrollBarT1max", "ScrollBarT2min",
                                           "ScrollBarT2max", "ScrollBarT3min", "ScrollBarT3max"};
  for (int i = 0; i < 6; ++i) SaveBar(this, kTempBars[i], c.TempLevels[i]);
  for (int n = 1; n <= 8; ++n) {
    SaveBar(this, Numbered("ScrollBarMin", n), c.AnalogLevels[2 * (n - 1)]);
    SaveBar(this, Numbered("ScrollBarMax", n), c.AnalogLevels[2 * (n - 1) + 1]);
  }
  // 9
  for (int n = 1; n <= 57; ++n) SaveText(this, Numbered("TXTSMS", n), c.TXTSMS[n - 1]);
  for (int n = 1; n <= 97; ++n) SaveText(this, Numbered("iTXTSMS", n), c.iTXTSMS[n - 1]);
  // 10
  SaveText(this, "TNrFilter", c.TNrFilter);
  SaveText(this, "ANrFilter", c.ANrFilter);
  SaveText(this, "DNrFilter", c.DNrFilter);
  SaveText(this, "APN", c.APN);
  SaveText(this, "UserID", c.UserID);
  SaveText(this, "Password", c.Password);
  SaveText(this, "IPaddress", c.IPaddress);
  SaveText(this, "FTPHostName", c.FTPHostName);
  SaveText(this, "UserNameFTP", c.UserNameFTP);
  SaveText(this, "PasswordFTP", c.PasswordFTP);
  SaveText(this, "DirName", c.DirName);
  SaveText(this, "HTTPhostName", c.HTTPhostName);
  // 11
  SaveBar(this, "DLoggerTmSB", c.DLoggerTmSB);
  PutText(c.OptionString, OptionString);
  // 12
  for (int n = 1; n <= 8; ++n)
    if (const auto* g = findChild<platform::RadioGroup*>(Numbered("AMode", n)))
      c.AMode[n - 1] = g->ItemIndex();
  for (int n = 1; n <= 8; ++n) SaveText(this, Numbered("MUX", n), c.MUX[n - 1]);
  SaveText(this, "AkoeffStr", c.AkoeffStr);
  SaveText(this, "ADividerStr", c.ADividerStr);
  c.SkipCRLFcb = FromBool(SkipCRLFcb->isChecked());
  c.SaveSettingAfterExitCB = FromBool(SaveSettingAfterExitCB->isChecked());
  Kept.StoreInto(c);
  // 13, 14
  if (WriteSetupConfigFile(name, c) == CfgFileResult::AccessError) {
    AccessErrorBox();
    return false;
  }
  return true;
}

bool TForm1::SaveSetting1Click() {
  for (int n = 1; n <= 8; ++n) {
    SaveBar(this, Numbered("ScrollBarMin", n), Config.AnalogLevels[2 * (n - 1)]);
    SaveBar(this, Numbered("ScrollBarMax", n), Config.AnalogLevels[2 * (n - 1) + 1]);
  }
  return SaveCFGFile(kSetupFileName);
}

}  // namespace configurator
