// The settings file TK5063.cfg on the window's side: reading it into the record, refreshing
// the record from the controls (each page stores its own) and writing it.
#include "configurator/form.h"
#include "platform/core/atomicfile.h"
#include "platform/messagebox.h"

namespace configurator {

namespace {
// The access error, with the line that says where and why when there is one.
std::string AccessErrorText(const std::string& why) {
  if (why.empty()) return kSetupAccessErrorText;
  return std::string(kSetupAccessErrorText) + "\r\n" + why;
}

void AccessErrorBox(const std::string& why) {
  platform::MessageBox(AccessErrorText(why), kSetupAccessErrorCaption, platform::Icon::Warning);
}
}  // namespace

void TForm1::ReadCFGFile(const std::string& name) {
  // What a save that was killed left beside the file goes first.
  platform::RemoveStaleTemporaryFiles(name);
  // A first start (no file yet) gets the plain warning; a file that can't be read, or a
  // folder that takes no file, also says where and why.
  platform::FileFailure failure;
  if (platform::NamingFile(name, true, [&] {
        return ReadSetupConfigFile(name, Config, &failure);
      }) == CfgFileResult::AccessError)
    AccessErrorBox(platform::StartFailureLine(name, failure));
}

bool TForm1::SaveCFGFile(const std::string& name, std::string* unsaved) {
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
  platform::FileFailure failure;
  if (platform::NamingFile(name, false, [&] { return WriteSetupConfigFile(name, c, &failure); }) ==
      CfgFileResult::AccessError) {
    const std::string why = platform::FileFailureLine(failure);
    if (unsaved)
      *unsaved = AccessErrorText(why);
    else
      AccessErrorBox(why);
    return false;
  }
  return true;
}

bool TForm1::SaveSetting1Click(std::string* unsaved) {
  StoreAnalogLevels(Config);
  return SaveCFGFile(kSetupFileName, unsaved);
}

}  // namespace configurator
