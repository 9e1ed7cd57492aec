// Process facts for the plug-in boundary: the host program's folder and the
// module's one message box. Leaves out: anything about the module's own file.
#include "platform/HostProgram.h"

#include <windows.h>

#include <vector>

namespace kd::platform {

std::string HostProgramFolder() {
  // Long paths exist; grow until the whole name fits.
  std::vector<char> path(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::string();
    if (n < path.size()) {
      std::string full(path.data(), n);
      size_t slash = full.find_last_of("\\/");
      return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
    }
    path.resize(path.size() * 2);
  }
}

void ShowMessage(const std::string& text) {
  MessageBoxA(GetActiveWindow(), text.c_str(), "kdPieChart", MB_OK | MB_ICONWARNING);
}

}  // namespace kd::platform
