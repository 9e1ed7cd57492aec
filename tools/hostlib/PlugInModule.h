// Loads kdPieChart.nbp the way the host does: LoadLibrary, then the eight
// entry points by their plain names; in the host's floating-point mode, each
// call checked for giving the host's words back.
#pragma once

#include <windows.h>

#include <string>

#include "FloatMode.h"
#include "host/HostInterface.h"

namespace kdhost {

class PlugInModule {
 public:
  explicit PlugInModule(const std::string& path);
  ~PlugInModule();
  PlugInModule(const PlugInModule&) = delete;
  PlugInModule& operator=(const PlugInModule&) = delete;

  HMODULE handle() const { return module_; }

  void nbRegisterPlugIn(kd::RegisterActionFn reg, kd::OpaqueCallback second, kd::OpaqueCallback third,
                        kd::SetVariableFn setVariable) const {
    CheckedCall("nbRegisterPlugIn", registerPlugIn_, reg, second, third, setVariable);
  }
  void nbInitPlugIn(intptr_t hostValue, kd::HostText* name, kd::HostText* author, kd::HostText* description) const {
    CheckedCall("nbInitPlugIn", initPlugIn_, hostValue, name, author, description);
  }
  bool nbExecAction(int32_t id, kd::HostText* params, int32_t high) const {
    return CheckedCall("nbExecAction", execAction_, id, params, high);
  }
  bool nbEditAction(int32_t id, kd::HostText* slots, int32_t high) const {
    return CheckedCall("nbEditAction", editAction_, id, slots, high);
  }
  void nbMessage(int32_t code, int32_t reserved) const { CheckedCall("nbMessage", message_, code, reserved); }
  void nbAbout() const { CheckedCall("nbAbout", about_); }
  void nbRegisterScriptProcessor(kd::OpaqueCallback processor) const {
    CheckedCall("nbRegisterScriptProcessor", registerScriptProcessor_, processor);
  }
  void nbRegisterInterfaceAccess(kd::InterfaceAccessFn access) const {
    CheckedCall("nbRegisterInterfaceAccess", registerInterfaceAccess_, access);
  }

 private:
  HMODULE module_ = nullptr;
  kd::RegisterPlugInFn registerPlugIn_ = nullptr;
  kd::InitPlugInFn initPlugIn_ = nullptr;
  kd::ExecActionFn execAction_ = nullptr;
  kd::EditActionFn editAction_ = nullptr;
  kd::MessageFn message_ = nullptr;
  kd::AboutFn about_ = nullptr;
  kd::RegisterScriptProcessorFn registerScriptProcessor_ = nullptr;
  kd::RegisterInterfaceAccessFn registerInterfaceAccess_ = nullptr;
};

// The folder of the running program, with a trailing backslash.
std::string ProgramFolder();

// Deletes a folder with the files in it (scratch folders of tests and tools).
void RemoveFolder(const std::string& folder);

}  // namespace kdhost
