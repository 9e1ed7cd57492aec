// Window timers (SetTimer/KillTimer on the owner's window; ticks arrive as
// WM_TIMER). Leaves out: timer procedures and thread timers.
#include "platform/WindowTimer.h"

#include "platform/ResourceCounters.h"

namespace kd::platform {

void WindowTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  if (enabled) {
    if (!SetTimer(window_, id_, interval_, nullptr)) return;
    CountCreated(Resource::Timer);
  } else {
    KillTimer(window_, id_);
    CountDeleted(Resource::Timer);
  }
  enabled_ = enabled;
}

}  // namespace kd::platform
