// Members of TForm1 for the IO control page; included inside the class.
// Scroll bars are held as QWidget* (form.h declares no QScrollBar); they are QScrollBars.
void BuildIOControlPage();

// Sampling, period and pulse bars, "Set  Parameter".
QWidget* SRateSB = nullptr;       // 0..9
QLineEdit* SRate = nullptr;
QWidget* DLoggerTmSB = nullptr;   // 1..6
QLineEdit* DLoggerTm = nullptr;
QPushButton* bSRate = nullptr;       // "WR", runs bSRateClick
QPushButton* bDLperiod = nullptr;    // "WR", runs bDLperiodClick
std::array<QWidget*, 9> PulseDsb{};  // 1..8, 0..9 each
std::array<QLineEdit*, 9> PulseD{};     // 1..8, twice the bar
QPushButton* SetPulse = nullptr;
void SetPulseClick();
void SRateSBChange();
void PulseDsbChange(int n);  // PulseDsb1Change .. PulseDsb8Change

// Outputs
std::array<QPushButton*, 9> SetOut{};    // 1..8
std::array<QPushButton*, 9> ResetOut{};  // 1..8
std::array<QPushButton*, 9> GetOut{};    // 1..8
std::array<QLineEdit*, 9> Output{};      // 1..8, "ON " or "OFF"
QPushButton* GetOutState = nullptr;
QPushButton* SetOutBin = nullptr;
platform::Edit* OutputBin = nullptr;
void SetOutClick(int n);    // SetOut1Click .. SetOut8Click
void ResetOutClick(int n);  // ResetOut1Click .. ResetOut8Click
void GetOutClick(int n);    // GetOut1Click .. GetOut8Click
void GetOutStateClick();
void SetOutBinClick();

// Inputs
std::array<QPushButton*, 13> GetInp{};  // 1..12
QPushButton* GetAllInput = nullptr;
void GetInpClick(int n);  // GetInp1Click .. GetInp12Click
void GetAllInputClick();

// Long filter
QWidget* LFilterSB = nullptr;  // 0..999
platform::Edit* LFilter = nullptr;
QPushButton* Button42 = nullptr;  // "DInputs Filter Delay for Long Filter"
QPushButton* Button43 = nullptr;  // "ON"
QPushButton* Button44 = nullptr;  // "OFF"
void LFilterSBChange();
void Button42Click();
void Button43Click();
void Button44Click();
// The digital input filter group on this page (DFilterSBd, DFilterD, SetDtimeoutFilter) is
// built with the Other page, which owns its handlers.
