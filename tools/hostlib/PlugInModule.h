// Loads kdPieChart.nbp the way the host does: LoadLibrary, then the eight
// entry points by their plain names.
#pragma once

#include <windows.h>

#include <string>

#include "host/HostInterface.h"

namespace kdhost {

class PlugInModule {
 public:
  explicit PlugInModule(const std::string& path);
  ~PlugInModule();
  PlugInModule(const PlugInModule&) = delete;
  PlugInModule& operator=(const PlugInModule&) = delete;

  HMODULE handle() const { return module_; }

  kd::RegisterPlugInFn nbRegisterPlugIn = nullptr;
  kd::InitPlugInFn nbInitPlugIn = nullptr;
  kd::ExecActionFn nbExecAction = nullptr;
  kd::EditActionFn nbEditAction = nullptr;
  kd::MessageFn nbMessage = nullptr;
  kd::AboutFn nbAbout = nullptr;
  kd::RegisterScriptProcessorFn nbRegisterScriptProcessor = nullptr;
  kd::RegisterInterfaceAccessFn nbRegisterInterfaceAccess = nullptr;

 private:
  HMODULE module_ = nullptr;
};

// The folder of the running program, with a trailing backslash.
std::string ProgramFolder();

// Deletes a folder with the files in it (scratch folders of tests and tools).
void RemoveFolder(const std::string& folder);

}  // namespace kdhost
