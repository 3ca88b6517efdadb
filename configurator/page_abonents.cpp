// Page "Abonents": the device's alarm numbers and the SIM phone book, and the number masks
// of the alarms with the grid of boxes that edits them.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "configurator/core/abonents.h"
#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/pagebuild.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"

namespace configurator {

namespace ab = abonents;

namespace {
constexpr int kRowPitch = 19;   // rows of the mask grid
constexpr int kEditPitch = 24;  // rows of the number edits

// Labels of this page are 18 high unless they say otherwise.
QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int w, int h = 18) {
  return ui::MakeLabel(parent, text, x, y, w, h);
}

// Buttons of this page are 26 high and read by their caption with blanks simplified.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int x, int y,
                        int w) {
  return ui::MakeButton(parent, name, caption, caption.simplified(), x, y, w, 26);
}

// A box of the mask grid: no caption, 18 by 18.
QCheckBox* MakeBox(QWidget* parent, const QString& name, const QString& accessible, bool checked,
                   int x, int y) {
  auto* c = ui::MakeCheck(parent, name, "", accessible, x, y, 18, 18);
  c->setChecked(checked);
  return c;
}

// Channel part of a box name: one digit for T and A, two for D.
QString Channel(char letter, int p) {
  return letter == 'D' ? QString("%1").arg(p, 2, 10, QChar('0')) : QString::number(p);
}

// A mask character as the start-up reads it: 0..15 for "0".."9", "A".."F"; -1 (disabled)
// for any other.
int DecodeMaskDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int MaskLength(char letter) {
  return letter == 'T' ? ab::kTMaskLength : letter == 'A' ? ab::kAMaskLength : ab::kDMaskLength;
}
}  // namespace

void TForm1::BuildAbonentsPage() {
  QWidget* page = PageOf(Page::Abonents);

  // ---- Numbers --------------------------------------------------------------------------
  auto* numbers = ui::MakeGroup(page, "GroupNumbers", "Numbers", 4, 2, 362, 294);
  auto column = [&](int x0, const char* title, const char* subtitle, const char* stem,
                    std::array<platform::Edit*, 8>& edits, platform::RadioGroup*& group,
                    const char* groupName) {
    MakeLabel(numbers, title, x0, 18, 176);
    MakeLabel(numbers, subtitle, x0, 34, 176);
    for (int n = 1; n <= 7; ++n) {
      const int y = 58 + (n - 1) * kEditPitch;
      auto* label = MakeLabel(numbers, platform::Nr("Nr", n), x0, y + 2, 26);
      const QString name = platform::Nr(stem, n);
      edits[static_cast<std::size_t>(n)] = ui::MakeTyped(
          numbers, name, QString("%1 Nr%2").arg(title).arg(n), name, 20, x0 + 26, y, 92, 22);
      label->setBuddy(edits[static_cast<std::size_t>(n)]);
    }
    group = new platform::RadioGroup("Number", numbers);
    group->setObjectName(groupName);
    group->setAccessibleName(QString("%1 number").arg(title));
    group->SetItems({"1", "2", "3", "4", "5", "6", "7"});
    group->setGeometry(x0 + 120, 50, 56, 176);
    group->SetItemIndex(0);
  };
  column(8, "Numbers for alarm SMS", "(Numbers in EEPROM)", "NNumber", NNumber, RadioGroupNR,
         "RadioGroupNR");
  column(184, "Numbers to SIM Phone Book", "(administration numbers)", "PBnr", PBnr, RadioGroupPB,
         "RadioGroupPB");
  const QString hint = "Set Number with 1 or 2; other number set from cell phone";
  GetNr = MakeButton(numbers, "GetNr", "GETNR", 8, 232, 56);
  GetNr->setToolTip(hint);
  SetNr = MakeButton(numbers, "SetNr", "SETNR", 66, 232, 56);
  SetNr->setToolTip(hint);
  ClrNr = MakeButton(numbers, "ClrNr", "CLRNR", 124, 232, 52);
  ReadPB = MakeButton(numbers, "ReadPB", "Read Phone Book", 184, 232, 176);
  ToPhoneBook = MakeButton(numbers, "ToPhoneBook", "Number To SIM", 184, 260, 176);

  // Below the Number Mask group, on the page, right under the group's last line, which it
  // continues.
  MakeLabel(page, "7 - send SMS to  Nr5, Nr6, Nr7", 372 + 8, 2 + 366, 350, 16);

  // ---- Number Mask ----------------------------------------------------------------------
  auto* mask = ui::MakeGroup(page, "GroupNumberMask", "Number Mask", 372, 2, 476, 366);

  // One row of the grid: Disable box, boxes of numbers 4, 3, 2, 1, the row caption, which
  // names the row's boxes.
  auto row = [&](char letter, int p, int x0, int y, const QString& caption) -> QLabel* {
    const QString ch = Channel(letter, p);
    QCheckBox* dis = MakeBox(mask, QString("CheckBox%1%2dis").arg(letter).arg(ch),
                             caption + " Disable", false, x0 + 14, y);
    (letter == 'T'   ? CheckBoxTdis[static_cast<std::size_t>(p)]
     : letter == 'A' ? CheckBoxAdis[static_cast<std::size_t>(p)]
                     : CheckBoxDdis[static_cast<std::size_t>(p)]) = dis;
    std::array<QCheckBox*, 5> numbers{};
    for (int b = 4; b >= 1; --b) {
      QCheckBox* box =
          MakeBox(mask, QString("CheckBox%1%2%3").arg(letter).arg(b).arg(ch),
                  QString("%1 number %2").arg(caption).arg(b), true, x0 + 50 + (4 - b) * 20, y);
      const auto bi = static_cast<std::size_t>(b), pi = static_cast<std::size_t>(p);
      (letter == 'T'   ? CheckBoxT[bi][pi]
       : letter == 'A' ? CheckBoxA[bi][pi]
                       : CheckBoxD[bi][pi]) = box;
      numbers[bi] = box;
    }
    QLabel* label = MakeLabel(mask, caption, x0 + 134, y, 96);
    platform::NameAfter(dis, label, "Disable");
    for (int b = 1; b <= 4; ++b)
      platform::NameAfter(numbers[static_cast<std::size_t>(b)], label, QString("number %1").arg(b));
    return label;
  };
  auto header = [&](int x0) {
    MakeLabel(mask, "Disable", x0, 18, 46);
    for (int b = 4; b >= 1; --b) {
      QLabel* l = MakeLabel(mask, QString::number(b), x0 + 50 + (4 - b) * 20, 18, 18);
      l->setAlignment(Qt::AlignHCenter);
    }
  };
  constexpr int kLeft = 8, kRight = 244, kTop = 38;
  header(kLeft);
  header(kRight);
  row('T', 1, kLeft, kTop, "Temperature 1");
  RTname1 = row('T', 2, kLeft, kTop + kRowPitch, "Runtime 1");
  RTname1->setObjectName("RTname1");
  RTname2 = row('T', 3, kLeft, kTop + 2 * kRowPitch, "Runtime 2");
  RTname2->setObjectName("RTname2");
  for (int p = 1; p <= 8; ++p)
    row('A', p, kLeft, kTop + 4 + (p + 2) * kRowPitch, QString("Analog Input %1").arg(p));
  for (int p = 1; p <= 12; ++p)
    row('D', p, kRight, kTop + (p - 1) * kRowPitch, QString("Digital Input %1").arg(p));

  // The three mask texts, changed only through the grid, and the button that sends them.
  constexpr int kEditsY = 284;
  auto maskEdit = [&](const char* name, const char* caption, int length, const char* text, int x,
                      int w) {
    auto* l = MakeLabel(mask, caption, x, kEditsY - 18, w, 16);
    platform::Edit* e =
        ui::MakeTyped(mask, name, QString("Mask %1").arg(caption), text, length, x, kEditsY, w, 22);
    e->setReadOnly(true);
    l->setBuddy(e);
    return e;
  };
  TNrFilter = maskEdit("TNrFilter", "T/C", ab::kTMaskLength, "FFF", 8, 40);
  ANrFilter = maskEdit("ANrFilter", "Analog", ab::kAMaskLength, "FFFFFFFF", 58, 76);
  DNrFilter = maskEdit("DNrFilter", "Digital", ab::kDMaskLength, "FFFFFFFFFFFF", 144, 110);
  SetNfilter1 = MakeButton(mask, "SetNfilter1", "Set Numbers  Filter", 8, 308, 160);

  MakeLabel(mask, "Mask for  Nr.5,6,7  see  Int. and Ext. SMS", 180, 312, 290);
  MakeLabel(mask, "Example", 8, 334, 56, 16);
  MakeLabel(mask, "F SETOU1 RSTOU2", 66, 334, 120, 16);
  MakeLabel(mask, "where F - number filter for SMS message", 196, 334, 276, 16);
  MakeLabel(mask, "F - send SMS to  Nr5, Nr6, Nr7 and to internal control", 8, 350, 464, 16);


  // The boxes edit the digits set aside for disabled channels; the form starts with them.
  MaskStash =
      "FFF"
      "FFFFFFFF"
      "FFFFFFFFFFFF";

  BindAbonentsHandlers();
}

void TForm1::BindAbonentsHandlers() {
  platform::OnClick(this, SetNr, [this] { SetNrClick(); });
  platform::OnClick(this, ClrNr, [this] { ClrNrClick(); });
  platform::OnClick(this, GetNr, [this] { GetNrClick(); });
  platform::OnClick(this, ToPhoneBook, [this] { ToPhoneBookClick(); });
  platform::OnClick(this, ReadPB, [this] { ReadPBClick(); });
  platform::OnClick(this, SetNfilter1, [this] { SetNfilter1Click(); });
  // A box's handler runs on every real change of its state, by the user or by code.
  for (char letter : {'T', 'A', 'D'}) {
    for (int p = 1; p <= MaskLength(letter); ++p) {
      platform::OnToggle(this, DisableBox(letter, p),
                         [this, letter, p] { CheckBoxDisClick(letter, p); });
      for (int b = 1; b <= 4; ++b)
        platform::OnToggle(this, NumberBox(letter, b, p),
                           [this, letter, b, p] { CheckBoxNumberClick(letter, b, p); });
    }
  }
}

// ---- settings ----------------------------------------------------------------------------

void TForm1::RestoreAbonentsNumbers(const TSetupConfig& c) {
  for (int n = 1; n <= 7; ++n) {
    const auto i = static_cast<std::size_t>(n);
    platform::SetText(NNumber[i], GetText(c.NNumber[i - 1]));
  }
  for (int n = 1; n <= 7; ++n) {
    const auto i = static_cast<std::size_t>(n);
    platform::SetText(PBnr[i], GetText(c.PBnr[i - 1]));
  }
}

void TForm1::RestoreNumberMasks(TSetupConfig& c) {
  // An empty mask becomes its default in the record itself, so that the channels are decoded
  // from the default (the digital one enables every input for no number).
  std::string t = GetText(c.TNrFilter), a = GetText(c.ANrFilter), d = GetText(c.DNrFilter);
  if (t.empty()) PutText(c.TNrFilter, t = "---");
  if (a.empty()) PutText(c.ANrFilter, a = "--------");
  if (d.empty()) PutText(c.DNrFilter, d = "000000000000");
  platform::SetText(TNrFilter, t);
  platform::SetText(ANrFilter, a);
  platform::SetText(DNrFilter, d);
  // The characters as they lie in the record (a short text leaves what follows it).
  auto raw = [](const auto& field, int count) {
    return std::string(field.chars, field.chars + count);
  };
  const std::string masks[3] = {raw(c.TNrFilter, ab::kTMaskLength),
                                raw(c.ANrFilter, ab::kAMaskLength),
                                raw(c.DNrFilter, ab::kDMaskLength)};
  MaskStash = masks[0] + masks[1] + masks[2];
  // Channel by channel: the Disable box from the character; a disabled channel then has its
  // number boxes cleared and its Disable box checked once more, an enabled one its boxes set
  // by the digit's bits.
  const char letters[3] = {'T', 'A', 'D'};
  for (int m = 0; m < 3; ++m) {
    const char letter = letters[m];
    for (int p = 1; p <= MaskLength(letter); ++p) {
      const int v = DecodeMaskDigit(masks[m][static_cast<std::size_t>(p - 1)]);
      DisableBox(letter, p)->setChecked(v < 0);
      for (int b = 1; b <= 4; ++b)
        NumberBox(letter, b, p)->setChecked(v >= 0 && ((v >> (b - 1)) & 1));
      if (v < 0) DisableBox(letter, p)->setChecked(true);
    }
  }
}

void TForm1::StoreAbonentsPage(TSetupConfig& c) const {
  for (int n = 1; n <= 7; ++n) {
    const auto i = static_cast<std::size_t>(n);
    PutText(c.NNumber[i - 1], platform::Text(NNumber[i]));
    PutText(c.PBnr[i - 1], platform::Text(PBnr[i]));
  }
  PutText(c.TNrFilter, platform::Text(TNrFilter));
  PutText(c.ANrFilter, platform::Text(ANrFilter));
  PutText(c.DNrFilter, platform::Text(DNrFilter));
}

// ---- Numbers ------------------------------------------------------------------------------

void TForm1::SetNrClick() {
  Clear();
  const int k = RadioGroupNR->ItemIndex() + 1;
  if (k < 1 || k > 7) return;
  const std::string command =
      ab::SetNumberCommand(k, platform::Text(NNumber[static_cast<std::size_t>(k)]));
  if (command.empty()) return;  // not a number: nothing goes out
  RunCommandNoClear(command);
}

void TForm1::ClrNrClick() {
  Clear();
  const int k = RadioGroupNR->ItemIndex() + 1;
  if (Exchange.PollPending() || k < 1 || k > 7) return;
  RunCommandNoClear("CLRNR" + std::to_string(k));
}

void TForm1::GetNrClick() {
  Clear();
  const int k = RadioGroupNR->ItemIndex() + 1;
  if (Exchange.PollPending() || k < 1 || k > 7) return;
  RunCommandNoClear("GETNR" + std::to_string(k));
}

void TForm1::ToPhoneBookClick() {
  Clear();
  const int k = RadioGroupPB->ItemIndex() + 1;
  if (Exchange.PollPending() || k < 1 || k > 7) return;
  platform::Edit* edit = PBnr[static_cast<std::size_t>(k)];
  const std::string entry = ab::PhoneBookEntry(platform::Text(edit));
  if (entry != platform::Text(edit)) platform::SetText(edit, entry);
  RunCommandNoClear(ab::PhoneBookCommand(k, platform::Text(edit)));
}

void TForm1::ReadPBClick() { RunCommand("  GETPB", "GETPB"); }

void TForm1::SetNfilter1Click() {
  RunCommand(ab::MaskCommand(platform::Text(TNrFilter), platform::Text(ANrFilter),
                             platform::Text(DNrFilter)));
}

// ---- Number Mask --------------------------------------------------------------------------

void TForm1::HEXfromCheckBox(std::uint8_t bit, std::uint8_t& digit) {
  ab::SetNumberBit(bit, digit);
}

void TForm1::HEXfromUnCheckBox(std::uint8_t bit, std::uint8_t& digit) {
  ab::ClearNumberBit(bit, digit);
}

platform::Edit* TForm1::MaskEdit(char letter, int* length, int* stashOffset) const {
  switch (letter) {
    case 'T': *length = ab::kTMaskLength, *stashOffset = 0; return TNrFilter;
    case 'A': *length = ab::kAMaskLength, *stashOffset = ab::kTMaskLength; return ANrFilter;
    case 'D':
      *length = ab::kDMaskLength, *stashOffset = ab::kTMaskLength + ab::kAMaskLength;
      return DNrFilter;
    default: return nullptr;
  }
}

QCheckBox* TForm1::DisableBox(char letter, int p) const {
  const auto i = static_cast<std::size_t>(p);
  return letter == 'T'   ? CheckBoxTdis.at(i)
         : letter == 'A' ? CheckBoxAdis.at(i)
                         : CheckBoxDdis.at(i);
}

QCheckBox* TForm1::NumberBox(char letter, int b, int p) const {
  const auto bi = static_cast<std::size_t>(b), pi = static_cast<std::size_t>(p);
  return letter == 'T'   ? CheckBoxT.at(bi).at(pi)
         : letter == 'A' ? CheckBoxA.at(bi).at(pi)
                         : CheckBoxD.at(bi).at(pi);
}

char TForm1::BoxesDigit(char letter, int p) const {
  int v = 0;
  for (int b = 1; b <= 4; ++b)
    if (NumberBox(letter, b, p)->isChecked()) v |= 1 << (b - 1);
  return ab::HexDigit(v);
}

std::string TForm1::FullMask(char letter) const {
  int length = 0, offset = 0;
  std::string text = platform::Text(MaskEdit(letter, &length, &offset));
  for (int q = static_cast<int>(text.size()) + 1; q <= length; ++q)
    text += DisableBox(letter, q)->isChecked() ? '-' : BoxesDigit(letter, q);
  return text;
}

void TForm1::EnsureStash() {
  constexpr std::size_t kAll = ab::kTMaskLength + ab::kAMaskLength + ab::kDMaskLength;
  if (MaskStash.size() < kAll) MaskStash.resize(kAll, '0');
}

void TForm1::CheckBoxNumberClick(char letter, int b, int p) {
  int length = 0, offset = 0;
  platform::Edit* edit = MaskEdit(letter, &length, &offset);
  if (!edit || b < 1 || b > 4 || p < 1 || p > length) return;
  const auto bit = static_cast<std::uint8_t>(1 << (b - 1));
  const bool checked = NumberBox(letter, b, p)->isChecked();
  auto apply = [&](char& c) {
    auto v = static_cast<std::uint8_t>(ab::DigitValue(c));
    if (checked)
      HEXfromCheckBox(bit, v);
    else
      HEXfromUnCheckBox(bit, v);
    c = ab::HexDigit(v);
  };
  if (DisableBox(letter, p)->isChecked()) {
    // A disabled channel's boxes edit its set-aside digit; the mask keeps its "-".
    EnsureStash();
    apply(MaskStash[static_cast<std::size_t>(offset + p - 1)]);
    return;
  }
  std::string text = FullMask(letter);
  apply(text[static_cast<std::size_t>(p - 1)]);
  platform::SetText(edit, text);
}

void TForm1::CheckBoxDisClick(char letter, int p) {
  int length = 0, offset = 0;
  platform::Edit* edit = MaskEdit(letter, &length, &offset);
  if (!edit || p < 1 || p > length) return;
  EnsureStash();
  char& stash = MaskStash[static_cast<std::size_t>(offset + p - 1)];
  const std::string shown = platform::Text(edit);
  std::string text;
  if (DisableBox(letter, p)->isChecked()) {
    // The channel's digit goes aside (from its boxes when the text is too short to hold it).
    stash = p <= static_cast<int>(shown.size()) ? shown[static_cast<std::size_t>(p - 1)]
                                                : BoxesDigit(letter, p);
    text = FullMask(letter);
    text[static_cast<std::size_t>(p - 1)] = '-';
  } else {
    text = FullMask(letter);
    text[static_cast<std::size_t>(p - 1)] = stash;
  }
  platform::SetText(edit, text);
}

}  // namespace configurator
