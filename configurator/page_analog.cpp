// Page "Analog": alarm levels, input modes with the multiplier and divider digits, the 20 mA
// correction factors, the 200 ohm load of inputs 1 and 2 and the analog parameters query.
// "Read Analog" and "Analog Level" at the lower right run the Main page's handlers; the analog
// time-out filter group (x 360..700, y 284..368) is built with the Other page.
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

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption,
                    const QString& accessible, int x, int y, int w, int h = 24) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAccessibleName(accessible);
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

platform::Edit* Typed(QWidget* parent, const QString& name, const QString& accessible,
                      const QString& text, int maxLength, int x, int y, int w) {
  auto* e = new platform::Edit(parent);
  e->setObjectName(name);
  e->setAccessibleName(accessible);
  e->SetMaxLength(maxLength);
  e->setText(text);
  e->setGeometry(x, y, w, 22);
  return e;
}

QScrollBar* MakeBar(QWidget* parent, const QString& name, const QString& accessible, int x,
                    int y, int w) {
  auto* b = new QScrollBar(Qt::Horizontal, parent);
  b->setObjectName(name);
  b->setAccessibleName(accessible);
  b->setRange(0, 99);
  b->setPageStep(10);
  b->setGeometry(x, y, w, 18);
  return b;
}

QLabel* Label(QWidget* parent, const QString& text, int x, int y, int w,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* l = new QLabel(text, parent);
  l->setAlignment(align);
  l->setGeometry(x, y, w, 20);
  return l;
}

QString Nr(const char* stem, int n) { return QString("%1%2").arg(stem).arg(n); }
}  // namespace

void TForm1::BuildAnalogPage() {
  QWidget* page = Pages[5];
  auto click = [this](QPushButton* b, std::function<void()> handler) {
    connect(b, &QPushButton::clicked, this, [handler] { platform::Guard([&] { handler(); }); });
  };
  auto change = [this](QWidget* bar, std::function<void()> handler) {
    connect(Bar(bar), &QScrollBar::valueChanged, this,
            [handler] { platform::Guard([&] { handler(); }); });
  };

  // ---- alarm levels: headings over each column of bars, the end labels under them
  auto* levels = new QGroupBox("Alarm levels", page);
  levels->setObjectName("GroupAnalogLevels");
  levels->setGeometry(6, 4, 340, 236);
  for (int side = 0; side < 2; ++side) {
    const int x = 34 + 132 * side;
    Label(levels, side == 0 ? "Minimum level " : "Maximum level ", x, 16, 100, Qt::AlignCenter);
    Label(levels, "0%", x, 32, 30);
    Label(levels, "99%", x + 70, 32, 30, Qt::AlignRight | Qt::AlignVCenter);
  }
  for (int n = 1; n <= 8; ++n) {
    const int y = 50 + 22 * (n - 1);
    Label(levels, QString("AN%1").arg(n), 8, y, 26);
    ScrollBarMin[n] = MakeBar(levels, Nr("ScrollBarMin", n),
                              QString("Minimum level %1").arg(n), 34, y + 2, 100);
    MinLv[n] = Shown(levels, n == 1 ? QString("Minlv1") : Nr("MinLv", n),
                     QString("Minimum level %1 value").arg(n), "0", 136, y, 26);
    ScrollBarMax[n] = MakeBar(levels, Nr("ScrollBarMax", n),
                              QString("Maximum level %1").arg(n), 166, y + 2, 100);
    MaxLv[n] = Shown(levels, n == 1 ? QString("Maxlv1") : Nr("MaxLv", n),
                     QString("Maximum level %1 value").arg(n), "0", 268, y, 26);
    LevelCmd[n] = Button(levels, QString("Level%1Cmd").arg(n), "WR",
                         QString("Write levels %1").arg(n), 298, y, 34, 22);
    change(ScrollBarMin[n], [this, n] { ScrollBarMinChange(n); });
    change(ScrollBarMax[n], [this, n] { ScrollBarMaxChange(n); });
    click(LevelCmd[n], [this, n] { LevelCmdClick(n); });
  }

  // ---- 20 mA correction
  auto* mux = new QGroupBox("Multiplier for 20mA correction", page);
  mux->setObjectName("GroupMUX");
  mux->setGeometry(6, 244, 344, 122);
  for (int n = 1; n <= 8; ++n) {
    const int col = (n - 1) / 4, row = (n - 1) % 4;
    const int x = 10 + 166 * col, y = 20 + 24 * row;
    auto* l = Label(mux, QString("AN%1").arg(n), x, y + 1, 30);
    MUX[n] = Typed(mux, Nr("MUX", n), QString("AN%1 multiplier for 20mA correction").arg(n),
                   "100", 8, x + 30, y, 50);
    l->setBuddy(MUX[n]);
    Label(mux, "/ 100", x + 84, y + 1, 34);
    MuxButton[n] = Button(mux, Nr("Button", 10 + n), "WR",
                          QString("Write AN%1 correction").arg(n), x + 120, y - 1, 34);
    click(MuxButton[n], [this, n] { MuxButtonClick(n); });
  }

  // ---- input modes
  auto* modes = new QGroupBox("Select Analog Input Mode", page);
  modes->setObjectName("GroupAnalogModes");
  modes->setGeometry(350, 4, 498, 184);
  for (int n = 1; n <= 8; ++n) {
    const int col = (n - 1) % 4, row = (n - 1) / 4;
    AMode[n] = new platform::RadioGroup(QString("Analog %1").arg(n), modes);
    AMode[n]->setObjectName(Nr("AMode", n));
    AMode[n]->setAccessibleName(QString("Analog %1").arg(n));
    AMode[n]->SetItems({"5,10V,20mA", "4-20mA"});
    AMode[n]->SetItemIndex(0);
    AMode[n]->setGeometry(6 + 122 * col, 20 + 64 * row, 118, 62);
  }
  auto* koeffLabel = Label(modes, "Multiplier 1...5", 10, 153, 96);
  AkoeffStr = Typed(modes, "AkoeffStr", "Multiplier 1...5", "11111111", 8, 106, 152, 80);
  koeffLabel->setBuddy(AkoeffStr);
  auto* dividerLabel = Label(modes, "Divider  1..9,0", 196, 153, 92);
  ADividerStr = Typed(modes, "ADividerStr", "Divider 1..9,0", "11111111", 8, 288, 152, 80);
  dividerLabel->setBuddy(ADividerStr);
  WriteAMode1 = Button(modes, "WriteAMode1", "WR", "Write analog input modes", 380, 151, 40);
  click(WriteAMode1, [this] { WriteAMode1Click(); });

  // ---- 200 ohm load of inputs 1 and 2
  auto* load = new QGroupBox("AN1,AN2 200 Om", page);
  load->setObjectName("GroupR200");
  load->setGeometry(360, 194, 150, 58);
  Button37 = Button(load, "Button37", "ON", "AN1,AN2 200 Om ON", 10, 24, 60);
  Button38 = Button(load, "Button38", "OFF", "AN1,AN2 200 Om OFF", 78, 24, 60);
  click(Button37, [this] { Button37Click(); });
  click(Button38, [this] { Button38Click(); });

  // ---- analog parameters, over "Read Analog" and "Analog Level"
  RefLevel = Button(page, "RefLevel", "Analog parameters", "Analog parameters", 712, 266, 130,
                    27);
  click(RefLevel, [this] { RefLevelClick(); });
}

// ---- alarm levels ---------------------------------------------------------------------

void TForm1::ScrollBarMinChange(int n) {
  ui::SetText(MinLv[n], ioanalog::LevelText(Bar(ScrollBarMin[n])->value()));
}
void TForm1::ScrollBarMaxChange(int n) {
  ui::SetText(MaxLv[n], ioanalog::LevelText(Bar(ScrollBarMax[n])->value()));
}
void TForm1::LevelCmdClick(int n) {
  RunCommand(ioanalog::LevelCommand(n, ui::Text(MinLv[n]), ui::Text(MaxLv[n])));
}

// ---- modes and correction -----------------------------------------------------------

// Every group is read, also one that the run-time variant has disabled.
void TForm1::WriteAMode1Click() {
  Clear();
  std::array<int, 8> items{};
  for (int n = 1; n <= 8; ++n) items[static_cast<std::size_t>(n - 1)] = AMode[n]->ItemIndex();
  const std::string cmd =
      ioanalog::ModeCommand(items, ui::Text(AkoeffStr), ui::Text(ADividerStr));
  DisplayOnMemo(cmd);
  SendSMS(cmd);
}

void TForm1::MuxButtonClick(int n) {
  RunCommand(ioanalog::CorrectionCommand(n, ui::Text(MUX[n])));
}

// These two leave the reply and raw-line state as they find them.
void TForm1::Button37Click() { RunCommandNoClear("R200M1"); }
void TForm1::Button38Click() { RunCommandNoClear("R200M0"); }

void TForm1::RefLevelClick() { RunCommand("GETAN1"); }

}  // namespace configurator
