// The configurator's start as the user waits for it: a fresh process, as programs/TK5063SM.cpp
// starts it, from the process start to the first painted window (bench/paintclock.h).
//   bench_configurator_wait write-cfg   writes a TK5063.cfg with every field filled
//   bench_configurator_wait             starts the window in the current folder
#include <cstdio>
#include <cstring>
#include <string>

#include "configurator/form.h"
#include "configurator/core/setupconfig.h"
#include "paintclock.h"
#include "platform/messagebox.h"

namespace {

void WriteFullSettings() {
  configurator::TSetupConfig c;
  c.RadioGroupRate = 2;
  c.RadioGroupPort = 0;
  c.TrackBar5 = 2500;
  c.TKnumber.set("+491701234567");
  c.TKnumber2.set("+491701234567");
  for (auto& t : c.TXTSMS) t.set(std::string(26, 'T'));
  for (auto& t : c.iTXTSMS) t.set(std::string(15, 'i'));
  for (auto& t : c.NNumber) t.set("+4917000000000");
  for (auto& t : c.PBnr) t.set("+4917000000001");
  for (auto& t : c.MUX) t.set("123");
  c.TNrFilter.set("1F-");
  c.ANrFilter.set("12345678");
  c.DNrFilter.set("0123456789AB");
  for (auto* t : {&c.APN, &c.UserID, &c.Password, &c.IPaddress, &c.FTPHostName, &c.UserNameFTP,
                  &c.HTTPhostName})
    t->set(std::string(40, 'g'));
  c.PasswordFTP.set("secret");
  c.DirName.set("logger");
  c.OptionString.set("ABCDEFGH");
  c.ScheduleString.set("123456789");
  c.AnalogLevels.fill(42);
  c.TempLevels.fill(-5);
  c.SkipCRLFcb = 1;
  c.SaveSettingAfterExitCB = 1;
  const auto bytes = configurator::EncodeSetupConfig(c);
  FILE* f = std::fopen("TK5063.cfg", "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "write-cfg") == 0) {
    WriteFullSettings();
    return 0;
  }
  benchclock::ClockApp app(argc, argv);
  platform::SetApplicationTitle("TK5063SM");
  configurator::TForm1 Form1;
  Form1.show();
  benchclock::EndWhenStarted(app);
  return app.exec();
}
