// Page "Serial Port": port and speed (opening the port), parity, Skip CR/LF, the SMS wait
// time-out bar and "Save Setting after Exit".
#include <QCheckBox>
#include <QLabel>
#include <QSlider>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/pagebuild.h"
#include "platform/widgets.h"
#include "serial/serialdrv.h"

namespace configurator {

namespace {
struct Rate {
  std::uint32_t value;
  serial::TBaudRate rate;
};
// Speeds by item of RadioGroupRate.
constexpr Rate kRates[7] = {
    {2400, serial::br2400},     {4800, serial::br4800},   {9600, serial::br9600},
    {19200, serial::br19200},   {38400, serial::br38400}, {57600, serial::br57600},
    {115200, serial::br115200},
};
}  // namespace

void TForm1::BuildSerialPortPage() {
  QWidget* page = PageOf(Page::SerialPort);
  RadioGroupPort = new platform::RadioGroup("Com Port ", page);
  RadioGroupPort->setObjectName("RadioGroupPort");
  QStringList ports;
  for (int n = 1; n <= 16; ++n) ports << platform::Nr("Com", n);
  RadioGroupPort->SetItems(ports, 4);
  RadioGroupPort->setGeometry(16, 16, 337, 137);
  RadioGroupPort->SetItemIndex(0);

  RadioGroupRate = new platform::RadioGroup("Baud Rate", page);
  RadioGroupRate->setObjectName("RadioGroupRate");
  RadioGroupRate->SetItems({"2400", "4800", "9600", "19200", "38400", "57600", "115200"}, 2);
  RadioGroupRate->setGeometry(368, 16, 193, 137);
  RadioGroupRate->SetItemIndex(0);

  auto check = [page](QCheckBox*& box, const char* name, const char* caption, int x, int y, int w) {
    box = ui::MakeCheck(page, name, caption, caption, x, y, w, 22);
  };
  check(ParityEven, "ParityEven", "Parity Even", 584, 24, 200);
  check(SkipCRLFcb, "SkipCRLFcb", "Skip CR/LF", 584, 52, 200);
  check(SaveSettingAfterExitCB, "SaveSettingAfterExitCB", "Save Setting after Exit", 584, 80, 220);

  auto* label = new QLabel("Wait SMS Timeout (ms)", page);
  label->setObjectName("LabelTrackBar5");
  label->setGeometry(16, 172, 180, 20);
  TrackBar5 = new QSlider(Qt::Horizontal, page);
  TrackBar5->setObjectName("TrackBar5");
  TrackBar5->setAccessibleName("Wait SMS Timeout (ms)");
  TrackBar5->setRange(0, 99999);
  TrackBar5->setPageStep(1000);
  TrackBar5->setGeometry(16, 196, 420, 28);
  Edit1 = new platform::Edit(page);
  Edit1->setObjectName("Edit1");
  Edit1->setAccessibleName("Wait SMS Timeout (ms) value");
  Edit1->setText("0");
  Edit1->setEnabled(false);
  Edit1->setGeometry(448, 198, 81, 24);
  label->setBuddy(TrackBar5);

  platform::OnSignal(this, RadioGroupPort, &platform::RadioGroup::Click, [this] { InitPort(); });
  platform::OnSignal(this, RadioGroupRate, &platform::RadioGroup::Click, [this] { InitPort(); });
  platform::OnToggle(this, ParityEven, [this] { ParityEvenClick(); });
  platform::OnToggle(this, SkipCRLFcb, [this] { SkipCRLFcbClick(); });
  platform::OnChange(this, TrackBar5, [this] { TrackBar5Change(); });
}

// ---- settings ---------------------------------------------------------------------------

void TForm1::RestoreSerialPort(const TSetupConfig& c) {
  // Each real change of item reopens the port: first the speed, then the port.
  RadioGroupRate->SetItemIndex(c.RadioGroupRate);
  RadioGroupPort->SetItemIndex(c.RadioGroupPort);
  platform::SetTrackPosition(TrackBar5, c.TrackBar5);
  Edit1->setText(QString::number(TrackBar5->value()));
}

void TForm1::RestoreParityEven(const TSetupConfig& c) {
  ParityEven->setChecked(AsBool(c.ParityEven));
}

void TForm1::ApplyParity() {
  SerialPort1->SetParity(ParityEven->isChecked() ? serial::ptEVEN : serial::ptNONE);
}

void TForm1::RestoreSaveSettingAfterExit(const TSetupConfig& c) {
  SaveSettingAfterExitCB->setChecked(AsBool(c.SaveSettingAfterExitCB));
}

void TForm1::RestoreSkipCRLF(const TSetupConfig& c) {
  SkipCRLFcb->setChecked(AsBool(c.SkipCRLFcb));
}

void TForm1::StoreSerialPortPage(TSetupConfig& c) const {
  c.RadioGroupRate = RadioGroupRate->ItemIndex();
  c.RadioGroupPort = RadioGroupPort->ItemIndex();
  c.TrackBar5 = TrackBar5->value();
  c.ParityEven = FromBool(ParityEven->isChecked());
  c.SkipCRLFcb = FromBool(SkipCRLFcb->isChecked());
  c.SaveSettingAfterExitCB = FromBool(SaveSettingAfterExitCB->isChecked());
}

void TForm1::InitPort() {
  SerialPort1->Disconnect();
  SerialPort1->SetDataBits(serial::db8BITS);
  SerialPort1->SetParity(ParityEven->isChecked() ? serial::ptEVEN : serial::ptNONE);
  SerialPort1->SetStopBits(serial::sb1BITS);
  SerialPort1->SetHwFlow(serial::hfNONE);
  SerialPort1->SetSwFlow(serial::sfNONE);
  SerialPort1->SetEnableDTROnOpen(false);
  SerialPort1->SetCheckLineStatus(false);

  const int rate = RadioGroupRate->ItemIndex();
  if (rate >= 0 && rate < 7) {
    SerialPort1->SetBaudRateValue(kRates[rate].value);
    SerialPort1->SetBaudRate(kRates[rate].rate);
  }
  // With no port selected (a damaged settings file) the port stays closed.
  const int item = RadioGroupPort->ItemIndex();
  if (item >= 0 && item < 16) {
    const int n = item + 1;
    SerialPort1->SetPort(static_cast<serial::TPortNumber>(n));
    SerialPort1->SetPortName("\\\\.\\COM" + std::to_string(n));
    SerialPort1->Connect();  // a port that can't be opened is reported by the AT functions
  }
  if (auto& observe = InitPortObserver()) observe(*this);
}

void TForm1::ParityEvenClick() { ApplyParity(); }

// The box is its own remembered state: the exchange reads it with every input.
void TForm1::SkipCRLFcbClick() {}

void TForm1::TrackBar5Change() { Edit1->setText(QString::number(TrackBar5->value())); }

}  // namespace configurator
