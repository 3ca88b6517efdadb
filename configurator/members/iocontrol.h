#pragma once
// Controls of the "IO control" page.
#include <array>

class QLineEdit;
class QPushButton;
class QScrollBar;
namespace platform {
class Edit;
}

namespace configurator {

struct IOControlPageControls {
  // Sampling, period and pulse bars, "Set  Parameter".
  QScrollBar* SRateSB = nullptr;  // 0..9
  QLineEdit* SRate = nullptr;
  QScrollBar* DLoggerTmSB = nullptr;  // 1..6
  QLineEdit* DLoggerTm = nullptr;
  QPushButton* bSRate = nullptr;          // "WR", runs bSRateClick
  QPushButton* bDLperiod = nullptr;       // "WR", runs bDLperiodClick
  std::array<QScrollBar*, 9> PulseDsb{};  // 1..8, 0..9 each
  std::array<QLineEdit*, 9> PulseD{};     // 1..8, twice the bar
  QPushButton* SetPulse = nullptr;

  // Outputs
  std::array<QPushButton*, 9> SetOut{};    // 1..8
  std::array<QPushButton*, 9> ResetOut{};  // 1..8
  std::array<QPushButton*, 9> GetOut{};    // 1..8
  std::array<QLineEdit*, 9> Output{};      // 1..8, "ON " or "OFF"
  QPushButton* GetOutState = nullptr;
  QPushButton* SetOutBin = nullptr;
  platform::Edit* OutputBin = nullptr;

  // Inputs
  std::array<QPushButton*, 13> GetInp{};  // 1..12
  QPushButton* GetAllInput = nullptr;

  // Long filter
  QScrollBar* LFilterSB = nullptr;  // 0..999
  platform::Edit* LFilter = nullptr;
  QPushButton* Button42 = nullptr;  // "DInputs Filter Delay for Long Filter"
  QPushButton* Button43 = nullptr;  // "ON"
  QPushButton* Button44 = nullptr;  // "OFF"

  // The digital input filter alone; its bar and the Other page's DFilterSB set each other.
  QScrollBar* DFilterSBd = nullptr;
  QLineEdit* DFilterD = nullptr;
  QPushButton* SetDtimeoutFilter = nullptr;
};

}  // namespace configurator
