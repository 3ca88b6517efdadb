#pragma once

namespace platform {

// Started with the work-folder option (the menu entries do), moves the process into the
// user's working folder, making it at the first start; where that fails, a warning says why
// and the program works in the folder it was started in. Without the option nothing changes.
// Call after the application object has taken its own options from the command line.
void EnterWorkFolderWhenAsked(int argc, const char* const* argv);

}  // namespace platform
