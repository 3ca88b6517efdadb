#include "configurator/core/ioanalog.h"

namespace configurator::ioanalog {

std::string Digit(int position) {
  if (position > 9) position = 9;
  if (position < 0) position = 0;
  return std::string(1, static_cast<char>('0' + position));
}

std::string PulseCommand(int samplingRate, int period, const std::array<int, 8>& pulses) {
  std::string s = "SETTN" + Digit(samplingRate) + "," + Digit(period) + ",";
  for (int p : pulses) s += Digit(p);
  return s;
}

std::string PulseText(int position) { return std::to_string(2 * position); }

std::string OutputCommand(bool on, int output) {
  return (on ? "SETOU" : "RSTOU") + std::to_string(output);
}

std::string OutputStateCommand(int output) { return "GETOS" + std::to_string(output); }

std::string InputStateCommand(int input) {
  return std::string("GETIS") + (input < 10 ? "0" : "") + std::to_string(input);
}

std::array<std::string, 8> OutputsAfterParallel(const std::string& bits) {
  std::array<std::string, 8> out{};
  for (std::size_t k = 0; k < out.size() && k < bits.size(); ++k) {
    if (bits[k] == '0') out[k] = "OFF";
    if (bits[k] == '1') out[k] = "ON ";
  }
  return out;
}

std::string LongFilterText(int position) {
  std::string s = std::to_string(position);
  if (s.size() == 2) s = "0" + s;
  if (s.size() == 1) s = "00" + s;
  return s;
}

std::string LevelText(int position) {
  std::string s = std::to_string(position).substr(0, 2);
  if (position < 10) s = ("0" + s).substr(0, 2);
  return s;
}

std::string LevelCommand(int input, const std::string& min, const std::string& max) {
  return "ANLEV" + std::to_string(input) + "," + min + "," + max;
}

std::string ModeCommand(const std::array<int, 8>& items, const std::string& multipliers,
                        const std::string& dividers) {
  std::string s = "AMODE";
  for (int item : items) s += Digit(item + 1);
  return s + "," + multipliers + "," + dividers;
}

std::string CorrectionCommand(int input, const std::string& factor) {
  return "K20MA" + std::to_string(input) + "," + factor;
}

}  // namespace configurator::ioanalog
