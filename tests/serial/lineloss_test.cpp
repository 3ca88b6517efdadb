// The driver on a line that goes away under it (the pty's master closed, as when a USB
// adapter is pulled): the failure is taken at once, the port closed and its lock dropped,
// the owner told once; Connect opens the port again from its name.
#include <gtest/gtest.h>

#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

#include "serial/serialdrv.h"
#include "support/lockfolder.h"
#include "support/pty.h"

using namespace serial;
using testsupport::PtyPair;

namespace {

class LineLoss : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.Open());
    link = std::filesystem::temp_directory_path() / ("tk5063-line-" + std::to_string(::getpid()));
    std::filesystem::remove(link);
    std::filesystem::create_symlink(pty.SlavePath(), link);
    drv.SetPortName(link.string());
    drv.SetPollingDelay(60000);   // ticks are driven by hand
    drv.SetOutputTimeout(60000);  // a write that waited for it would stall the test
    drv.OnReceiveData = [this](TSerialPortDriver*, const void*, std::uint32_t n) { received += n; };
    drv.OnLineLost = [this](TSerialPortDriver* sender) {
      EXPECT_EQ(sender, &drv);
      EXPECT_FALSE(drv.Connected());  // closed before the owner hears of it
      ++lost;
    };
  }
  void TearDown() override { std::filesystem::remove(link); }

  PtyPair pty;
  std::filesystem::path link;
  TSerialPortDriver drv;
  int lost = 0;
  std::uint32_t received = 0;
};

// Whatever meets the failed line first (a block, a byte, an idle poll, a poll with bytes
// that arrived before the loss), the port is closed at once: no write is retried, the lock
// goes, the owner hears of it once, and later calls find a closed port.
TEST_F(LineLoss, TheFirstUseOfAFailedLineClosesItAndTellsOnce) {
  const std::string frame("              SETUP:GETST\r\0", 27);
  struct Case {
    const char* name;
    bool bytesWaiting;  // the device sent something just before the line went
    std::function<void(TSerialPortDriver&)> use;
  };
  const Case cases[] = {
      {"a block", false,
       [&](TSerialPortDriver& d) { EXPECT_EQ(d.SendData(frame.data(), 27), 0u); }},
      {"a byte", false, [](TSerialPortDriver& d) { EXPECT_FALSE(d.SendByte('x')); }},
      {"an idle poll", false, [](TSerialPortDriver& d) { d.PollTick(); }},
      {"a poll with bytes waiting", true, [](TSerialPortDriver& d) { d.PollTick(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(pty.Open());
    std::filesystem::remove(link);
    std::filesystem::create_symlink(pty.SlavePath(), link);
    lost = 0;
    received = 0;
    ASSERT_TRUE(drv.Connect());
    const std::string lock = drv.HeldLock();
    ASSERT_FALSE(lock.empty());
    if (c.bytesWaiting) {
      pty.Write("ST: IN 0000");
      testsupport::WaitUntil([] { return false; }, 20);
    }
    pty.Unplug();
    EXPECT_EQ(drv.FreeOutputSpace(), 0);  // a queue that can't be counted takes nothing
    const std::uint64_t attempts = drv.WriteAttempts();

    c.use(drv);
    EXPECT_LE(drv.WriteAttempts() - attempts, 1u);
    EXPECT_EQ(lost, 1);
    EXPECT_TRUE(drv.Lost());
    EXPECT_FALSE(drv.Connected());
    EXPECT_FALSE(drv.PollTimer()->isActive());
    EXPECT_TRUE(drv.HeldLock().empty());
    EXPECT_FALSE(std::filesystem::exists(lock));
    EXPECT_EQ(received, 0u);

    // The port is closed now: nothing more is tried or told.
    const std::uint64_t afterLoss = drv.WriteAttempts();
    c.use(drv);
    EXPECT_EQ(drv.WriteAttempts(), afterLoss);
    EXPECT_EQ(lost, 1);
    // Its device is gone with the line.
    EXPECT_FALSE(drv.Connect());
    EXPECT_TRUE(drv.Lost());
    pty.Close();
  }
}

// Plugged in again (a new line behind the same link), the next Connect opens it.
TEST_F(LineLoss, ConnectOpensTheNewLineBehindTheLink) {
  ASSERT_TRUE(drv.Connect());
  pty.Unplug();
  EXPECT_FALSE(drv.SendByte('a'));
  ASSERT_EQ(lost, 1);

  PtyPair replugged;
  ASSERT_TRUE(replugged.Open());
  std::filesystem::remove(link);
  std::filesystem::create_symlink(replugged.SlavePath(), link);
  ASSERT_TRUE(drv.Connect());
  EXPECT_FALSE(drv.Lost());
  EXPECT_EQ(drv.SendData("GETST\r", 6), 6u);
  EXPECT_EQ(replugged.ReadFor(30), "GETST\r");  // on the new line
  replugged.Write("OK");
  testsupport::WaitUntil(
      [&] {
        drv.PollTick();
        return received > 0;
      },
      2000);
  EXPECT_EQ(received, 2u);
  EXPECT_EQ(lost, 1);
}

// A healthy line that is merely full keeps the old rule: the write waits for the time-out
// and the port stays open.
TEST_F(LineLoss, AFullButHealthyLineIsNotLost) {
  ASSERT_TRUE(drv.Connect());
  const std::string block(1 << 20, 'z');
  const std::uint32_t written =
      drv.SendDataTimed(block.data(), static_cast<std::uint32_t>(block.size()), 50);
  EXPECT_GT(written, 0u);
  EXPECT_LT(written, block.size());
  EXPECT_TRUE(drv.Connected());
  EXPECT_FALSE(drv.Lost());
  EXPECT_EQ(lost, 0);
}

}  // namespace
