// The copy-from day under the calendar: shown whole in any locale, while the day the
// copy starts from stays the calendar's.
#include <QCalendarWidget>
#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

#include "ftp_form_fixture.h"

namespace monitor_test {
namespace {

class CopyFromDay : public FtpFormTest {
 protected:
  void TearDown() override {
    FtpFormTest::TearDown();
    QLocale::setDefault(QLocale::system());
  }
  // The user picks a day in the calendar.
  static void Pick(monitor::TForm1& f, const QDate& day) {
    f.MonthCalendar1->setSelectedDate(day);
    emit f.MonthCalendar1->clicked(day);
  }
};

TEST_F(CopyFromDay, ShowsTheLocalesShortDateOrTheWholeDayInDigits) {
  struct Case {
    QLocale locale;
    QDate day;
    const char* shown;
  } cases[] = {
      // The C locale's "d MMM yyyy" fits for a one-digit day only.
      {QLocale::c(), QDate(2018, 10, 5), "5 Oct 2018"},
      {QLocale::c(), QDate(2018, 10, 10), "10.10.2018"},
      {QLocale::c(), QDate(2018, 9, 1), "1 Sep 2018"},
      {QLocale(QLocale::German, QLocale::Germany), QDate(2018, 10, 10), "10.10.18"},
      {QLocale(QLocale::English, QLocale::UnitedStates), QDate(2018, 10, 5), "10/5/18"},
      {QLocale(QLocale::Arabic, QLocale::Egypt), QDate(2018, 10, 5), "05.10.2018"},
      // Short enough, but digits that Windows-1252 has no room for would show as "?".
      {QLocale(QLocale::Persian, QLocale::Iran), QDate(2018, 10, 5), "05.10.2018"},
  };
  monitor::TForm1& f = Form();
  for (const Case& c : cases) {
    QLocale::setDefault(c.locale);
    Pick(f, c.day);
    EXPECT_EQ(f.FromDateTime->text().toStdString(), c.shown) << c.locale.name().toStdString();
    EXPECT_EQ(f.MonthCalendar1->selectedDate(), c.day);
  }
}

TEST_F(CopyFromDay, AWholeDayInTheCLocaleStillCopiesFromItsKeyAndNamesIt) {
  QLocale::setDefault(QLocale::c());
  for (const char* n : {"181009.csv", "181010.csv", "181011_0800.csv"}) Put(n);
  Connect();
  monitor::TForm1& f = Form();
  Pick(f, QDate(2018, 10, 10));
  EXPECT_EQ(f.FromDateTime->text(), "10.10.2018");
  f.CopyFromDate->click();
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Texts());
  EXPECT_FALSE(Exists("181009.csv"));
  EXPECT_TRUE(Exists("181010.csv") && Exists("181011_0800.csv"));

  // The message of a copy that finds nothing names the whole day too.
  Pick(f, QDate(2019, 11, 10));
  f.CopyFromDate->click();
  EXPECT_EQ(Texts(), std::vector<std::string>{"No files 10.11.2019 and after "});
}

}  // namespace
}  // namespace monitor_test
