#pragma once
#include <string>

namespace platform {

// The folder that maps port names to devices: $XDG_CONFIG_HOME/tk5063/ports,
// by default ~/.config/tk5063/ports. A link "com3" in it names the device for COM3.
std::string PortFolder();

// Turns a Windows device path into a Linux one.
// "\\.\COMn" and "COMn" (any case, n >= 1): the link comN in the port folder when it
// exists, else /dev/ttyS<n-1>. Any other name is returned as it stands.
std::string ResolveDevicePath(const std::string& name);

}  // namespace platform
