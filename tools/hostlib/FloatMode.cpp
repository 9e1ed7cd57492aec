// The test hosts' floating-point mode and the checks of the words every call hands back.
#include "FloatMode.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace kdhost {

using kd::platform::FloatControl;

namespace {
FloatControl& Mode() {
  static FloatControl mode = kd::platform::kDelphiControl;
  return mode;
}

// Programs that drive the module's code directly, never loading it, keep the
// masked words and have nothing to check.
bool entered = false;

// Nothing after a wrong environment can be trusted: the run ends here, loudly.
[[noreturn]] void Stop(const char* what, const FloatControl& found, const FloatControl& wanted) {
  std::fprintf(stderr, "floating-point environment wrong after %s: x87 %04X MXCSR %04X, the host's x87 %04X MXCSR %04X\n",
               what, found.x87, static_cast<unsigned>(found.mxcsr), wanted.x87, static_cast<unsigned>(wanted.mxcsr));
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  std::abort();
}
// A hardware exception nobody caught (what the guard is there to prevent):
// said in one line and the program ended, not left waiting for a debugger.
LONG WINAPI ReportUncaught(EXCEPTION_POINTERS* info) {
  std::fprintf(stderr, "uncaught exception %08lX at %p\n", static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
               info->ExceptionRecord->ExceptionAddress);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}
}  // namespace

void EnterHostFloatMode() {
  SetUnhandledExceptionFilter(&ReportUncaught);
  const char* masked = std::getenv("KD_FP_MASKED");
  if (masked && std::strcmp(masked, "1") == 0) Mode() = kd::platform::kMaskedControl;
  kd::platform::ClearFloatFlags();
  kd::platform::WriteFloatControl(Mode());
  // The processor may read reserved bits back as set: compare with what it keeps.
  Mode() = kd::platform::ReadFloatControl();
  Mode().mxcsr &= ~kd::platform::kMxcsrFlags;
  entered = true;
}

FloatControl HostFloatMode() { return Mode(); }

void CheckInHostFloatMode(const char* what) {
  if (!entered) return;
  FloatControl found = kd::platform::ReadFloatControl();
  found.mxcsr &= ~kd::platform::kMxcsrFlags;
  if (found != Mode()) Stop(what, found, Mode());
}

FloatCheck::~FloatCheck() {
  FloatControl after = kd::platform::ReadFloatControl();
  FloatControl before = before_;
  if (!withFlags_) {
    after.mxcsr &= ~kd::platform::kMxcsrFlags;
    before.mxcsr &= ~kd::platform::kMxcsrFlags;
  }
  if (after != before) Stop(what_, after, before);
  if (kd::platform::X87ExceptionPending()) Stop((std::string(what_) + " (an x87 exception pending)").c_str(), after, before);
}

}  // namespace kdhost
