// The exact bytes that the window puts on the line, read on the far side of a pty.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "configurator/formutil.h"
#include "platform/widgets.h"
#include "window_fixture.h"

namespace {

using cfgtest::Frame;

using cfgtest::WindowTest;
using configurator::TForm1;

class WindowWire : public WindowTest {
 protected:
  TForm1& Start(bool smsMode = false) {
    WriteZeroFile();
    TForm1& f = Make();
    f.SMSmode->setChecked(smsMode);
    Wire();  // nothing of the start-up
    return f;
  }
};

TEST_F(WindowWire, DirectModeGetstIsTheFramedLine) {
  TForm1& f = Start();
  f.ReadState->click();
  const std::string wire = Wire();
  EXPECT_EQ(wire.size(), 27u);
  EXPECT_EQ(wire, Frame("GETST"));
  EXPECT_EQ(configurator::ui::MemoText(f.MemoS), "GETST");
  EXPECT_EQ(f.SerialPort1->PollingDelay(), 4000);
  EXPECT_EQ(f.SerialPort1->InputTimeout(), 700u);
  EXPECT_EQ(f.SerialPort1->OutputTimeout(), 1500);
}

TEST_F(WindowWire, FixedWidthCommandsAndTheTwoBlankCommands) {
  struct Case {
    std::string command, wire;
  } cases[] = {
      {"GETTX01 ", Frame("GETTX01 " + std::string(40, ' '))},
      {"SETTI05 " + std::string(15, 'N'), Frame("SETTI05 " + std::string(15, 'N'))},
      {"SETTI05 abc", Frame("SETTI05 abc" + std::string(12, ' '))},
      {"SETTX" + std::string(45, 'x'), Frame("SETTX" + std::string(45, 'x'))},
  };
  TForm1& f = Start();
  for (const Case& c : cases) {
    f.RunCommand(c.command);
    EXPECT_EQ(Wire(), c.wire) << c.command;
  }
  // "Version number" keeps its two blanks on the wire, not in the echo.
  f.Version->click();
  EXPECT_EQ(Wire(), Frame("  GETVR"));
  EXPECT_EQ(configurator::ui::MemoText(f.MemoS), "GETVR");
}

TEST_F(WindowWire, RawATLinesGoUnframed) {
  TForm1& f = Start();
  f.Squality->click();
  EXPECT_EQ(Wire(), std::string("  AT+CSQ\r"));
  EXPECT_TRUE(f.Exchange.RawATMode());
  // Connect while raw mode is on: unframed too; after Clear it is framed again.
  f.ConnectBtn->click();
  EXPECT_EQ(Wire(), std::string("  OK\r"));
  f.Clear();
  f.ConnectBtn->click();
  EXPECT_EQ(Wire(), Frame("  OK"));
  // The free AT line.
  f.ATcmd->setText("AT+CSQ");
  f.SendAT->click();
  EXPECT_EQ(Wire(), std::string("  AT+CSQ\r"));
  // The band panel and Ctrl-Z.
  struct Case {
    QPushButton* button;
    std::string wire;
  } cases[] = {
      {f.band[0], "  AT#BND=0\r"},
      {f.band[3], "  AT#BND=3\r"},
      {f.SupportedBand, "  AT#BND=?\r"},
      {f.CurrentBand, "  AT#BND?\r"},
      {f.ctrlZbtn, "\x1A\r"},
  };
  for (const Case& c : cases) {
    c.button->click();
    EXPECT_EQ(Wire(), c.wire) << c.button->objectName().toStdString();
    EXPECT_TRUE(f.Exchange.RawATMode());
  }
}

TEST_F(WindowWire, SmsSubmitCycle) {
  TForm1& f = Start(true);
  f.TKnumber->setText("+1234567");
  f.ReadState->click();
  EXPECT_EQ(Wire(), "AT+CMGS=18\r");
  EXPECT_TRUE(f.Exchange.ModemBusy());
  EXPECT_EQ(f.Exchange.Submit(), configurator::SubmitPhase::WaitingForPrompt);
  // The modem's prompt brings the PDU and Ctrl-Z.
  Chunk("\r\n> ");
  EXPECT_EQ(Wire(), "0011300791214365F700000B06C722754A6D00\x1A");
  EXPECT_EQ(f.Exchange.Submit(), configurator::SubmitPhase::PDUSent);
  EXPECT_TRUE(f.Exchange.ModemBusy());  // until the submit's result
  EXPECT_NE(configurator::ui::MemoText(f.MemoS).find("0011300791214365F700000B06C722754A6D00"),
            std::string::npos);
  // The next tick waits for the result; the chunk after it ends the submit.
  f.Timer1Timer();
  EXPECT_EQ(f.Exchange.Submit(), configurator::SubmitPhase::WaitingForResult);
  EXPECT_EQ(f.SerialPort1->InputTimeout(), 5200u);
  Chunk("\r\n+CMGS: 5\r\n\r\nOK\r\n");
  EXPECT_EQ(f.Exchange.Submit(), configurator::SubmitPhase::Idle);
  EXPECT_NE(f.Exchange.Submit(), configurator::SubmitPhase::PDUSent);
  EXPECT_EQ(f.SerialPort1->InputTimeout(), 700u);
  EXPECT_FALSE(f.Exchange.ModemBusy());
  EXPECT_EQ(Wire(), "");
}

TEST_F(WindowWire, SmsModeWithABusyModemWaitsThenSends) {
  TForm1& f = Start(true);
  f.TKnumber->setText("+1234567");
  f.Exchange.Restore([](auto& s) { s.ModemBusy = true; });
  f.ReadTH->click();
  EXPECT_EQ(Wire(), "");
  EXPECT_TRUE(f.Exchange.PollInhibit());
  EXPECT_EQ(configurator::ui::MemoText(f.MemoS), "GETTH");
  EXPECT_EQ(f.Exchange.Waiting(), 1u);
  // The answer that frees the modem lets the command out.
  Chunk("\r\nOK\r\n");
  EXPECT_EQ(Wire(), "AT+CMGS=18\r");
  EXPECT_EQ(f.Exchange.Submit(), configurator::SubmitPhase::WaitingForPrompt);
}

// An empty number, or one with anything but a leading "+" and digits: the message, nothing
// on the line.
TEST_F(WindowWire, SmsModeWithoutAUsableNumberSendsNothing) {
  TForm1& f = Start(true);
  for (const char* number : {"", "+4917 1234567"}) {
    boxes.clear();
    f.TKnumber->setText(number);
    f.ReadState->click();
    ASSERT_EQ(boxes.size(), 1u) << number;
    EXPECT_EQ(boxes[0].text, "Phone Number Error.\r\nPlease, check settings and try again.");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].icon, platform::Icon::Stop);
    EXPECT_EQ(Wire(), "") << number;
    EXPECT_FALSE(f.Exchange.ModemBusy());
    EXPECT_EQ(f.Exchange.Submit(), configurator::SubmitPhase::Idle);
    EXPECT_FALSE(f.Exchange.PollInhibit());
    EXPECT_FALSE(platform::BusyCursor());
    // A later chunk sends no lone Ctrl-Z.
    Chunk("\r\nOK\r\n");
    EXPECT_EQ(Wire(), "") << number;
  }
}

TEST_F(WindowWire, SmsModeRefusesACommandLongerThanOneSms) {
  TForm1& f = Start(true);
  f.TKnumber->setText("+1234567");
  f.SMScommand->setText(QString(160, 'A'));  // with its line end 161 characters
  f.SendSMScommand->click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("does not fit in one SMS"), std::string::npos);
  EXPECT_EQ(Wire(), "");
  EXPECT_FALSE(f.Exchange.ModemBusy());
  EXPECT_EQ(f.Exchange.Submit(), configurator::SubmitPhase::Idle);
  EXPECT_FALSE(platform::BusyCursor());
  // 159 characters and the line end fit.
  boxes.clear();
  f.SMScommand->setText(QString(159, 'A'));
  f.SendSMScommand->click();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(Wire().substr(0, 8), "AT+CMGS=");
}

TEST_F(WindowWire, ModemRoutinesBytes) {
  TForm1& f = Start(true);
  f.Exchange.Run(configurator::Routine::SetCMGF);
  const std::string cmgf = Wire();
  EXPECT_EQ(cmgf.size(), 12u);
  EXPECT_EQ(cmgf, "\n\rAT+CMGF=0\r");
  EXPECT_TRUE(f.Exchange.Awaiting(configurator::Answer::CMGF));
  EXPECT_TRUE(f.Exchange.ModemBusy());
  // Busy: the next routine sends nothing.
  f.Exchange.Run(configurator::Routine::GetHersteller);
  EXPECT_EQ(Wire(), "");
  // An answer clears the flag and the modem.
  Chunk("\r\nOK\r\n");
  EXPECT_FALSE(f.Exchange.Awaiting(configurator::Answer::CMGF));
  EXPECT_FALSE(f.Exchange.ModemBusy());
  f.Exchange.Run(configurator::Routine::GetHersteller);
  EXPECT_EQ(Wire(), "AT+CGMI\r");
}

TEST_F(WindowWire, SetClockLineInBothModes) {
  TForm1& f = Start();
  f.Now = [] { return QDateTime(QDate(2026, 1, 5), QTime(9, 7, 3, 450)); };
  f.TimeZone->setText("+02");  // as the user typed it
  f.SetDT->click();
  EXPECT_EQ(Wire(), Frame("SETTM 26/01/05,09:07:03+02"));
  EXPECT_TRUE(f.Exchange.ClockQueryPending());

  // SMS mode: the same line, zone in hours, unframed to the phone.
  f.SMSmode->setChecked(true);
  f.Exchange.Restore({});
  f.SetDT->click();
  EXPECT_EQ(Wire(), "SETTM 26/01/05,09:07:03+02\r");
  EXPECT_TRUE(f.Exchange.ClockQueryPending());
  EXPECT_FALSE(f.Exchange.ModemBusy());
  // Busy with an AT exchange: the line waits and goes out when the answer has come.
  f.Exchange.Restore([](auto& s) { s.ModemBusy = true; });
  f.SetDT->click();
  EXPECT_EQ(Wire(), "");
  EXPECT_EQ(Echo(), "SETTM 26/01/05,09:07:03+02");
  Chunk("\r\nOK\r\n");
  EXPECT_EQ(Wire(), "SETTM 26/01/05,09:07:03+02\r");
  EXPECT_TRUE(f.Exchange.ClockQueryPending());

  // Shorter zones shorten the command.
  f.Exchange.Restore({});
  f.SMSmode->setChecked(false);
  f.TimeZone->setText("-5");
  f.SetDT->click();
  EXPECT_EQ(Wire(), Frame("SETTM 26/01/05,09:07:03-5"));
  f.TimeZone->setText("");
  f.SetDT->click();
  EXPECT_EQ(Wire(), Frame("SETTM 26/01/05,09:07:03"));
}

TEST_F(WindowWire, ModemClockLine) {
  TForm1& f = Start();
  f.Now = [] { return QDateTime(QDate(2099, 12, 31), QTime(23, 59, 59)); };
  f.TimeZone->setText("+02");  // as the user typed it
  f.SyncModem->click();        // direct mode: only the memos are emptied
  EXPECT_EQ(Wire(), "");
  f.SMSmode->setChecked(true);
  f.SyncModem->click();
  EXPECT_EQ(Wire(), "AT+CCLK=\"99/12/31,23:59:59+08\"\r");  // the zone in quarter hours
  EXPECT_TRUE(f.Exchange.ClockQueryPending());
  f.Hersteller->setText("SIEMENS");
  f.SyncModem->click();
  const std::string siemens = Wire();
  EXPECT_EQ(siemens, "AT+CCLK=\"99/12/31,23:59:59\"\r");
  EXPECT_EQ(siemens.size(), 28u);  // 27 and the carriage return
}

TEST_F(WindowWire, PortErrorIsShownOncePerRun) {
  TForm1& f = Start(true);
  f.SerialPort1->Disconnect();
  KillCom1();
  f.Exchange.Run(configurator::Routine::GetHersteller);
  f.Exchange.Run(configurator::Routine::GetModel);
  f.SetDT->click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, DeadCom1Text());
  EXPECT_EQ(boxes[0].caption, "Error");
  EXPECT_EQ(boxes[0].icon, platform::Icon::Stop);
  EXPECT_FALSE(f.Exchange.ModemBusy());
}

}  // namespace
