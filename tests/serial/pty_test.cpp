// The pseudo-terminal helper that the device and modem simulators stand on.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <unistd.h>

#include "support/pty.h"

namespace {

TEST(PtyPair, CarriesRawBytesBothWays) {
  testsupport::PtyPair pty;
  ASSERT_TRUE(pty.Open());
  EXPECT_EQ(pty.SlavePath().rfind("/dev/pts/", 0), 0u);
  const std::string raw("\x00\r\n\x11\x13\x7F\xFF", 7);
  ASSERT_EQ(write(pty.SlaveFd(), raw.data(), raw.size()), 7);
  EXPECT_EQ(pty.ReadFor(20), raw);  // no echo, no CR/LF translation, no flow control

  pty.Write(raw);
  std::string got(16, '\0');
  QElapsedTimer clock;
  clock.start();
  ssize_t n = 0;
  while (n <= 0 && clock.elapsed() < 1000) n = read(pty.SlaveFd(), got.data(), got.size());
  ASSERT_EQ(n, 7);
  got.resize(7);
  EXPECT_EQ(got, raw);
}

TEST(PtyPair, ReadUntilStopsAtTheNeedleAndRunsQtEvents) {
  testsupport::PtyPair pty;
  ASSERT_TRUE(pty.Open());
  // The answer is written by a timer, so it arrives only while Qt events are processed.
  QTimer::singleShot(10, [&] { (void)!write(pty.SlaveFd(), "AT\r\r\nOK\r\nrest", 14); });
  QElapsedTimer clock;
  clock.start();
  const std::string got = pty.ReadUntil("OK\r\n", 2000);
  EXPECT_LT(clock.elapsed(), 1000);
  EXPECT_NE(got.find("OK\r\n"), std::string::npos);
  // The needle never comes: the call returns once its time has passed.
  EXPECT_EQ(pty.ReadUntil("never", 30).find("never"), std::string::npos);
}

}  // namespace
