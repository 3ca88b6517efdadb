#include "configurator/core/tempcounter.h"

#include <cstdio>

namespace configurator::tempcounter {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string ZeroFilled(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}
}  // namespace

std::string NormalizeSignedLevel(const std::string& text) {
  std::string s = text.substr(0, 4);
  s.resize(4, ' ');
  if (s[0] != '+' && s[0] != '-') s = "+" + s.substr(0, 3);
  if (!IsDigit(s[3]) && IsDigit(s[2])) {
    s = s.substr(0, 1) + "0" + s.substr(1, 2);  // two digits: one leading zero
  } else if (!IsDigit(s[2])) {
    s = s.substr(0, 1) + "00" + s.substr(1, 1);  // one digit: two leading zeros
  }
  return s;
}

std::string TemperatureLevelCommand(int input, int minimum, int maximum) {
  return "TCLEV" + std::to_string(input) + NormalizeSignedLevel(std::to_string(minimum)) +
         NormalizeSignedLevel(std::to_string(maximum));
}

std::string RunTimeLevelCommand(int level1, int level2) {
  return "RTLEV " + ZeroFilled(level1, 5) + " " + ZeroFilled(level2, 5);
}

std::string RunTimeDividerText(int position) { return ZeroFilled(position, 4).substr(0, 4); }

std::string RunTimeDividerField(const std::string& text) {
  if (text.empty() || text.size() > 4) return {};
  for (char c : text)
    if (!IsDigit(c)) return {};
  return std::string(4 - text.size(), '0') + text;
}

std::string RunTimeSourceCommand(int inputItem, int sourceItem, const std::string& divider) {
  static const char kSource[3] = {'A', 'D', 'I'};
  if (inputItem < 0 || inputItem > 3 || sourceItem < 0 || sourceItem > 2) return {};
  return "RTMOD" + std::to_string(inputItem + 1) + kSource[sourceItem] + divider;
}

std::string RunTimeModeCommand(int level, int mask) {
  if (level < 0 || level > 1 || mask < 0 || mask > 7) return {};
  return "RTMOD" + std::to_string(level) + std::to_string(mask);
}

std::string RunTimeModeLabel(int level, int mask, int counter) {
  static const char* const kInput[3] = {"DI11", "DI12", "DI10"};
  if (counter < 1 || counter > 3) return {};
  const std::string input = kInput[counter - 1];
  const std::string n = std::to_string(counter);
  if ((mask >> (counter - 1)) & 1)
    return input + "=" + std::to_string(level) + " RunTime COUNTER " + n;
  return input + "       Pulse COUNTER " + n;
}

}  // namespace configurator::tempcounter
