// Fuzz target: decoding the settings record "TK5063.cfg" from arbitrary bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "configurator/core/setupconfig.h"

using namespace configurator;

namespace {
template <std::size_t N>
void Touch(const platform::FixedText<N>& t) {
  if (GetText(t).size() > N) __builtin_trap();
}
template <class T, std::size_t M>
void TouchAll(const std::array<T, M>& a) {
  for (const auto& t : a) Touch(t);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size copy, so that a read past the given bytes shows at once.
  const std::vector<unsigned char> bytes(data, data + size);
  const TSetupConfig c = DecodeSetupConfig(bytes.data(), bytes.size());

  Touch(c.TKnumber);
  TouchAll(c.TXTSMS);
  TouchAll(c.iTXTSMS);
  Touch(c.TNrFilter);
  Touch(c.ANrFilter);
  Touch(c.DNrFilter);
  Touch(c.APN);
  Touch(c.UserID);
  Touch(c.Password);
  Touch(c.IPaddress);
  Touch(c.FTPHostName);
  Touch(c.UserNameFTP);
  Touch(c.PasswordFTP);
  Touch(c.DirName);
  Touch(c.OptionString);
  Touch(c.HTTPhostName);
  TouchAll(c.NNumber);
  TouchAll(c.PBnr);
  Touch(c.TKnumber2);
  Touch(c.ScheduleString);
  Touch(c.AkoeffStr);
  Touch(c.ADividerStr);
  TouchAll(c.MUX);
  TKeptValues k = TKeptValues::FromRecord(c);
  if (k.v4080 > 4) __builtin_trap();

  // Decoding and encoding again gives the bytes read (a short file reads as zero-padded).
  const SetupBytes again = EncodeSetupConfig(c);
  const std::size_t n = std::min(size, kSetupConfigSize);
  if (!std::equal(again.begin(), again.begin() + static_cast<long>(n), bytes.begin()))
    __builtin_trap();
  if (!std::all_of(again.begin() + static_cast<long>(n), again.end(),
                   [](unsigned char b) { return b == 0; }))
    __builtin_trap();
  return 0;
}
