#pragma once
// The scheduled report SMS as one 9-character text: character 1 the report type ("A", "C",
// "T", "L" or a blank), characters 2-3 the period code or hour slot 1, 4-5, 6-7 and 8-9 hour
// slots 2 to 4 (two digits, or two blanks when off). Empty while no schedule was set yet.
#include <array>
#include <cstddef>
#include <string>

namespace configurator {

inline constexpr std::size_t kScheduleLength = 9;

// Report type of "SMS Type" items 0..3; a blank for "Disable" or no item.
char ScheduleTypeChar(int item);
// Period code of "Timeout" items 0..3 ("33", "44", "55", "66"); empty for "other" or no item.
std::string SchedulePeriodCode(int item);
// An hour as two digits, "0" before hours below 10.
std::string ScheduleHour(int hour);
// First character (0-based) of hour slot 1..4.
std::size_t ScheduleSlotPos(int slot);

// Puts chars at pos. Does nothing while the schedule is empty; a shorter text (not one this
// program writes) is first filled with blanks to 9 characters.
void PutScheduleChars(std::string& schedule, std::size_t pos, const std::string& chars);

// What the page's controls show.
struct TScheduleControls {
  int type = 0;    // SMSShed item, 4 = "Disable"
  int period = 0;  // RadioGroup1 item, 4 = "other"
  std::array<bool, 4> enabled{};
  std::array<int, 4> hour{};
};
// The schedule that "SET" sends, from the current text and the controls.
std::string BuildScheduleString(const std::string& current, const TScheduleControls& c);

// The controls that a stored schedule gives back. hour[i] is -1 where the slot's track bar
// keeps its position.
TScheduleControls DecodeSchedule(const std::string& schedule);

// "SNFLT" + the number bits as one digit; a value above 7 sends 0.
std::string ScheduleNumbersCommand(int bits);

}  // namespace configurator
