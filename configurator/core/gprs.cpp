#include "configurator/core/gprs.h"

#include <algorithm>

namespace configurator {

namespace {
// A blank or a control character: the device takes such a first character as "no value".
bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string CommaForm(const std::string& word) {
  std::string echo = word;
  if (!echo.empty() && echo.back() == ' ') echo.back() = ',';
  return echo;
}
}  // namespace

std::string CutAtBlank(const std::string& text) { return text.substr(0, text.find(' ')); }

TGprsCommand GprsTextCommand(const std::string& writeWord, const std::string& text) {
  const std::string value = CutAtBlank(text);
  return {writeWord + value, CommaForm(writeWord) + value, value};
}

TGprsCommand ApnCommand(const std::string& text) {
  if (text.empty() || IsBlankOrControl(text[0])) return {"SETAP    ", "SETAP    ", text};
  return GprsTextCommand("SETAP ", text);
}

TGprsCommand HttpHostCommand(const std::string& text) {
  std::string value = text;
  if (value.empty())
    value = "   ";
  else if (!IsBlankOrControl(value[0]))
    value = CutAtBlank(value);
  return {"SETRH," + value, "SETRH," + value, value};
}

std::string DigitCommand(const std::string& word, int position) {
  return word + static_cast<char>('0' + std::clamp(position, 0, 9));
}

std::string MaxErrorCommand(int position) {
  const int v = std::clamp(position, 0, 99);
  return "ESKTD" + std::string(1, static_cast<char>('0' + v / 10)) +
         static_cast<char>('0' + v % 10);
}

}  // namespace configurator
