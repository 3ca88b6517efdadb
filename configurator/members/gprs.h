// Members of TForm1 for the GPRS, FTP page; included inside the class.
// Scroll bars are held as QWidget* (form.h declares no QScrollBar); they are QScrollBars.
void BuildGprsPage();

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
QWidget* MaxErrorScrollBar = nullptr;  // 0..99, not kept in the settings file
platform::Edit* MaxError = nullptr;
QPushButton* MaxErrorLevel = nullptr;
// "Read " turns the nine buttons into read buttons
QCheckBox* ReadGPRS1 = nullptr;
// File parameters; the bars mirror SRateSB and DLoggerTmSB of the IO control page
QWidget* eSRateSB = nullptr;
platform::Edit* eSRate = nullptr;
QPushButton* Button9 = nullptr;
QWidget* eDLoggerTmSB = nullptr;
platform::Edit* eDLoggerTm = nullptr;
QPushButton* Button10 = nullptr;

void APNbtnClick();
void UIDbtnClick();
void PWbtnClick();
void IPbtnClick();
void FTPHostNamebtnClick();
void UNbtnClick();
void FPWbtnClick();
void DirNameBtnClick();
void HTTPhostBtnClick();
void ReadGPRS1Click();
// "SRATE" + digit of SRateSB and "DLPER" + digit of DLoggerTmSB (IO control page). These are
// the handlers of this page's Button9/Button10 and of the IO control page's bSRate/bDLperiod.
void bSRateClick();
void bDLperiodClick();
// Mirrors: eSRateSB -> SRateSB, eDLoggerTmSB -> DLoggerTmSB and DLoggerTmSB -> eDLoggerTmSB.
// BuildGprsPage binds DLoggerTmSB's change to DLoggerTmSBChange when that bar exists.
void eSRateSBChange();
void eDLoggerTmSBChange();
void DLoggerTmSBChange();
void MaxErrorSB();
void MaxErrorClick();
// One text setting of the common form: read word, write word, edit.
void GprsTextClick(const char* readWord, const char* writeWord, platform::Edit* edit);
