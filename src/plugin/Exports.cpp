// The module's only exports: the host's eight entry points, undecorated, in
// the host's register convention. Each one catches everything: an exception
// unwinding into a foreign 32-bit host would take the host down with it.
#include "plugin/EntryPoints.h"

#define KD_EXPORT extern "C" __declspec(dllexport)

KD_EXPORT void KD_HOSTCALL nbRegisterPlugIn(kd::RegisterActionFn registerAction,
                                            kd::OpaqueCallback second, kd::OpaqueCallback third,
                                            kd::SetVariableFn setVariable) {
  try {
    kd::RegisterPlugIn(registerAction, second, third, setVariable);
  } catch (...) {
  }
}

KD_EXPORT void KD_HOSTCALL nbInitPlugIn(intptr_t hostValue, kd::HostText* name,
                                        kd::HostText* author, kd::HostText* description) {
  try {
    kd::InitPlugIn(hostValue, name, author, description);
  } catch (...) {
  }
}

KD_EXPORT bool KD_HOSTCALL nbExecAction(int32_t id, kd::HostText* params, int32_t high) {
  try {
    return kd::ExecAction(id, params, high);
  } catch (...) {
    return false;
  }
}

KD_EXPORT bool KD_HOSTCALL nbEditAction(int32_t id, kd::HostText* slots, int32_t high) {
  try {
    return kd::EditAction(id, slots, high);
  } catch (...) {
    return false;
  }
}

KD_EXPORT void KD_HOSTCALL nbMessage(int32_t code, int32_t /*reserved*/) {
  try {
    kd::Message(code);
  } catch (...) {
  }
}

KD_EXPORT void KD_HOSTCALL nbAbout() {
  try {
    kd::About();
  } catch (...) {
  }
}

KD_EXPORT void KD_HOSTCALL nbRegisterScriptProcessor(kd::OpaqueCallback processor) {
  kd::RegisterScriptProcessor(processor);
}

KD_EXPORT void KD_HOSTCALL nbRegisterInterfaceAccess(kd::InterfaceAccessFn access) {
  kd::RegisterInterfaceAccess(access);
}
