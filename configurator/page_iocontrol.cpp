// Page "IO control": switching and reading the outputs, reading the inputs, the data-logger
// sampling and period codes with the pulse setting of each output in one command, and the long
// input filter. The digital input filter group (x 500..840, y 284..368) runs the filter
// handlers of the Other page.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/core/ioanalog.h"
#include "configurator/pagebuild.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"

namespace configurator {

namespace {
// Buttons of this page are 24 high and read by their caption with blanks simplified.
QPushButton* Button(QWidget* parent, const QString& name, const QString& caption, int x, int y,
                    int w, int h = 24) {
  return ui::MakeButton(parent, name, caption, caption.simplified(), x, y, w, h);
}
}  // namespace

void TForm1::BuildIOControlPage() {
  QWidget* page = PageOf(Page::IOControl);

  // ---- outputs
  auto* outputs = ui::MakeGroup(page, "GroupOutputsControl", "Outputs Control", 6, 4, 264, 362);
  for (int n = 1; n <= 8; ++n) {
    const int y = 22 + 26 * (n - 1);
    SetOut[n] = Button(outputs, platform::Nr("SetOut", n), QString("Out%1 ON").arg(n), 10, y, 64);
    ResetOut[n] =
        Button(outputs, platform::Nr("ResetOut", n), QString("Out%1 OFF").arg(n), 78, y, 68);
    Output[n] = ui::MakeShown(outputs, platform::Nr("Output", n), QString("Output %1 state").arg(n),
                              "OFF", 150, y + 1, 38, 22);
    GetOut[n] = Button(outputs, platform::Nr("GetOut", n), QString("Get Out%1").arg(n), 190, y, 64);
    platform::OnClick(this, SetOut[n], [this, n] { SetOutClick(n); });
    platform::OnClick(this, ResetOut[n], [this, n] { ResetOutClick(n); });
    platform::OnClick(this, GetOut[n], [this, n] { GetOutClick(n); });
  }
  GetOutState = Button(outputs, "GetOutState", "Get All Output Text State", 10, 240, 244, 26);
  platform::OnClick(this, GetOutState, [this] { GetOutStateClick(); });
  auto* binLabel = ui::MakeLabel(outputs, "1............8", 148, 282, 90, 20);
  SetOutBin = Button(outputs, "SetOutBin", "OUTPUT parallel =", 10, 302, 132, 26);
  OutputBin =
      ui::MakeTyped(outputs, "OutputBin", "OUTPUT parallel", "00000000", 8, 148, 304, 90, 22);
  platform::SetBase(OutputBin, QColor(255, 255, 0));
  binLabel->setBuddy(OutputBin);
  platform::OnClick(this, SetOutBin, [this] { SetOutBinClick(); });

  // ---- data-logger parameters
  auto* logger = ui::MakeGroup(page, "GroupDataLogger", "Data Logger parameter", 276, 4, 218, 86);
  ui::MakeLabel(logger, "Sampling Rate", 8, 22, 92, 20);
  SRateSB = ui::MakeBar(logger, "SRateSB", "Sampling Rate", {0, 9, 0, 1}, 102, 25, 50, 18);
  SRate = ui::MakeShown(logger, "SRate", "Sampling Rate value", "0", 156, 23, 24, 22);
  bSRate = Button(logger, "bSRate", "WR", 182, 22, 30);
  bSRate->setAccessibleName("Write Sampling Rate");
  ui::MakeLabel(logger, "Data Logger ", 8, 48, 82, 16);
  ui::MakeLabel(logger, "Period", 8, 62, 82, 16);
  DLoggerTmSB =
      ui::MakeBar(logger, "DLoggerTmSB", "Data Logger Period", {1, 6, 1, 1}, 102, 55, 50, 18);
  DLoggerTm = ui::MakeShown(logger, "DLoggerTm", "Data Logger Period value", "1", 156, 53, 24, 22);
  bDLperiod = Button(logger, "bDLperiod", "WR", 182, 52, 30);
  bDLperiod->setAccessibleName("Write Data Logger Period");
  platform::OnChange(this, SRateSB, [this] { SRateSBChange(); });
  // DLoggerTmSB's change handler and the two "WR" handlers belong to the "GPRS, FTP" page,
  // which mirrors these bars.
  platform::OnChange(this, DLoggerTmSB, [this] { DLoggerTmSBChange(); });
  platform::OnClick(this, bSRate, [this] { bSRateClick(); });
  platform::OnClick(this, bDLperiod, [this] { bDLperiodClick(); });

  // ---- pulses
  auto* pulses =
      ui::MakeGroup(page, "GroupPulses", "Output Pulse or Latch mode", 276, 94, 218, 272);
  for (int n = 1; n <= 8; ++n) {
    const int y = 22 + 25 * (n - 1);
    auto* l = ui::MakeLabel(pulses, QString("Output %1 pulse ").arg(n), 8, y, 94, 20);
    PulseDsb[n] = ui::MakeBar(pulses, platform::Nr("PulseDsb", n),
                              QString("Output %1 pulse").arg(n), {0, 9, 0, 1}, 104, y + 2, 70, 18);
    PulseD[n] = ui::MakeShown(pulses, platform::Nr("PulseD", n),
                              QString("Output %1 pulse value").arg(n), "0", 178, y, 30, 22);
    l->setBuddy(PulseDsb[n]);
    platform::OnChange(this, PulseDsb[n], [this, n] { PulseDsbChange(n); });
  }
  SetPulse = Button(pulses, "SetPulse", "Set  Parameter", 8, 230, 200, 28);
  platform::OnClick(this, SetPulse, [this] { SetPulseClick(); });

  // ---- inputs
  auto* inputs = ui::MakeGroup(page, "GroupInputsState", "Inputs State", 500, 4, 346, 166);
  for (int n = 1; n <= 12; ++n) {
    const int col = (n - 1) / 4, row = (n - 1) % 4;
    GetInp[n] = Button(inputs, platform::Nr("GetInp", n), QString("Get Inp%1").arg(n),
                       10 + 110 * col, 22 + 26 * row, 104);
    platform::OnClick(this, GetInp[n], [this, n] { GetInpClick(n); });
  }
  GetAllInput = Button(inputs, "GetAllInput", "Get All Input Text State", 10, 130, 324, 26);
  platform::OnClick(this, GetAllInput, [this] { GetAllInputClick(); });

  // ---- long filter
  auto* longFilter = ui::MakeGroup(page, "GroupLongFilter", "Long Filter", 500, 174, 346, 90);
  Button43 = Button(longFilter, "Button43", "ON", 10, 22, 50);
  Button44 = Button(longFilter, "Button44", "OFF", 64, 22, 50);
  Button43->setAccessibleName("Long Filter ON");
  Button44->setAccessibleName("Long Filter OFF");
  LFilterSB =
      ui::MakeBar(longFilter, "LFilterSB", "Long filter delay", {0, 999, 0, 10}, 124, 25, 150, 18);
  LFilter =
      ui::MakeTyped(longFilter, "LFilter", "Long filter delay value", "000", 0, 280, 23, 56, 22);
  Button42 =
      Button(longFilter, "Button42", "DInputs Filter Delay for Long Filter", 10, 54, 326, 26);
  platform::OnClick(this, Button43, [this] { Button43Click(); });
  platform::OnClick(this, Button44, [this] { Button44Click(); });
  platform::OnClick(this, Button42, [this] { Button42Click(); });
  platform::OnChange(this, LFilterSB, [this] { LFilterSBChange(); });

  // ---- the digital input filter alone
  ui::MakeFilterTwin(
      this, page, "GroupDTimeoutFilter", 500, 284, "Digital Input Signal Filter", "DFilterSBd",
      "DFilterD", 9, "SetDtimeoutFilter", "Set Timeout Filter", DFilterSBd, DFilterD,
      SetDtimeoutFilter, [this] { DFilterSBdChange(); }, [this] { SetDtimeoutFilterClick(); });
}

// ---- settings -----------------------------------------------------------------------

void TForm1::RestoreIOControlBars(const TSetupConfig& c) {
  SRateSB->setValue(c.SRateSB);
  for (int n = 1; n <= 8; ++n) PulseDsb[n]->setValue(c.PulseDsb[static_cast<std::size_t>(n - 1)]);
}

void TForm1::RestoreDataLoggerPeriod(const TSetupConfig& c) {
  DLoggerTmSB->setValue(c.DLoggerTmSB);
}

void TForm1::StoreIOControlPage(TSetupConfig& c) const {
  c.SRateSB = SRateSB->value();
  for (int n = 1; n <= 8; ++n) c.PulseDsb[static_cast<std::size_t>(n - 1)] = PulseDsb[n]->value();
  c.DLoggerTmSB = DLoggerTmSB->value();
}

// ---- sampling, period and pulses ----------------------------------------------------

void TForm1::SetPulseClick() {
  std::array<int, 8> p{};
  for (int n = 1; n <= 8; ++n) p[static_cast<std::size_t>(n - 1)] = PulseDsb[n]->value();
  RunCommand(ioanalog::PulseCommand(SRateSB->value(), DLoggerTmSB->value(), p));
}

void TForm1::SRateSBChange() {
  const int pos = SRateSB->value();
  platform::SetText(SRate, ui::Dec(pos));
  eSRateSB->setValue(pos);
  platform::SetText(eSRate, platform::Text(SRate));
}

void TForm1::PulseDsbChange(int n) {
  platform::SetText(PulseD[n], ioanalog::PulseText(PulseDsb[n]->value()));
}

// ---- outputs ------------------------------------------------------------------------

// The edit shows what was commanded, whether or not the command could go out.
void TForm1::SetOutClick(int n) {
  Clear();
  const std::string cmd = ioanalog::OutputCommand(true, n);
  SendSMS(cmd);
  platform::SetText(Output[n], "ON ");
  DisplayOnMemo(cmd);
}

void TForm1::ResetOutClick(int n) {
  Clear();
  const std::string cmd = ioanalog::OutputCommand(false, n);
  SendSMS(cmd);
  platform::SetText(Output[n], "OFF");
  DisplayOnMemo(cmd);
}

void TForm1::GetOutClick(int n) { RunCommand(ioanalog::OutputStateCommand(n)); }
void TForm1::GetOutStateClick() { RunCommand(ioanalog::OutputStateCommand(0)); }

void TForm1::SetOutBinClick() {
  Clear();
  const std::string bits = platform::Text(OutputBin);
  const std::string cmd = "OUTP " + bits;
  SendSMS(cmd);
  const auto states = ioanalog::OutputsAfterParallel(bits);
  for (int n = 1; n <= 8; ++n)
    if (!states[static_cast<std::size_t>(n - 1)].empty())
      platform::SetText(Output[n], states[static_cast<std::size_t>(n - 1)]);
  DisplayOnMemo(cmd);
}

// ---- inputs -------------------------------------------------------------------------

void TForm1::GetInpClick(int n) { RunCommand(ioanalog::InputStateCommand(n)); }
void TForm1::GetAllInputClick() { RunCommand(ioanalog::InputStateCommand(0)); }

// ---- long filter: these three leave the reply and raw-line state as they find them ----

void TForm1::LFilterSBChange() {
  platform::SetText(LFilter, ioanalog::LongFilterText(LFilterSB->value()));
}
void TForm1::Button42Click() { RunCommandNoClear("CNTMX," + platform::Text(LFilter)); }
void TForm1::Button43Click() { RunCommandNoClear("LONGF1"); }
void TForm1::Button44Click() { RunCommandNoClear("LONGF0"); }

}  // namespace configurator
