// The module's only exports: the host's eight entry points, undecorated, in
// the host's register convention. Each one catches everything: an exception
// unwinding into a foreign 32-bit host would take the host down with it. Each
// one runs in our masked floating-point environment: the host unmasks
// exceptions, and a hardware one is no C++ exception.
#include "plugin/EntryPoints.h"
#include "platform/FloatingPoint.h"

#define KD_EXPORT extern "C" __declspec(dllexport)

KD_EXPORT void KD_HOSTCALL nbRegisterPlugIn(kd::RegisterActionFn registerAction,
                                            kd::OpaqueCallback second, kd::OpaqueCallback third,
                                            kd::SetVariableFn setVariable) {
  kd::platform::FloatingPointScope floatingPoint;
  try {
    kd::RegisterPlugIn(registerAction, second, third, setVariable);
  } catch (...) {
  }
}

KD_EXPORT void KD_HOSTCALL nbInitPlugIn(intptr_t hostValue, kd::HostText* name,
                                        kd::HostText* author, kd::HostText* description) {
  kd::platform::FloatingPointScope floatingPoint;
  try {
    kd::InitPlugIn(hostValue, name, author, description);
  } catch (...) {
  }
}

KD_EXPORT bool KD_HOSTCALL nbExecAction(int32_t id, kd::HostText* params, int32_t high) {
  kd::platform::FloatingPointScope floatingPoint;
  try {
    return kd::ExecAction(id, params, high);
  } catch (...) {
    return false;
  }
}

KD_EXPORT bool KD_HOSTCALL nbEditAction(int32_t id, kd::HostText* slots, int32_t high) {
  kd::platform::FloatingPointScope floatingPoint;
  try {
    return kd::EditAction(id, slots, high);
  } catch (...) {
    return false;
  }
}

KD_EXPORT void KD_HOSTCALL nbMessage(int32_t code, int32_t /*reserved*/) {
  kd::platform::FloatingPointScope floatingPoint;
  try {
    kd::Message(code);
  } catch (...) {
  }
}

KD_EXPORT void KD_HOSTCALL nbAbout() {
  kd::platform::FloatingPointScope floatingPoint;
  try {
    kd::About();
  } catch (...) {
  }
}

KD_EXPORT void KD_HOSTCALL nbRegisterScriptProcessor(kd::OpaqueCallback processor) {
  kd::platform::FloatingPointScope floatingPoint;
  kd::RegisterScriptProcessor(processor);
}

KD_EXPORT void KD_HOSTCALL nbRegisterInterfaceAccess(kd::InterfaceAccessFn access) {
  kd::platform::FloatingPointScope floatingPoint;
  kd::RegisterInterfaceAccess(access);
}
