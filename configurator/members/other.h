// Members of TForm1 for the Other page; included inside the class.
// Also each filter's controls on the page of its inputs (Temperature/Counter, Analog,
// IO control), whose bars mirror the ones here.
void BuildOtherPage();

// ---- "Timeout Filter" group and its mirrors on the input pages ------------------------
// The scroll bars (TTimeout1SB, ATimeout1SB, DFilterSB on this page, TTimeout1SBt,
// ATimeout1SBa, DFilterSBd on the input pages) are found by name: the window's header
// declares no scroll bar type.
QLineEdit* TTimeout1 = nullptr;     // read-only
QLineEdit* ATimeout1 = nullptr;
QLineEdit* DFilter = nullptr;
QPushButton* SetTimeoutFilter = nullptr;
// on "Temperature/Counter"
QLineEdit* TTimeout1t = nullptr;
QPushButton* SetTtimeoutFilter = nullptr;
// on "Analog"
QLineEdit* ATimeout1a = nullptr;
QPushButton* SetTimeoutAnalogFilter = nullptr;  // "Timeout Filter"
// on "IO control"
QLineEdit* DFilterD = nullptr;
QPushButton* SetDtimeoutFilter = nullptr;

void SetTimeoutFilterClick();
void SetTtimeoutFilterClick();
void SetTimeoutAnalogFilterClick();
void SetDtimeoutFilterClick();
void TTimeout1SBChange();
void TTimeout1SBtChange();
void ATimeout1SBChange();
void ATimeout1SBaChange();
void DFilterSBChange();
void DFilterSBdChange();

// ---- option text, time source, automatic restart ---------------------------------------
std::array<QCheckBox*, 16> oCheckBox{};  // oCheckBox3 .. oCheckBox15 at their numbers
platform::Edit* StringStr1 = nullptr;    // read-only working copy of the option text
platform::Edit* MinusMark = nullptr;
platform::Edit* PlusMark = nullptr;
QPushButton* GetOther = nullptr;
QPushButton* SetOther = nullptr;
platform::RadioGroup* RadioGroup2 = nullptr;  // "Date/Time syncronization source"
QPushButton* Button1 = nullptr;               // "Date/Time source"
QCheckBox* RestartEnable = nullptr;
QPushButton* Button19 = nullptr;  // "WR"

void oCheckBoxClick(int n);  // oCheckBox3Click .. oCheckBox15Click
void MinusMarkChange();
void PlusMarkChange();
void SetOtherClick();
void GetOtherClick();
void Button1Click();
void RestartEnableClick();
