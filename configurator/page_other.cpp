// Page "Other": the option text with its thirteen option boxes and two marks, the device's
// date/time source, its automatic restart, and the "Timeout Filter" group. Each filter also
// stands alone on the page of its inputs, and the two bars of a filter set each other: those
// groups on "Temperature/Counter", "Analog" and "IO control" are built here too.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/other_core.h"
#include "configurator/pagebuild.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"
#include "serial/DisplayUnit.h"

namespace configurator {

namespace {

struct OptionBox {
  int n;
  const char* caption;
  bool checked;
};
// The option boxes by their character in the option text.
constexpr OptionBox kOptionBoxes[] = {
    {3, "Answer SMS for Setou and Rstou SMS command  enable (default enable) ", true},
    {4, "GPRS or FTP error SMS Message enable (default disable)", false},
    {5, "Store Outputs State after Restart enable (default enable)", true},
    {6, "Auto Restart if (GPRS Error) enable (default enable)", true},
    {7, "Digital Input Inversion enable (default disable)", false},
    {8, "GPRS attach error SMS Message enable (default disable)", false},
    {9, "IO Status in Alarm SMS enable (default disable)", false},
    {10, "Date/Time in Alarm SMS enable (default enable)", true},
    {11, "Year in data-logger file enable (default enable)", true},
    {12, "Repeat alarm SMS if error (default disable)", false},
    {13, "Interrupt after RING enable (default disable)", false},
    {14, "Restart in 23.30 enable (default disable)", false},
    {15, "Data Logger Line to RS232 enable (default enable)", true},
};

// Buttons of this page are 27 high and read by their caption without outer blanks.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int x, int y,
                        int w) {
  return ui::MakeButton(parent, name, caption, caption.trimmed(), x, y, w, 27);
}

// One filter row: its caption, its bar (0..max) and the edit that shows the value, "0" until
// the bar first moves.
QScrollBar* FilterRow(QWidget* parent, const char* caption, const char* barName,
                      const char* editName, QLineEdit*& edit, int max, int y, int labelW,
                      int barW) {
  auto* label = ui::MakeLabel(parent, caption, 10, y, labelW, 22);
  auto* bar = ui::MakeBar(parent, barName, QString(caption).trimmed(),
                          {0, max, 0, max >= 10 ? 10 : 1}, 10 + labelW, y + 2, barW, 20);
  edit = ui::MakeShown(parent, editName, QString(caption).trimmed() + " value", "0",
                       16 + labelW + barW, y, 40, 24, Qt::AlignRight);
  label->setBuddy(bar);
  return bar;
}

}  // namespace

void TForm1::BuildOtherPage() {
  QWidget* page = Pages[9];

  // ---- option text -------------------------------------------------------------------
  auto* options = ui::MakeGroup(page, "GroupOptions", "Options", 6, 4, 474, 370);
  int y = 18;
  for (const OptionBox& o : kOptionBoxes) {
    auto* box = ui::MakeCheck(options, ui::Nr("oCheckBox", o.n), o.caption,
                              QString(o.caption).trimmed(), 10, y, 458, 20);
    box->setChecked(o.checked);
    oCheckBox[static_cast<std::size_t>(o.n)] = box;
    y += 19;
  }
  y += 6;
  auto mark = [&](platform::Edit*& edit, const char* name, const char* text, const char* label) {
    edit = ui::MakeTyped(options, name, label, text, 1, 10, y, 28, 24);
    ui::MakeLabel(options, label, 46, y + 1, 400, 22)->setBuddy(edit);
    y += 28;
  };
  mark(MinusMark, "MinusMark", "M", "Minus Mark - for out of limits (default M)");
  mark(PlusMark, "PlusMark", "P", "Plus Mark - for out of limits (default P)");
  y += 4;
  StringStr1 =
      ui::MakeTyped(options, "StringStr1", "Option string", other::kDefaultOptionText, 16, 10, y,
                    200, 24);
  StringStr1->setReadOnly(true);
  {
    QFont mono("Monospace");
    mono.setStyleHint(QFont::TypeWriter);
    StringStr1->setFont(mono);
  }
  GetOther = MakeButton(options, "GetOther", "GET", 224, y - 1, 100);
  SetOther = MakeButton(options, "SetOther", "SET", 334, y - 1, 100);

  // ---- "Timeout Filter" --------------------------------------------------------------
  auto* filters = ui::MakeGroup(page, "GroupTimeoutFilter", "Timeout Filter", 488, 4, 356, 148);
  QScrollBar* tBar = FilterRow(filters, "Temp. Timeout Filter ", "TTimeout1SB", "TTimeout1",
                               TTimeout1, 99, 22, 176, 114);
  QScrollBar* aBar = FilterRow(filters, "Analog Timeout Filter ", "ATimeout1SB", "ATimeout1",
                               ATimeout1, 99, 52, 176, 114);
  QScrollBar* dBar = FilterRow(filters, "Digital Input Signal Filter", "DFilterSB", "DFilter",
                               DFilter, 9, 82, 176, 114);
  SetTimeoutFilter = MakeButton(filters, "SetTimeoutFilter", "Set Timeout Filter", 186, 112, 160);

  // ---- date/time source and automatic restart ------------------------------------------
  RadioGroup2 = new platform::RadioGroup("Date/Time syncronization source", page);
  RadioGroup2->setObjectName("RadioGroup2");
  RadioGroup2->setAccessibleName("Date/Time syncronization source");
  RadioGroup2->SetItems({"FTP", "RTC", "NITZ-RTC", "NITZ-MODEM", "MODEM", "RTC-NITZ-MODEM",
                         "RTC-MODEM"},
                        2);
  RadioGroup2->SetItemIndex(2);
  RadioGroup2->setGeometry(488, 158, 356, 130);
  Button1 = MakeButton(page, "Button1", "Date/Time source", 674, 294, 170);

  auto* restart = ui::MakeGroup(page, "GroupRestart", "Restart", 488, 322, 356, 52);
  RestartEnable =
      ui::MakeCheck(restart, "RestartEnable", "Restart Enable", "Restart Enable", 10, 20, 160, 22);
  Button19 = MakeButton(restart, "Button19", "WR", 276, 21, 70);
  Button19->setAccessibleName("Write Restart Enable");

  // ---- each filter alone on the page of its inputs --------------------------------------
  auto twin = [](QWidget* pageOfInputs, const char* group, int x, int y) {
    return ui::MakeGroup(pageOfInputs, group, "Timeout Filter", x, y, 340, 84);
  };
  QWidget* tBox = twin(Pages[6], "GroupTTimeoutFilter", 362, 274);
  QScrollBar* tTwin = FilterRow(tBox, "Temp. Timeout Filter ", "TTimeout1SBt", "TTimeout1t",
                                TTimeout1t, 99, 20, 170, 110);
  SetTtimeoutFilter = MakeButton(tBox, "SetTtimeoutFilter", "Set Timeout Filter", 180, 50, 150);

  QWidget* aBox = twin(Pages[5], "GroupATimeoutFilter", 360, 284);
  QScrollBar* aTwin = FilterRow(aBox, "Analog Timeout Filter ", "ATimeout1SBa", "ATimeout1a",
                                ATimeout1a, 99, 20, 170, 110);
  SetTimeoutAnalogFilter =
      MakeButton(aBox, "SetTimeoutAnalogFilter", "Timeout Filter", 180, 50, 150);
  SetTimeoutAnalogFilter->setAccessibleName("Set Analog Timeout Filter");

  QWidget* dBox = twin(Pages[8], "GroupDTimeoutFilter", 500, 284);
  QScrollBar* dTwin = FilterRow(dBox, "Digital Input Signal Filter", "DFilterSBd", "DFilterD",
                                DFilterD, 9, 20, 170, 110);
  SetDtimeoutFilter = MakeButton(dBox, "SetDtimeoutFilter", "Set Timeout Filter", 180, 50, 150);

  // ---- handlers, each inside Guard -------------------------------------------------------
  ui::OnClick(this, SetTimeoutFilter, [this] { SetTimeoutFilterClick(); });
  ui::OnChange(this, tBar, [this] { TTimeout1SBChange(); });
  ui::OnChange(this, aBar, [this] { ATimeout1SBChange(); });
  ui::OnChange(this, dBar, [this] { DFilterSBChange(); });
  ui::OnClick(this, SetTtimeoutFilter, [this] { SetTtimeoutFilterClick(); });
  ui::OnClick(this, SetTimeoutAnalogFilter, [this] { SetTimeoutAnalogFilterClick(); });
  ui::OnClick(this, SetDtimeoutFilter, [this] { SetDtimeoutFilterClick(); });
  ui::OnChange(this, tTwin, [this] { TTimeout1SBtChange(); });
  ui::OnChange(this, aTwin, [this] { ATimeout1SBaChange(); });
  ui::OnChange(this, dTwin, [this] { DFilterSBdChange(); });

  for (const OptionBox& o : kOptionBoxes) {
    const int n = o.n;
    ui::OnToggle(this, oCheckBox[static_cast<std::size_t>(n)], [this, n] { oCheckBoxClick(n); });
  }
  ui::OnSignal(this, MinusMark, &QLineEdit::textChanged, [this] { MinusMarkChange(); });
  ui::OnSignal(this, PlusMark, &QLineEdit::textChanged, [this] { PlusMarkChange(); });
  ui::OnClick(this, SetOther, [this] { SetOtherClick(); });
  ui::OnClick(this, GetOther, [this] { GetOtherClick(); });
  ui::OnClick(this, Button1, [this] { Button1Click(); });
  ui::OnClick(this, Button19, [this] { RestartEnableClick(); });
}

// ---- filters -------------------------------------------------------------------------

void TForm1::SetTimeoutFilterClick() {
  RunCommand(other::AllFiltersCommand(ui::BarPosition(this, "TTimeout1SB", 0),
                                      ui::BarPosition(this, "ATimeout1SB", 0),
                                      ui::BarPosition(this, "DFilterSB", 0)));
}

void TForm1::SetTtimeoutFilterClick() {
  RunCommand(other::TemperatureFilterCommand(ui::Text(TTimeout1t)));
}

void TForm1::SetTimeoutAnalogFilterClick() {
  RunCommand(other::AnalogFilterCommand(ui::Text(ATimeout1a)));
}

void TForm1::SetDtimeoutFilterClick() {
  RunCommand(other::DigitalFilterCommand(ui::Text(DFilterD)));
}

// Each bar sets its twin on the other page; the exchange stops because setting a bar to the
// position it already has raises no change.
namespace {
// Time-out bar `bar` moved: its twin follows, and both edits show the position in two digits.
void MirrorTimeout(QObject* root, const char* bar, const char* twinBar, QLineEdit* edit,
                   QLineEdit* twinEdit) {
  const int pos = ui::BarPosition(root, bar, 0);
  ui::SetNamedBar(root, twinBar, pos);
  const std::string text = other::TwoDigitText(pos);
  ui::SetText(edit, text);
  ui::SetText(twinEdit, text);
}
}  // namespace

void TForm1::TTimeout1SBChange() {
  MirrorTimeout(this, "TTimeout1SB", "TTimeout1SBt", TTimeout1, TTimeout1t);
}
void TForm1::TTimeout1SBtChange() {
  MirrorTimeout(this, "TTimeout1SBt", "TTimeout1SB", TTimeout1t, TTimeout1);
}
void TForm1::ATimeout1SBChange() {
  MirrorTimeout(this, "ATimeout1SB", "ATimeout1SBa", ATimeout1, ATimeout1a);
}
void TForm1::ATimeout1SBaChange() {
  MirrorTimeout(this, "ATimeout1SBa", "ATimeout1SB", ATimeout1a, ATimeout1);
}

void TForm1::DFilterSBChange() {
  const int pos = ui::BarPosition(this, "DFilterSB", 0);
  ui::SetText(DFilter, ui::Dec(pos));
  ui::SetNamedBar(this, "DFilterSBd", pos);
  ui::SetText(DFilterD, ui::Dec(ui::BarPosition(this, "DFilterSBd", 0)));
}

void TForm1::DFilterSBdChange() {
  const int pos = ui::BarPosition(this, "DFilterSBd", 0);
  ui::SetText(DFilterD, ui::Dec(pos));
  ui::SetNamedBar(this, "DFilterSB", pos);
  ui::SetText(DFilter, ui::Dec(ui::BarPosition(this, "DFilterSB", 0)));
}

// ---- option text ---------------------------------------------------------------------

void TForm1::oCheckBoxClick(int n) {
  if (n < 3 || n > 15) return;
  const bool on = oCheckBox[static_cast<std::size_t>(n)]->isChecked();
  ui::SetText(StringStr1, other::WithOptionChar(ui::Text(StringStr1), n, on ? 'E' : 'D'));
}

// An emptied mark edit leaves its character as it was until a new mark is typed.
void TForm1::MinusMarkChange() {
  const std::string mark = ui::Text(MinusMark);
  if (mark.empty()) return;
  ui::SetText(StringStr1, other::WithOptionChar(ui::Text(StringStr1), 1, mark[0]));
}

void TForm1::PlusMarkChange() {
  const std::string mark = ui::Text(PlusMark);
  if (mark.empty()) return;
  ui::SetText(StringStr1, other::WithOptionChar(ui::Text(StringStr1), 2, mark[0]));
}

void TForm1::SetOtherClick() {
  Clear();
  const std::string current = ui::Text(StringStr1);
  if (current.size() < other::kOptionTextLength)
    ui::SetText(StringStr1, other::PaddedOptionText(current));
  OptionString = other::PaddedOptionText(ui::Text(StringStr1));
  const std::string command = "SETMP " + OptionString;
  SendSMS(command);
  ui::SetMemoText(MemoS, command);
  MemoSMSinput->clear();
  ReplyReady = true;
}

void TForm1::GetOtherClick() {
  Clear();
  SendSMS("GETMP");
  ui::SetMemoText(MemoS, "GETMP");
  ReplyReady = true;
}

// ---- time source and automatic restart: both leave RawATMode and ReplyReady alone ----------

void TForm1::Button1Click() {
  RunCommandNoClear(other::TimeSourceCommand(RadioGroup2->ItemIndex()));
}

void TForm1::RestartEnableClick() {
  RunCommandNoClear(RestartEnable->isChecked() ? "RSTEN1" : "RSTEN0");
}

}  // namespace configurator
