// Figures of the configurator window: constructing it with its start-up from a full
// settings file, and the receiver's handling of one chunk of 1k, 2k, 4k and 8k bytes
// (direct and SMS mode), to show the cost grows in proportion to the chunk.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "configurator/form.h"
#include "configurator/pdu.h"
#include "configurator/setupconfig.h"
#include "platform/messagebox.h"
#include "serial/SerialDrv.h"
#include "support/pty.h"

namespace {

// A settings file with every field filled.
void WriteFullSettings() {
  configurator::TSetupConfig c;
  c.RadioGroupRate = 2;
  c.RadioGroupPort = 0;
  c.TrackBar5 = 2500;
  c.TKnumber.set("+491701234567");
  c.TKnumber2.set("+491701234567");
  for (auto& t : c.TXTSMS) t.set(std::string(26, 'T'));
  for (auto& t : c.iTXTSMS) t.set(std::string(15, 'i'));
  for (auto& t : c.NNumber) t.set("+4917000000000");
  for (auto& t : c.PBnr) t.set("+4917000000001");
  for (auto& t : c.MUX) t.set("123");
  c.TNrFilter.set("1F-");
  c.ANrFilter.set("12345678");
  c.DNrFilter.set("0123456789AB");
  for (auto* t : {&c.APN, &c.UserID, &c.Password, &c.IPaddress, &c.FTPHostName, &c.UserNameFTP,
                  &c.HTTPhostName})
    t->set(std::string(40, 'g'));
  c.PasswordFTP.set("secret");
  c.DirName.set("logger");
  c.OptionString.set("ABCDEFGH");
  c.ScheduleString.set("123456789");
  c.AnalogLevels.fill(42);
  c.TempLevels.fill(-5);
  c.SkipCRLFcb = 1;
  c.SaveSettingAfterExitCB = 1;
  const auto bytes = configurator::EncodeSetupConfig(c);
  FILE* f = std::fopen("TK5063.cfg", "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

std::string DeliverPdu(const std::string& text) {
  char udl[3];
  std::snprintf(udl, sizeof udl, "%02X", static_cast<unsigned>(text.size() & 0xFF));
  return std::string("07919471000000F0040C91947110325476000062105021000000") + udl +
         configurator::PackSeptets(text);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QTemporaryDir dir;
  std::filesystem::current_path(dir.path().toStdString());
  const std::string ports = dir.path().toStdString() + "/xdg/tk5063/ports";
  std::filesystem::create_directories(ports);
  setenv("XDG_CONFIG_HOME", (dir.path() + "/xdg").toLocal8Bit().constData(), 1);
  testsupport::PtyPair com1;
  if (!com1.Open()) {
    std::fprintf(stderr, "no pty\n");
    return 1;
  }
  std::filesystem::create_symlink(com1.SlavePath(), ports + "/com1");
  QApplication app(argc, argv);
  platform::SetMessageHook([](const platform::MessageRequest&) { return platform::Answer::Ok; });
  WriteFullSettings();

  // Start-up: construction runs the whole start-up from the file.
  std::vector<double> startup;
  for (int i = 0; i < 15; ++i) {
    QElapsedTimer t;
    t.start();
    auto form = std::make_unique<configurator::TForm1>();
    startup.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    form.reset();
    com1.ReadAvailable();
  }
  std::printf("window construction with start-up from a full TK5063.cfg: median %.2f ms, "
              "first %.2f ms (goal <= 150 ms)\n",
              Median(startup), startup.front());

  configurator::TForm1 form;
  form.Timer1->stop();
  std::printf("\nreceiver, one chunk (median of 50 runs):\n");
  std::printf("%8s %16s %16s %22s %16s\n", "bytes", "direct ms", "direct+tick ms",
              "us per KiB (direct)", "SMS listing ms");
  for (int size : {1024, 2048, 4096, 8192}) {
    std::string reply;
    while (static_cast<int>(reply.size()) < size) reply += "TNR3: +4917012345 line\r\n";
    reply.resize(static_cast<std::size_t>(size));
    std::string listing = "\r\n+CMGL: 3,0,,153\r\n" + DeliverPdu(std::string(153, 'V')) + "\r\n";
    while (static_cast<int>(listing.size()) < size) listing += "\r\nOK\r\n";
    listing.resize(static_cast<std::size_t>(size));

    std::vector<double> direct, withTick, sms;
    for (int r = 0; r < 50; ++r) {
      form.SMSmode->setChecked(false);
      form.Clear();
      QElapsedTimer t;
      t.start();
      form.SerialPort1ReceiveData(form.SerialPort1, reply.data(), static_cast<std::uint32_t>(size));
      direct.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
      t.restart();
      form.SerialPort1ReceiveData(form.SerialPort1, reply.data(), static_cast<std::uint32_t>(size));
      form.Timer1Timer();
      withTick.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);

      form.SMSmode->setChecked(true);
      form.MemoSMSinput->clear();
      t.restart();
      form.SerialPort1ReceiveData(form.SerialPort1, listing.data(), static_cast<std::uint32_t>(size));
      sms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
      com1.ReadAvailable();
    }
    std::printf("%8d %16.3f %16.3f %22.1f %16.3f\n", size, Median(direct), Median(withTick),
                Median(direct) * 1000.0 / (size / 1024.0), Median(sms));
  }
  return 0;
}
