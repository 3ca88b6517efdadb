// Page "Analog": alarm levels, input modes with the multiplier and divider digits, the 20 mA
// correction factors, the 200 ohm load of inputs 1 and 2 and the analog parameters query.
// "Read Analog" and "Analog Level" at the lower right run the Main page's handlers; the analog
// time-out filter group (x 360..700, y 284..368) runs the filter handlers of the Other page.
#include <QFrame>
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
// The alarm level bars: 0..99 %, paged by ten.
constexpr ui::BarRange kLevelRange{0, 99, 0, 10};
}  // namespace

void TForm1::BuildAnalogPage() {
  QWidget* page = PageOf(Page::Analog);

  // The Main page's "Read Analog" and "Analog Level", with their handlers.
  Button3 = ui::MakeButton(page, "Button3", "Read Analog", "Read Analog", 712, 300, 130, 27);
  Button4 = ui::MakeButton(page, "Button4", "Analog Level", "Analog Level", 712, 334, 130, 27);
  platform::OnClick(this, Button3, [this] { ReadAnalogClick(); });
  platform::OnClick(this, Button4, [this] { ReadAlevelBtnClick(); });

  // ---- alarm levels: headings over each column of bars, the end labels under them
  auto* levels = ui::MakeGroup(page, "GroupAnalogLevels", "Alarm levels", 6, 4, 340, 236);
  for (int side = 0; side < 2; ++side) {
    const int x = 34 + 132 * side;
    ui::MakeLabel(levels, side == 0 ? "Minimum level " : "Maximum level ", x, 16, 100, 20,
                  Qt::AlignCenter);
    ui::MakeLabel(levels, "0%", x, 32, 30, 20);
    ui::MakeLabel(levels, "99%", x + 70, 32, 30, 20, Qt::AlignRight | Qt::AlignVCenter);
  }
  for (int n = 1; n <= 8; ++n) {
    const int y = 50 + 22 * (n - 1);
    ui::MakeLabel(levels, platform::Nr("AN", n), 8, y, 26, 20);
    ScrollBarMin[n] =
        ui::MakeBar(levels, platform::Nr("ScrollBarMin", n), QString("Minimum level %1").arg(n),
                    kLevelRange, 34, y + 2, 100, 18);
    MinLv[n] = ui::MakeShown(levels, n == 1 ? QString("Minlv1") : platform::Nr("MinLv", n),
                             QString("Minimum level %1 value").arg(n), "0", 136, y, 26, 22);
    ScrollBarMax[n] =
        ui::MakeBar(levels, platform::Nr("ScrollBarMax", n), QString("Maximum level %1").arg(n),
                    kLevelRange, 166, y + 2, 100, 18);
    MaxLv[n] = ui::MakeShown(levels, n == 1 ? QString("Maxlv1") : platform::Nr("MaxLv", n),
                             QString("Maximum level %1 value").arg(n), "0", 268, y, 26, 22);
    LevelCmd[n] = ui::MakeButton(levels, QString("Level%1Cmd").arg(n), "WR",
                                 QString("Write levels %1").arg(n), 298, y, 34, 22);
    platform::OnChange(this, ScrollBarMin[n], [this, n] { ScrollBarMinChange(n); });
    platform::OnChange(this, ScrollBarMax[n], [this, n] { ScrollBarMaxChange(n); });
    platform::OnClick(this, LevelCmd[n], [this, n] { LevelCmdClick(n); });
  }
  // Panel1: an empty panel over the level rows of inputs 5 to 8, across the group's width,
  // which hides them in the run-time variant (the model variant shows it). It starts at their
  // top, clear of row 4's controls.
  {
    QRect rows;
    for (int n = 5; n <= 8; ++n)
      for (const QWidget* w : std::initializer_list<const QWidget*>{
               ScrollBarMin[n], ScrollBarMax[n], MinLv[n], MaxLv[n]})
        rows |= w->geometry();
    auto* panel = new QFrame(levels);
    panel->setObjectName("Panel1");
    panel->setAccessibleName("Analog inputs 5 to 8 not available");
    panel->setAutoFillBackground(true);
    panel->setGeometry(4, rows.top(), levels->width() - 8, rows.height() + 2);
    panel->raise();
    Panel1 = panel;
  }

  // ---- 20 mA correction
  auto* mux = ui::MakeGroup(page, "GroupMUX", "Multiplier for 20mA correction", 6, 244, 344, 122);
  for (int n = 1; n <= 8; ++n) {
    const int col = (n - 1) / 4, row = (n - 1) % 4;
    const int x = 10 + 166 * col, y = 20 + 24 * row;
    auto* l = ui::MakeLabel(mux, platform::Nr("AN", n), x, y + 1, 30, 20);
    MUX[n] = ui::MakeTyped(mux, platform::Nr("MUX", n),
                           QString("AN%1 multiplier for 20mA correction").arg(n), "100", 8, x + 30,
                           y, 50, 22);
    l->setBuddy(MUX[n]);
    ui::MakeLabel(mux, "/ 100", x + 84, y + 1, 34, 20);
    MuxButton[n] = ui::MakeButton(mux, platform::Nr("Button", 10 + n), "WR",
                                  QString("Write AN%1 correction").arg(n), x + 120, y - 1, 34, 24);
    platform::OnClick(this, MuxButton[n], [this, n] { MuxButtonClick(n); });
  }

  // ---- input modes
  auto* modes =
      ui::MakeGroup(page, "GroupAnalogModes", "Select Analog Input Mode", 350, 4, 498, 184);
  for (int n = 1; n <= 8; ++n) {
    const int col = (n - 1) % 4, row = (n - 1) / 4;
    AMode[n] = new platform::RadioGroup(QString("Analog %1").arg(n), modes);
    AMode[n]->setObjectName(platform::Nr("AMode", n));
    AMode[n]->setAccessibleName(QString("Analog %1").arg(n));
    AMode[n]->SetItems({"5,10V,20mA", "4-20mA"});
    AMode[n]->SetItemIndex(0);
    AMode[n]->setGeometry(6 + 122 * col, 20 + 64 * row, 118, 62);
  }
  auto* koeffLabel = ui::MakeLabel(modes, "Multiplier 1...5", 10, 153, 96, 20);
  AkoeffStr =
      ui::MakeTyped(modes, "AkoeffStr", "Multiplier 1...5", "11111111", 8, 106, 152, 80, 22);
  koeffLabel->setBuddy(AkoeffStr);
  auto* dividerLabel = ui::MakeLabel(modes, "Divider  1..9,0", 196, 153, 92, 20);
  ADividerStr =
      ui::MakeTyped(modes, "ADividerStr", "Divider 1..9,0", "11111111", 8, 288, 152, 80, 22);
  dividerLabel->setBuddy(ADividerStr);
  WriteAMode1 =
      ui::MakeButton(modes, "WriteAMode1", "WR", "Write analog input modes", 380, 151, 40, 24);
  platform::OnClick(this, WriteAMode1, [this] { WriteAMode1Click(); });

  // ---- 200 ohm load of inputs 1 and 2
  auto* load = ui::MakeGroup(page, "GroupR200", "AN1,AN2 200 Om", 360, 194, 150, 58);
  Button37 = ui::MakeButton(load, "Button37", "ON", "AN1,AN2 200 Om ON", 10, 24, 60, 24);
  Button38 = ui::MakeButton(load, "Button38", "OFF", "AN1,AN2 200 Om OFF", 78, 24, 60, 24);
  platform::OnClick(this, Button37, [this] { Button37Click(); });
  platform::OnClick(this, Button38, [this] { Button38Click(); });

  // ---- analog parameters, over "Read Analog" and "Analog Level"
  RefLevel =
      ui::MakeButton(page, "RefLevel", "Analog parameters", "Analog parameters", 712, 266, 130, 27);
  platform::OnClick(this, RefLevel, [this] { RefLevelClick(); });

  // ---- the analog time-out filter alone
  ui::MakeFilterTwin(
      this, page, "GroupATimeoutFilter", 360, 284, "Analog Timeout Filter ", "ATimeout1SBa",
      "ATimeout1a", 99, "SetTimeoutAnalogFilter", "Timeout Filter", ATimeout1SBa, ATimeout1a,
      SetTimeoutAnalogFilter, [this] { ATimeout1SBaChange(); },
      [this] { SetTimeoutAnalogFilterClick(); });
  SetTimeoutAnalogFilter->setAccessibleName("Set Analog Timeout Filter");
}

// ---- settings -------------------------------------------------------------------------

void TForm1::RestoreAnalogModes(const TSetupConfig& c) {
  for (int n = 1; n <= 8; ++n) AMode[n]->SetItemIndex(c.AMode[static_cast<std::size_t>(n - 1)]);
}

void TForm1::RestoreAnalogCorrection(const TSetupConfig& c) {
  for (int n = 1; n <= 8; ++n)
    platform::SetText(MUX[n], GetText(c.MUX[static_cast<std::size_t>(n - 1)]));
}

void TForm1::RestoreAnalogDigits(const TSetupConfig& c) {
  platform::SetText(AkoeffStr, GetText(c.AkoeffStr));
  platform::SetText(ADividerStr, GetText(c.ADividerStr));
}

void TForm1::RestoreAnalogLevels(const TSetupConfig& c) {
  // Input by input: both bars, then the maximum edit and the minimum edit with two digits.
  for (int n = 1; n <= 8; ++n) {
    const auto i = static_cast<std::size_t>(2 * (n - 1));
    ScrollBarMin[n]->setValue(c.AnalogLevels[i]);
    ScrollBarMax[n]->setValue(c.AnalogLevels[i + 1]);
    platform::SetText(MaxLv[n], ioanalog::LevelText(ScrollBarMax[n]->value()));
    platform::SetText(MinLv[n], ioanalog::LevelText(ScrollBarMin[n]->value()));
  }
}

void TForm1::StoreAnalogLevels(TSetupConfig& c) const {
  for (int n = 1; n <= 8; ++n) {
    const auto i = static_cast<std::size_t>(2 * (n - 1));
    c.AnalogLevels[i] = ScrollBarMin[n]->value();
    c.AnalogLevels[i + 1] = ScrollBarMax[n]->value();
  }
}

void TForm1::StoreAnalogPage(TSetupConfig& c) const {
  StoreAnalogLevels(c);
  for (int n = 1; n <= 8; ++n) {
    const auto k = static_cast<std::size_t>(n - 1);
    c.AMode[k] = AMode[n]->ItemIndex();
    PutText(c.MUX[k], platform::Text(MUX[n]));
  }
  PutText(c.AkoeffStr, platform::Text(AkoeffStr));
  PutText(c.ADividerStr, platform::Text(ADividerStr));
}

// ---- alarm levels ---------------------------------------------------------------------

void TForm1::ScrollBarMinChange(int n) {
  platform::SetText(MinLv[n], ioanalog::LevelText(ScrollBarMin[n]->value()));
}
void TForm1::ScrollBarMaxChange(int n) {
  platform::SetText(MaxLv[n], ioanalog::LevelText(ScrollBarMax[n]->value()));
}
void TForm1::LevelCmdClick(int n) {
  RunCommand(ioanalog::LevelCommand(n, platform::Text(MinLv[n]), platform::Text(MaxLv[n])));
}

// ---- modes and correction -----------------------------------------------------------

// Every group is read, also one that the run-time variant has disabled.
void TForm1::WriteAMode1Click() {
  Clear();
  std::array<int, 8> items{};
  for (int n = 1; n <= 8; ++n) items[static_cast<std::size_t>(n - 1)] = AMode[n]->ItemIndex();
  const std::string cmd =
      ioanalog::ModeCommand(items, platform::Text(AkoeffStr), platform::Text(ADividerStr));
  DisplayOnMemo(cmd);
  SendSMS(cmd);
}

void TForm1::MuxButtonClick(int n) {
  RunCommand(ioanalog::CorrectionCommand(n, platform::Text(MUX[n])));
}

// These two leave the reply and raw-line state as they find them.
void TForm1::Button37Click() { RunCommandNoClear("R200M1"); }
void TForm1::Button38Click() { RunCommandNoClear("R200M0"); }

void TForm1::RefLevelClick() { RunCommand("GETAN1"); }

}  // namespace configurator
