// Page "Other": the option text with its thirteen option boxes and two marks, the device's
// date/time source, its automatic restart, and the "Timeout Filter" group. Each filter also
// stands alone on the page of its inputs ("Temperature/Counter", "Analog", "IO control"),
// whose files build it and bind it to the filter handlers here; the two bars of a filter set
// each other.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/core/other.h"
#include "configurator/pagebuild.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"
#include "serial/displayunit.h"

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

}  // namespace

void TForm1::BuildOtherPage() {
  QWidget* page = PageOf(Page::Other);

  // ---- option text -------------------------------------------------------------------
  auto* options = ui::MakeGroup(page, "GroupOptions", "Options", 6, 4, 474, 370);
  int y = 18;
  for (const OptionBox& o : kOptionBoxes) {
    auto* box = ui::MakeCheck(options, platform::Nr("oCheckBox", o.n), o.caption,
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
  StringStr1 = ui::MakeTyped(options, "StringStr1", "Option string", other::kDefaultOptionText, 16,
                             10, y, 200, 24);
  StringStr1->setReadOnly(true);
  platform::OnFirstShow(StringStr1, [e = StringStr1] {
    QFont mono("Monospace");
    mono.setStyleHint(QFont::TypeWriter);
    e->setFont(mono);
  });
  GetOther = MakeButton(options, "GetOther", "GET", 224, y - 1, 100);
  SetOther = MakeButton(options, "SetOther", "SET", 334, y - 1, 100);

  // ---- "Timeout Filter" --------------------------------------------------------------
  auto* filters = ui::MakeGroup(page, "GroupTimeoutFilter", "Timeout Filter", 488, 4, 356, 148);
  TTimeout1SB = ui::MakeFilterRow(filters, "Temp. Timeout Filter ", "TTimeout1SB", "TTimeout1",
                                  TTimeout1, 99, 22, 176, 114);
  ATimeout1SB = ui::MakeFilterRow(filters, "Analog Timeout Filter ", "ATimeout1SB", "ATimeout1",
                                  ATimeout1, 99, 52, 176, 114);
  DFilterSB = ui::MakeFilterRow(filters, "Digital Input Signal Filter", "DFilterSB", "DFilter",
                                DFilter, 9, 82, 176, 114);
  SetTimeoutFilter = MakeButton(filters, "SetTimeoutFilter", "Set Timeout Filter", 186, 112, 160);

  // ---- date/time source and automatic restart ------------------------------------------
  RadioGroup2 = new platform::RadioGroup("Date/Time syncronization source", page);
  RadioGroup2->setObjectName("RadioGroup2");
  RadioGroup2->setAccessibleName("Date/Time syncronization source");
  RadioGroup2->SetItems(
      {"FTP", "RTC", "NITZ-RTC", "NITZ-MODEM", "MODEM", "RTC-NITZ-MODEM", "RTC-MODEM"}, 2);
  RadioGroup2->SetItemIndex(2);
  RadioGroup2->setGeometry(488, 158, 356, 130);
  Button1 = MakeButton(page, "Button1", "Date/Time source", 674, 294, 170);

  auto* restart = ui::MakeGroup(page, "GroupRestart", "Restart", 488, 322, 356, 52);
  RestartEnable =
      ui::MakeCheck(restart, "RestartEnable", "Restart Enable", "Restart Enable", 10, 20, 160, 22);
  Button19 = MakeButton(restart, "Button19", "WR", 276, 21, 70);
  Button19->setAccessibleName("Write Restart Enable");

  // ---- handlers, each inside Guard -------------------------------------------------------
  platform::OnClick(this, SetTimeoutFilter, [this] { SetTimeoutFilterClick(); });
  platform::OnChange(this, TTimeout1SB, [this] { TTimeout1SBChange(); });
  platform::OnChange(this, ATimeout1SB, [this] { ATimeout1SBChange(); });
  platform::OnChange(this, DFilterSB, [this] { DFilterSBChange(); });

  for (const OptionBox& o : kOptionBoxes) {
    const int n = o.n;
    platform::OnToggle(this, oCheckBox[static_cast<std::size_t>(n)],
                       [this, n] { oCheckBoxClick(n); });
  }
  platform::OnSignal(this, MinusMark, &QLineEdit::textChanged, [this] { MinusMarkChange(); });
  platform::OnSignal(this, PlusMark, &QLineEdit::textChanged, [this] { PlusMarkChange(); });
  platform::OnClick(this, SetOther, [this] { SetOtherClick(); });
  platform::OnClick(this, GetOther, [this] { GetOtherClick(); });
  platform::OnClick(this, Button1, [this] { Button1Click(); });
  platform::OnClick(this, Button19, [this] { RestartEnableClick(); });
}

// ---- settings -------------------------------------------------------------------------

void TForm1::RestoreFilters(const TSetupConfig& c) {
  // The twins on the input pages and all six edits follow through the mirror handlers.
  DFilterSB->setValue(c.DFilterSB);
  TTimeout1SB->setValue(c.TTimeout1SB);
  ATimeout1SB->setValue(c.ATimeout1SB);
}

void TForm1::RestoreOptionString(TSetupConfig& c) {
  // The option text padded with as many blanks as it has characters, at most 16.
  const std::string o = GetText(c.OptionString);
  OptionString = (o + std::string(o.size(), ' ')).substr(0, 16);
  PutText(c.OptionString, OptionString);
}

void TForm1::StoreOtherPage(TSetupConfig& c) const {
  c.DFilterSB = DFilterSB->value();
  c.TTimeout1SB = TTimeout1SB->value();
  c.ATimeout1SB = ATimeout1SB->value();
  PutText(c.OptionString, OptionString);
}

// ---- filters -------------------------------------------------------------------------

void TForm1::SetTimeoutFilterClick() {
  RunCommand(
      other::AllFiltersCommand(TTimeout1SB->value(), ATimeout1SB->value(), DFilterSB->value()));
}

void TForm1::SetTtimeoutFilterClick() {
  RunCommand(other::TemperatureFilterCommand(platform::Text(TTimeout1t)));
}

void TForm1::SetTimeoutAnalogFilterClick() {
  RunCommand(other::AnalogFilterCommand(platform::Text(ATimeout1a)));
}

void TForm1::SetDtimeoutFilterClick() {
  RunCommand(other::DigitalFilterCommand(platform::Text(DFilterD)));
}

// Each bar sets its twin on the other page; the exchange stops because setting a bar to the
// position it already has raises no change.
namespace {
// Time-out bar `bar` moved: its twin follows, and both edits show the position in two digits.
void MirrorTimeout(const QScrollBar* bar, QScrollBar* twinBar, QLineEdit* edit,
                   QLineEdit* twinEdit) {
  const int pos = bar->value();
  twinBar->setValue(pos);
  const std::string text = other::TwoDigitText(pos);
  platform::SetText(edit, text);
  platform::SetText(twinEdit, text);
}
}  // namespace

void TForm1::TTimeout1SBChange() {
  MirrorTimeout(TTimeout1SB, TTimeout1SBt, TTimeout1, TTimeout1t);
}
void TForm1::TTimeout1SBtChange() {
  MirrorTimeout(TTimeout1SBt, TTimeout1SB, TTimeout1t, TTimeout1);
}
void TForm1::ATimeout1SBChange() {
  MirrorTimeout(ATimeout1SB, ATimeout1SBa, ATimeout1, ATimeout1a);
}
void TForm1::ATimeout1SBaChange() {
  MirrorTimeout(ATimeout1SBa, ATimeout1SB, ATimeout1a, ATimeout1);
}

void TForm1::DFilterSBChange() {
  const int pos = DFilterSB->value();
  platform::SetText(DFilter, ui::Dec(pos));
  DFilterSBd->setValue(pos);
  platform::SetText(DFilterD, ui::Dec(DFilterSBd->value()));
}

void TForm1::DFilterSBdChange() {
  const int pos = DFilterSBd->value();
  platform::SetText(DFilterD, ui::Dec(pos));
  DFilterSB->setValue(pos);
  platform::SetText(DFilter, ui::Dec(DFilterSB->value()));
}

// ---- option text ---------------------------------------------------------------------

void TForm1::oCheckBoxClick(int n) {
  if (n < 3 || n > 15) return;
  const bool on = oCheckBox[static_cast<std::size_t>(n)]->isChecked();
  platform::SetText(StringStr1,
                    other::WithOptionChar(platform::Text(StringStr1), n, on ? 'E' : 'D'));
}

// An emptied mark edit leaves its character as it was until a new mark is typed.
void TForm1::MinusMarkChange() {
  const std::string mark = platform::Text(MinusMark);
  if (mark.empty()) return;
  platform::SetText(StringStr1, other::WithOptionChar(platform::Text(StringStr1), 1, mark[0]));
}

void TForm1::PlusMarkChange() {
  const std::string mark = platform::Text(PlusMark);
  if (mark.empty()) return;
  platform::SetText(StringStr1, other::WithOptionChar(platform::Text(StringStr1), 2, mark[0]));
}

void TForm1::SetOtherClick() {
  Clear();
  const std::string current = platform::Text(StringStr1);
  if (current.size() < other::kOptionTextLength)
    platform::SetText(StringStr1, other::PaddedOptionText(current));
  OptionString = other::PaddedOptionText(platform::Text(StringStr1));
  const std::string command = "SETMP " + OptionString;
  SendSMS(command, Line::AwaitReply);
  ui::SetMemoText(MemoS, command);
  MemoSMSinput->clear();
}

void TForm1::GetOtherClick() {
  Clear();
  SendSMS("GETMP", Line::AwaitReply);
  ui::SetMemoText(MemoS, "GETMP");
}

// ---- time source and automatic restart: both leave RawATMode and ReplyReady alone ----------

void TForm1::Button1Click() {
  RunCommandNoClear(other::TimeSourceCommand(RadioGroup2->ItemIndex()));
}

void TForm1::RestartEnableClick() {
  RunCommandNoClear(RestartEnable->isChecked() ? "RSTEN1" : "RSTEN0");
}

}  // namespace configurator
