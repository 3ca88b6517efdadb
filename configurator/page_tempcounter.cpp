// Pages "Temperature/Counter" and "RunTime": temperature alarm levels, the counters and the
// counter SMS format, the run-time panel, the counter/run-time modes; and the "Read Counters"
// and "Runtime" buttons of the Main page.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/pagebuild.h"
#include "configurator/tempcounter_core.h"
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

QString TempBarName(int input, bool max) {
  return QString("ScrollBarT%1%2").arg(input).arg(max ? "max" : "min");
}

}  // namespace

void TForm1::BuildTempCounterPages() {
  QWidget* page = Pages[6];

  // ---- temperature levels, one group per input -------------------------------------------
  static const char* const kTempTitles[4] = {
      nullptr, "TEMPERATURE INPUT 1 (Smartec SMT160-30 / SMT172)",
      "TEMPERATURE INPUT 2 (Smartec SMT160-30 / SMT172) - DI11",
      "TEMPERATURE INPUT 3 (Smartec SMT160-30 / SMT172) - DI12"};
  for (int n = 1; n <= 3; ++n) {
    auto* box = ui::MakeGroup(page, QString("GroupTemperature%1").arg(n), kTempTitles[n], 6,
                              4 + (n - 1) * 86, 430, 82);
    const auto i = static_cast<std::size_t>(n);
    for (const bool max : {true, false}) {
      const int y = max ? 22 : 52;
      const QString level = max ? "Maximum level " : "Minimum level ";
      auto* caption = Label(box, level, 10, y, 92);
      Label(box, "-099", 102, y, 34, Qt::AlignRight | Qt::AlignVCenter);
      auto* bar = ui::MakeBar(box, TempBarName(n, max),
                              QString("%1temperature %2").arg(level).arg(n), {-99, 149, 0, 10},
                              140, y + 1, 150, 20);
      Label(box, "+149 C", 296, y, 46);
      QLineEdit* edit = ui::MakeShown(box, QString("T%1%2").arg(n).arg(max ? "max" : "min"),
                                      QString("%1temperature %2").arg(level).arg(n), "", 344,
                                      y - 1, 40, 24);
      (max ? Tmax : Tmin)[i] = edit;
      caption->setBuddy(bar);
      ui::OnChange(this, bar, [this, n, max] {
        if (max)
          ScrollBarTmaxChange(n);
        else
          ScrollBarTminChange(n);
      });
    }
    TlevelCmd[i] = Button(box, n == 1 ? QString("TlevelCmd") : ui::Nr("TlevelCmd", n), "OK", 390,
                          36, 32);
    TlevelCmd[i]->setAccessibleName(QString("Send levels of temperature %1").arg(n));
    ui::OnClick(this, TlevelCmd[i], [this, n] { TlevelCmdClick(n); });
  }

  // ---- counters ---------------------------------------------------------------------------
  auto* counters =
      ui::MakeGroup(page, "GroupCounters", "COUNTERs (DI11, DI12, DI10)", 6, 274, 348, 104);
  Button7 = Button(counters, "Button7", "Read Counters", 10, 18, 108, 25);
  Button8 = Button(counters, "Button8", "Clear Counters", 122, 18, 108, 25);
  static const char* const kClearNames[4] = {nullptr, "Button39", "Button40", "Button41"};
  for (int n = 1; n <= 3; ++n) {
    auto& b = ClearCounter[static_cast<std::size_t>(n)];
    b = Button(counters, kClearNames[n], QString("Clear Counter %1").arg(n), 10 + (n - 1) * 112,
               46, 108, 25);
    ui::OnClick(this, b, [this, n] { ClearCounterClick(n); });
  }
  auto* formatLabel = Label(counters, "Counter SMS format F", 10, 75, 150);
  Button45 = Button(counters, "Button45", "OFF", 178, 74, 52, 25);
  Button46 = Button(counters, "Button46", "ON", 234, 74, 52, 25);
  Button45->setAccessibleName("Counter SMS format OFF");
  Button46->setAccessibleName("Counter SMS format ON");
  formatLabel->setBuddy(Button45);
  ui::OnClick(this, Button7, [this] { COUNTERSClick(); });
  ui::OnClick(this, Button8, [this] { Button8Click(); });
  ui::OnClick(this, Button45, [this] { Button45Click(); });
  ui::OnClick(this, Button46, [this] { Button46Click(); });

  // ---- run-time panel (run-time variant only) ----------------------------------------------
  auto* panel = ui::MakeGroup(page, "PanelRT", "RUNTIME", 442, 4, 403, 252);
  PanelRT = panel;
  for (int n = 1; n <= 2; ++n) {
    const int y = 22 + (n - 1) * 30;
    const QString caption = QString("RUNTIME%1").arg(n);
    auto* label = Label(panel, caption, 10, y, 70);
    auto* bar = ui::MakeBar(panel, QString("ScrollBarRT%1").arg(n), caption, {0, 32000, 0, 10}, 84,
                            y + 1, 210, 20);
    RT[static_cast<std::size_t>(n)] =
        ui::MakeShown(panel, QString("RT%1").arg(n), caption, "", 300, y - 1, 56, 24);
    label->setBuddy(bar);
    ui::OnChange(this, bar, [this, n] { ScrollBarRTChange(n); });
  }
  RTlevelSend = Button(panel, "RTlevelSend", "OK", 362, 36, 32);
  RTlevelSend->setAccessibleName("Send run-time levels");
  ui::OnClick(this, RTlevelSend, [this] { RTlevelSendClick(); });

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
  // A click on either group runs the SMS schedule's RadioGroup1Click; the schedule page binds
  // it (that page is built after this one).
  ui::OnClick(this, SetRTsource, [this] { SetRTsourceClick(); });
  ui::OnClick(this, Button2, [this] { Button2Click(); });

  auto* dividerLabel = Label(panel, "Divider", 10, 196, 70);
  auto* divider =
      ui::MakeBar(panel, "ScrollBar1", "Run-time divider", {0, 9600, 0, 10}, 84, 197, 210, 20);
  RTdivider = ui::MakeTyped(panel, "RTdivider", "Run-time divider", "0000", 4, 300, 195, 56, 24);
  dividerLabel->setBuddy(divider);
  Label(panel, "0004: 1 min", 84, 222, 90);
  Label(panel, "0240: 1 hour", 174, 222, 90);
  Label(panel, "2400: 10 hour", 264, 222, 100);
  ui::OnChange(this, divider, [this] { ScrollBar1Change(); });
  PanelRT->setVisible(false);

  // ---- Main page: "Read Counters" and "Runtime" below the device clock ---------------------
  COUNTERS = Button(Pages[0], "COUNTERS", "Read Counters", 18, 288, 120);
  ReadRT = Button(Pages[0], "ReadRT", "Runtime", 146, 288, 120);
  ReadRT->setVisible(false);
  ui::OnClick(this, COUNTERS, [this] { COUNTERSClick(); });
  ui::OnClick(this, ReadRT, [this] { ReadRTClick(); });

  // ---- RunTime page: sixteen counter/run-time modes ------------------------------------------
  // Four columns: masks 0-3 and 4-7 at input level 0, then the same at level 1.
  QWidget* runTime = Pages[12];
  for (int level = 0; level <= 1; ++level) {
    for (int mask = 0; mask <= 7; ++mask) {
      const int column = level * 2 + mask / 4;
      const int row = mask % 4;
      auto* frame = new QFrame(runTime);
      frame->setObjectName(QString("PanelRTMode%1%2").arg(level).arg(mask));
      frame->setFrameShape(QFrame::StyledPanel);
      frame->setGeometry(6 + column * 211 + (level ? 4 : 0), 6 + row * 92, 205, 88);
      QStringList lines;
      for (int counter = 1; counter <= 3; ++counter) {
        const QString text =
            QString::fromStdString(tempcounter::RunTimeModeLabel(level, mask, counter));
        lines << text;
        Label(frame, text, 8, 2 + (counter - 1) * 17, 190);
      }
      const int number = level == 0 ? 27 - mask : 28 + mask;
      auto* write = Button(frame, ui::Nr("Button", number), "Write", 8, 56, 80, 26);
      write->setAccessibleDescription(lines.join(", "));
      RunTimeWrite[static_cast<std::size_t>(level)][static_cast<std::size_t>(mask)] = write;
      ui::OnClick(this, write, [this, level, mask] { RunTimeWriteClick(level, mask); });
    }
  }
}

// ---- temperature levels -------------------------------------------------------------------

void TForm1::TlevelCmdClick(int input) {
  const int min = ui::BarPosition(this, qPrintable(TempBarName(input, false)), 0);
  const int max = ui::BarPosition(this, qPrintable(TempBarName(input, true)), 0);
  RunCommand(tempcounter::TemperatureLevelCommand(input, min, max));
  // The colours mark the levels last sent until the next change of page.
  const auto i = static_cast<std::size_t>(input);
  ui::SetColour(Tmax[i], QColor(0, 255, 0));
  ui::SetColour(Tmin[i], QColor(0, 255, 255));
}

void TForm1::ScrollBarTmaxChange(int input) {
  ui::SetText(Tmax[static_cast<std::size_t>(input)],
              ui::Dec(ui::BarPosition(this, qPrintable(TempBarName(input, true)), 0)));
}

void TForm1::ScrollBarTminChange(int input) {
  ui::SetText(Tmin[static_cast<std::size_t>(input)],
              ui::Dec(ui::BarPosition(this, qPrintable(TempBarName(input, false)), 0)));
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
  RunCommand(tempcounter::RunTimeLevelCommand(ui::BarPosition(this, "ScrollBarRT1", 0),
                                              ui::BarPosition(this, "ScrollBarRT2", 0)));
}

void TForm1::ScrollBarRTChange(int level) {
  const QString bar = QString("ScrollBarRT%1").arg(level);
  ui::SetText(RT[static_cast<std::size_t>(level)], ui::Dec(ui::BarPosition(this, qPrintable(bar), 0)));
}

void TForm1::ScrollBar1Change() {
  ui::SetText(RTdivider, tempcounter::RunTimeDividerText(ui::BarPosition(this, "ScrollBar1", 0)));
}

void TForm1::SetRTsourceClick() {
  // The divider may have been typed over; the device reads it as four digits.
  const std::string divider = tempcounter::RunTimeDividerField(ui::Text(RTdivider));
  if (divider.empty()) {
    platform::MessageBox("The run-time divider must be a number of up to four digits "
                         "(0000..9999).\r\nNothing was sent.",
                         "Error", platform::Icon::Warning);
    return;
  }
  const std::string command = tempcounter::RunTimeSourceCommand(
      RTinputSource->ItemIndex(), RTsource->ItemIndex(), divider);
  if (command.empty()) return;  // no item chosen: the groups always hold one
  ui::SetText(RTdivider, divider);
  RunCommandNoClear(command);
}

void TForm1::Button2Click() { RunCommandNoClear("RTMODR"); }

void TForm1::RunTimeWriteClick(int level, int mask) {
  const std::string command = tempcounter::RunTimeModeCommand(level, mask);
  if (!command.empty()) RunCommandNoClear(command);
}

}  // namespace configurator
