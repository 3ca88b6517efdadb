// The configurator in direct mode against the device simulator on a pty: the window's
// Com1 reaches the simulator through a link in a temporary port folder; the test drives the
// driver's poll tick and the window's one-second tick itself.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "configurator/form.h"
#include "platform/core/devicepath.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"
#include "serial/displayunit.h"
#include "serial/serialdrv.h"
#include "support/device_sim.h"
#include "e2e_fixture.h"

namespace ts = testsupport;

namespace {

std::string Framed(const std::string& command) {
  return std::string(14, ' ') + "SETUP:" + command + "\r" + std::string(1, '\0');
}

class DirectE2E : public WindowOnPeer<ts::DeviceSimulator> {
 protected:
  ts::DeviceSimulator& PeerOnLine() override { return device; }
  void BeforeWindow() override { device.Clock().SetRunning(false); }  // no TK5063.cfg here

  // Waits until the device has answered `n` framed commands in all.
  bool AnsweredCommands(std::size_t n) {
    const bool ok = ts::WaitUntil([&] { return device.Commands().size() >= n; }, 2000);
    Quiet();
    return ok;
  }

  ts::DeviceSimulator device;
};

}  // namespace

TEST_F(DirectE2E, StartsWithoutSettingsFileOnTheSimulatorsLine) {
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "TK5063.cfg access error");
  EXPECT_TRUE(form->SerialPort1->Connected());
  EXPECT_FALSE(form->SMSmode->isChecked());
  EXPECT_TRUE(device.Received().empty());  // direct mode sends nothing by itself
}

TEST_F(DirectE2E, ReadStatusReplyAppearsAtTheNextTick) {
  form->ReadState->click();
  ASSERT_TRUE(AnsweredCommands(1));
  EXPECT_EQ(device.Received(), Framed("GETST"));
  EXPECT_EQ(Sent(), "GETST");
  const std::string reply = device.Sent();
  ASSERT_FALSE(reply.empty());

  // The chunk is taken at the poll, shown only at the tick.
  Poll();
  EXPECT_EQ(form->SerialPort1->PollingDelay(), 4000);
  EXPECT_EQ(Input().find("ST:"), std::string::npos) << Input();
  form->Timer1Timer();
  Quiet();
  EXPECT_NE(Input().find("ST: IN 000000000000 OUT 00000000"), std::string::npos) << Input();
  // A second tick with nothing new adds nothing.
  const std::string shown = Input();
  form->Timer1Timer();
  EXPECT_EQ(Input(), shown);
}

TEST_F(DirectE2E, EachReadingButtonSendsItsCommandAndShowsItsAnswer) {
  const struct {
    QPushButton* configurator::TForm1::*button;
    const char* command;  // as framed on the wire
    const char* echo;
    const char* answerPart;
  } cases[] = {
      {&configurator::TForm1::ReadTH, "GETTH", "GETTH", "TH: T 21.5C"},
      {&configurator::TForm1::ReadAnalog, "GETAN", "GETAN", "AN: A1 1.23V"},
      {&configurator::TForm1::ReadTemperature, "GETTC", "GETTC", "TC: T1 21.5C"},
      {&configurator::TForm1::TemperatureLevelBtn, "TCLEV0", "TCLEV0", "TCLEV: T1"},
      {&configurator::TForm1::ReadAlevelBtn, "ANLEV0", "ANLEV0", "ANLEV: A1"},
      {&configurator::TForm1::RestartModule, "RSTRT", "RSTRT", "RESTART"},
      {&configurator::TForm1::Version, "  GETVR", "GETVR", "VER: TK5063"},
      {&configurator::TForm1::GetDT, "  GETTM", "GETTM", "TM: 26/01/05,09:07:03+02"},
  };
  std::size_t n = 0;
  for (const auto& c : cases) {
    device.ClearLogs();
    (form.get()->*c.button)->click();
    ASSERT_TRUE(AnsweredCommands(++n)) << c.command;
    EXPECT_EQ(device.Received(), Framed(c.command));
    EXPECT_EQ(Sent(), c.echo);
    PollThenTick();
    EXPECT_NE(Input().find(c.answerPart), std::string::npos) << c.command << ": " << Input();
  }
}

TEST_F(DirectE2E, SetDateTimeWritesThePcClockIntoTheDevice) {
  form->Now = [] { return QDateTime(QDate(2026, 1, 5), QTime(9, 7, 3, 450)); };
  form->TimeZone->setText("+01");
  device.Clock().Set("20/06/01,00:00:00+00");
  form->SetDT->click();
  ASSERT_TRUE(AnsweredCommands(1));
  EXPECT_EQ(device.Commands()[0], "SETTM 26/01/05,09:07:03+01");
  EXPECT_EQ(device.Clock().Text(), "26/01/05,09:07:03+01");
  EXPECT_EQ(Sent(), "SETTM 26/01/05,09:07:03+01");
  PollThenTick();
  // Reading the clock back gets what was set.
  form->GetDT->click();
  ASSERT_TRUE(AnsweredCommands(2));
  PollThenTick();
  EXPECT_NE(Input().find("TM: 26/01/05,09:07:03+01"), std::string::npos) << Input();
}

TEST_F(DirectE2E, SignalQualityGoesRawAndItsAnswerEndsRawMode) {
  form->Squality->click();
  ASSERT_TRUE(ts::WaitUntil([&] { return !device.Sent().empty(); }, 2000));
  Quiet();
  EXPECT_EQ(device.Received(), "  AT+CSQ\r");
  EXPECT_TRUE(device.Commands().empty());
  EXPECT_TRUE(form->Exchange.RawATMode());
  PollThenTick();
  EXPECT_FALSE(form->Exchange.RawATMode());
  EXPECT_NE(Input().find("+CSQ: 17,99"), std::string::npos) << Input();
  // The next command is framed again.
  device.ClearLogs();
  form->ConnectBtn->click();
  ASSERT_TRUE(AnsweredCommands(1));
  EXPECT_EQ(device.Received(), Framed("  OK"));
}

TEST_F(DirectE2E, SilentDeviceLeavesTheMemoEmpty) {
  device.SetSilent(true);
  form->ReadState->click();
  ASSERT_TRUE(AnsweredCommands(1));
  for (int i = 0; i < 3; ++i) PollThenTick();
  EXPECT_TRUE(ts::TrimText(Input(), true).empty()) << Input();
  EXPECT_EQ(boxes.size(), 1u);  // no message beyond the start-up's
}

// Answers of the device land in the edits of the page on show. A page that is not built yet
// gets a stand-in edit of the same name, which the parse finds as it will find the real one.
TEST_F(DirectE2E, AnswersFillTheEditsOfThePageOnShow) {
  const struct {
    int page;
    const char* command;
    const char* edit;
    std::string value;
  } cases[] = {
      {1, "GETNR3", "NNumber3", "+4917012345603"},
      {1, "  GETPB", "PBnr1", "+4917012345601"},
      {1, "  GETPB", "PBnr7", "+4917012345607"},
      {2, "GETTX05 ", "TXTSMS5", "Temperature 2 Normal  "},  // with the line end as blanks
      {4, "GETTI58 ", "iTXTSMS58", "INP1 1 "},               // one character less
      {10, "GETAP ", "APN", "internet"},
      {10, "GETFT ", "FTPHostName", "ftp.tk5063.local"},
  };
  form->SkipCRLFcb->setChecked(true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    auto* edit = form->findChild<QLineEdit*>(c.edit);
    if (!edit) {
      edit = new QLineEdit(form->PageControl1->widget(c.page));
      edit->setObjectName(c.edit);
    }
    edit->setText("unchanged");
    form->PageControl1->setCurrentIndex(c.page);
    form->SMScommand->setText(c.command);
    const std::size_t n = device.Commands().size();
    form->SendSMScommand->click();
    ASSERT_TRUE(AnsweredCommands(n + 1));
    EXPECT_EQ(ts::TrimText(device.Commands().back()), ts::TrimText(c.command));
    PollThenTick();
    EXPECT_EQ(edit->text().toStdString(), c.value);
  }
  // On a page without a reply rule the same answer fills nothing.
  auto* apn = form->findChild<QLineEdit*>("APN");
  apn->setText("unchanged");
  form->PageControl1->setCurrentIndex(0);
  form->SMScommand->setText("GETAP ");
  const std::size_t n = device.Commands().size();
  form->SendSMScommand->click();
  ASSERT_TRUE(AnsweredCommands(n + 1));
  PollThenTick();
  EXPECT_EQ(apn->text(), "unchanged");
  EXPECT_NE(Input().find("APN: internet"), std::string::npos) << Input();
}
