#pragma once
// Controls of the "SMS Shedule" page.
#include <array>

class QCheckBox;
class QPushButton;
class QSlider;
namespace platform {
class RadioGroup;
}

namespace configurator {

struct SchedulePageControls {
  platform::RadioGroup* SMSShed = nullptr;      // "SMS Type"
  platform::RadioGroup* RadioGroup1 = nullptr;  // "Timeout"
  std::array<QSlider*, 5> TrackBar{};           // TrackBar1..TrackBar4 at their numbers, 0..23
  std::array<QCheckBox*, 5> CheckBoxS{};        // CheckBoxS1..CheckBoxS4, "Enable"
  QPushButton* GetShedule = nullptr;
  QPushButton* SetShedule = nullptr;
  QCheckBox* CheckBox2 = nullptr;   // number 3
  QCheckBox* CheckBox3 = nullptr;   // number 2
  QCheckBox* CheckBox4 = nullptr;   // number 1
  QPushButton* Button36 = nullptr;  // "Write"
};

}  // namespace configurator
