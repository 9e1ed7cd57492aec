#include "host/HostServices.h"

#include "host/GlobalBlocks.h"
#include "host/ModuleState.h"
#include "platform/FloatingPoint.h"

namespace kd {

void SetHostString(HostText* slot, std::string_view text) { HostStringSet(GlobalBlocks(), slot, text); }

void ReleaseHostString(HostText* slot) { HostStringRelease(GlobalBlocks(), slot); }

HostAnswer AskHost(int32_t code, std::string_view question) {
  platform::HostFloatingPointScope hostFloatingPoint;
  return AskHost(GlobalBlocks(), Module().interfaceAccess, code, question);
}

bool HostCanAnswer() { return Module().interfaceAccess != nullptr; }

void SetHostVariable(const std::string& name, const std::string& value) {
  SetVariableFn setVariable = Module().setVariable;
  if (!setVariable) throw HostError("the host gave no set-variable callback");
  platform::HostFloatingPointScope hostFloatingPoint;
  setVariable(name.c_str(), value.c_str());
}

}  // namespace kd
