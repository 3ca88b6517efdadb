#pragma once
// Controls of the "Abonents" page.
#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
namespace platform {
class RadioGroup;
class Edit;
}  // namespace platform

namespace configurator {

struct AbonentsPageControls {
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
};

}  // namespace configurator
