#pragma once
// Controls of the "Temperature/Counter" page.
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

struct TempCounterPageControls {
  // Temperature levels, inputs 1..3 (index 0 unused): ScrollBarT1max .. ScrollBarT3min with
  // their edits T1max .. T3min and the "OK" buttons TlevelCmd, TlevelCmd2, TlevelCmd3.
  std::array<QScrollBar*, 4> ScrollBarTmax{};
  std::array<QScrollBar*, 4> ScrollBarTmin{};
  std::array<QLineEdit*, 4> Tmax{};
  std::array<QLineEdit*, 4> Tmin{};
  std::array<QPushButton*, 4> TlevelCmd{};

  // Counters: "Read Counters" (Button7), "Clear Counters" (Button8), "Clear Counter 1".."3"
  // (Button39..Button41, index 1..3), the counter SMS format "OFF" (Button45) and "ON"
  // (Button46).
  QPushButton* Button7 = nullptr;
  QPushButton* Button8 = nullptr;
  std::array<QPushButton*, 4> ClearCounter{};
  QPushButton* Button45 = nullptr;
  QPushButton* Button46 = nullptr;

  // The panel "RUNTIME", shown only in the run-time variant.
  QWidget* PanelRT = nullptr;
  std::array<QScrollBar*, 3> ScrollBarRT{};  // ScrollBarRT1, ScrollBarRT2 (index 1..2)
  std::array<QLineEdit*, 3> RT{};            // RT1, RT2 (index 1..2)
  QPushButton* RTlevelSend = nullptr;
  platform::RadioGroup* RTsource = nullptr;       // "Analog", "Digital Normal", "Digital Inversion"
  platform::RadioGroup* RTinputSource = nullptr;  // "A1 / D1" .. "A4 / D4"
  QScrollBar* ScrollBar1 = nullptr;               // run-time divider, 0..9600
  platform::Edit* RTdivider = nullptr;
  QPushButton* SetRTsource = nullptr;  // "WR"
  QPushButton* Button2 = nullptr;      // "RD"

  // The Main page's "Temperature" and "Temp.Level" again, with the same handlers.
  QPushButton* Button5 = nullptr;
  QPushButton* Button6 = nullptr;

  // The temperature time-out filter alone; its bar and the Other page's TTimeout1SB set each
  // other.
  QScrollBar* TTimeout1SBt = nullptr;
  QLineEdit* TTimeout1t = nullptr;
  QPushButton* SetTtimeoutFilter = nullptr;
};

}  // namespace configurator
