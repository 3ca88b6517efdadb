// Members of TForm1 for the Analog page; included inside the class.
// Scroll bars are held as QWidget* (form.h declares no QScrollBar); they are QScrollBars.
void BuildAnalogPage();

// Alarm levels, inputs 1..8 (index 0 unused). Input 1's edits are named Minlv1/Maxlv1.
std::array<QWidget*, 9> ScrollBarMin{};
std::array<QWidget*, 9> ScrollBarMax{};
std::array<QLineEdit*, 9> MinLv{};
std::array<QLineEdit*, 9> MaxLv{};
std::array<QPushButton*, 9> LevelCmd{};
void ScrollBarMinChange(int n);  // ScrollBarMin1Change .. ScrollBarMin8Change
void ScrollBarMaxChange(int n);  // ScrollBarMax1Change .. ScrollBarMax8Change
void LevelCmdClick(int n);       // Level1CmdClick .. Level8CmdClick

// Input modes, multiplier and divider digits
std::array<platform::RadioGroup*, 9> AMode{};
platform::Edit* AkoeffStr = nullptr;
platform::Edit* ADividerStr = nullptr;
QPushButton* WriteAMode1 = nullptr;
void WriteAMode1Click();

// 20 mA correction: MUX1..MUX8 with Button11..Button18
std::array<platform::Edit*, 9> MUX{};
std::array<QPushButton*, 9> MuxButton{};  // Button11..Button18 for inputs 1..8
void MuxButtonClick(int n);               // Button11Click .. Button18Click

// 200 ohm load on inputs 1 and 2, analog parameters
QPushButton* Button37 = nullptr;  // "ON"
QPushButton* Button38 = nullptr;  // "OFF"
QPushButton* RefLevel = nullptr;
void Button37Click();
void Button38Click();
void RefLevelClick();
// The analog time-out filter group on this page (ATimeout1SBa, ATimeout1a,
// SetTimeoutAnalogFilter) is built with the Other page, which owns its handlers.
