#pragma once
// Controls of the "Analog" page.
#include <array>

class QWidget;
class QLineEdit;
class QPushButton;
class QScrollBar;
namespace platform {
class RadioGroup;
class Edit;
}  // namespace platform

namespace configurator {

struct AnalogPageControls {
  // Alarm levels, inputs 1..8 (index 0 unused). Input 1's edits are named Minlv1/Maxlv1.
  std::array<QScrollBar*, 9> ScrollBarMin{};
  std::array<QScrollBar*, 9> ScrollBarMax{};
  std::array<QLineEdit*, 9> MinLv{};
  std::array<QLineEdit*, 9> MaxLv{};
  std::array<QPushButton*, 9> LevelCmd{};
  // Panel1 covers the level rows of inputs 5 to 8 in the run-time variant.
  QWidget* Panel1 = nullptr;

  // Input modes, multiplier and divider digits
  std::array<platform::RadioGroup*, 9> AMode{};
  platform::Edit* AkoeffStr = nullptr;
  platform::Edit* ADividerStr = nullptr;
  QPushButton* WriteAMode1 = nullptr;

  // 20 mA correction: MUX1..MUX8 with Button11..Button18
  std::array<platform::Edit*, 9> MUX{};
  std::array<QPushButton*, 9> MuxButton{};  // Button11..Button18 for inputs 1..8

  // 200 ohm load on inputs 1 and 2, analog parameters
  QPushButton* Button37 = nullptr;  // "ON"
  QPushButton* Button38 = nullptr;  // "OFF"
  QPushButton* RefLevel = nullptr;

  // The Main page's "Read Analog" and "Analog Level" again, with the same handlers.
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;

  // The analog time-out filter alone; its bar and the Other page's ATimeout1SB set each other.
  QScrollBar* ATimeout1SBa = nullptr;
  QLineEdit* ATimeout1a = nullptr;
  QPushButton* SetTimeoutAnalogFilter = nullptr;  // "Timeout Filter"
};

}  // namespace configurator
