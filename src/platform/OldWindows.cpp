// What the statically linked thread library takes from Windows that Windows XP
// lacks, supplied by the module itself: linked into the DLL ahead of the
// system's import libraries, so the DLL asks the system only for calls every
// version has. Leaves out: everything the module's own code calls (it uses
// calls every version has directly).
#include "platform/Win32.h"

namespace {

using TickCount64Fn = ULONGLONG(WINAPI*)();

TickCount64Fn systemTickCount64 = nullptr;
bool asked = false;
DWORD lastTicks = 0;
ULONGLONG wraps = 0;

// The system's own where it has one; else GetTickCount's 32 bits, widened by
// counting its wraps (every 49.7 days). The thread library only measures
// timeouts with it.
ULONGLONG WINAPI TickCount64() {
  if (!asked) {
    systemTickCount64 = reinterpret_cast<TickCount64Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount64")));
    asked = true;
  }
  if (systemTickCount64) return systemTickCount64();
  const DWORD now = GetTickCount();
  if (now < lastTicks) wraps += 0x100000000ULL;
  lastTicks = now;
  return wraps | now;
}

}  // namespace

// The import slot the thread library calls through, under the name the
// system's import library would give it.
#if defined(__i386__)
extern "C" TickCount64Fn kdTickCount64Slot __asm__("__imp__GetTickCount64@0");
#else
extern "C" TickCount64Fn kdTickCount64Slot __asm__("__imp_GetTickCount64");
#endif
TickCount64Fn kdTickCount64Slot = &TickCount64;
