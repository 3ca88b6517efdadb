#pragma once
// Controls of the "Other" page.
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QScrollBar;
namespace platform {
class RadioGroup;
class Edit;
}  // namespace platform

namespace configurator {

struct OtherPageControls {
  // "Timeout Filter": the three filters together. Each bar has a twin on the page of its
  // inputs (TTimeout1SBt, ATimeout1SBa, DFilterSBd).
  QScrollBar* TTimeout1SB = nullptr;  // 0..99
  QScrollBar* ATimeout1SB = nullptr;  // 0..99
  QScrollBar* DFilterSB = nullptr;    // 0..9
  QLineEdit* TTimeout1 = nullptr;     // read-only
  QLineEdit* ATimeout1 = nullptr;
  QLineEdit* DFilter = nullptr;
  QPushButton* SetTimeoutFilter = nullptr;

  // Option text, time source, automatic restart
  std::array<QCheckBox*, 16> oCheckBox{};  // oCheckBox3 .. oCheckBox15 at their numbers
  platform::Edit* StringStr1 = nullptr;    // read-only working copy of the option text
  platform::Edit* MinusMark = nullptr;
  platform::Edit* PlusMark = nullptr;
  QPushButton* GetOther = nullptr;
  QPushButton* SetOther = nullptr;
  platform::RadioGroup* RadioGroup2 = nullptr;  // "Date/Time syncronization source"
  QPushButton* Button1 = nullptr;               // "Date/Time source"
  QCheckBox* RestartEnable = nullptr;
  QPushButton* Button19 = nullptr;  // "WR"
};

}  // namespace configurator
