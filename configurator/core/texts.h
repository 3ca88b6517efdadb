#pragma once
// The device's two text tables as the configurator sees them: long texts in slots 1..57
// ("GETTX"/"SETTX") and short texts in slots 1..97 ("GETTI"/"SETTI"). Command texts, their
// echoes, and the texts and captions the window gives the pages before the settings file
// is read. No widgets here.
#include <string>

namespace configurator {

inline constexpr int kLongTextSlots = 57;       // slots 1..57 of the long table
inline constexpr int kShortTextSlots = 97;      // slots 1..97 of the short table
inline constexpr int kLongTextMaxLength = 32;   // what the user may type into a long text
inline constexpr int kShortTextMaxLength = 15;  // ... and into a short text

// Which table a button serves: the command words that go with it.
enum class TextTable { Long, Short };

struct TTextCommand {
  std::string command;  // handed to the framer
  std::string echo;     // shown in the sent-command memo
};

// The command of one text button. A read is the word, the slot as two digits and one
// blank ("GETTX01 "); a write is the same with "SET" and the text unchanged after the
// blank ("SETTI58 Door"), and its echo has a comma in place of the blank ("SETTI58,Door").
TTextCommand TextButtonCommand(TextTable table, int slot, bool read, const std::string& text);

// The slot as two decimal digits, with a leading zero below 10.
std::string SlotDigits(int slot);

// The texts the window puts into the edits at construction (start-up replaces them from
// the settings file): the long texts in words ("Temperature 1 Normal", "Event INP12 1-0"),
// the short texts 1..57 empty and 58..97 the state names "INP1 1" .. "OUT8 0".
std::string DefaultLongText(int slot);
std::string DefaultShortText(int slot);

// Row captions of the alarm text grid: temperature inputs 1..3, analog inputs 1..8.
std::string TemperatureRowCaption(int input);
std::string AnalogRowCaption(int input);
// Column captions of the three level events and the two digital events.
std::string LevelEventCaption(int event);    // 0, 1, 2: "< MINIMUM", "NORMAL", "> MAXIMUM"
std::string DigitalEventCaption(int event);  // 0, 1: "Event 0-1", "Event 1-0"

// Slot of a level event of a temperature input (1..3) or analog input (1..8), event 0..2,
// and of a digital event (0: 0-1, 1: 1-0) of input 1..12.
int TemperatureSlot(int input, int event);
int AnalogSlot(int input, int event);
int DigitalEventSlot(int input, int event);
// Name slots of the IOname page: digital input 1..12 state 1 (state=1) or 0, output 1..8
// ON (on=true) or OFF.
int InputNameSlot(int input, int state);
int OutputNameSlot(int output, bool on);

}  // namespace configurator
