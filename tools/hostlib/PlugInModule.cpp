#include "PlugInModule.h"

#include <stdexcept>

namespace kdhost {

namespace {
template <class Fn>
void Resolve(HMODULE module, const char* name, Fn& fn) {
  FARPROC address = GetProcAddress(module, name);
  if (!address) throw std::runtime_error(std::string("missing export ") + name);
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(address));
}
}  // namespace

PlugInModule::PlugInModule(const std::string& path) {
  EnterHostFloatMode();
  module_ = LoadLibraryA(path.c_str());
  if (!module_) throw std::runtime_error("cannot load " + path);
  try {
    Resolve(module_, "nbRegisterPlugIn", registerPlugIn_);
    Resolve(module_, "nbInitPlugIn", initPlugIn_);
    Resolve(module_, "nbExecAction", execAction_);
    Resolve(module_, "nbEditAction", editAction_);
    Resolve(module_, "nbMessage", message_);
    Resolve(module_, "nbAbout", about_);
    Resolve(module_, "nbRegisterScriptProcessor", registerScriptProcessor_);
    Resolve(module_, "nbRegisterInterfaceAccess", registerInterfaceAccess_);
  } catch (...) {
    FreeLibrary(module_);
    throw;
  }
}

PlugInModule::~PlugInModule() {
  if (module_) FreeLibrary(module_);
}

std::string ProgramFolder() {
  char path[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string full(path, n);
  return full.substr(0, full.find_last_of("\\/") + 1);
}

void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do DeleteFileA((folder + "\\" + found.cFileName).c_str());
    while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace kdhost
