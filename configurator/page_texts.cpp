// Pages "External SMS", "Int/Ext SMS" and "IOname": the device's alarm texts and the names
// of the input and output states, one edit and one write/read button per text slot, and a
// "Read" box per page that turns the page's buttons into read buttons.
//
// The edits are the only copy of the texts on this side: answers come back into them
// through the page parse of the tick, start-up fills them from the settings file and the
// save takes them from there.
#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "configurator/form.h"
#include "platform/messagebox.h"
#include "configurator/formutil.h"
#include "configurator/pagebuild.h"
#include "configurator/core/texts.h"
#include "platform/core/cp1252.h"
#include "platform/widgets.h"

namespace configurator {

namespace {
// Grid of the two alarm text pages (pixels within the page).
constexpr int kRowPitch = 26;
constexpr int kEditHeight = 22;
constexpr int kEditWidth = 100;
constexpr int kButtonWidth = 30;
constexpr int kCellWidth = kEditWidth + 2 + kButtonWidth + 8;  // edit, button and the gap after
constexpr int kHeaderY = 6;
constexpr int kFirstRowY = 26;
constexpr int kLeftLabelX = 8;
constexpr int kLeftFirstCellX = 86;
// Row captions of the left grid reach up to the first edit ("Analog.Inp.8" needs all of it).
constexpr int kRowLabelWidth = kLeftFirstCellX - kLeftLabelX - 2;
constexpr int kRightLabelX = 512;
constexpr int kRightFirstCellX = 570;

// Labels of the grids are as high as the edits.
QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int w,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  return ui::MakeLabel(parent, text, x, y, w, kEditHeight, align);
}

// A column caption centred over its cell (edit and button).
void ColumnCaption(QWidget* parent, const QString& text, int cellX, int y) {
  MakeLabel(parent, text, cellX, y, kEditWidth + 2 + kButtonWidth, Qt::AlignCenter);
}

// The edit of a text slot, empty until the start-up puts its text in.
platform::Edit* MakeTextEdit(QWidget* parent, const QString& name, const QString& accessible,
                             int maxLength, int x, int y, int w) {
  return ui::MakeTyped(parent, name, accessible, QString(), maxLength, x, y, w, kEditHeight);
}

// The bold "WR" button of a text slot; its description says which text it writes.
QPushButton* MakeTextButton(QWidget* parent, const QString& name, const QString& what, int x,
                            int y) {
  auto* b = ui::MakeButton(parent, name, "WR", "WR", x, y, kButtonWidth, kEditHeight);
  b->setAccessibleDescription(what);
  QFont bold = b->font();
  bold.setBold(true);
  b->setFont(bold);
  return b;
}

QCheckBox* MakeReadBox(QWidget* page, const char* name, int x, int y) {
  return ui::MakeCheck(page, name, "Read", "Read", x, y, 70, kEditHeight);
}

// "WR" while the page writes, "RD" while its "Read" box is checked.
void Recaption(QPushButton* b, bool read) {
  if (!b) return;
  const QString caption = read ? "RD" : "WR";
  platform::SetCaption(b, caption);
}
}  // namespace

void TForm1::BuildTextPages() {
  // The two alarm text pages share one grid: temperature and analog rows under the three
  // level events on the left, the digital inputs under their two events on the right.
  // `shortTexts` picks the Int/Ext SMS page (short table, names with an "i" in front).
  auto buildAlarmGrid = [this](QWidget* page, bool shortTexts) {
    const char* editStem = shortTexts ? "iTXTSMS" : "TXTSMS";
    const char* buttonStem = shortTexts ? "iTXTSMSb" : "TXTSMSb";
    const int maxLength = shortTexts ? kShortTextMaxLength : kLongTextMaxLength;
    auto cell = [&](int slot, const QString& what, int x, int y) {
      platform::Edit* e =
          MakeTextEdit(page, platform::Nr(editStem, slot), what, maxLength, x, y, kEditWidth);
      QPushButton* b =
          MakeTextButton(page, platform::Nr(buttonStem, slot), what, x + kEditWidth + 2, y);
      const auto i = static_cast<std::size_t>(slot);
      if (shortTexts) {
        iTXTSMS[i] = e;
        iTXTSMSb[i] = b;
        platform::OnClick(this, b, [this, slot] { iTXTSMSbClick(slot); });
      } else {
        TXTSMS[i] = e;
        TXTSMSb[i] = b;
        platform::OnClick(this, b, [this, slot] { TXTSMSbClick(slot); });
      }
    };

    for (int ev = 0; ev < 3; ++ev)
      ColumnCaption(page, QString::fromStdString(LevelEventCaption(ev)),
                    kLeftFirstCellX + ev * kCellWidth, kHeaderY);
    const QString prefix = shortTexts ? "i" : "";
    for (int row = 0; row < 11; ++row) {
      const int y = kFirstRowY + row * kRowPitch;
      const bool temperature = row < 3;
      const int input = temperature ? row + 1 : row - 2;
      const QString caption = QString::fromStdString(temperature ? TemperatureRowCaption(input)
                                                                 : AnalogRowCaption(input));
      QLabel* label = MakeLabel(page, caption, kLeftLabelX, y, kRowLabelWidth);
      if (temperature && input > 1) {
        label->setObjectName(prefix + platform::Nr("LabelT", input));
        // The run-time meter's caption lies at the same place; the model variant shows
        // one of the two.
        QLabel* rt =
            MakeLabel(page, platform::Nr("RUNTIME", input - 1), kLeftLabelX, y, kRowLabelWidth);
        rt->setObjectName(prefix + platform::Nr("LabelRT", input - 1));
        rt->setVisible(false);
        QLabel*& t =
            input == 2 ? (shortTexts ? iLabelT2 : LabelT2) : (shortTexts ? iLabelT3 : LabelT3);
        QLabel*& r =
            input == 2 ? (shortTexts ? iLabelRT1 : LabelRT1) : (shortTexts ? iLabelRT2 : LabelRT2);
        t = label;
        r = rt;
      }
      for (int ev = 0; ev < 3; ++ev) {
        const int slot = temperature ? TemperatureSlot(input, ev) : AnalogSlot(input, ev);
        cell(slot, caption + " " + QString::fromStdString(LevelEventCaption(ev)),
             kLeftFirstCellX + ev * kCellWidth, y);
      }
    }

    for (int ev = 0; ev < 2; ++ev)
      ColumnCaption(page, QString::fromStdString(DigitalEventCaption(ev)),
                    kRightFirstCellX + ev * kCellWidth, kHeaderY);
    for (int input = 1; input <= 12; ++input) {
      const int y = kFirstRowY + (input - 1) * kRowPitch;
      const QString caption = platform::Nr("Input ", input);
      MakeLabel(page, caption, kRightLabelX, y, kRightFirstCellX - kRightLabelX - 4);
      for (int ev = 0; ev < 2; ++ev)
        cell(DigitalEventSlot(input, ev),
             caption + " " + QString::fromStdString(DigitalEventCaption(ev)),
             kRightFirstCellX + ev * kCellWidth, y);
    }
  };

  const int readBoxY = kFirstRowY + 12 * kRowPitch + 6;
  const int readBoxX = kRightFirstCellX + 2 * kCellWidth - 8 - 70;

  // "External SMS": long texts 1..57.
  QWidget* external = PageOf(Page::ExternalSMS);
  buildAlarmGrid(external, false);
  GetTextBox = MakeReadBox(external, "GetText", readBoxX, readBoxY);
  platform::OnToggle(this, GetTextBox, [this] { GetTextClick(); });

  // "Int/Ext SMS": short texts 1..57 and how such a text is formed.
  QWidget* internal = PageOf(Page::IntExtSMS);
  buildAlarmGrid(internal, true);
  {
    const int y = kFirstRowY + 11 * kRowPitch + 4;
    const int lineHeight = 17;
    auto line = [internal](const char* text, int x, int y, int w) {
      ui::MakeLabel(internal, text, x, y, w, lineHeight);
    };
    line("Example", kLeftLabelX, y, 120);
    line("F SETOU1 RSTOU2", kLeftLabelX, y + lineHeight, 130);
    line("where F - number filter for SMS message", 150, y, 340);
    line("F - send SMS to  Nr5, Nr6, Nr7 and to internal control", 150, y + lineHeight, 340);
    line("7 - send SMS to  Nr5, Nr6, Nr7", 150, y + 2 * lineHeight, 340);
  }
  iGetText = MakeReadBox(internal, "iGetText", readBoxX, readBoxY);
  platform::OnToggle(this, iGetText, [this] { iGetTextClick(); });

  // "IOname": short texts 58..97, the names of the input and output states.
  QWidget* names = PageOf(Page::IOname);
  constexpr int kNameEditWidth = 120;
  constexpr int kNameCellWidth = kNameEditWidth + 2 + kButtonWidth + 14;
  constexpr int kNameLabelWidth = 66;
  auto nameGroup = [this, names](const char* name, const char* title, int x, int rows,
                                 const char* col1, const char* col0, const char* rowStem,
                                 auto slotOf) {
    const int width = 10 + kNameLabelWidth + 2 * kNameCellWidth;
    auto* group = ui::MakeGroup(names, name, title, x, 4, width, 46 + rows * kRowPitch);
    group->setAccessibleName(title);
    const int firstCell = 10 + kNameLabelWidth;
    ColumnCaption(group, col1, firstCell, 18);
    ColumnCaption(group, col0, firstCell + kNameCellWidth, 18);
    for (int k = 1; k <= rows; ++k) {
      const int y = 40 + (k - 1) * kRowPitch;
      const QString caption = platform::Nr(rowStem, k);
      MakeLabel(group, caption, 10, y, kNameLabelWidth - 4);
      for (int col = 0; col < 2; ++col) {
        const int slot = slotOf(k, col == 0);
        const QString what = caption + " " + (col == 0 ? col1 : col0);
        const int cx = firstCell + col * kNameCellWidth;
        const auto i = static_cast<std::size_t>(slot);
        iTXTSMS[i] = MakeTextEdit(group, platform::Nr("iTXTSMS", slot), what, kShortTextMaxLength,
                                  cx, y, kNameEditWidth);
        TXTSMSb[i] =
            MakeTextButton(group, platform::Nr("TXTSMSb", slot), what, cx + kNameEditWidth + 2, y);
        platform::OnClick(this, TXTSMSb[i], [this, slot] { TXTSMSbClick(slot); });
      }
    }
    return group;
  };
  DIname = nameGroup("DIname", "Digital Inputs Name", 8, 12, "1", "0", "Input ",
                     [](int k, bool first) { return InputNameSlot(k, first ? 1 : 0); });
  DOname = nameGroup("DOname", "Digital Outputs Name", 8 + DIname->width() + 14, 8, "ON", "OFF",
                     "Output ", [](int k, bool first) { return OutputNameSlot(k, first); });
  nGetText = MakeReadBox(names, "nGetText", DOname->geometry().right() - 70, readBoxY);
  platform::OnToggle(this, nGetText, [this] { nGetTextClick(); });
}

void TForm1::RestoreTextPages(const TSetupConfig& c) {
  textPagesRestored_ = true;
  for (int n = 1; n <= kLongTextSlots; ++n)
    platform::SetText(TXTSMS[static_cast<std::size_t>(n)],
                      GetText(c.TXTSMS[static_cast<std::size_t>(n - 1)]));
  for (int n = 1; n <= kShortTextSlots; ++n)
    platform::SetText(iTXTSMS[static_cast<std::size_t>(n)],
                      GetText(c.iTXTSMS[static_cast<std::size_t>(n - 1)]));
}

void TForm1::SetDesignTexts() {
  for (int n = 1; n <= kLongTextSlots; ++n)
    platform::SetText(TXTSMS[static_cast<std::size_t>(n)], DefaultLongText(n));
  for (int n = 1; n <= kShortTextSlots; ++n)
    platform::SetText(iTXTSMS[static_cast<std::size_t>(n)], DefaultShortText(n));
}

void TForm1::StoreTextPages(TSetupConfig& c) const {
  for (int n = 1; n <= kLongTextSlots; ++n)
    PutText(c.TXTSMS[static_cast<std::size_t>(n - 1)],
            platform::Text(TXTSMS[static_cast<std::size_t>(n)]));
  for (int n = 1; n <= kShortTextSlots; ++n)
    PutText(c.iTXTSMS[static_cast<std::size_t>(n - 1)],
            platform::Text(iTXTSMS[static_cast<std::size_t>(n)]));
}

void TForm1::TXTSMSbClick(int n) {
  if (n < 1 || n > kShortTextSlots) return;
  // 1..57 are the long texts of "External SMS", 58..97 the names of "IOname".
  const bool names = n > kLongTextSlots;
  const QCheckBox* readBox = names ? nGetText : GetTextBox;
  const platform::Edit* edit =
      names ? iTXTSMS[static_cast<std::size_t>(n)] : TXTSMS[static_cast<std::size_t>(n)];
  const bool read = readBox && readBox->isChecked();
  const TTextCommand c = TextButtonCommand(names ? TextTable::Short : TextTable::Long, n, read,
                                           read ? std::string() : platform::Text(edit));
  RunCommand(c.command, c.echo);
}

void TForm1::iTXTSMSbClick(int n) {
  if (n < 1 || n > kLongTextSlots) return;
  const bool read = iGetText && iGetText->isChecked();
  const TTextCommand c = TextButtonCommand(
      TextTable::Short, n, read,
      read ? std::string() : platform::Text(iTXTSMS[static_cast<std::size_t>(n)]));
  RunCommand(c.command, c.echo);
}

void TForm1::GetTextClick() {
  Clear();
  const bool read = GetTextBox->isChecked();
  for (int n = 1; n <= kLongTextSlots; ++n) Recaption(TXTSMSb[static_cast<std::size_t>(n)], read);
}

void TForm1::iGetTextClick() {
  Exchange.EndRawATMode();
  const bool read = iGetText->isChecked();
  for (int n = 1; n <= kLongTextSlots; ++n) Recaption(iTXTSMSb[static_cast<std::size_t>(n)], read);
}

void TForm1::nGetTextClick() {
  Exchange.EndRawATMode();
  const bool read = nGetText->isChecked();
  for (int n = kLongTextSlots + 1; n <= kShortTextSlots; ++n)
    Recaption(TXTSMSb[static_cast<std::size_t>(n)], read);
}

}  // namespace configurator
