#pragma once
// Command texts of the Abonents page and the arithmetic of its number masks, without widgets.
//
// A mask holds one character per input channel: an upper-case hexadecimal digit whose bits
// select the alarm numbers 1 (bit value 1) to 4 (bit value 8) that get the channel's alarm
// SMS, or "-" for a disabled channel.
#include <cstdint>
#include <string>

namespace configurator::abonents {

// Full lengths of the three masks: temperature/counter, analog, digital.
constexpr int kTMaskLength = 3;
constexpr int kAMaskLength = 8;
constexpr int kDMaskLength = 12;
// Room the number edits keep; longer texts are cut to this before they are checked.
constexpr std::size_t kNumberLength = 20;

// An alarm number: at least three characters, "+" or a digit, a digit, "+" or a digit.
// What follows the third character is not looked at.
bool ValidAlarmNumber(const std::string& number);
// A phone-book entry: at least two characters, "+" or a digit, then a digit.
bool ValidPhoneBookEntry(const std::string& entry);

// "SETNN" k "," and the first 20 characters of the number; empty when the number is not
// valid (then nothing is sent).
std::string SetNumberCommand(int k, const std::string& number);
// What a phone-book entry becomes before it is sent: itself when valid, else "+99".
std::string PhoneBookEntry(const std::string& entry);
// "SETPB" k "," and the entry as it goes out.
std::string PhoneBookCommand(int k, const std::string& entry);
// "SETME," T ",," A "," D with the masks as they stand.
std::string MaskCommand(const std::string& t, const std::string& a, const std::string& d);

// Value of a mask character: "0".."9", "A".."F" give 0..15, anything else 0.
int DigitValue(char c);
// Upper-case hexadecimal digit of the low four bits of a value.
char HexDigit(int value);

// The bit of one alarm number (1, 2, 4 or 8) set in or cleared from a digit value; any
// other bit value leaves the digit as it is.
void SetNumberBit(std::uint8_t bit, std::uint8_t& digit);
void ClearNumberBit(std::uint8_t bit, std::uint8_t& digit);

}  // namespace configurator::abonents
