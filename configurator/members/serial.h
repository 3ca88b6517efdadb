#pragma once
// Controls of the "Serial Port" page.
class QCheckBox;
class QSlider;
namespace platform {
class RadioGroup;
class Edit;
}  // namespace platform

namespace configurator {

struct SerialPortPageControls {
  platform::RadioGroup* RadioGroupPort = nullptr;  // "Com1".."Com16"
  platform::RadioGroup* RadioGroupRate = nullptr;  // "2400".."115200"
  QCheckBox* ParityEven = nullptr;
  QCheckBox* SkipCRLFcb = nullptr;
  QSlider* TrackBar5 = nullptr;  // "Wait SMS Timeout (ms)", 0..99999
  platform::Edit* Edit1 = nullptr;
  QCheckBox* SaveSettingAfterExitCB = nullptr;
};

}  // namespace configurator
