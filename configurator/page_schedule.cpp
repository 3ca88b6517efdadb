// Page "SMS Shedule": the scheduled report SMS. Its controls edit ScheduleString character by
// character; "SET" sends the whole text, "Write" the numbers that receive it.
#include <algorithm>

#include <QCheckBox>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/pagebuild.h"
#include "configurator/core/schedule.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"

namespace configurator {

namespace {
// Horizontal centre of the handle of `bar` at `value`, in the bar's parent.
int HandleCentre(const QSlider* bar, int value) {
  QStyleOptionSlider opt;
  opt.initFrom(bar);
  opt.orientation = Qt::Horizontal;
  opt.minimum = bar->minimum();
  opt.maximum = bar->maximum();
  opt.sliderPosition = opt.sliderValue = bar->minimum();
  opt.tickPosition = bar->tickPosition();
  const QRect handle =
      bar->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, bar);
  const int len = handle.width();
  const int offset =
      QStyle::sliderPositionFromValue(bar->minimum(), bar->maximum(), value, bar->width() - len);
  return bar->x() + len / 2 + offset;
}

TScheduleControls ReadControls(const TForm1& f) {
  TScheduleControls c;
  c.type = f.SMSShed->ItemIndex();
  c.period = f.RadioGroup1->ItemIndex();
  for (int n = 1; n <= 4; ++n) {
    c.enabled[static_cast<std::size_t>(n - 1)] =
        f.CheckBoxS[static_cast<std::size_t>(n)]->isChecked();
    c.hour[static_cast<std::size_t>(n - 1)] = f.TrackBar[static_cast<std::size_t>(n)]->value();
  }
  return c;
}
}  // namespace

void TForm1::BuildSchedulePage() {
  QWidget* page = PageOf(Page::Schedule);

  SMSShed = new platform::RadioGroup("SMS Type", page);
  SMSShed->setObjectName("SMSShed");
  SMSShed->SetItems({"Analog", "Counters", "Temperature", "DataLogger", "Disable"});
  SMSShed->setGeometry(8, 8, 164, 160);
  SMSShed->SetItemIndex(0);

  RadioGroup1 = new platform::RadioGroup("Timeout", page);
  RadioGroup1->setObjectName("RadioGroup1");
  RadioGroup1->SetItems({"Hours", "10 min", "20 min", "30 min", "other"});
  RadioGroup1->setGeometry(180, 8, 164, 160);
  RadioGroup1->SetItemIndex(0);

  GetShedule = ui::MakeButton(page, "GetShedule", "GET", "GET", 8, 178, 164, 28);
  SetShedule = ui::MakeButton(page, "SetShedule", "SET", "SET", 180, 178, 164, 28);

  // Numbers 3, 2, 1 side by side under their digits of the label.
  auto* numbers = ui::MakeGroup(page, "GroupScheduleNumbers", "SMS To Numeers", 8, 218, 336, 120);
  auto* numLabel = new QLabel("Number 3   2   1", numbers);
  numLabel->setObjectName("LabelScheduleNumbers");
  numLabel->setGeometry(12, 24, 200, 18);
  {
    const QFontMetrics fm(numLabel->font());
    const QString text = numLabel->text();
    auto under = [&](int index) {
      return 12 + fm.horizontalAdvance(text.left(index)) + fm.horizontalAdvance(text[index]) / 2 -
             8;
    };
    CheckBox2 = ui::MakeCheck(numbers, "CheckBox2", "", "Number 3", under(7), 46, 20, 22);
    CheckBox3 = ui::MakeCheck(numbers, "CheckBox3", "", "Number 2", under(11), 46, 20, 22);
    CheckBox4 = ui::MakeCheck(numbers, "CheckBox4", "Select numbers for Shedule SMS", "Number 1",
                              under(15), 46, 326 - under(15), 22);
  }
  CheckBox4->setChecked(true);
  // The value follows the boxes from the start, so "Write" sends what the boxes show.
  ScheduleNumberBits = 1;
  Button36 = ui::MakeButton(numbers, "Button36", "Write", "Write", 12, 80, 100, 28);

  // Hour slots: one scale of the hours over four track bars, each with its "Enable" box.
  auto* hours = ui::MakeGroup(page, "GroupScheduleHours", "Hours", 352, 8, 496, 330);
  for (int n = 1; n <= 4; ++n) {
    const int y = 52 + (n - 1) * 68;
    auto* bar = new QSlider(Qt::Horizontal, hours);
    bar->setObjectName(platform::Nr("TrackBar", n));
    bar->setAccessibleName(QString("Hour %1").arg(n));
    bar->setRange(0, 23);
    bar->setPageStep(1);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setTickInterval(1);
    bar->setGeometry(84, y, 402, 36);
    platform::SetTrackPosition(bar, 0);
    TrackBar[static_cast<std::size_t>(n)] = bar;
    CheckBoxS[static_cast<std::size_t>(n)] =
        ui::MakeCheck(hours, platform::Nr("CheckBoxS", n), "Enable",
                      QString("Enable hour %1").arg(n), 10, y + 6, 72, 22);
  }
  auto* scale = new QWidget(hours);
  scale->setObjectName("ScheduleHourScale");
  scale->setAccessibleName("Hours 0 to 23");
  scale->setGeometry(0, 28, 496, 20);
  // Each hour gets the room between two ticks; the font is the largest (at most 85 % of the
  // page's) whose two-digit hours leave a blank's width to their neighbours.
  int pitch = 1 << 16;
  for (int h = 0; h < 23; ++h)
    pitch = std::min(pitch, HandleCentre(TrackBar[1], h + 1) - HandleCentre(TrackBar[1], h));
  for (int h = 0; h <= 23; ++h) {
    auto* l = new QLabel(QString::number(h), scale);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    const int x = HandleCentre(TrackBar[1], h);
    l->setGeometry(x - pitch / 2, 0, pitch, 18);
  }
  // The fitting measures a font of its own: done when the page is first shown.
  platform::OnFirstShow(scale, [scale, pitch] {
    QFont scaleFont = scale->font();
    scaleFont.setPointSizeF(scaleFont.pointSizeF() * 0.85);
    for (;;) {
      const QFontMetrics fm(scaleFont);
      int widest = 0;
      for (int h = 10; h <= 23; ++h)
        widest = std::max(widest, fm.horizontalAdvance(QString::number(h)));
      if (widest + fm.horizontalAdvance(' ') <= pitch || scaleFont.pointSizeF() <= 6) break;
      scaleFont.setPointSizeF(scaleFont.pointSizeF() - 0.25);
    }
    scale->setFont(scaleFont);
    // Each hour its own: the pages' style sheet gives children the page font.
    for (QLabel* l : scale->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
      l->setFont(scaleFont);
  });

  // Handlers, each inside Guard as every handler of the window.
  platform::OnSignal(this, SMSShed, &platform::RadioGroup::Click, [this] { SMSShedClick(); });
  platform::OnSignal(this, RadioGroup1, &platform::RadioGroup::Click,
                     [this] { RadioGroup1Click(); });
  for (int n = 1; n <= 4; ++n) {
    platform::OnChange(this, TrackBar[static_cast<std::size_t>(n)],
                       [this, n] { TrackBarChange(n); });
    platform::OnToggle(this, CheckBoxS[static_cast<std::size_t>(n)],
                       [this, n] { CheckBoxSClick(n); });
  }
  platform::OnClick(this, GetShedule, [this] { GetSheduleClick(); });
  platform::OnClick(this, SetShedule, [this] { SetSheduleClick(); });
  platform::OnToggle(this, CheckBox2, [this] { CheckBox2Click(); });
  platform::OnToggle(this, CheckBox3, [this] { CheckBox3Click(); });
  platform::OnToggle(this, CheckBox4, [this] { CheckBox4Click(); });
  platform::OnClick(this, Button36, [this] { Button36Click(); });
}

void TForm1::SMSShedClick() {
  PutScheduleChars(ScheduleString, 0, std::string(1, ScheduleTypeChar(SMSShed->ItemIndex())));
}

void TForm1::RadioGroup1Click() {
  PutScheduleChars(ScheduleString, 1, SchedulePeriodCode(RadioGroup1->ItemIndex()));
}

void TForm1::TrackBarChange(int n) {
  const auto i = static_cast<std::size_t>(n);
  if (CheckBoxS[i]->isChecked())
    PutScheduleChars(ScheduleString, ScheduleSlotPos(n), ScheduleHour(TrackBar[i]->value()));
}

void TForm1::CheckBoxSClick(int n) {
  if (!CheckBoxS[static_cast<std::size_t>(n)]->isChecked())
    PutScheduleChars(ScheduleString, ScheduleSlotPos(n), "  ");
}

void TForm1::SetSheduleClick() {
  Clear();
  ScheduleString = BuildScheduleString(ScheduleString, ReadControls(*this));
  const std::string command = "SETSH," + ScheduleString;
  SendSMS(command, Line::AwaitReply);
  // The sent memo shows the command itself, wherever the terminal output's line stands.
  ui::SetMemoText(MemoS, command);
  MemoSMSinput->clear();
}

void TForm1::GetSheduleClick() {
  Clear();
  SendSMS("GETSH", Line::AwaitReply);
  ui::SetMemoText(MemoS, "GETSH");
}

void TForm1::CheckBox2Click() {
  ScheduleNumberBits =
      CheckBox2->isChecked() ? (ScheduleNumberBits | 4) : (ScheduleNumberBits & ~4);
}
void TForm1::CheckBox3Click() {
  ScheduleNumberBits =
      CheckBox3->isChecked() ? (ScheduleNumberBits | 2) : (ScheduleNumberBits & ~2);
}
void TForm1::CheckBox4Click() {
  ScheduleNumberBits =
      CheckBox4->isChecked() ? (ScheduleNumberBits | 1) : (ScheduleNumberBits & ~1);
}

void TForm1::Button36Click() {
  if (ScheduleNumberBits > 7) ScheduleNumberBits = 0;
  RunCommandNoClear(ScheduleNumbersCommand(ScheduleNumberBits));
}

void TForm1::RestoreSchedule(const TSetupConfig& c) {
  ScheduleString = GetText(c.ScheduleString);
  DecodeScheduleString();
}

void TForm1::StoreSchedule(TSetupConfig& c) const {
  PutText(c.ScheduleString, ScheduleString);
  c.Byte4017 = 0;
}

void TForm1::DecodeScheduleString() {
  // A stored text shorter than the schedule is taken as padded with blanks.
  if (!ScheduleString.empty() && ScheduleString.size() < kScheduleLength)
    ScheduleString.resize(kScheduleLength, ' ');
  const TScheduleControls c = DecodeSchedule(ScheduleString);
  // Setting a box or a group raises its click where its state changes; a track bar's
  // position is set silently. The handlers then rewrite what the string already holds.
  for (int n = 1; n <= 4; ++n) {
    const auto i = static_cast<std::size_t>(n);
    if (c.hour[i - 1] >= 0) platform::SetTrackPosition(TrackBar[i], c.hour[i - 1]);
    CheckBoxS[i]->setChecked(c.enabled[i - 1]);
  }
  SMSShed->SetItemIndex(c.type);
  RadioGroup1->SetItemIndex(c.period);
}

}  // namespace configurator
