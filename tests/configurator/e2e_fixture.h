#pragma once
// The configurator's window on a simulated peer (device or modem) on a pty: the window's
// Com1 reaches the peer through a link in a temporary port folder, it starts in an empty
// temporary folder, and the test runs the driver's poll tick and the window's tick itself.
#include <gtest/gtest.h>

#include <QDir>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "configurator/form.h"
#include "platform/core/devicepath.h"
#include "platform/messagebox.h"
#include "serial/displayunit.h"
#include "serial/serialdrv.h"
#include "support/lockfolder.h"
#include "support/pty.h"

template <class Peer>
class WindowOnPeer : public ::testing::Test {
 public:  // helpers outside the fixture (lambdas, free functions) use these too
  // Runs in the window's folder before the window is made (e.g. to write a settings file).
  virtual void BeforeWindow() {}
  // The peer, opened and served before the window starts.
  virtual Peer& PeerOnLine() = 0;

  void SetUp() override {
    ASSERT_TRUE(config_.isValid() && work_.isValid());
    hadXdg_ = std::getenv("XDG_CONFIG_HOME") != nullptr;
    if (hadXdg_) oldXdg_ = std::getenv("XDG_CONFIG_HOME");
    setenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit().constData(), 1);
    Peer& peer = PeerOnLine();
    ASSERT_TRUE(peer.Open());
    peer.Serve();
    std::filesystem::create_directories(platform::PortFolder());
    std::filesystem::create_symlink(peer.SlavePath(), platform::PortFolder() + "/com1");
    oldDir_ = QDir::currentPath();
    QDir::setCurrent(work_.path());
    BeforeWindow();
    platform::SetMessageHook([this](const platform::MessageRequest& r) {
      boxes.push_back(r);
      return platform::Answer::Ok;
    });
    serial::MemoLine = 0;  // as at program start: each test is a fresh run of the program
    form = std::make_unique<configurator::TForm1>();
    Quiet();
  }
  void TearDown() override {
    form.reset();
    platform::SetMessageHook({});
    QDir::setCurrent(oldDir_);
    if (hadXdg_)
      setenv("XDG_CONFIG_HOME", oldXdg_.c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
  }

  // The test runs the ticks itself; the window's timers must not run them in between.
  void Quiet() {
    form->Timer1->stop();
    const_cast<QTimer*>(form->SerialPort1->PollTimer())->stop();
  }
  // One poll of the driver once everything the peer sent has reached the port.
  void Poll() {
    Peer& peer = PeerOnLine();
    const std::size_t expect = peer.SentTotal() - polled_;
    testsupport::WaitUntil([&] { return peer.SlaveQueued() >= static_cast<int>(expect); }, 2000);
    form->SerialPort1->PollTick();
    polled_ = peer.SentTotal();
    Quiet();
  }
  void Tick() {
    form->Timer1Timer();
    Quiet();
  }
  // One poll and one tick of the window, as the timers would run them.
  void PollThenTick() {
    Poll();
    Tick();
  }
  std::string Input() const { return form->MemoSMSinput->toPlainText().toStdString(); }
  std::string Sent() const { return form->MemoS->toPlainText().toStdString(); }

  QTemporaryDir config_, work_;
  std::string oldXdg_;
  bool hadXdg_ = false;
  QString oldDir_;
  std::vector<platform::MessageRequest> boxes;
  std::unique_ptr<configurator::TForm1> form;
  std::size_t polled_ = 0;
};
