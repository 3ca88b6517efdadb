// Page "Temperature/Counter": temperature alarm levels, the counters and the counter SMS
// format, the run-time panel, and the temperature time-out filter (whose handlers are the
// Other page's). The handlers of the Main page's "Read Counters" and "Runtime" live here.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/pagebuild.h"
#include "configurator/core/tempcounter.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"

namespace configurator {

namespace {

// Buttons of this page are 27 high unless they say otherwise, and read by their caption.
QPushButton* Button(QWidget* parent, const QString& name, const QString& caption, int x, int y,
                    int w, int h = 27) {
  return ui::MakeButton(parent, name, caption, caption, x, y, w, h);
}

// Labels of this page are 22 high.
QLabel* Label(QWidget* parent, const QString& text, int x, int y, int w,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  return ui::MakeLabel(parent, text, x, y, w, 22, align);
}

}  // namespace

void TForm1::BuildTempCounterPage() {
  QWidget* page = PageOf(Page::TempCounter);

  // The Main page's "Temperature" and "Temp.Level", with their handlers.
  Button5 = Button(page, "Button5", "Temperature", 712, 300, 130);
  Button6 = Button(page, "Button6", "Temp.Level", 712, 334, 130);
  platform::OnClick(this, Button5, [this] { ReadTemperatureClick(); });
  platform::OnClick(this, Button6, [this] { TemperatureLevelBtnClick(); });

  // ---- temperature levels, one group per input -------------------------------------------
  static const char* const kTempTitles[4] = {
      nullptr, "TEMPERATURE INPUT 1 (Smartec SMT160-30 / SMT172)",
      "TEMPERATURE INPUT 2 (Smartec SMT160-30 / SMT172) - DI11",
      "TEMPERATURE INPUT 3 (Smartec SMT160-30 / SMT172) - DI12"};
  for (int n = 1; n <= 3; ++n) {
    auto* box = ui::MakeGroup(page, platform::Nr("GroupTemperature", n), kTempTitles[n], 6,
                              4 + (n - 1) * 86, 430, 82);
    const auto i = static_cast<std::size_t>(n);
    for (const bool max : {true, false}) {
      const int y = max ? 22 : 52;
      const QString level = max ? "Maximum level " : "Minimum level ";
      auto* caption = Label(box, level, 10, y, 92);
      Label(box, "-099", 102, y, 34, Qt::AlignRight | Qt::AlignVCenter);
      auto* bar = ui::MakeBar(box, QString("ScrollBarT%1%2").arg(n).arg(max ? "max" : "min"),
                              QString("%1temperature %2").arg(level).arg(n), {-99, 149, 0, 10}, 140,
                              y + 1, 150, 20);
      Label(box, "+149 C", 296, y, 46);
      QLineEdit* edit =
          ui::MakeShown(box, QString("T%1%2").arg(n).arg(max ? "max" : "min"),
                        QString("%1temperature %2").arg(level).arg(n), "", 344, y - 1, 40, 24);
      (max ? Tmax : Tmin)[i] = edit;
      (max ? ScrollBarTmax : ScrollBarTmin)[i] = bar;
      caption->setBuddy(bar);
      platform::OnChange(this, bar, [this, n, max] {
        if (max)
          ScrollBarTmaxChange(n);
        else
          ScrollBarTminChange(n);
      });
    }
    TlevelCmd[i] = Button(box, n == 1 ? QString("TlevelCmd") : platform::Nr("TlevelCmd", n), "OK",
                          390, 36, 32);
    TlevelCmd[i]->setAccessibleName(QString("Send levels of temperature %1").arg(n));
    platform::OnClick(this, TlevelCmd[i], [this, n] { TlevelCmdClick(n); });
  }

  // ---- counters ---------------------------------------------------------------------------
  auto* counters =
      ui::MakeGroup(page, "GroupCounters", "COUNTERs (DI11, DI12, DI10)", 6, 274, 348, 104);
  Button7 = Button(counters, "Button7", "Read Counters", 10, 18, 108, 25);
  Button8 = Button(counters, "Button8", "Clear Counters", 122, 18, 108, 25);
  static const char* const kClearNames[4] = {nullptr, "Button39", "Button40", "Button41"};
  for (int n = 1; n <= 3; ++n) {
    auto& b = ClearCounter[static_cast<std::size_t>(n)];
    b = Button(counters, kClearNames[n], QString("Clear Counter %1").arg(n), 10 + (n - 1) * 112, 46,
               108, 25);
    platform::OnClick(this, b, [this, n] { ClearCounterClick(n); });
  }
  auto* formatLabel = Label(counters, "Counter SMS format F", 10, 75, 150);
  Button45 = Button(counters, "Button45", "OFF", 178, 74, 52, 25);
  Button46 = Button(counters, "Button46", "ON", 234, 74, 52, 25);
  Button45->setAccessibleName("Counter SMS format OFF");
  Button46->setAccessibleName("Counter SMS format ON");
  formatLabel->setBuddy(Button45);
  platform::OnClick(this, Button7, [this] { COUNTERSClick(); });
  platform::OnClick(this, Button8, [this] { Button8Click(); });
  platform::OnClick(this, Button45, [this] { Button45Click(); });
  platform::OnClick(this, Button46, [this] { Button46Click(); });

  // ---- run-time panel (run-time variant only) ----------------------------------------------
  auto* panel = ui::MakeGroup(page, "PanelRT", "RUNTIME", 442, 4, 403, 252);
  PanelRT = panel;
  for (int n = 1; n <= 2; ++n) {
    const int y = 22 + (n - 1) * 30;
    const QString caption = platform::Nr("RUNTIME", n);
    auto* label = Label(panel, caption, 10, y, 70);
    auto* bar = ui::MakeBar(panel, platform::Nr("ScrollBarRT", n), caption, {0, 32000, 0, 10}, 84,
                            y + 1, 210, 20);
    ScrollBarRT[static_cast<std::size_t>(n)] = bar;
    RT[static_cast<std::size_t>(n)] =
        ui::MakeShown(panel, platform::Nr("RT", n), caption, "", 300, y - 1, 56, 24);
    label->setBuddy(bar);
    platform::OnChange(this, bar, [this, n] { ScrollBarRTChange(n); });
  }
  RTlevelSend = Button(panel, "RTlevelSend", "OK", 362, 36, 32);
  RTlevelSend->setAccessibleName("Send run-time levels");
  platform::OnClick(this, RTlevelSend, [this] { RTlevelSendClick(); });

  RTsource = new platform::RadioGroup("RT source", panel);
  RTsource->setObjectName("RTsource");
  RTsource->SetItems({"Analog", "Digital Normal", "Digital Inversion"}, 3);
  RTsource->setGeometry(10, 84, 322, 50);
  RTsource->SetItemIndex(0);
  RTinputSource = new platform::RadioGroup("RT source input", panel);
  RTinputSource->setObjectName("RTinputSource");
  RTinputSource->SetItems({"A1 / D1", "A2 / D2", "A3 / D3", "A4 / D4"}, 4);
  RTinputSource->setGeometry(10, 138, 322, 50);
  RTinputSource->SetItemIndex(0);
  SetRTsource = Button(panel, "SetRTsource", "WR", 340, 96, 54);
  SetRTsource->setAccessibleName("Write RT source");
  Button2 = Button(panel, "Button2", "RD", 340, 150, 54);
  Button2->setAccessibleName("Read RT source");
  // A click on either group runs the SMS schedule's RadioGroup1Click.
  platform::OnSignal(this, RTsource, &platform::RadioGroup::Click, [this] { RadioGroup1Click(); });
  platform::OnSignal(this, RTinputSource, &platform::RadioGroup::Click,
                     [this] { RadioGroup1Click(); });
  platform::OnClick(this, SetRTsource, [this] { SetRTsourceClick(); });
  platform::OnClick(this, Button2, [this] { Button2Click(); });

  auto* dividerLabel = Label(panel, "Divider", 10, 196, 70);
  auto* divider =
      ui::MakeBar(panel, "ScrollBar1", "Run-time divider", {0, 9600, 0, 10}, 84, 197, 210, 20);
  ScrollBar1 = divider;
  RTdivider = ui::MakeTyped(panel, "RTdivider", "Run-time divider", "0000", 4, 300, 195, 56, 24);
  dividerLabel->setBuddy(divider);
  Label(panel, "0004: 1 min", 84, 222, 90);
  Label(panel, "0240: 1 hour", 174, 222, 90);
  Label(panel, "2400: 10 hour", 264, 222, 100);
  platform::OnChange(this, divider, [this] { ScrollBar1Change(); });
  PanelRT->setVisible(false);


  // ---- the temperature time-out filter alone
  ui::MakeFilterTwin(
      this, page, "GroupTTimeoutFilter", 362, 274, "Temp. Timeout Filter ", "TTimeout1SBt",
      "TTimeout1t", 99, "SetTtimeoutFilter", "Set Timeout Filter", TTimeout1SBt, TTimeout1t,
      SetTtimeoutFilter, [this] { TTimeout1SBtChange(); }, [this] { SetTtimeoutFilterClick(); });
}

// ---- settings -----------------------------------------------------------------------------

// Record order of the levels: minimum 1, maximum 1, minimum 2, ..., maximum 3.
void TForm1::RestoreTemperatureLevels(const TSetupConfig& c) {
  for (int n = 1; n <= 3; ++n) {
    const auto i = static_cast<std::size_t>(n);
    ScrollBarTmin[i]->setValue(c.TempLevels[2 * (i - 1)]);
    ScrollBarTmax[i]->setValue(c.TempLevels[2 * (i - 1) + 1]);
  }
  // The edits in the order T1min, T1max, T2max, T2min, T3max, T3min.
  platform::SetText(Tmin[1], ui::Dec(ScrollBarTmin[1]->value()));
  for (int n = 1; n <= 3; ++n) {
    const auto i = static_cast<std::size_t>(n);
    platform::SetText(Tmax[i], ui::Dec(ScrollBarTmax[i]->value()));
    if (n > 1) platform::SetText(Tmin[i], ui::Dec(ScrollBarTmin[i]->value()));
  }
}

void TForm1::StoreTemperatureLevels(TSetupConfig& c) const {
  for (int n = 1; n <= 3; ++n) {
    const auto i = static_cast<std::size_t>(n);
    c.TempLevels[2 * (i - 1)] = ScrollBarTmin[i]->value();
    c.TempLevels[2 * (i - 1) + 1] = ScrollBarTmax[i]->value();
  }
}

// ---- temperature levels -------------------------------------------------------------------

void TForm1::TlevelCmdClick(int input) {
  const auto i = static_cast<std::size_t>(input);
  RunCommand(tempcounter::TemperatureLevelCommand(input, ScrollBarTmin.at(i)->value(),
                                                  ScrollBarTmax.at(i)->value()));
  // The colours mark the levels last sent until the next change of page.
  platform::SetBase(Tmax[i], QColor(0, 255, 0));
  platform::SetBase(Tmin[i], QColor(0, 255, 255));
}

void TForm1::ScrollBarTmaxChange(int input) {
  const auto i = static_cast<std::size_t>(input);
  platform::SetText(Tmax[i], ui::Dec(ScrollBarTmax[i]->value()));
}

void TForm1::ScrollBarTminChange(int input) {
  const auto i = static_cast<std::size_t>(input);
  platform::SetText(Tmin[i], ui::Dec(ScrollBarTmin[i]->value()));
}

// ---- counters -----------------------------------------------------------------------------

void TForm1::COUNTERSClick() { RunCommand("GETCT"); }
void TForm1::Button8Click() { RunCommand("CLRCT0"); }
void TForm1::ClearCounterClick(int counter) { RunCommand("CLRCT" + std::to_string(counter)); }
void TForm1::Button45Click() { RunCommandNoClear("CFLOW0"); }
void TForm1::Button46Click() { RunCommandNoClear("CFLOW1"); }

// ---- run-time -----------------------------------------------------------------------------

void TForm1::ReadRTClick() { RunCommand("GETRT"); }

void TForm1::RTlevelSendClick() {
  RunCommand(tempcounter::RunTimeLevelCommand(ScrollBarRT[1]->value(), ScrollBarRT[2]->value()));
}

void TForm1::ScrollBarRTChange(int level) {
  const auto i = static_cast<std::size_t>(level);
  platform::SetText(RT[i], ui::Dec(ScrollBarRT[i]->value()));
}

void TForm1::ScrollBar1Change() {
  platform::SetText(RTdivider, tempcounter::RunTimeDividerText(ScrollBar1->value()));
}

void TForm1::SetRTsourceClick() {
  // The divider may have been typed over; the device reads it as four digits.
  const std::string divider = tempcounter::RunTimeDividerField(platform::Text(RTdivider));
  if (divider.empty()) {
    platform::MessageBox(
        "The run-time divider must be a number of up to four digits "
        "(0000..9999).\r\nNothing was sent.",
        "Error", platform::Icon::Warning);
    return;
  }
  const std::string command =
      tempcounter::RunTimeSourceCommand(RTinputSource->ItemIndex(), RTsource->ItemIndex(), divider);
  if (command.empty()) return;  // no item chosen: the groups always hold one
  platform::SetText(RTdivider, divider);
  RunCommandNoClear(command);
}

void TForm1::Button2Click() { RunCommandNoClear("RTMODR"); }

}  // namespace configurator
