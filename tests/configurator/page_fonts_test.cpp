// Fonts of their own on pages a start does not show: the option string's monospace and the
// hour scale's fitted size are in place once their page is opened, whenever that is.
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

#include "window_fixture.h"

namespace {

using cfgtest::WindowTest;

class PageFonts : public WindowTest {};

TEST_F(PageFonts, OptionStringIsMonospaceOnceItsPageShows) {
  Start();
  // Another page first: opening "Other" later still brings the font.
  ShowPage(configurator::Page::Schedule);
  ShowPage(configurator::Page::Other);
  const QFont font = form->StringStr1->font();
  EXPECT_EQ(font.family(), "Monospace");
  EXPECT_EQ(font.styleHint(), QFont::TypeWriter);
  // The edits beside it keep the page's font.
  EXPECT_NE(form->MinusMark->font().family(), "Monospace");
}

TEST_F(PageFonts, HourScaleFitsItsHoursBetweenTheTicksOnceItsPageShows) {
  Start();
  QWidget* page = ShowPage(configurator::Page::Schedule);
  auto* scale = page->findChild<QWidget*>("ScheduleHourScale");
  ASSERT_NE(scale, nullptr);
  const QList<QLabel*> hours = scale->findChildren<QLabel*>();
  ASSERT_EQ(hours.size(), 24);
  EXPECT_LE(scale->font().pointSizeF(), page->font().pointSizeF() * 0.85 + 1e-9);
  for (const QLabel* l : hours) {
    EXPECT_EQ(l->font(), scale->font()) << l->text().toStdString();
    // Each hour leaves a blank's width within its room between two ticks.
    const QFontMetrics fm(l->font());
    EXPECT_LE(fm.horizontalAdvance(l->text()) + fm.horizontalAdvance(' '), l->width())
        << l->text().toStdString();
  }
}

}  // namespace
