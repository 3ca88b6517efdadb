#pragma once
// Command texts of the Temperature/Counter and RunTime pages.
#include <string>

namespace configurator::tempcounter {

// The decimal text of a level position (at most 4 characters) as a sign and three digits:
// "0" -> "+000", "12" -> "+012", "-5" -> "-005", "600" -> "+600".
std::string NormalizeSignedLevel(const std::string& text);

// "TCLEV" input min max, e.g. input 1 with -10 and 30 gives "TCLEV1-010+030".
std::string TemperatureLevelCommand(int input, int minimum, int maximum);

// "RTLEV " level1 " " level2, each level as five digits: "RTLEV 00100 32000".
std::string RunTimeLevelCommand(int level1, int level2);

// The divider position as four digits with leading zeros ("0000".."9600").
std::string RunTimeDividerText(int position);

// The divider as the device reads it: one to four decimal digits, filled with zeros on the
// left to four. Empty for anything else (empty, non-digits, more than four characters).
std::string RunTimeDividerField(const std::string& text);

// "RTMOD" input digit, source letter, divider: items 0..3 of the input group give "1".."4",
// items 0..2 of the source group "A", "D", "I". Empty when an item is out of range.
std::string RunTimeSourceCommand(int inputItem, int sourceItem, const std::string& divider);

// "RTMOD" level digit and mask digit (1 = counter 1, 2 = counter 2, 4 = counter 3 measure
// run-time at that input level); empty for a level other than 0/1 or a mask outside 0..7.
std::string RunTimeModeCommand(int level, int mask);

// The three labels of a counter/run-time mode panel, counter 1..3:
// "DI11       Pulse COUNTER 1" or "DI11=0 RunTime COUNTER 1".
std::string RunTimeModeLabel(int level, int mask, int counter);

}  // namespace configurator::tempcounter
