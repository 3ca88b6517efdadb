// The platform layer: tick counter, device paths, Windows-1252, fixed texts, radio groups,
// length-limited edits, captions and accessible names.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

#include "platform/core/cp1252.h"
#include "platform/core/devicepath.h"
#include "platform/core/fixedtext.h"
#include "platform/core/tick.h"
#include "platform/widgets.h"

namespace fs = std::filesystem;

namespace {

// --- tick counter ---------------------------------------------------------------------

TEST(TickCount, IsTheSteadyClockInMillisecondsCutTo32Bits) {
  using namespace std::chrono;
  const auto before = static_cast<std::uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  const std::uint32_t tick = platform::TickCount();
  const auto after = static_cast<std::uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  // The counter is the low 32 bits, so it wraps after about 49.7 days of uptime.
  EXPECT_LE(static_cast<std::uint32_t>(tick - static_cast<std::uint32_t>(before)),
            static_cast<std::uint32_t>(after - before));
}

TEST(TickCount, SourceCanBeReplacedAndRestored) {
  std::uint32_t fake = 0xFFFFFFF0u;
  platform::SetTickSource([&] { return fake; });
  const std::uint32_t mark = platform::TickCount();
  fake += 0x20;  // wraps past zero
  EXPECT_EQ(platform::TickCount(), 0x10u);
  EXPECT_EQ(platform::TickCount() - mark, 0x20u);  // elapsed time survives the wrap
  platform::SetTickSource({});
  const std::uint32_t a = platform::TickCount();
  usleep(20000);
  const std::uint32_t b = platform::TickCount();
  EXPECT_GE(b - a, 15u);
  EXPECT_LT(b - a, 5000u);
}

// --- device paths ---------------------------------------------------------------------

class DevicePath : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tk5063-ports-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) oldXdg_ = old;
    setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
  }
  void TearDown() override {
    if (oldXdg_) setenv("XDG_CONFIG_HOME", oldXdg_->c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(root_);
  }
  std::string root_;
  std::optional<std::string> oldXdg_;
};

TEST_F(DevicePath, ComNamesMapToLinksOrSerialDevices) {
  EXPECT_EQ(platform::PortFolder(), root_ + "/tk5063/ports");
  fs::create_directories(platform::PortFolder());
  fs::create_symlink("/dev/ttyUSB0", platform::PortFolder() + "/com3");  // dangling is fine
  struct Case {
    const char* name;
    std::string want;
  };
  const Case cases[] = {
      {"\\\\.\\COM1", "/dev/ttyS0"},
      {"COM2", "/dev/ttyS1"},
      {"\\\\.\\com16", "/dev/ttyS15"},
      {"\\\\.\\COM3", root_ + "/tk5063/ports/com3"},
      {"com3", root_ + "/tk5063/ports/com3"},
      {"\\\\.\\COM0", "\\\\.\\COM0"},
      {"COM", "COM"},
      {"COM3x", "COM3x"},
      {"\\\\.\\COM-1", "\\\\.\\COM-1"},
      {"/dev/ttyACM0", "/dev/ttyACM0"},
      {"/tmp/COM3", "/tmp/COM3"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(platform::ResolveDevicePath(c.name), c.want);
  }
}

TEST_F(DevicePath, PortFolderFallsBackToHome) {
  setenv("XDG_CONFIG_HOME", "", 1);
  const char* home = std::getenv("HOME");
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(platform::PortFolder(), std::string(home) + "/.config/tk5063/ports");
}

// --- Windows-1252 ---------------------------------------------------------------------

TEST(Cp1252, EveryByteRoundTrips) {
  std::string all;
  for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
  const QString text = platform::FromCp1252(all);
  EXPECT_EQ(text.size(), 256);
  EXPECT_EQ(platform::ToCp1252(text), all);
}

TEST(Cp1252, EuroAndOtherSpecialCharacters) {
  EXPECT_EQ(platform::FromCp1252("\x80"), QString(QChar(0x20AC)));
  EXPECT_EQ(platform::ToCp1252(QString(QChar(0x20AC))), "\x80");
  EXPECT_EQ(platform::FromCp1252("\xE4\xF6\xFC\xDF"), QString::fromUtf8("äöüß"));
  EXPECT_EQ(platform::ToCp1252(QString::fromUtf8("Grüße €5")), "Gr\xFC\xDF" "e \x80" "5");
  // Characters the code page lacks become '?', one per character (a pair counts as one).
  EXPECT_EQ(platform::ToCp1252(QString::fromUtf8("a\u4E2Db")), "a?b");
}

// --- fixed texts ----------------------------------------------------------------------

TEST(FixedText, CutsToCapacityAndStoresInPlace) {
  platform::FixedText<5> f;
  f.set("abcdefgh");
  EXPECT_EQ(f.get(), "abcde");
  unsigned char rec[6];
  f.store(rec);
  EXPECT_EQ(rec[0], 5);
  f.set("xy");
  EXPECT_EQ(f.get(), "xy");
  platform::FixedText<5> g;
  g.load(rec);
  EXPECT_EQ(g.get(), "abcde");
}

TEST(FixedText, DamagedLengthByteStaysInsideTheField) {
  // Field of 4 at offset 1, a sentinel byte after it; length bytes 4..255 read 4 characters.
  for (int len : {4, 5, 200, 255}) {
    SCOPED_TRACE(len);
    unsigned char rec[] = {'#', static_cast<unsigned char>(len), 'a', 'b', 'c', 'd', 'X'};
    EXPECT_EQ(platform::ReadFixedText(rec, 1, 4), "abcd");
    platform::FixedText<4> f;
    f.load(rec + 1);
    EXPECT_EQ(f.get(), "abcd");
  }
  unsigned char rec[] = {0, 9, 'p', 'q', 'r', 's', 'X'};
  platform::WriteFixedText(rec, 0, 4, "longer text");
  EXPECT_EQ(rec[0], 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(rec + 1), 4), "long");
  EXPECT_EQ(rec[5], 's');  // the byte after the field is untouched
  platform::WriteFixedText(rec, 0, 4, "z");
  EXPECT_EQ(platform::ReadFixedText(rec, 0, 4), "z");
}

// --- radio group ----------------------------------------------------------------------

TEST(RadioGroup, ClickOnlyOnARealChangeAndIndexClamps) {
  platform::RadioGroup g("Mode");
  g.SetItems({"a", "b", "c"});
  int clicks = 0;
  QObject::connect(&g, &platform::RadioGroup::Click, [&] { ++clicks; });
  EXPECT_EQ(g.ItemIndex(), -1);

  struct Step {
    int set, index, clicks;
  };
  for (const Step s : {Step{1, 1, 1}, Step{1, 1, 1}, Step{7, 2, 2}, Step{3, 2, 2}, Step{-5, -1, 3},
                       Step{-1, -1, 3}, Step{0, 0, 4}}) {
    SCOPED_TRACE(s.set);
    g.SetItemIndex(s.set);
    EXPECT_EQ(g.ItemIndex(), s.index);
    EXPECT_EQ(clicks, s.clicks);
    for (int i = 0; i < g.Count(); ++i) EXPECT_EQ(g.Button(i)->isChecked(), i == s.index);
  }

  // The user's click selects its item once; clicking it again changes nothing.
  g.Button(2)->click();
  EXPECT_EQ(g.ItemIndex(), 2);
  EXPECT_EQ(clicks, 5);
  g.Button(2)->click();
  EXPECT_EQ(clicks, 5);
  EXPECT_TRUE(g.Button(2)->isChecked());
  EXPECT_FALSE(g.Button(0)->isChecked());
}

TEST(RadioGroup, EmptyGroupStaysAtMinusOne) {
  platform::RadioGroup g("None");
  int clicks = 0;
  QObject::connect(&g, &platform::RadioGroup::Click, [&] { ++clicks; });
  g.SetItemIndex(0);
  EXPECT_EQ(g.ItemIndex(), -1);
  EXPECT_EQ(clicks, 0);
}

// The accessibility action a screen reader or test driver runs on a control.
void Act(QWidget* w, const QString& action) {
  QAccessibleInterface* acc = QAccessible::queryAccessibleInterface(w);
  ASSERT_NE(acc, nullptr);
  ASSERT_NE(acc->actionInterface(), nullptr);
  ASSERT_TRUE(acc->actionInterface()->actionNames().contains(action)) << action.toStdString();
  acc->actionInterface()->doAction(action);
}

void Key(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

// Whichever way an item gets checked, it becomes the selected item, the one checked, and the
// group's Click runs once.
TEST(RadioGroup, AnItemCheckedAnyWayIsSelectedOnce) {
  platform::RadioGroup g("Rate");
  g.SetItems({"9600", "19200", "38400"});
  g.SetItemIndex(0);
  int clicks = 0;
  QObject::connect(&g, &platform::RadioGroup::Click, [&] { ++clicks; });
  g.show();
  struct Way {
    const char* name;
    std::function<void(QRadioButton*)> check;
  };
  const Way ways[] = {
      {"mouse", [](QRadioButton* b) { b->click(); }},
      {"space key", [](QRadioButton* b) { Key(b, Qt::Key_Space); }},
      {"accessibility toggle", [](QRadioButton* b) { Act(b, QAccessibleActionInterface::toggleAction()); }},
      {"code", [](QRadioButton* b) { b->setChecked(true); }},
  };
  int expected = 0;
  for (const Way& way : ways) {
    for (int item : {1, 2, 0}) {
      SCOPED_TRACE(std::string(way.name) + " item " + std::to_string(item));
      way.check(g.Button(item));
      ++expected;
      EXPECT_EQ(g.ItemIndex(), item);
      EXPECT_EQ(clicks, expected);
      for (int i = 0; i < g.Count(); ++i) EXPECT_EQ(g.Button(i)->isChecked(), i == item);
    }
    // The same way on the selected item leaves it selected and raises nothing.
    way.check(g.Button(0));
    EXPECT_EQ(g.ItemIndex(), 0);
    EXPECT_TRUE(g.Button(0)->isChecked());
    EXPECT_EQ(clicks, expected) << way.name;
  }

  // An arrow key moves the selection to the next item, as in any radio group.
  g.activateWindow();
  QApplication::processEvents();
  g.Button(0)->setFocus();
  Key(g.Button(0), Qt::Key_Down);
  EXPECT_EQ(g.ItemIndex(), 1);
  EXPECT_EQ(clicks, expected + 1);

  // Back to no item: none checked, and an item checked afterwards is selected again.
  g.SetItemIndex(-1);
  for (int i = 0; i < g.Count(); ++i) EXPECT_FALSE(g.Button(i)->isChecked());
  EXPECT_EQ(clicks, expected + 2);
  Act(g.Button(2), QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(g.ItemIndex(), 2);
  EXPECT_EQ(clicks, expected + 3);
}

// --- captions and accessible names ------------------------------------------------------

QString AccessibleName(QWidget* w) {
  QAccessibleInterface* acc = QAccessible::queryAccessibleInterface(w);
  return acc ? acc->text(QAccessible::Name) : QString();
}

TEST(Captions, TheAccessibleNameFollowsTheCaption) {
  QWidget page;
  auto* button = new QPushButton("WRITE", &page);
  button->setAccessibleName("APN");  // a name that is not the caption
  auto* box = new QCheckBox("Read ", &page);
  auto* row = new QLabel("T2 / Counter1", &page);
  auto* disable = new QCheckBox(&page);
  auto* number = new QCheckBox(&page);
  platform::NameAfter(disable, row, "Disable");
  platform::NameAfter(number, row, "number 4");
  platform::RadioGroup group("Number", &page);
  group.setAccessibleName("Numbers for alarm SMS number");

  platform::NameByCaptions(&page);
  EXPECT_EQ(AccessibleName(button), "WRITE");
  EXPECT_EQ(button->accessibleDescription(), "APN");  // what it said before stays told
  EXPECT_EQ(AccessibleName(box), "Read ");  // unnamed: read by its caption as it stands
  EXPECT_EQ(AccessibleName(&group), "Number");
  EXPECT_EQ(AccessibleName(disable), "T2 / Counter1 Disable");
  EXPECT_EQ(AccessibleName(number), "T2 / Counter1 number 4");

  platform::SetCaption(button, "RD");
  EXPECT_EQ(button->text(), "RD");
  EXPECT_EQ(AccessibleName(button), "RD");
  platform::SetCaption(&group, "Numbers");
  EXPECT_EQ(AccessibleName(&group), "Numbers");
  platform::SetCaption(row, "Runtime 1");
  EXPECT_EQ(row->text(), "Runtime 1");
  EXPECT_EQ(AccessibleName(row), "Runtime 1");
  EXPECT_EQ(AccessibleName(disable), "Runtime 1 Disable");
  EXPECT_EQ(AccessibleName(number), "Runtime 1 number 4");
}

// --- length-limited edit --------------------------------------------------------------

void Type(QWidget* w, const QString& text) {
  for (QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(w, &release);
  }
}

void Backspace(QWidget* w) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
}

TEST(Edit, MaxLengthLimitsTypingOnly) {
  platform::Edit e;
  e.SetMaxLength(3);
  Type(&e, "abcde");
  EXPECT_EQ(e.text(), "abc");

  e.setText("longer than three");  // code may put a longer text
  EXPECT_EQ(e.text(), "longer than three");
  e.end(false);
  Type(&e, "x");
  EXPECT_EQ(e.text(), "longer than three");
  Backspace(&e);  // shortening is always allowed
  EXPECT_EQ(e.text(), "longer than thre");

  e.SetMaxLength(0);  // no limit
  e.clear();
  Type(&e, "abcdef");
  EXPECT_EQ(e.text(), "abcdef");
}

// A text that code puts into a one-line edit shows its beginning, in the platform edit and in
// a plain one; what the user types keeps the cursor behind the typing.
TEST(Edit, TextSetByCodeShowsItsBeginning) {
  platform::Edit typed;
  QLineEdit plain;
  platform::ShowBeginningOfSetTexts(&plain);
  for (QLineEdit* e : {static_cast<QLineEdit*>(&typed), &plain}) {
    e->resize(100, 24);
    e->show();
    e->setText("Text 5 long enough here");
    EXPECT_EQ(e->cursorPosition(), 0);
    e->end(false);
    Type(e, "!");
    EXPECT_EQ(e->text(), "Text 5 long enough here!");
    EXPECT_EQ(e->cursorPosition(), e->text().size());
    e->setText("+4912345678901234567");
    EXPECT_EQ(e->cursorPosition(), 0);
  }
}

}  // namespace
