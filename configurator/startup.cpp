// Start-up of the window (FormCreate: the port, the settings file, every saved control in
// its order, the reply and modem state), the colours of the setting edits on every change of
// page, and Exit. Each page's file restores its own controls from the record.
#include <QCheckBox>
#include <QFrame>
#include <QPlainTextEdit>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "platform/controls.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"
#include "serial/serialdrv.h"

namespace configurator {

void TForm1::FormCreate() { RunStartupSteps(); }

void TForm1::RunStartupSteps() {
  TSetupConfig& c = Config;

  // The port with the window's design values (Com1, 2400 bit/s, no parity).
  InitPort();
  PanelAT->setVisible(false);
  PanelBand->setVisible(false);
  // An error here ends the start-up (the caller shows it).
  ReadCFGFile(kSetupFileName);
  RestoreSerialPort(c);
  // The values no control shows, kept for the save (offset 4080 above 4 becomes 0).
  Kept = TKeptValues::FromRecord(c);
  RestoreAnalogModes(c);
  RestoreSchedule(c);
  RestoreMainNumber(c);
  RestoreAbonentsNumbers(c);
  RestoreAnalogCorrection(c);
  RestoreFilters(c);
  RestoreIOControlBars(c);
  RestoreMainSmsMode(c);
  RestoreVariantMark(c);
  RestoreParityEven(c);
  RestoreFileParameters(c);
  ApplyParity();
  RestoreSaveSettingAfterExit(c);
  RestoreVariant(c);
  RestoreTextPages(c);
  RestoreNumberMasks(c);
  RestoreGprsTexts(c);
  RestoreDataLoggerPeriod(c);
  RestoreOptionString(c);
  RestoreAnalogDigits(c);
  RestoreSkipCRLF(c);
  RestoreAnalogLevels(c);
  RestoreTemperatureLevels(c);
  // The level bars' positions, as the bars clamped them, go back into the record.
  StoreTemperatureLevels(c);
  StoreAnalogLevels(c);

  // Reply and modem state (no raw AT mode, no reply waiting, the poll factor 1), the normal
  // cursor, then the first read of every setting (in SMS mode this arms the modem start-up
  // sequence); the colours of the page shown.
  Exchange.Reset();
  platform::SetBusyCursor(false);
  ReadAllParameterClick();
  PageControl1Change();
}

void TForm1::PageControl1Change() {
  // The setting edits of every page (Output8 and HTTPhostName keep their own colour).
  std::vector<QWidget*> edits{TKnumber, MemoSMSinput};
  for (int i = 1; i <= 7; ++i) edits.insert(edits.end(), {NNumber[i], PBnr[i]});
  edits.insert(edits.end(),
               {APN, UserID, Password, IPaddress, FTPHostName, UserNameFTP, PasswordFTP, DirName});
  for (int i = 1; i <= 57; ++i) edits.push_back(TXTSMS[i]);
  for (int i = 1; i <= 97; ++i) edits.push_back(iTXTSMS[i]);
  edits.insert(edits.end(), {AkoeffStr, ADividerStr, TNrFilter, ANrFilter, DNrFilter});
  for (int i = 1; i <= 8; ++i) edits.push_back(MinLv[i]);
  for (int i = 1; i <= 8; ++i) edits.push_back(MaxLv[i]);
  edits.insert(edits.end(), {Tmin[1], Tmax[1], Tmin[2], Tmax[2], Tmin[3], Tmax[3], RT[1], RT[2]});
  edits.insert(edits.end(), {SRate, DLoggerTm});
  for (int i = 1; i <= 8; ++i) edits.push_back(PulseD[i]);
  for (int i = 1; i <= 7; ++i) edits.push_back(Output[i]);
  const QColor colour(255, 255, 245);
  for (QWidget* w : edits) platform::SetBase(w, colour);
}

void TForm1::ExitBtnClick() {
  // A save that fails says where and why and asks whether to leave without it; No keeps the
  // window open, so the user can mend the cause and lose nothing.
  if (SaveSettingAfterExitCB->isChecked()) {
    std::string unsaved;
    bool saved = false;
    try {
      saved = SaveSetting1Click(&unsaved);
    } catch (const std::exception& e) {  // an I/O error once writing had begun, with its file
      unsaved = e.what();
    }
    if (!saved && platform::MessageBox(unsaved + "\r\n" + kExitUnsavedText,
                                       kSetupAccessErrorCaption, platform::Icon::Warning,
                                       platform::Buttons::YesNo) != platform::Answer::Yes)
      return;
  }
  close();
}

}  // namespace configurator
