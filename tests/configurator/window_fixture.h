#pragma once
// A configurator window in a folder of its own, its Com1 (and Com4) reaching ptys on which the
// test plays the device, and message boxes answered and recorded.
#include <QLabel>
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/core/setupconfig.h"
#include "platform/messagebox.h"
#include "support/lockfolder.h"
#include "support/pty.h"
#include "serial/displayunit.h"
#include "serial/serialdrv.h"

namespace cfgtest {

struct Box {
  std::string text, caption;
  platform::Icon icon;
  platform::Buttons buttons = platform::Buttons::Ok;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    oldCwd_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path().toStdString());
    const char* old = std::getenv("XDG_CONFIG_HOME");
    hadXdg_ = old != nullptr;
    if (old) oldXdg_ = old;
    setenv("XDG_CONFIG_HOME", (dir_.path() + "/xdg").toLocal8Bit().constData(), 1);
    std::filesystem::create_directories(PortFolder());
    serial::MemoLine = 0;
    ASSERT_TRUE(com1.Open());
    Link(1, com1);
    platform::SetMessageHook([this](const platform::MessageRequest& r) {
      boxes.push_back({r.text, r.caption, r.icon, r.buttons});
      return r.buttons == platform::Buttons::Ok ? platform::Answer::Ok : answer;
    });
  }
  void TearDown() override {
    form.reset();
    configurator::TForm1::InitPortObserver() = nullptr;
    platform::SetMessageHook(nullptr);
    std::filesystem::current_path(oldCwd_);
    if (hadXdg_)
      setenv("XDG_CONFIG_HOME", oldXdg_.c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
  }

  std::string PortFolder() const { return dir_.path().toStdString() + "/xdg/tk5063/ports"; }
  void Link(int n, const testsupport::PtyPair& pty) {
    const std::string link = PortFolder() + "/com" + std::to_string(n);
    std::filesystem::remove(link);
    std::filesystem::create_symlink(pty.SlavePath(), link);
  }
  std::string Folder() const { return dir_.path().toStdString(); }
  // Com1 leads nowhere: its link points at a missing device and its pty is closed. (A link
  // left on a closed pty could meet another test's pty under the same number.)
  void KillCom1() {
    const std::string link = PortFolder() + "/com1";
    std::filesystem::remove(link);
    std::filesystem::create_symlink(Folder() + "/no-such-device", link);
    com1.Close();
  }
  // The port error of the port that KillCom1 leaves: its first lines, then the link and
  // where it points.
  std::string DeadCom1Text() const {
    return "Could not connect to serial port.\r\nPlease, check settings and try again.\r\n"
           "The port link " +
           PortFolder() + "/com1 points to " + Folder() +
           "/no-such-device, which does not exist: nothing is plugged in there. Plug in the "
           "device, or point the link to where it is.";
  }

  // A settings file in the window's folder.
  void WriteFile(const std::string& bytes) {
    FILE* f = std::fopen("TK5063.cfg", "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  std::string ReadFile() const {
    std::string out;
    if (FILE* f = std::fopen("TK5063.cfg", "rb")) {
      char buf[8192];
      std::size_t n;
      while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
      std::fclose(f);
    }
    return out;
  }
  // A zero record: the window starts without a warning.
  void WriteZeroFile() { WriteFile(std::string(4136, '\0')); }
  // A settings file holding the record.
  void WriteRecord(const configurator::TSetupConfig& c) {
    const auto bytes = configurator::EncodeSetupConfig(c);
    WriteFile(std::string(bytes.begin(), bytes.end()));
  }

  configurator::TForm1& Make() {
    form = std::make_unique<configurator::TForm1>();
    form->Timer1->stop();  // the tests run the ticks themselves
    // Midday, away from the midnight window of the polls, whenever the tests run.
    form->Now = [] { return QDateTime(QDate(2026, 1, 5), QTime(12, 0, 30)); };
    return *form;
  }
  // Starts the window on a settings file made from the record (the default record is a zero
  // file) and reads off what its start-up wrote to Com1.
  configurator::TForm1& Start(const configurator::TSetupConfig& c = {}) {
    WriteRecord(c);
    configurator::TForm1& f = Make();
    Wire();
    return f;
  }
  // Hands bytes to the receiver as one chunk of the driver's poll.
  void Chunk(const std::string& bytes) {
    form->SerialPort1ReceiveData(form->SerialPort1, bytes.data(),
                                 static_cast<std::uint32_t>(bytes.size()));
  }
  // What the window wrote to Com1 so far.
  std::string Wire() { return com1.ReadFor(30); }
  // The echo of the last command in the sent memo.
  std::string Echo() { return configurator::ui::MemoText(form->MemoS); }
  // Shows the window at that page, laid out (a page gets its size when it is
  // shown), and returns the page.
  QWidget* ShowPage(configurator::Page page) {
    form->show();
    form->PageControl1->setCurrentIndex(configurator::PageIndex(page));
    QCoreApplication::processEvents();
    return form->PageOf(page);
  }

  testsupport::PtyPair com1;
  std::vector<Box> boxes;
  platform::Answer answer = platform::Answer::Ok;  // the answer of a box with more buttons
  std::unique_ptr<configurator::TForm1> form;

 private:
  QTemporaryDir dir_;
  std::filesystem::path oldCwd_;
  bool hadXdg_ = false;
  std::string oldXdg_;
};

// A command as it leaves in direct mode: the frame, the command, CR and a zero byte.
inline std::string Frame(const std::string& command) {
  return std::string(14, ' ') + "SETUP:" + command + "\r" + std::string(1, '\0');
}

// Of the given direct children of a page, those that leave it or overlap a sibling.
inline std::vector<std::string> OverlapFaults(QWidget* page, const QList<QWidget*>& mine) {
  std::vector<std::string> faults;
  const auto all = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (QWidget* w : mine) {
    if (!page->rect().contains(w->geometry()))
      faults.push_back(w->objectName().toStdString() + " outside the page");
    for (QWidget* other : all)
      if (other != w && w->geometry().intersects(other->geometry()))
        faults.push_back(w->objectName().toStdString() + " over " +
                         other->objectName().toStdString());
  }
  return faults;
}

// Direct children of a page that leave it or overlap a sibling.
inline std::vector<std::string> OverlapFaults(QWidget* page) {
  return OverlapFaults(page, page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

// The overlap faults of a page, and captions cut short.
inline std::vector<std::string> LayoutFaults(QWidget* page) {
  std::vector<std::string> faults = OverlapFaults(page);
  for (QAbstractButton* b : page->findChildren<QAbstractButton*>()) {
    // A push button's size hint has a style minimum; its caption needs only its own width.
    const int need = qobject_cast<QPushButton*>(b)
                         ? b->fontMetrics().horizontalAdvance(b->text()) + 8
                         : b->sizeHint().width();
    if (!b->text().isEmpty() && b->width() < need)
      faults.push_back(b->text().toStdString() + " clipped");
  }
  for (QLabel* l : page->findChildren<QLabel*>())
    if (!l->wordWrap() && l->width() < l->sizeHint().width())
      faults.push_back(l->text().toStdString() + " clipped");
  return faults;
}

// Captions of a page (its buttons, boxes and labels, also inside its groups) cut short.
inline std::vector<std::string> ClippedCaptions(QWidget* page) {
  std::vector<std::string> clipped;
  for (const std::string& f : LayoutFaults(page))
    if (f.size() > 8 && f.compare(f.size() - 8, 8, " clipped") == 0) clipped.push_back(f);
  return clipped;
}

}  // namespace cfgtest
