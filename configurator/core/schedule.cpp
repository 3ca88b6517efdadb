#include "configurator/core/schedule.h"

#include <algorithm>

namespace configurator {

namespace {
constexpr char kTypes[4] = {'A', 'C', 'T', 'L'};
const char* const kPeriods[4] = {"33", "44", "55", "66"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The two-digit number at pos, or -1 when the characters there are not two digits.
int TwoDigitsAt(const std::string& s, std::size_t pos) {
  if (s.size() < pos + 2 || !IsDigit(s[pos]) || !IsDigit(s[pos + 1])) return -1;
  return 10 * (s[pos] - '0') + (s[pos + 1] - '0');
}
}  // namespace

char ScheduleTypeChar(int item) { return item >= 0 && item < 4 ? kTypes[item] : ' '; }

std::string SchedulePeriodCode(int item) { return item >= 0 && item < 4 ? kPeriods[item] : ""; }

std::string ScheduleHour(int hour) {
  hour = std::clamp(hour, 0, 99);
  return std::string(1, static_cast<char>('0' + hour / 10)) + static_cast<char>('0' + hour % 10);
}

std::size_t ScheduleSlotPos(int slot) { return static_cast<std::size_t>(2 * slot - 1); }

void PutScheduleChars(std::string& schedule, std::size_t pos, const std::string& chars) {
  if (schedule.empty()) return;
  if (schedule.size() < kScheduleLength) schedule.resize(kScheduleLength, ' ');
  schedule.replace(pos, chars.size(), chars);
  schedule.resize(kScheduleLength);
}

std::string BuildScheduleString(const std::string& current, const TScheduleControls& c) {
  std::string s = current.empty() ? std::string(kScheduleLength, ' ') : current;
  for (int slot = 1; slot <= 4; ++slot)
    if (c.enabled[static_cast<std::size_t>(slot - 1)])
      PutScheduleChars(s, ScheduleSlotPos(slot),
                       ScheduleHour(c.hour[static_cast<std::size_t>(slot - 1)]));
  PutScheduleChars(s, 1, SchedulePeriodCode(c.period));
  if (c.type < 0 || c.type >= 4) return std::string(kScheduleLength, ' ');
  PutScheduleChars(s, 0, std::string(1, ScheduleTypeChar(c.type)));
  return s;
}

TScheduleControls DecodeSchedule(const std::string& schedule) {
  TScheduleControls c;
  for (int slot = 1; slot <= 4; ++slot) {
    const auto i = static_cast<std::size_t>(slot - 1);
    const int v = TwoDigitsAt(schedule, ScheduleSlotPos(slot));
    c.enabled[i] = v >= 0;
    if (v < 0)
      c.hour[i] = -1;
    else if (slot == 1)
      c.hour[i] = v < 24 ? v : 0;  // a period code such as "33" gives 0
    else
      c.hour[i] = std::min(v, 23);
  }
  c.type = 4;
  for (int item = 0; item < 4; ++item)
    if (!schedule.empty() && schedule[0] == kTypes[item]) c.type = item;
  c.period = 4;
  for (int item = 0; item < 4; ++item)
    if (schedule.size() >= 3 && schedule.compare(1, 2, kPeriods[item]) == 0) c.period = item;
  return c;
}

std::string ScheduleNumbersCommand(int bits) {
  if (bits > 7 || bits < 0) bits = 0;
  return "SNFLT" + std::string(1, static_cast<char>('0' + bits));
}

}  // namespace configurator
