// The floating-point mode a test host runs the plug-in in, and the checks
// that every call into the plug-in gives the host its words back. Leaves out:
// the plug-in's own guard (platform/FloatingPoint.h).
#pragma once

#include "platform/FloatingPoint.h"

namespace kdhost {

// Sets a Delphi program's words (exceptions unmasked), or every exception
// masked where KD_FP_MASKED=1 asks for it. Called before the plug-in loads.
void EnterHostFloatMode();

// The words EnterHostFloatMode set.
kd::platform::FloatControl HostFloatMode();

// Stops the program, naming `what`, unless the words are those the host runs
// the plug-in's callbacks with (its control bits; flags may differ).
void CheckInHostFloatMode(const char* what);

// Held around a call into the plug-in: stops the program, naming the call,
// unless the words come back exactly as they were and no x87 exception is
// pending. A dispatched message also runs the host's and the system's code,
// which may leave MXCSR flags: `withFlags` false compares control bits only.
class FloatCheck {
 public:
  explicit FloatCheck(const char* what, bool withFlags = true)
      : what_(what), withFlags_(withFlags), before_(kd::platform::ReadFloatControl()) {}
  ~FloatCheck();
  FloatCheck(const FloatCheck&) = delete;
  FloatCheck& operator=(const FloatCheck&) = delete;

 private:
  const char* what_;
  bool withFlags_;
  kd::platform::FloatControl before_;
};

// Calls a plug-in's export under a FloatCheck naming it.
template <class Fn, class... Args>
auto CheckedCall(const char* name, Fn fn, Args... args) {
  FloatCheck check(name);
  return fn(args...);
}

}  // namespace kdhost
