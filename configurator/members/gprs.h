#pragma once
// Controls of the "GPRS, FTP" page.
class QCheckBox;
class QPushButton;
class QScrollBar;
namespace platform {
class Edit;
}

namespace configurator {

struct GprsPageControls {
  // GPRS access
  platform::Edit* APN = nullptr;
  platform::Edit* UserID = nullptr;
  platform::Edit* Password = nullptr;
  platform::Edit* IPaddress = nullptr;
  QPushButton* APNbtn = nullptr;
  QPushButton* UIDbtn = nullptr;
  QPushButton* PWbtn = nullptr;
  QPushButton* IPbtn = nullptr;
  // FTP upload account
  platform::Edit* FTPHostName = nullptr;
  platform::Edit* UserNameFTP = nullptr;
  platform::Edit* PasswordFTP = nullptr;
  platform::Edit* DirName = nullptr;
  QPushButton* FTPHostNamebtn = nullptr;
  QPushButton* UNbtn = nullptr;
  QPushButton* FPWbtn = nullptr;
  QPushButton* DirNameBtn = nullptr;
  // HTTP host and its error limit
  platform::Edit* HTTPhostName = nullptr;
  QPushButton* HTTPhostBtn = nullptr;
  QScrollBar* MaxErrorScrollBar = nullptr;  // 0..99, not kept in the settings file
  platform::Edit* MaxError = nullptr;
  QPushButton* MaxErrorLevel = nullptr;
  // "Read " turns the nine buttons into read buttons
  QCheckBox* ReadGPRS1 = nullptr;
  // File parameters; the bars mirror SRateSB and DLoggerTmSB of the IO control page
  QScrollBar* eSRateSB = nullptr;
  platform::Edit* eSRate = nullptr;
  QPushButton* Button9 = nullptr;
  QScrollBar* eDLoggerTmSB = nullptr;
  platform::Edit* eDLoggerTm = nullptr;
  QPushButton* Button10 = nullptr;
};

}  // namespace configurator
