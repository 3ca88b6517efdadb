#pragma once
// Controls of the "Main" page.
#include <array>

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
namespace platform {
class Edit;
}

namespace configurator {

struct MainPageControls {
  QCheckBox* SMSmode = nullptr;
  QCheckBox* DeleteSMS = nullptr;      // hidden; only kept in the settings file
  platform::Edit* TKnumber = nullptr;  // the device's phone number
  platform::Edit* SMScommand = nullptr;
  QPushButton* SendSMScommand = nullptr;
  // readings and device clock
  QPushButton* ReadState = nullptr;
  QPushButton* ReadTH = nullptr;
  QPushButton* ReadAnalog = nullptr;
  QPushButton* ReadTemperature = nullptr;
  QPushButton* TemperatureLevelBtn = nullptr;
  QPushButton* ReadAlevelBtn = nullptr;
  QPushButton* RestartModule = nullptr;
  QPushButton* Version = nullptr;
  QPushButton* GetDT = nullptr;
  QPushButton* SetDT = nullptr;
  platform::Edit* TimeZone = nullptr;
  // modem information box and its cover
  QLineEdit* Hersteller = nullptr;
  QLineEdit* ModelIDCode = nullptr;
  QLineEdit* DateTime = nullptr;
  QPushButton* SyncModem = nullptr;
  QFrame* Memo5 = nullptr;  // lies over the modem information in direct mode
  // raw AT and band panels
  QPushButton* ATcmdOpen = nullptr;
  QPushButton* GSMbandOpen = nullptr;
  QFrame* PanelAT = nullptr;
  platform::Edit* ATcmd = nullptr;
  QPushButton* SendAT = nullptr;
  QPushButton* ctrlZbtn = nullptr;
  QFrame* PanelBand = nullptr;
  std::array<QPushButton*, 4> band{};  // band0..band3
  QPushButton* SupportedBand = nullptr;
  QPushButton* CurrentBand = nullptr;
  QPushButton* Squality = nullptr;
  // "Read Counters" and "Runtime" (the latter shown only in the run-time variant); they run
  // the handlers of the Temperature/Counter page.
  QPushButton* COUNTERS = nullptr;
  QPushButton* ReadRT = nullptr;
};

}  // namespace configurator
