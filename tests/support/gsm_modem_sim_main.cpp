// gsm_modem_sim: a simulated GSM modem on a pseudo-terminal, for trying the configurator's
// SMS mode by hand. With --device every SMS sent through it is answered by a simulated
// TK5063 device, and the answer waits in the message store for the configurator's polls.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "support/device_sim.h"
#include "support/modem_sim.h"

namespace {

std::atomic<bool> g_stop{false};
void OnSignal(int) { g_stop = true; }

// The name it was started under, for its messages (the package installs it under another).
const char* g_name = "gsm_modem_sim";

void Usage() {
  std::printf(
      "usage: %s [--com N] [--device] [--sms SENDER TEXT]... [--manufacturer NAME]\n"
      "         [--silent] [--quiet]\n"
      "  --com N              make the link comN in the port folder point at the modem (N 1..16)\n"
      "  --device             a simulated TK5063 answers every SMS sent through the modem\n"
      "  --sms SENDER TEXT    put an unread SMS into the message store (may be repeated)\n"
      "  --manufacturer NAME  answer of AT+CGMI (SIEMENS phones get the clock line without zone)\n"
      "  --silent             read and log but never answer (no phone on the line)\n"
      "  --quiet              don't print the bytes that pass\n",
      g_name);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 0 && argv[0] && *argv[0]) {
    const char* slash = std::strrchr(argv[0], '/');
    g_name = slash ? slash + 1 : argv[0];
  }
  testsupport::ModemSimulator modem;
  testsupport::DeviceSimulator device;  // not on a line of its own: it answers SMS only
  int com = 0;
  bool quiet = false;
  if (!modem.Open()) {
    std::fprintf(stderr, "%s: no pseudo-terminal available\n", g_name);
    return 1;
  }
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--com") && i + 1 < argc) {
      com = std::atoi(argv[++i]);
      if (com < 1 || com > 16) {
        std::fprintf(stderr, "%s: --com wants a number from 1 to 16\n", g_name);
        return 2;
      }
    } else if (!std::strcmp(argv[i], "--device")) {
      modem.SetResponder([&device](const std::string& text) { return device.SmsAnswer(text); });
    } else if (!std::strcmp(argv[i], "--sms") && i + 2 < argc) {
      modem.AddDelivered(argv[i + 1], argv[i + 2]);
      i += 2;
    } else if (!std::strcmp(argv[i], "--manufacturer") && i + 1 < argc) {
      modem.SetManufacturer(argv[++i]);
    } else if (!std::strcmp(argv[i], "--silent")) {
      modem.SetSilent(true);
    } else if (!std::strcmp(argv[i], "--quiet")) {
      quiet = true;
    } else {
      Usage();
      return std::strcmp(argv[i], "--help") ? 2 : 0;
    }
  }
  if (!quiet) {
    modem.Trace = [](const std::string& bytes, bool fromProgram) {
      std::printf("%s %s\n", fromProgram ? "<<" : ">>", testsupport::Printable(bytes).c_str());
      std::fflush(stdout);
    };
  }
  std::string link, error;
  if (com && !testsupport::MakePortLink(com, modem.SlavePath(), &link, &error)) {
    std::fprintf(stderr, "%s: %s\n", g_name, error.c_str());
    return 1;
  }
  std::printf("GSM modem simulator on %s\n", modem.SlavePath().c_str());
  if (!link.empty())
    std::printf("Com %d of the configurator reaches it through %s\n", com, link.c_str());
  std::printf("Ctrl-C ends it.\n");
  std::fflush(stdout);

  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  modem.RunBlocking(g_stop);
  testsupport::RemovePortLink(link, modem.SlavePath());
  std::printf("\nstopped: %zu AT lines, %zu SMS sent, %zu in the store\n", modem.AtLines().size(),
              modem.Submissions().size(), modem.Store().size());
  return 0;
}
