#include "configurator/core/other.h"

namespace configurator::other {

std::string TwoDigitText(int position) {
  std::string s = std::to_string(position).substr(0, 2);
  return position >= 0 && position < 10 ? "0" + s : s;
}

std::string EditFilterValue(const std::string& text) {
  const bool twoDigits = text.size() >= 2 && text[1] >= '0' && text[1] <= '9';
  if (twoDigits) return text.substr(0, 2);
  // An empty edit counts as "0".
  return std::string("0") + (text.empty() ? '0' : text[0]);
}

std::string AllFiltersCommand(int temperature, int analog, int digital) {
  return "SETTF," + TwoDigitText(temperature) + "," + TwoDigitText(analog) + "," +
         std::to_string(digital);
}

std::string TemperatureFilterCommand(const std::string& editText) {
  return "SETTF," + EditFilterValue(editText) + " ";
}

std::string AnalogFilterCommand(const std::string& editText) {
  return "SETTF,,,," + EditFilterValue(editText) + " ";
}

std::string DigitalFilterCommand(const std::string& editText) {
  return "SETTF" + std::string(7, ' ') + editText;
}

std::string WithOptionChar(std::string text, int n, char c) {
  if (n < 1) return text;
  const auto i = static_cast<std::size_t>(n - 1);
  if (text.size() <= i) text.resize(i + 1, ' ');
  text[i] = c;
  return text;
}

std::string PaddedOptionText(const std::string& text) {
  std::string s = text.substr(0, kOptionTextLength);
  s.resize(kOptionTextLength, ' ');
  return s;
}

std::string TimeSourceCommand(int item) { return "DTFTP" + std::to_string(item + 1); }

}  // namespace configurator::other
