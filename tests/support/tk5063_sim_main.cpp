// tk5063_sim: a simulated TK5063 device on a pseudo-terminal, for trying the configurator
// by hand. It prints the terminal's path (and with --com N makes the link comN in the port
// folder, so that the configurator's Com N reaches it) and answers until Ctrl-C.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "support/device_sim.h"

namespace {

std::atomic<bool> g_stop{false};
void OnSignal(int) { g_stop = true; }

// The name it was started under, for its messages (the package installs it under another).
const char* g_name = "tk5063_sim";

void Usage() {
  std::printf(
      "usage: %s [--com N] [--silent] [--quiet]\n"
      "  --com N   make the link comN in the port folder point at the simulator (N 1..16)\n"
      "  --silent  read and log the commands but never answer\n"
      "  --quiet   don't print the bytes that pass\n",
      g_name);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 0 && argv[0] && *argv[0]) {
    const char* slash = std::strrchr(argv[0], '/');
    g_name = slash ? slash + 1 : argv[0];
  }
  int com = 0;
  bool silent = false, quiet = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--com") && i + 1 < argc) {
      com = std::atoi(argv[++i]);
      if (com < 1 || com > 16) {
        std::fprintf(stderr, "%s: --com wants a number from 1 to 16\n", g_name);
        return 2;
      }
    } else if (!std::strcmp(argv[i], "--silent")) {
      silent = true;
    } else if (!std::strcmp(argv[i], "--quiet")) {
      quiet = true;
    } else {
      Usage();
      return std::strcmp(argv[i], "--help") ? 2 : 0;
    }
  }

  testsupport::DeviceSimulator device;
  if (!device.Open()) {
    std::fprintf(stderr, "%s: no pseudo-terminal available\n", g_name);
    return 1;
  }
  device.SetSilent(silent);
  if (!quiet) {
    device.Trace = [](const std::string& bytes, bool fromProgram) {
      std::printf("%s %s\n", fromProgram ? "<<" : ">>", testsupport::Printable(bytes).c_str());
      std::fflush(stdout);
    };
  }
  std::string link, error;
  if (com && !testsupport::MakePortLink(com, device.SlavePath(), &link, &error)) {
    std::fprintf(stderr, "%s: %s\n", g_name, error.c_str());
    return 1;
  }
  std::printf("TK5063 device simulator on %s\n", device.SlavePath().c_str());
  if (!link.empty())
    std::printf("Com %d of the configurator reaches it through %s\n", com, link.c_str());
  std::printf("Ctrl-C ends it.\n");
  std::fflush(stdout);

  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  device.RunBlocking(g_stop);
  testsupport::RemovePortLink(link, device.SlavePath());
  std::printf("\nstopped after %zu commands\n", device.Commands().size());
  return 0;
}
