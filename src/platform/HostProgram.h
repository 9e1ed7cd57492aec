// Facts about the process the module runs in.
#pragma once

#include <string>

namespace kd::platform {

// Folder of the host's executable (not of this module), with a trailing backslash.
std::string HostProgramFolder();

// Shows a modal message box owned by the host's active window.
void ShowMessage(const std::string& text);

}  // namespace kd::platform
