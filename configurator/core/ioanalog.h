#pragma once
// Command texts and display texts of the IO control and Analog pages, without widgets.
#include <array>
#include <string>

namespace configurator::ioanalog {

// One decimal digit of a bar position; positions above 9 give "9", below 0 give "0".
std::string Digit(int position);

// "SETTN" r "," t "," p1..p8: sampling code, period code and the eight pulse digits.
std::string PulseCommand(int samplingRate, int period, const std::array<int, 8>& pulses);

// What a pulse bar's edit shows: twice the position, in decimal.
std::string PulseText(int position);

// "SETOU"/"RSTOU" with the output number.
std::string OutputCommand(bool on, int output);
// "GETOS" with the output number (0 = all outputs).
std::string OutputStateCommand(int output);
// "GETIS" with the input number as two digits (0 = all inputs).
std::string InputStateCommand(int input);

// Output edit texts after "OUTP ": for each output, the new text ("ON " or "OFF"), or an
// empty text where the typed character leaves the output as it is.
std::array<std::string, 8> OutputsAfterParallel(const std::string& bits);

// Long filter delay as three digits ("007", "042", "999").
std::string LongFilterText(int position);

// Level text of an analog bar: two digits, "00".."99".
std::string LevelText(int position);

// "ANLEV" n "," min "," max.
std::string LevelCommand(int input, const std::string& min, const std::string& max);

// "AMODE" d1..d8 "," multipliers "," dividers; dk is the selected item of input k plus 1.
std::string ModeCommand(const std::array<int, 8>& items, const std::string& multipliers,
                        const std::string& dividers);

// "K20MA" n "," factor.
std::string CorrectionCommand(int input, const std::string& factor);

}  // namespace configurator::ioanalog
