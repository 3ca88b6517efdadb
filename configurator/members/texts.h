#pragma once
// Controls of the three text pages: "External SMS", "Int/Ext SMS" and "IOname". The text
// families run across them (iTXTSMS1..57 on "Int/Ext SMS", 58..97 on "IOname"), so the three
// pages share one set of members.
#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;
namespace platform {
class Edit;
}

namespace configurator {

struct TextPagesControls {
  // Long texts 1..57 ("External SMS"); index = slot, [0] unused.
  std::array<platform::Edit*, 58> TXTSMS{};
  // Short texts 1..97: 1..57 on "Int/Ext SMS", 58..97 (state names) on "IOname".
  std::array<platform::Edit*, 98> iTXTSMS{};
  // Buttons of the long texts 1..57 ("External SMS") and of the names 58..97 ("IOname").
  std::array<QPushButton*, 98> TXTSMSb{};
  // Buttons of the short texts 1..57 ("Int/Ext SMS").
  std::array<QPushButton*, 58> iTXTSMSb{};
  // The "Read" boxes. The box of "External SMS" has the objectName "GetText"; its member is
  // named GetTextBox so that it doesn't hide the record's GetText() inside the window class.
  QCheckBox* GetTextBox = nullptr;
  QCheckBox* iGetText = nullptr;
  QCheckBox* nGetText = nullptr;
  // Row captions of temperature inputs 2 and 3 and of the run-time meters in their places.
  QLabel* LabelT2 = nullptr;
  QLabel* LabelT3 = nullptr;
  QLabel* LabelRT1 = nullptr;
  QLabel* LabelRT2 = nullptr;
  QLabel* iLabelT2 = nullptr;
  QLabel* iLabelT3 = nullptr;
  QLabel* iLabelRT1 = nullptr;
  QLabel* iLabelRT2 = nullptr;
  // The two group boxes of "IOname".
  QWidget* DIname = nullptr;  // "Digital Inputs Name"
  QWidget* DOname = nullptr;  // "Digital Outputs Name"
};

}  // namespace configurator
