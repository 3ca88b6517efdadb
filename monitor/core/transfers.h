#pragma once
// Rules of the transfer page that need no widgets: the copy-from-date key, which remote
// names reach it, and which remote names may become local file names.
#include <string>
#include <string_view>

namespace monitor {

// Copy selected, Move selected and Copy from date look at no more items than this.
constexpr int kTransferWalkLimit = 32768;

// The logger's daily files start with their day as YYMMDD; the key of a day is that text.
std::string CopyFromDateKey(int year, int month, int day);

// Whether a remote name's first six characters compare greater than or equal to the key,
// character by character by code (a leading part of the other text is the smaller).
bool ReachesDateKey(std::string_view name, std::string_view key);

// Whether a remote name can be stored in the working folder as it stands: not empty, not
// "." or "..", and without a folder separator, a zero byte or a line break, so a download
// never lands outside the folder and the name can go into a command.
bool SafeLocalName(std::string_view name);

}  // namespace monitor
