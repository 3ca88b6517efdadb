#pragma once
#include <string>

namespace platform {

// The option the desktop menu entries start both programs with: work in the user's own
// working folder (WorkFolder) instead of the folder the desktop starts them in.
inline constexpr char kWorkFolderOption[] = "--work-folder";

// True when argv[1..argc-1] holds kWorkFolderOption.
bool HasWorkFolderOption(int argc, const char* const* argv);

// The working folder of a start from the menu, shared by both programs: TK5063 in the
// given home folder.
std::string WorkFolder(const std::string& home);

// Makes the folder when it is missing and makes it the process's current folder. Returns
// an empty text when that is done, else why not; the current folder then stays as it was.
std::string EnterWorkFolder(const std::string& folder);

}  // namespace platform
