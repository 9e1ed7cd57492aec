// What the module keeps between calls of the host: the callbacks it was handed
// and the host value. Stored as given and never reset.
#pragma once

#include <cstdint>

#include "host/HostInterface.h"

namespace kd {

struct ModuleState {
  RegisterActionFn registerAction = nullptr;
  OpaqueCallback secondCallback = nullptr;
  OpaqueCallback thirdCallback = nullptr;
  SetVariableFn setVariable = nullptr;
  InterfaceAccessFn interfaceAccess = nullptr;
  OpaqueCallback scriptProcessor = nullptr;
  intptr_t hostValue = 0;
};

ModuleState& Module();

}  // namespace kd
