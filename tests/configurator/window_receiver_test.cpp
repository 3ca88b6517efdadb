// The receiver and the one-second tick: direct-mode replies parsed by page into the edits
// that exist, raw AT answers, SMS listings, and the SMS-mode tick (start-up sequence,
// time-out, polls, midnight window).
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

#include "configurator/formutil.h"
#include "configurator/core/pdu.h"
#include "platform/controls.h"
#include "platform/widgets.h"
#include "serial/displayunit.h"
#include "window_fixture.h"

namespace {

using cfgtest::WindowTest;
using configurator::TForm1;
namespace ui = configurator::ui;

class WindowReceiver : public WindowTest {
 protected:
  TForm1& Start(bool smsMode) {
    serial::MemoLine = 0;
    std::string rec(4136, '\0');
    rec[3209] = smsMode ? 1 : 0;
    WriteFile(rec);
    TForm1& f = Make();
    f.Now = [] { return QDateTime(QDate(2026, 3, 1), QTime(12, 0, 0)); };
    Wire();
    return f;
  }
  // The page's edit of that name.
  QLineEdit* PageEdit(configurator::Page page, const char* name) {
    auto* e = form->PageOf(page)->findChild<QLineEdit*>(name);
    EXPECT_NE(e, nullptr) << name;
    return e;
  }
};

// An SMS-DELIVER PDU from +4917012345678 with the given text.
std::string DeliverPdu(const std::string& text) {
  return "07919471000000F0"
         "040C91947110325476"
         "0000"
         "62105021000000" +
         [&] {
           char udl[3];
           std::snprintf(udl, sizeof udl, "%02X", static_cast<unsigned>(text.size()));
           return std::string(udl);
         }() +
         configurator::PackSeptets(text);
}

TEST_F(WindowReceiver, DirectReplyIsParsedByThePageShownAndAppended) {
  TForm1& f = Start(false);
  QLineEdit* apn = PageEdit(configurator::Page::GprsFtp, "APN");
  QLineEdit* txt5 = PageEdit(configurator::Page::ExternalSMS, "TXTSMS5");
  f.PageControl1->setCurrentIndex(10);
  f.ReadState->click();
  Chunk("APN: internet\r\n");
  EXPECT_TRUE(f.Exchange.ReplyReady());
  f.Timer1Timer();
  EXPECT_EQ(apn->text(), "internet");
  EXPECT_EQ(ui::MemoText(f.MemoSMSinput), "\r\nAPN: internet\r\n\r\n");
  EXPECT_FALSE(f.Exchange.ReplyReady());
  EXPECT_TRUE(f.Exchange.ReplyText().empty());
  EXPECT_FALSE(platform::BusyCursor());

  // "External SMS" with Skip CR/LF: the line end comes as two blanks.
  f.PageControl1->setCurrentIndex(2);
  f.SkipCRLFcb->setChecked(true);
  f.Clear();
  Chunk("05: Door open\r\n");
  f.Timer1Timer();
  EXPECT_EQ(txt5->text(), "Door open  ");
  // A reply that names no slot changes nothing and is still shown.
  f.Clear();
  Chunk("99");
  f.Timer1Timer();
  EXPECT_EQ(txt5->text(), "Door open  ");
  EXPECT_EQ(ui::MemoText(f.MemoSMSinput), "99\r\n");
}

TEST_F(WindowReceiver, OnlyTheLastChunkBeforeATickIsParsed) {
  TForm1& f = Start(false);
  QLineEdit* nr3 = PageEdit(configurator::Page::Abonents, "NNumber3");
  f.PageControl1->setCurrentIndex(1);
  f.SkipCRLFcb->setChecked(true);
  f.Clear();
  Chunk("TNR1: 111 ");
  Chunk("TNR3: +4917012345\r\n");
  f.Timer1Timer();
  EXPECT_EQ(nr3->text(), "+4917012345");
  EXPECT_EQ(ui::MemoText(f.MemoSMSinput), "TNR3: +4917012345  \r\n");
}

TEST_F(WindowReceiver, RawAnswersEndRawModeByTheirFirstCarriageReturn) {
  struct Case {
    std::string chunk;
    bool rawAfter;
  } cases[] = {
      {"\r\n+CSQ: 17,0\r\n\r\nOK\r\n", false},
      {"+CSQ", false},
      {"OK\r\n", false},
      {"AT+CSQ\r\r\n+CSQ: 17,0\r\n", true},
  };
  TForm1& f = Start(false);
  for (const Case& c : cases) {
    f.Squality->click();
    Chunk(c.chunk);
    EXPECT_EQ(f.Exchange.RawATMode(), c.rawAfter) << c.chunk;
    f.Timer1Timer();
  }
  // Without Skip CR/LF the answer is shown as it came.
  f.Squality->click();
  Chunk("\r\n+CSQ: 17,0\r\n");
  f.Timer1Timer();
  EXPECT_EQ(ui::MemoText(f.MemoSMSinput), "\r\n+CSQ: 17,0\r\n");
}

TEST_F(WindowReceiver, ZeroBytesOnlyChangeNothingButTheTiming) {
  TForm1& f = Start(false);
  f.Clear();
  f.Exchange.Restore([](auto& s) { s.PollInhibit = true; });
  Chunk(std::string(3, '\0'));
  EXPECT_TRUE(f.Exchange.PollInhibit());
  EXPECT_FALSE(f.Exchange.DataArrived());
  EXPECT_EQ(f.SerialPort1->PollingDelay(), 4000);
}

TEST_F(WindowReceiver, ListedSmsIsShownAndDeleted) {
  TForm1& f = Start(true);
  const std::string listing = "\r\n+CMGL: 3,0,,26\r\n" + DeliverPdu("VERSION 1.2") +
                              "\r\n+CMGL: 4,0,,26\r\n" + DeliverPdu("SECOND") + "\r\n\r\nOK\r\n";
  Chunk(listing);
  EXPECT_EQ(Wire(), "AT+CMGD=3\r");
  const std::string memo = ui::MemoText(f.MemoSMSinput);
  EXPECT_NE(memo.find("VERSION 1.2"), std::string::npos);
  EXPECT_EQ(memo.find("SECOND"), std::string::npos);
  EXPECT_EQ(platform::Base(f.Status), QColor(255, 0, 0));
  // An index above 255 is deleted as listed.
  Chunk("\r\n+CMGL: 300,1,,26\r\n" + DeliverPdu("X") + "\r\nOK\r\n");
  EXPECT_EQ(Wire(), "AT+CMGD=300\r");
}

TEST_F(WindowReceiver, ModemStartUpSequenceOneStepPerAnsweredTick) {
  TForm1& f = Start(true);
  ASSERT_TRUE(f.Exchange.ModemInitActive());
  const char* expected[6] = {"AT+CGMI\r",   "AT+CSCS?\r",      "AT+CGMM\r",
                             "AT+CMEE=2\r", "\n\rAT+CMGF=0\r", "\n\rAT+CMGL=1\r"};
  const char* answers[6] = {"AT+CGMI\r\r\nSIEMENS\r\n\r\nOK\r\n",
                            "AT+CSCS?\r\r\n+CSCS: \"GSM\"\r\n\r\nOK\r\n",
                            "AT+CGMM\r\r\nMC35i\r\n\r\nOK\r\n",
                            "AT+CMEE=2\r\r\nOK\r\n",
                            "AT+CMGF=0\r\r\nOK\r\n",
                            "AT+CMGL=1\r\r\nOK\r\n"};
  for (int i = 0; i < 6; ++i) {
    f.Timer1Timer();
    EXPECT_EQ(Wire(), expected[i]) << i;
    f.Timer1Timer();  // no answer yet: no further step
    EXPECT_EQ(Wire(), "") << i;
    Chunk(answers[i]);
  }
  f.Timer1Timer();
  EXPECT_FALSE(f.Exchange.ModemInitActive());
  EXPECT_EQ(f.Status->text(), " ");
  EXPECT_EQ(f.Hersteller->text(), "SIEMENS");
  EXPECT_EQ(f.ModelIDCode->text(), "MC35i");
  EXPECT_EQ(platform::Base(f.Status), QColor(0, 255, 0));
}

TEST_F(WindowReceiver, SilentPhoneTimesOutOnceAfter99Ticks) {
  TForm1& f = Start(true);
  for (int i = 0; i < 98; ++i) f.Timer1Timer();
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(f.Exchange.ModemInitActive());
  f.Timer1Timer();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Cell Phone not connected");
  EXPECT_EQ(boxes[0].caption, "Error");
  EXPECT_FALSE(f.Exchange.ModemInitActive());
  EXPECT_TRUE(f.Exchange.PhoneNotConnected());
  EXPECT_EQ(platform::Base(f.Status), QColor(0, 0, 0));
  for (int i = 0; i < 200; ++i) f.Timer1Timer();
  EXPECT_EQ(boxes.size(), 1u);
  Chunk("\r\nOK\r\n");
  f.Timer1Timer();
  EXPECT_EQ(platform::Base(f.Status), QColor(0, 255, 0));
}

// A port that can't be opened: the first routine says so once, every routine sends nothing
// and leaves the modem free, so the sequence ends on its seventh tick without the time-out.
TEST_F(WindowReceiver, StartUpSequenceOnAClosedPortEndsWithoutTheTimeOut) {
  TForm1& f = Start(true);
  f.SerialPort1->Disconnect();
  KillCom1();
  for (int i = 1; i <= 6; ++i) {
    f.Timer1Timer();
    EXPECT_TRUE(f.Exchange.ModemInitActive()) << i;
    EXPECT_FALSE(f.Exchange.ModemBusy()) << i;
  }
  f.Timer1Timer();
  EXPECT_FALSE(f.Exchange.ModemInitActive());
  EXPECT_EQ(f.Status->text(), " ");
  EXPECT_FALSE(f.Exchange.Awaiting(configurator::Answer::CGMI) ||
               f.Exchange.Awaiting(configurator::Answer::CSCS) ||
               f.Exchange.Awaiting(configurator::Answer::CGMM) ||
               f.Exchange.Awaiting(configurator::Answer::CMEE) ||
               f.Exchange.Awaiting(configurator::Answer::CMGF) ||
               f.Exchange.Awaiting(configurator::Answer::CMGL1));
  for (int i = 0; i < 120; ++i) f.Timer1Timer();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, DeadCom1Text());
  EXPECT_FALSE(f.Exchange.PhoneNotConnected());
}

TEST_F(WindowReceiver, PollsAlternateAndPauseAroundMidnight) {
  TForm1& f = Start(false);
  f.SMSmode->setChecked(true);  // no start-up sequence
  QDateTime now(QDate(2026, 3, 1), QTime(23, 58, 0));
  f.Now = [&now] { return now; };
  auto ticks = [&](int n) {
    for (int i = 0; i < n; ++i) f.Timer1Timer();
    return Wire();
  };
  EXPECT_EQ(ticks(20), "");
  EXPECT_EQ(ticks(1), "AT+CMGL=1\r");
  EXPECT_TRUE(f.Exchange.PollPending());
  Chunk("\r\nOK\r\n");
  EXPECT_EQ(ticks(20), "");
  EXPECT_EQ(ticks(1), "AT+CMGL=0\r");
  Chunk("\r\nOK\r\n");

  // 00:00 to 00:02: no polls; one GETMH at 00:02; polls again from 00:03.
  f.TKnumber->setText("+1234567");
  now = QDateTime(QDate(2026, 3, 2), QTime(0, 0, 0));
  EXPECT_EQ(ticks(30), "");
  now = QDateTime(QDate(2026, 3, 2), QTime(0, 2, 0));
  EXPECT_EQ(ticks(1), "AT+CMGS=18\r");
  Chunk("> ");
  Wire();
  EXPECT_EQ(ticks(1), "");  // the submit's result is the chunk after this tick
  Chunk("\r\n+CMGS: 1\r\n\r\nOK\r\n");
  EXPECT_EQ(ticks(30), "");
  now = QDateTime(QDate(2026, 3, 2), QTime(0, 3, 0));
  EXPECT_EQ(ticks(21).substr(0, 8), "AT+CMGL=");
}

}  // namespace
