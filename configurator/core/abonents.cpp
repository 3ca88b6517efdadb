#include "configurator/core/abonents.h"

namespace configurator::abonents {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsPlusOrDigit(char c) { return c == '+' || IsDigit(c); }
bool IsNumberBit(std::uint8_t bit) { return bit == 1 || bit == 2 || bit == 4 || bit == 8; }
}  // namespace

bool ValidAlarmNumber(const std::string& number) {
  return number.size() >= 3 && IsPlusOrDigit(number[0]) && IsDigit(number[1]) &&
         IsPlusOrDigit(number[2]);
}

bool ValidPhoneBookEntry(const std::string& entry) {
  return entry.size() >= 2 && IsPlusOrDigit(entry[0]) && IsDigit(entry[1]);
}

std::string SetNumberCommand(int k, const std::string& number) {
  const std::string s = number.substr(0, kNumberLength);
  if (!ValidAlarmNumber(s)) return std::string();
  return "SETNN" + std::to_string(k) + "," + s;
}

std::string PhoneBookEntry(const std::string& entry) {
  return ValidPhoneBookEntry(entry.substr(0, kNumberLength)) ? entry : std::string("+99");
}

std::string PhoneBookCommand(int k, const std::string& entry) {
  return "SETPB" + std::to_string(k) + "," + entry;
}

std::string MaskCommand(const std::string& t, const std::string& a, const std::string& d) {
  return "SETME," + t + ",," + a + "," + d;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

char HexDigit(int value) { return "0123456789ABCDEF"[value & 15]; }

void SetNumberBit(std::uint8_t bit, std::uint8_t& digit) {
  if (IsNumberBit(bit)) digit = static_cast<std::uint8_t>(digit | bit);
}

void ClearNumberBit(std::uint8_t bit, std::uint8_t& digit) {
  if (IsNumberBit(bit)) digit = static_cast<std::uint8_t>(digit & (15 ^ bit));
}

}  // namespace configurator::abonents
