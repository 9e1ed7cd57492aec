#include "plugin/EntryPoints.h"

#include "charts/ChartRegistry.h"
#include "charts/ExecDispatch.h"
#include "editors/EditDispatch.h"
#include "host/ActionTable.h"
#include "host/HostServices.h"
#include "host/LocalisedText.h"
#include "host/ModuleState.h"
#include "platform/FloatingPoint.h"

namespace kd {

void RegisterPlugIn(RegisterActionFn registerAction, OpaqueCallback second, OpaqueCallback third,
                    SetVariableFn setVariable) {
  // A broken localisation file costs a warning, never the registration.
  try {
    CheckLocalisationHeader();
  } catch (...) {
  }
  ModuleState& module = Module();
  module.registerAction = registerAction;
  module.secondCallback = second;
  module.thirdCallback = third;
  module.setVariable = setVariable;
  if (!registerAction) return;
  for (const ActionEntry& entry : ActionTable()) {
    std::string hint = entry.key ? Localised(entry.key, entry.defaultHint) : std::string();
    platform::HostFloatingPointScope hostFloatingPoint;
    registerAction(entry.id, entry.name, hint.c_str(), entry.count,
                   static_cast<int32_t>(entry.types.size()) - 1, entry.types.data());
  }
}

void InitPlugIn(intptr_t hostValue, HostText* name, HostText* author, HostText* description) {
  Module().hostValue = hostValue;
  SetHostString(name, kPlugInName);
  SetHostString(author, kPlugInAuthor);
  SetHostString(description, kPlugInDescription);
}

bool ExecAction(int32_t id, HostText* params, int32_t high) { return DispatchAction(id, params, high); }

bool EditAction(int32_t id, HostText* slots, int32_t high) { return editors::EditAction(id, slots, high); }

void Message(int32_t code) {
  if (code == kMessageLeaveRunMode) FreeCharts();
}

void About() { editors::ShowAbout(); }

void RegisterScriptProcessor(OpaqueCallback processor) { Module().scriptProcessor = processor; }

void RegisterInterfaceAccess(InterfaceAccessFn access) { Module().interfaceAccess = access; }

}  // namespace kd
