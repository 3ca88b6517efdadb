// Members of TForm1 for the Abonents page; included inside the class.
void BuildAbonentsPage();

// Group "Numbers": alarm numbers 1..7 and SIM phone-book entries 1..7 (index 0 unused).
std::array<platform::Edit*, 8> NNumber{};
std::array<platform::Edit*, 8> PBnr{};
platform::RadioGroup* RadioGroupNR = nullptr;  // alarm number k = ItemIndex + 1
platform::RadioGroup* RadioGroupPB = nullptr;  // phone-book entry k = ItemIndex + 1
QPushButton* GetNr = nullptr;
QPushButton* SetNr = nullptr;
QPushButton* ClrNr = nullptr;
QPushButton* ReadPB = nullptr;
QPushButton* ToPhoneBook = nullptr;

// Group "Number Mask": the three read-only mask texts, the button that sends them and the
// grid of boxes that edits them.
platform::Edit* TNrFilter = nullptr;
platform::Edit* ANrFilter = nullptr;
platform::Edit* DNrFilter = nullptr;
QPushButton* SetNfilter1 = nullptr;
QLabel* RTname1 = nullptr;  // row captions of T/C channels 2 and 3 (set by the model variant)
QLabel* RTname2 = nullptr;
// Number boxes by [number 1..4][channel]: CheckBoxT11.., CheckBoxA11.., CheckBoxD101..
std::array<std::array<QCheckBox*, 4>, 5> CheckBoxT{};
std::array<std::array<QCheckBox*, 9>, 5> CheckBoxA{};
std::array<std::array<QCheckBox*, 13>, 5> CheckBoxD{};
// Disable boxes by channel: CheckBoxT1dis.., CheckBoxA1dis.., CheckBoxD01dis..
std::array<QCheckBox*, 4> CheckBoxTdis{};
std::array<QCheckBox*, 9> CheckBoxAdis{};
std::array<QCheckBox*, 13> CheckBoxDdis{};

void SetNrClick();
void ClrNrClick();
void GetNrClick();
void ToPhoneBookClick();
void ReadPBClick();
void SetNfilter1Click();
// The number box of number b (1..4) for channel p of mask letter 'T', 'A' or 'D'
// (CheckBoxT11Click .. CheckBoxD412Click).
void CheckBoxNumberClick(char letter, int b, int p);
// The Disable box of channel p (CheckBoxT1disClick .. CheckBoxD12disClick).
void CheckBoxDisClick(char letter, int p);
// Bit operations on a digit value; bit 1, 2, 4 or 8 stands for alarm number 1..4.
void HEXfromCheckBox(std::uint8_t bit, std::uint8_t& digit);
void HEXfromUnCheckBox(std::uint8_t bit, std::uint8_t& digit);

private:
// Mask edit, full length and offset in MaskStash of a mask letter; nullptr for another letter.
platform::Edit* MaskEdit(char letter, int* length, int* stashOffset);
QCheckBox* DisableBox(char letter, int p);
QCheckBox* NumberBox(char letter, int b, int p);
// The digit that the number boxes of channel p show.
char BoxesDigit(char letter, int p);
// A mask text shorter than its full length (only a damaged settings file gives one) is
// completed from the rows' boxes, so that a box never works beyond the end of its text.
std::string FullMask(char letter);
void EnsureStash();
void BindAbonentsHandlers();

public:
