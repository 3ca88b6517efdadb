// The settings file TK5063.cfg on the window's side: reading it into the record, refreshing
// the record from the controls (each page stores its own) and writing it.
#include "configurator/form.h"
#include "platform/core/atomicfile.h"
#include "platform/messagebox.h"

namespace configurator {

namespace {
void AccessErrorBox() {
  platform::MessageBox(kSetupAccessErrorText, kSetupAccessErrorCaption, platform::Icon::Warning);
}
}  // namespace

void TForm1::ReadCFGFile(const std::string& name) {
  // What a save that was killed left beside the file goes first.
  platform::RemoveStaleTemporaryFiles(name);
  if (ReadSetupConfigFile(name, Config) == CfgFileResult::AccessError) AccessErrorBox();
}

bool TForm1::SaveCFGFile(const std::string& name) {
  TSetupConfig& c = Config;
  StoreSerialPortPage(c);
  StoreSchedule(c);
  StoreMainPage(c);
  StoreAbonentsPage(c);
  StoreVariant(c);
  StoreGprsPage(c);
  // An open port takes the line settings at once.
  ApplyParity();
  StoreOtherPage(c);
  StoreIOControlPage(c);
  StoreTemperatureLevels(c);
  StoreAnalogPage(c);
  StoreTextPages(c);
  Kept.StoreInto(c);
  if (WriteSetupConfigFile(name, c) == CfgFileResult::AccessError) {
    AccessErrorBox();
    return false;
  }
  return true;
}

bool TForm1::SaveSetting1Click() {
  StoreAnalogLevels(Config);
  return SaveCFGFile(kSetupFileName);
}

}  // namespace configurator
