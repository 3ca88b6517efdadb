#pragma once
// Command texts of the GPRS, FTP page: the read-or-write text settings with their blank
// rules, the file parameters and the error limit. Texts are Windows-1252 bytes.
#include <string>

namespace configurator {

// What one click of a text setting's button does: the line to send, the text to echo and the
// text the edit holds afterwards (the blank rules may change it).
struct TGprsCommand {
  std::string command;
  std::string echo;
  std::string edit;
  bool operator==(const TGprsCommand&) const = default;
};

// The text before its first blank ("" for a text that begins with one).
std::string CutAtBlank(const std::string& text);

// Common form: writeWord is "SETID " ... with its blank; the echo has a comma in its place.
TGprsCommand GprsTextCommand(const std::string& writeWord, const std::string& text);
// APN: an empty text or one that begins with a blank or a control character sends
// "SETAP    " and leaves the edit as it is.
TGprsCommand ApnCommand(const std::string& text);
// HTTP host: an empty text becomes three blanks; a text that begins with a blank or a control
// character goes as it is; any other is cut at its first blank. Word and echo "SETRH,".
TGprsCommand HttpHostCommand(const std::string& text);

// word + one decimal digit of position (kept within 0..9): "SRATE5", "DLPER3".
std::string DigitCommand(const std::string& word, int position);
// "ESKTD" + position as two digits (kept within 0..99).
std::string MaxErrorCommand(int position);

}  // namespace configurator
