// Opening and closing every editor many times leaves no window, timer, GDI
// object or text block behind. Linked in-process (with the dialogs' pictures),
// so the module's own resource counters can be read.
#include <gtest/gtest.h>

#include <vector>

#include "DialogDriver.h"
#include "editors/EditDispatch.h"
#include "host/ActionTable.h"
#include "platform/ResourceCounters.h"

namespace kdhost {
namespace {

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int TopLevelWindowsOfThisThread() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST(EditorLeaks, ThirtyThreeEditorsTenTimesLeaveNothing) {
  namespace platform = kd::platform;
  // One round first: window classes and fonts the system caches are not leaks.
  const int rounds = 10;
  long gdi = 0, windows = 0, timers = 0;
  int topLevel = 0;
  for (int round = 0; round <= rounds; ++round) {
    DialogDriver driver(round % 2 ? CloseEverything() : CancelEverything());
    for (int id = 2; id <= kd::HighestActionId(); ++id) {
      std::vector<kd::HostText> slots(kd::ActionParameterCount(id), nullptr);
      kd::editors::EditAction(id, slots.data(), static_cast<int32_t>(slots.size()) - 1);
      for (kd::HostText& slot : slots)
        if (slot) GlobalFree(slot);
    }
    kd::editors::ShowAbout();
    if (round == 0) {
      gdi = platform::LiveGdiObjects();
      windows = platform::LiveWindows();
      timers = platform::LiveTimers();
      topLevel = TopLevelWindowsOfThisThread();
    }
  }
  EXPECT_EQ(platform::LiveGdiObjects(), gdi);
  EXPECT_EQ(platform::LiveWindows(), windows);
  EXPECT_EQ(platform::LiveWindows(), 0);
  EXPECT_EQ(platform::LiveTimers(), timers);
  EXPECT_EQ(TopLevelWindowsOfThisThread(), topLevel);
}

}  // namespace
}  // namespace kdhost
