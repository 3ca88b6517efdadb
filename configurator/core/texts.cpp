#include "configurator/core/texts.h"

namespace configurator {

std::string SlotDigits(int slot) {
  const int v = slot < 0 ? 0 : slot % 100;
  return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10);
}

TTextCommand TextButtonCommand(TextTable table, int slot, bool read, const std::string& text) {
  const char* word =
      table == TextTable::Long ? (read ? "GETTX" : "SETTX") : (read ? "GETTI" : "SETTI");
  const std::string head = word + SlotDigits(slot);
  if (read) return {head + " ", head + " "};
  return {head + " " + text, head + "," + text};
}

namespace {
const char* const kLevelWords[3] = {"Minimum", "Normal", "Maximum"};
}  // namespace

int TemperatureSlot(int input, int event) { return 3 * input - 2 + event; }
int AnalogSlot(int input, int event) { return 3 * input + 7 + event; }
int DigitalEventSlot(int input, int event) { return (event == 0 ? 33 : 45) + input; }
int InputNameSlot(int input, int state) { return (state == 1 ? 57 : 69) + input; }
int OutputNameSlot(int output, bool on) { return (on ? 81 : 89) + output; }

std::string DefaultLongText(int slot) {
  if (slot >= 1 && slot <= 9)
    return "Temperature " + std::to_string((slot - 1) / 3 + 1) + " " + kLevelWords[(slot - 1) % 3];
  if (slot >= 10 && slot <= 33)
    return "Analog Input " + std::to_string((slot - 10) / 3 + 1) + " " +
           kLevelWords[(slot - 10) % 3];
  if (slot >= 34 && slot <= 45) return "Event INP" + std::to_string(slot - 33) + " 0-1";
  if (slot >= 46 && slot <= 57) return "Event INP" + std::to_string(slot - 45) + " 1-0";
  return std::string();
}

std::string DefaultShortText(int slot) {
  if (slot >= 58 && slot <= 69) return "INP" + std::to_string(slot - 57) + " 1";
  if (slot >= 70 && slot <= 81) return "INP" + std::to_string(slot - 69) + " 0";
  if (slot >= 82 && slot <= 89) return "OUT" + std::to_string(slot - 81) + " 1";
  if (slot >= 90 && slot <= 97) return "OUT" + std::to_string(slot - 89) + " 0";
  return std::string();
}

std::string TemperatureRowCaption(int input) { return "Temp.Inp." + std::to_string(input); }

std::string AnalogRowCaption(int input) {
  // Odd inputs are spelled with a dot after "Analog", even ones with a blank.
  return std::string(input % 2 ? "Analog.Inp." : "Analog Inp.") + std::to_string(input);
}

std::string LevelEventCaption(int event) {
  static const char* const kCaptions[3] = {"< MINIMUM", "NORMAL", "> MAXIMUM"};
  return event >= 0 && event < 3 ? kCaptions[event] : "";
}

std::string DigitalEventCaption(int event) { return event == 0 ? "Event 0-1" : "Event 1-0"; }

}  // namespace configurator
