#pragma once
// Command texts of the "Other" page and of the filter controls on the input pages: the
// fixed-column filter command, the option text and the time source.
#include <cstddef>
#include <string>

namespace configurator::other {

// Two-digit text of a time-out bar position: "00".."99".
std::string TwoDigitText(int position);

// Two-digit value taken from a filter edit: its first two characters, or "0" and its first
// character when the second is missing or no digit ("0" -> "00", "7" -> "07").
std::string EditFilterValue(const std::string& text);

// "SETTF," TT "," AA "," D from the three bar positions (13 characters).
std::string AllFiltersCommand(int temperature, int analog, int digital);
// One setting alone; the fields it leaves out stand as commas or blanks.
std::string TemperatureFilterCommand(const std::string& editText);  // "SETTF," TT " "
std::string AnalogFilterCommand(const std::string& editText);       // "SETTF,,,," AA " "
std::string DigitalFilterCommand(const std::string& editText);      // "SETTF" 7 blanks D

// The option text at start: the two marks and the thirteen defaults (15 characters).
inline constexpr const char* kDefaultOptionText = "MPEDEEDDDEEDDDE";
inline constexpr std::size_t kOptionTextLength = 16;

// The option text with character n (1-based) replaced; a shorter text is filled with blanks
// up to n first.
std::string WithOptionChar(std::string text, int n, char c);
// The option text as sent: filled with blanks to 16 characters, cut to 16.
std::string PaddedOptionText(const std::string& text);

// "DTFTP" and the item number of the time source plus one.
std::string TimeSourceCommand(int item);

}  // namespace configurator::other
