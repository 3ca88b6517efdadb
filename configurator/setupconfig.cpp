// The settings file TK5063.cfg on the window's side: reading it into the record, refreshing
// the record from the controls (each page stores its own) and writing it.
#include "configurator/form.h"
#include "platform/core/atomicfile.h"
#include "platform/core/cp1252.h"
#include "platform/messagebox.h"

namespace configurator {

namespace {
// The access error, with the line that says where and why when there is one.
std::string AccessErrorText(const std::string& why) {
  if (why.empty()) return kSetupAccessErrorText;
  // Paths are the system's bytes; the box shows Windows-1252.
  return std::string(kSetupAccessErrorText) + "\r\n" +
         platform::ToCp1252(QString::fromLocal8Bit(why));
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
  CfgFileResult result;
  try {
    result = ReadSetupConfigFile(name, Config, &failure);
  } catch (const platform::Error& e) {  // a short file or a read error: say which file
    throw platform::Error(platform::WithFileLine(e.what(), name, true));
  }
  if (result == CfgFileResult::AccessError)
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
  CfgFileResult result;
  try {
    result = WriteSetupConfigFile(name, c, &failure);
  } catch (const platform::Error& e) {  // a write that failed once begun: say which file
    throw platform::Error(platform::WithFileLine(e.what(), name, false));
  }
  if (result == CfgFileResult::AccessError) {
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
