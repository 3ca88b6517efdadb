// Members of TForm1 for the Temperature/Counter and RunTime pages; included inside the class.
// The scroll bars (ScrollBarT1max .. ScrollBarT3min, ScrollBarRT1, ScrollBarRT2, ScrollBar1)
// are found by name; the handlers below read them.
void BuildTempCounterPages();

// Temperature levels, inputs 1..3 (index 0 unused): T1max .. T3max, T1min .. T3min and the
// "OK" buttons TlevelCmd, TlevelCmd2, TlevelCmd3.
std::array<QLineEdit*, 4> Tmax{};
std::array<QLineEdit*, 4> Tmin{};
std::array<QPushButton*, 4> TlevelCmd{};

// Counters: "Read Counters" on the Main page (COUNTERS) and on this page (Button7),
// "Clear Counters" (Button8), "Clear Counter 1".."3" (Button39..Button41, index 1..3),
// the counter SMS format "OFF" (Button45) and "ON" (Button46).
QPushButton* COUNTERS = nullptr;
QPushButton* Button7 = nullptr;
QPushButton* Button8 = nullptr;
std::array<QPushButton*, 4> ClearCounter{};
QPushButton* Button45 = nullptr;
QPushButton* Button46 = nullptr;

// Run-time: "Runtime" on the Main page and the panel "RUNTIME"; both shown only in the
// run-time variant.
QPushButton* ReadRT = nullptr;
QWidget* PanelRT = nullptr;
std::array<QLineEdit*, 3> RT{};  // RT1, RT2 (index 1..2)
QPushButton* RTlevelSend = nullptr;
platform::RadioGroup* RTsource = nullptr;       // "Analog", "Digital Normal", "Digital Inversion"
platform::RadioGroup* RTinputSource = nullptr;  // "A1 / D1" .. "A4 / D4"
platform::Edit* RTdivider = nullptr;
QPushButton* SetRTsource = nullptr;  // "WR"
QPushButton* Button2 = nullptr;      // "RD"
// The sixteen "Write" buttons of the RunTime page by input level (0, 1) and counter mask
// (0..7): Button27..Button20 for level 0, Button28..Button35 for level 1.
std::array<std::array<QPushButton*, 8>, 2> RunTimeWrite{};

// Handlers. A family has one method with the member's number.
void TlevelCmdClick(int input);        // TlevelCmdClick, TlevelCmd2Click, TlevelCmd3Click
void ScrollBarTmaxChange(int input);   // ScrollBarT1maxChange .. ScrollBarT3maxChange
void ScrollBarTminChange(int input);   // ScrollBarT1minChange .. ScrollBarT3minChange
void COUNTERSClick();                  // also Button7
void Button8Click();
void ClearCounterClick(int counter);   // Button39Click .. Button41Click
void Button45Click();
void Button46Click();
void ReadRTClick();
void RTlevelSendClick();
void ScrollBarRTChange(int level);     // ScrollBarRT1Change, ScrollBarRT2Change
void ScrollBar1Change();
void SetRTsourceClick();
void Button2Click();
void RunTimeWriteClick(int level, int mask);  // Button20Click .. Button35Click
