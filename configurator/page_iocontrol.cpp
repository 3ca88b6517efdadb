// Page "IO control": switching and reading the outputs, reading the inputs, the data-logger
// sampling and period codes with the pulse setting of each output in one command, and the long
// input filter. The digital input filter group (x 500..840, y 284..368) is built with the
// Other page.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <functional>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/ioanalog_core.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"

namespace configurator {

namespace {
QScrollBar* Bar(QWidget* w) { return static_cast<QScrollBar*>(w); }

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption, int x, int y,
                    int w, int h = 24) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAccessibleName(caption.simplified());
  b->setGeometry(x, y, w, h);
  return b;
}

QLineEdit* Shown(QWidget* parent, const QString& name, const QString& accessible,
                 const QString& text, int x, int y, int w) {
  auto* e = new QLineEdit(text, parent);
  e->setObjectName(name);
  e->setAccessibleName(accessible);
  e->setReadOnly(true);
  e->setGeometry(x, y, w, 22);
  return e;
}

QScrollBar* MakeBar(QWidget* parent, const QString& name, const QString& accessible, int min,
                    int max, int x, int y, int w) {
  auto* b = new QScrollBar(Qt::Horizontal, parent);
  b->setObjectName(name);
  b->setAccessibleName(accessible);
  b->setRange(min, max);
  b->setValue(min);
  b->setPageStep(max - min >= 100 ? 10 : 1);
  b->setGeometry(x, y, w, 18);
  return b;
}

QLabel* Label(QWidget* parent, const QString& text, int x, int y, int w, int h = 20) {
  auto* l = new QLabel(text, parent);
  l->setGeometry(x, y, w, h);
  return l;
}

QString Nr(const char* stem, int n) { return QString("%1%2").arg(stem).arg(n); }
}  // namespace

void TForm1::BuildIOControlPage() {
  QWidget* page = Pages[8];
  auto click = [this](QPushButton* b, std::function<void()> handler) {
    connect(b, &QPushButton::clicked, this, [handler] { platform::Guard([&] { handler(); }); });
  };
  auto change = [this](QWidget* bar, std::function<void()> handler) {
    connect(Bar(bar), &QScrollBar::valueChanged, this,
            [handler] { platform::Guard([&] { handler(); }); });
  };

  // ---- outputs
  auto* outputs = new QGroupBox("Outputs Control", page);
  outputs->setObjectName("GroupOutputsControl");
  outputs->setGeometry(6, 4, 264, 362);
  for (int n = 1; n <= 8; ++n) {
    const int y = 22 + 26 * (n - 1);
    SetOut[n] = Button(outputs, Nr("SetOut", n), QString("Out%1 ON").arg(n), 10, y, 64);
    ResetOut[n] = Button(outputs, Nr("ResetOut", n), QString("Out%1 OFF").arg(n), 78, y, 68);
    Output[n] = Shown(outputs, Nr("Output", n), QString("Output %1 state").arg(n), "OFF", 150,
                      y + 1, 38);
    GetOut[n] = Button(outputs, Nr("GetOut", n), QString("Get Out%1").arg(n), 192, y, 62);
    click(SetOut[n], [this, n] { SetOutClick(n); });
    click(ResetOut[n], [this, n] { ResetOutClick(n); });
    click(GetOut[n], [this, n] { GetOutClick(n); });
  }
  GetOutState = Button(outputs, "GetOutState", "Get All Output Text State", 10, 240, 244, 26);
  click(GetOutState, [this] { GetOutStateClick(); });
  auto* binLabel = Label(outputs, "1............8", 148, 282, 90);
  SetOutBin = Button(outputs, "SetOutBin", "OUTPUT parallel =", 10, 302, 132, 26);
  OutputBin = new platform::Edit(outputs);
  OutputBin->setObjectName("OutputBin");
  OutputBin->setAccessibleName("OUTPUT parallel");
  OutputBin->SetMaxLength(8);
  OutputBin->setText("00000000");
  OutputBin->setGeometry(148, 304, 90, 22);
  ui::SetColour(OutputBin, QColor(255, 255, 0));
  binLabel->setBuddy(OutputBin);
  click(SetOutBin, [this] { SetOutBinClick(); });

  // ---- data-logger parameters
  auto* logger = new QGroupBox("Data Logger parameter", page);
  logger->setObjectName("GroupDataLogger");
  logger->setGeometry(276, 4, 218, 86);
  Label(logger, "Sampling Rate", 8, 22, 92);
  SRateSB = MakeBar(logger, "SRateSB", "Sampling Rate", 0, 9, 102, 25, 50);
  SRate = Shown(logger, "SRate", "Sampling Rate value", "0", 156, 23, 24);
  bSRate = Button(logger, "bSRate", "WR", 182, 22, 30);
  bSRate->setAccessibleName("Write Sampling Rate");
  Label(logger, "Data Logger ", 8, 48, 82, 16);
  Label(logger, "Period", 8, 62, 82, 16);
  DLoggerTmSB = MakeBar(logger, "DLoggerTmSB", "Data Logger Period", 1, 6, 102, 55, 50);
  DLoggerTm = Shown(logger, "DLoggerTm", "Data Logger Period value", "1", 156, 53, 24);
  bDLperiod = Button(logger, "bDLperiod", "WR", 182, 52, 30);
  bDLperiod->setAccessibleName("Write Data Logger Period");
  change(SRateSB, [this] { SRateSBChange(); });
  // DLoggerTmSB's change handler and the two "WR" handlers belong to the "GPRS, FTP" page,
  // which mirrors these bars.
  click(bSRate, [this] { bSRateClick(); });
  click(bDLperiod, [this] { bDLperiodClick(); });

  // ---- pulses
  auto* pulses = new QGroupBox("Output Pulse or Latch mode", page);
  pulses->setObjectName("GroupPulses");
  pulses->setGeometry(276, 94, 218, 272);
  for (int n = 1; n <= 8; ++n) {
    const int y = 22 + 25 * (n - 1);
    auto* l = Label(pulses, QString("Output %1 pulse ").arg(n), 8, y, 94);
    PulseDsb[n] = MakeBar(pulses, Nr("PulseDsb", n), QString("Output %1 pulse").arg(n), 0, 9,
                          104, y + 2, 70);
    PulseD[n] = Shown(pulses, Nr("PulseD", n), QString("Output %1 pulse value").arg(n), "0", 178,
                      y, 30);
    l->setBuddy(PulseDsb[n]);
    change(PulseDsb[n], [this, n] { PulseDsbChange(n); });
  }
  SetPulse = Button(pulses, "SetPulse", "Set  Parameter", 8, 230, 200, 28);
  click(SetPulse, [this] { SetPulseClick(); });

  // ---- inputs
  auto* inputs = new QGroupBox("Inputs State", page);
  inputs->setObjectName("GroupInputsState");
  inputs->setGeometry(500, 4, 346, 166);
  for (int n = 1; n <= 12; ++n) {
    const int col = (n - 1) / 4, row = (n - 1) % 4;
    GetInp[n] = Button(inputs, Nr("GetInp", n), QString("Get Inp%1").arg(n), 10 + 110 * col,
                       22 + 26 * row, 104);
    click(GetInp[n], [this, n] { GetInpClick(n); });
  }
  GetAllInput = Button(inputs, "GetAllInput", "Get All Input Text State", 10, 130, 324, 26);
  click(GetAllInput, [this] { GetAllInputClick(); });

  // ---- long filter (the digital input filter group below it is built with the Other page)
  auto* longFilter = new QGroupBox("Long Filter", page);
  longFilter->setObjectName("GroupLongFilter");
  longFilter->setGeometry(500, 174, 346, 90);
  Button43 = Button(longFilter, "Button43", "ON", 10, 22, 50);
  Button44 = Button(longFilter, "Button44", "OFF", 64, 22, 50);
  Button43->setAccessibleName("Long Filter ON");
  Button44->setAccessibleName("Long Filter OFF");
  LFilterSB = MakeBar(longFilter, "LFilterSB", "Long filter delay", 0, 999, 124, 25, 150);
  LFilter = new platform::Edit(longFilter);
  LFilter->setObjectName("LFilter");
  LFilter->setAccessibleName("Long filter delay value");
  LFilter->setText("000");
  LFilter->setGeometry(280, 23, 56, 22);
  Button42 = Button(longFilter, "Button42", "DInputs Filter Delay for Long Filter", 10, 54, 326,
                    26);
  click(Button43, [this] { Button43Click(); });
  click(Button44, [this] { Button44Click(); });
  click(Button42, [this] { Button42Click(); });
  change(LFilterSB, [this] { LFilterSBChange(); });
}

// ---- sampling, period and pulses ----------------------------------------------------

void TForm1::SetPulseClick() {
  std::array<int, 8> p{};
  for (int n = 1; n <= 8; ++n) p[static_cast<std::size_t>(n - 1)] = Bar(PulseDsb[n])->value();
  RunCommand(ioanalog::PulseCommand(Bar(SRateSB)->value(), Bar(DLoggerTmSB)->value(), p));
}

void TForm1::SRateSBChange() {
  const int pos = Bar(SRateSB)->value();
  ui::SetText(SRate, ui::Dec(pos));
  ui::SetNamedBar(this, "eSRateSB", pos);
  ui::SetNamedText(this, "eSRate", ui::Text(SRate));
}

void TForm1::PulseDsbChange(int n) {
  ui::SetText(PulseD[n], ioanalog::PulseText(Bar(PulseDsb[n])->value()));
}

// ---- outputs ------------------------------------------------------------------------

// The edit shows what was commanded, whether or not the command could go out.
void TForm1::SetOutClick(int n) {
  Clear();
  const std::string cmd = ioanalog::OutputCommand(true, n);
  SendSMS(cmd);
  ui::SetText(Output[n], "ON ");
  DisplayOnMemo(cmd);
}

void TForm1::ResetOutClick(int n) {
  Clear();
  const std::string cmd = ioanalog::OutputCommand(false, n);
  SendSMS(cmd);
  ui::SetText(Output[n], "OFF");
  DisplayOnMemo(cmd);
}

void TForm1::GetOutClick(int n) { RunCommand(ioanalog::OutputStateCommand(n)); }
void TForm1::GetOutStateClick() { RunCommand(ioanalog::OutputStateCommand(0)); }

void TForm1::SetOutBinClick() {
  Clear();
  const std::string bits = ui::Text(OutputBin);
  const std::string cmd = "OUTP " + bits;
  SendSMS(cmd);
  const auto states = ioanalog::OutputsAfterParallel(bits);
  for (int n = 1; n <= 8; ++n)
    if (!states[static_cast<std::size_t>(n - 1)].empty())
      ui::SetText(Output[n], states[static_cast<std::size_t>(n - 1)]);
  DisplayOnMemo(cmd);
}

// ---- inputs -------------------------------------------------------------------------

void TForm1::GetInpClick(int n) { RunCommand(ioanalog::InputStateCommand(n)); }
void TForm1::GetAllInputClick() { RunCommand(ioanalog::InputStateCommand(0)); }

// ---- long filter: these three leave the reply and raw-line state as they find them ----

void TForm1::LFilterSBChange() {
  ui::SetText(LFilter, ioanalog::LongFilterText(Bar(LFilterSB)->value()));
}
void TForm1::Button42Click() { RunCommandNoClear("CNTMX," + ui::Text(LFilter)); }
void TForm1::Button43Click() { RunCommandNoClear("LONGF1"); }
void TForm1::Button44Click() { RunCommandNoClear("LONGF0"); }

}  // namespace configurator
