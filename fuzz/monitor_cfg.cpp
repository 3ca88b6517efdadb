// Fuzz target: reading "csv.cfg" from arbitrary bytes, and the record's round trip.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "monitor/core/csvconfig.h"
#include "platform/core/error.h"

using namespace monitor;

namespace {

// One scratch file per process, removed at exit.
struct Scratch {
  std::string path = "/tmp/fuzz_monitor_cfg_" + std::to_string(::getpid()) + ".cfg";
  ~Scratch() { ::unlink(path.c_str()); }
};
const std::string& TempPath() {
  static const Scratch scratch;
  return scratch.path;
}

template <std::size_t N>
void Touch(const platform::FixedText<N>& t) {
  if (t.get().size() > N) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = TempPath();
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  TCSVConfig c;
  c.TLevel = 12345;
  bool read = false;
  try {
    read = ReadCSVConfig(path, c);
  } catch (const platform::Error&) {
    // Only a file shorter than one record may raise, and then the record is untouched.
    if (size >= kCSVConfigSize || c.TLevel != 12345) __builtin_trap();
    return 0;
  }
  if (!read || size < kCSVConfigSize) __builtin_trap();

  Touch(c.WorkFolder);
  Touch(c.Host);
  Touch(c.UserID);
  Touch(c.Password);
  for (const auto& n : c.AName) Touch(n);
  Touch(c.C1Name);
  Touch(c.C2Name);
  Touch(c.T1Name);
  const QDate day = c.CopyFromDay();
  if (day.isValid() && (day.year() < 100 || day.year() > 9999)) __builtin_trap();

  // Every byte of the record is written back as it was read.
  const auto bytes = c.Encode();
  if (std::memcmp(bytes.data(), data, kCSVConfigSize) != 0) __builtin_trap();
  return 0;
}
