// Main page readings repeated on other pages, and the modem routines and start-up sequence
// with a port that cannot be opened.
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <ctime>

#include "configurator/formutil.h"
#include "configurator/core/setupconfig.h"
#include "support/scopedenv.h"
#include "window_fixture.h"

namespace {

using cfgtest::Frame;

using cfgtest::WindowTest;
using configurator::TForm1;

class MainPageAndModem : public WindowTest {};

// The PC's offset from UTC at a given moment, in the field's form: whole hours toward zero.
TEST(TimeZoneField, ThePcsOffsetAtAMoment) {
  const QDateTime winter(QDate(2026, 12, 11), QTime(12, 0), Qt::UTC);
  const QDateTime summer(QDate(2026, 7, 6), QTime(12, 0), Qt::UTC);
  const struct {
    const char* zone;
    QDateTime moment;
    const char* text;
  } cases[] = {
      {"Europe/Berlin", winter, "+01"},
      {"Europe/Berlin", summer, "+02"},
      {"America/New_York", winter, "-05"},
      {"America/New_York", summer, "-04"},
      {"Asia/Kolkata", winter, "+05"},      // +05:30
      {"America/St_Johns", winter, "-03"},  // -03:30, toward zero too
      {"UTC", winter, "+00"},
      {"Pacific/Kiritimati", winter, "+14"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.zone) + " " + c.moment.toString(Qt::ISODate).toStdString());
    testsupport::ScopedEnv zone("TZ", c.zone);
    EXPECT_EQ(TForm1::UtcOffsetText(c.moment), c.text);
  }
  ::tzset();
}

// The field takes the offset of the moment the window is built.
TEST_F(MainPageAndModem, TimeZoneStartsWithThePcsOffset) {
  testsupport::ScopedEnv zone("TZ", "America/New_York");
  TForm1::ClockForNewWindows() = [] { return QDateTime(QDate(2026, 1, 5), QTime(12, 0)); };
  WriteZeroFile();
  TForm1& f = Make();
  TForm1::ClockForNewWindows() = nullptr;
  EXPECT_EQ(f.TimeZone->text(), "-05");
}

TEST_F(MainPageAndModem, ReadingButtonsOnOtherPagesSendWhatTheirTwinsSend) {
  WriteZeroFile();
  TForm1& f = Make();
  Wire();
  const struct {
    const char* name;
    int page;
    const char* caption;
    QPushButton* TForm1::*twin;
  } cases[] = {
      {"Button3", 5, "Read Analog", &TForm1::ReadAnalog},
      {"Button4", 5, "Analog Level", &TForm1::ReadAlevelBtn},
      {"Button5", 6, "Temperature", &TForm1::ReadTemperature},
      {"Button6", 6, "Temp.Level", &TForm1::TemperatureLevelBtn},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto* b = f.PageControl1->widget(c.page)->findChild<QPushButton*>(c.name);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->text(), c.caption);
    (f.*c.twin)->click();
    const std::string fromMain = Wire();
    const std::string echo = configurator::ui::MemoText(f.MemoS);
    f.PageControl1->setCurrentIndex(c.page);
    b->click();
    EXPECT_EQ(Wire(), fromMain);
    EXPECT_EQ(configurator::ui::MemoText(f.MemoS), echo);
    f.PageControl1->setCurrentIndex(0);
  }
  // One case spelled out, so the shared road is not only compared with itself.
  f.findChild<QPushButton*>("Button3")->click();
  EXPECT_EQ(Wire(), Frame("GETAN"));
}

TEST_F(MainPageAndModem, ClockFieldKeepsItsTextWhenThePortErrorIsFirstShown) {
  WriteZeroFile();
  TForm1& f = Make();
  f.SerialPort1->Disconnect();
  KillCom1();
  f.Exchange.Restore([](auto& s) {
    s.ClockQueryPending = true;
    s.ClockText = "26/01/05,12:00:30+02";
  });
  f.Exchange.Run(configurator::Routine::GetDateTime);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(f.DateTime->text().toStdString(), "SIM status");
  EXPECT_TRUE(f.Exchange.ClockQueryPending());
  // After the message has been shown once, the routine refreshes its field and sends nothing.
  f.Exchange.Run(configurator::Routine::GetDateTime);
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(f.DateTime->text().toStdString(), "26/01/05,12:00:30+02");
  EXPECT_TRUE(f.Exchange.ClockQueryPending());
  EXPECT_FALSE(f.Exchange.Awaiting(configurator::Answer::CCLK));
}

// In SMS mode with a port that cannot be opened, each start-up routine sends nothing and leaves
// the modem free: the sequence runs through on successive ticks, with one port message and
// no "Cell Phone not connected" afterwards.
TEST_F(MainPageAndModem, StartUpSequenceRunsThroughWithTheDeadPort) {
  configurator::TSetupConfig c;
  c.SMSmode = 1;
  const auto bytes = configurator::EncodeSetupConfig(c);
  WriteFile(std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  KillCom1();
  TForm1& f = Make();
  ASSERT_TRUE(f.Exchange.ModemInitActive());
  for (int t = 1; t <= 6; ++t) {
    f.Timer1Timer();
    EXPECT_TRUE(f.Exchange.ModemInitActive()) << t;
    EXPECT_FALSE(f.Exchange.ModemBusy()) << t;
  }
  f.Timer1Timer();
  EXPECT_FALSE(f.Exchange.ModemInitActive());
  EXPECT_EQ(f.Status->text().toStdString(), " ");
  for (int t = 0; t < 120; ++t) f.Timer1Timer();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, DeadCom1Text());
  EXPECT_FALSE(f.Exchange.PhoneNotConnected());
}

}  // namespace
