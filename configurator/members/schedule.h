// Members of TForm1 for the SMS Shedule page; included inside the class.
void BuildSchedulePage();
// Start-up: ScheduleString decoded into the schedule controls.
void DecodeScheduleString();

platform::RadioGroup* SMSShed = nullptr;      // "SMS Type"
platform::RadioGroup* RadioGroup1 = nullptr;  // "Timeout"
std::array<QSlider*, 5> TrackBar{};           // TrackBar1..TrackBar4 at their numbers, 0..23
std::array<QCheckBox*, 5> CheckBoxS{};        // CheckBoxS1..CheckBoxS4, "Enable"
QPushButton* GetShedule = nullptr;
QPushButton* SetShedule = nullptr;
QCheckBox* CheckBox2 = nullptr;  // number 3
QCheckBox* CheckBox3 = nullptr;  // number 2
QCheckBox* CheckBox4 = nullptr;  // number 1
QPushButton* Button36 = nullptr;  // "Write"
// Phone numbers 1..3 of the scheduled SMS as bits 1, 2, 4; not kept in the settings file.
std::uint8_t ScheduleNumberBits = 0;

void SMSShedClick();
// Also the click handler of RTsource and RTinputSource on the Temperature/Counter page.
void RadioGroup1Click();
void TrackBarChange(int n);   // TrackBar1Change .. TrackBar4Change
void CheckBoxSClick(int n);   // CheckBoxS1Click .. CheckBoxS4Click
void GetSheduleClick();
void SetSheduleClick();
void CheckBox2Click();
void CheckBox3Click();
void CheckBox4Click();
void Button36Click();
