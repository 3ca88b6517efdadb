// The platform's widgets: radio groups, length-limited edits, captions and accessible
// names.
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
#include <string>

#include "platform/widgets.h"

namespace {

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
      {"accessibility toggle",
       [](QRadioButton* b) { Act(b, QAccessibleActionInterface::toggleAction()); }},
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
  EXPECT_EQ(AccessibleName(box), "Read ");            // unnamed: read by its caption as it stands
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

// A label's followers leave with it: labels made later (at its address or not) name only
// their own followers, and the old follower keeps its name.
TEST(Captions, ALabelsFollowersLeaveWithIt) {
  QWidget page;
  auto* kept = new QCheckBox(&page);
  auto* label = new QLabel("Old", &page);
  platform::NameAfter(kept, label, "Disable");
  delete label;
  for (int i = 0; i < 8; ++i) {
    auto* again = new QLabel("New", &page);
    auto* other = new QCheckBox(&page);
    platform::NameAfter(other, again);
    platform::SetCaption(again, QString("New %1").arg(i));
    EXPECT_EQ(AccessibleName(other), QString("New %1").arg(i));
    delete again;
  }
  EXPECT_EQ(AccessibleName(kept), "Old Disable");
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
