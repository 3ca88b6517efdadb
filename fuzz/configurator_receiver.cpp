// Fuzzes the window's receiver: the first four bytes pick the flag state and the page, the
// rest is one received chunk; a tick follows. The window's port is a pty whose far side is
// drained and dropped, so nothing reaches a real device.
#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include "configurator/form.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"
#include "serial/SerialDrv.h"

namespace {
// Both live until the process ends; tearing Qt down at exit is not what is being tested.
QApplication* g_app = nullptr;
configurator::TForm1* g_form = nullptr;
int g_master = -1;

void Drain() {
  char buf[4096];
  while (::read(g_master, buf, sizeof buf) > 0) {
  }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  char tmpl[] = "/tmp/fuzz_cfg_receiver_XXXXXX";
  const char* dir = ::mkdtemp(tmpl);
  if (!dir) std::abort();
  const std::string root = dir;
  std::filesystem::create_directories(root + "/xdg/tk5063/ports");
  setenv("XDG_CONFIG_HOME", (root + "/xdg").c_str(), 1);
  std::filesystem::current_path(root);
  {
    FILE* f = std::fopen("TK5063.cfg", "wb");
    const std::string zero(4136, '\0');
    std::fwrite(zero.data(), 1, zero.size(), f);
    std::fclose(f);
  }
  int slave = -1;
  char name[256] = {};
  if (::openpty(&g_master, &slave, name, nullptr, nullptr) != 0) std::abort();
  ::fcntl(g_master, F_SETFL, ::fcntl(g_master, F_GETFL) | O_NONBLOCK);
  std::filesystem::create_symlink(name, root + "/xdg/tk5063/ports/com1");

  g_app = new QApplication(*argc, *argv);
  platform::SetMessageHook([](const platform::MessageRequest&) { return platform::Answer::Ok; });
  g_form = new configurator::TForm1();
  g_form->Timer1->stop();
  g_form->Now = [] { return QDateTime(QDate(2026, 3, 1), QTime(12, 0, 0)); };
  g_form->TKnumber->setText("+1234567");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  configurator::TForm1& f = *g_form;
  const std::uint8_t a = data[0], b = data[1], c = data[3];
  f.SMSmode->setChecked(a & 0x01);
  f.RawATMode = a & 0x02;
  f.PromptPending = a & 0x04;
  f.SubmitResultWait = a & 0x08;
  f.SubmitActive = a & 0x10;
  f.SubmitSent = a & 0x20;
  f.ModemBusy = a & 0x40;
  f.SkipCRLFcb->setChecked(a & 0x80);
  f.CGMIPending = b & 0x01;
  f.CGMMPending = b & 0x02;
  f.CSCSPending = b & 0x04;
  f.CCLKPending = b & 0x08;
  f.CMGL1Pending = b & 0x10;
  f.CMGFPending = b & 0x20;
  f.CMEEPending = b & 0x40;
  f.ReplyReady = b & 0x80;
  f.SkipCRLFState = c & 0x01;
  f.ModemInitActive = c & 0x02;
  f.ModemInitStep = (c >> 2) & 0x07;
  f.PollInhibit = c & 0x20;
  f.PollPending = c & 0x40;
  f.DataArrived = c & 0x80;
  f.PhoneNotConnected = a & 0x40 && c & 0x20;
  f.ClockQueryPending = b & 0x80 && c & 0x01;
  f.NoReplyTicks = 0;
  f.PendingPDU = (data[2] & 0x80) ? std::string()
                                  : std::string("0011300791214365F700000B06C722754A6D00") + '\0';
  const int page = data[2] % 13;
  if (f.PageControl1->currentIndex() != page) f.PageControl1->setCurrentIndex(page);

  f.SerialPort1ReceiveData(f.SerialPort1, data + 4, static_cast<std::uint32_t>(size - 4));
  f.Timer1Timer();

  f.MemoSMSinput->clear();
  f.MemoS->clear();
  Drain();
  return 0;
}
