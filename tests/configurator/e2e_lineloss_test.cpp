// The configurator in direct mode when its line goes away (the pty's master closed, as when
// a USB adapter is pulled) or its port link leads nowhere useful: the user is told once per
// attempt, nothing spins, and the next command opens the port again from its link.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <string>

#include "configurator/form.h"
#include "configurator/portlink.h"
#include "platform/core/devicepath.h"
#include "serial/serialdrv.h"
#include "support/device_sim.h"
#include "e2e_fixture.h"

namespace ts = testsupport;

namespace {

const std::string kGetst = std::string(14, ' ') + "SETUP:GETST\r" + std::string(1, '\0');

class LineLossE2E : public WindowOnPeer<ts::DeviceSimulator> {
 protected:
  ts::DeviceSimulator& PeerOnLine() override { return device; }
  void BeforeWindow() override { device.Clock().SetRunning(false); }

  // The boxes with this text so far.
  int Boxes(const std::string& text) const {
    int n = 0;
    for (const auto& b : boxes) n += b.text == text;
    return n;
  }
  // Lets the event loop run what is queued, as after a click.
  static void Turn() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }
  static std::string Link() { return platform::PortFolder() + "/com1"; }
  static void Relink(const std::string& target) {
    const std::string link = Link();
    std::filesystem::remove(link);
    std::filesystem::create_symlink(target, link);
  }
  std::string Status() const { return form->Status->text().toStdString(); }

  ts::DeviceSimulator device;
};

// The line pulled, a command pressed: one write at most, the port closed and its lock gone,
// the window free at once (a timer queued before the click runs at the next turn), one box
// and the Status field telling the loss. Relinked to a new line, the next command goes out
// there and the Status field shows what it showed before.
TEST_F(LineLossE2E, LostLineIsToldOnceAndTheNextCommandReopensItsLink) {
  ASSERT_TRUE(form->SerialPort1->Connected());
  const std::string lock = form->SerialPort1->HeldLock();
  ASSERT_FALSE(lock.empty());
  const std::string before = Status();
  boxes.clear();
  device.StopServing();
  device.Pty().Unplug();

  const std::uint64_t attempts = form->SerialPort1->WriteAttempts();
  bool timerRan = false;
  QTimer::singleShot(0, [&] { timerRan = true; });
  form->ReadState->click();
  EXPECT_LE(form->SerialPort1->WriteAttempts() - attempts, 1u);
  Turn();
  EXPECT_TRUE(timerRan);
  EXPECT_FALSE(form->SerialPort1->Connected());
  EXPECT_FALSE(std::filesystem::exists(lock));
  EXPECT_EQ(Status(), configurator::kLineLostStatus);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, configurator::kLineLostText);
  Quiet();

  // Still unplugged: the press is a new attempt, told as a port that can't be opened, with
  // the link and where it points.
  form->ReadState->click();
  Turn();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, std::string(configurator::kPortErrorText) + "\r\nThe port link " +
                               Link() + " points to " + device.SlavePath() +
                               ", which does not exist: nothing is plugged in there. Plug in "
                               "the device, or point the link to where it is.");
  Quiet();

  ts::DeviceSimulator replugged;
  ASSERT_TRUE(replugged.Open());
  replugged.Serve();
  Relink(replugged.SlavePath());
  form->ReadState->click();
  Turn();
  EXPECT_TRUE(form->SerialPort1->Connected());
  EXPECT_TRUE(ts::WaitUntil([&] { return replugged.Commands().size() >= 1; }, 2000));
  EXPECT_EQ(replugged.Received(), kGetst);
  EXPECT_EQ(boxes.size(), 2u);
  EXPECT_EQ(Status(), before);
  Quiet();
}

// A port link to a missing device, a regular file or a folder: the port error at start and
// once on each command pressed, with the link, where it points and why.
TEST_F(LineLossE2E, PortThatCantBeOpenedIsToldAtStartAndOnEachCommand) {
  const std::filesystem::path spare = std::filesystem::current_path();
  std::ofstream(spare / "plain.txt") << "not a line";
  std::filesystem::create_directory(spare / "folder");
  const std::string noSerialPort = " is not a serial port: choose another port.";
  const struct {
    const char* name;
    std::string target;
    std::string why;
  } cases[] = {
      {"a missing device", "/dev/tk5063-no-such-device",
       "The port link " + Link() +
           " points to /dev/tk5063-no-such-device, which does not exist: nothing is plugged in "
           "there. Plug in the device, or point the link to where it is."},
      {"a regular file", (spare / "plain.txt").string(),
       Link() + " (a link to " + (spare / "plain.txt").string() + ")" + noSerialPort},
      {"a folder", (spare / "folder").string(),
       Link() + " (a link to " + (spare / "folder").string() + ")" + noSerialPort},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    form.reset();
    boxes.clear();
    Relink(c.target);
    form = std::make_unique<configurator::TForm1>();
    Quiet();
    Turn();
    EXPECT_FALSE(form->SerialPort1->Connected());
    const std::string text = std::string(configurator::kPortErrorText) + "\r\n" + c.why;
    EXPECT_EQ(Boxes(text), 1);
    for (int press = 2; press <= 3; ++press) {
      form->ReadState->click();
      Turn();
      Quiet();
      EXPECT_EQ(Boxes(text), press);
    }
    EXPECT_EQ(Boxes(configurator::kLineLostText), 0);
  }
}

}  // namespace
