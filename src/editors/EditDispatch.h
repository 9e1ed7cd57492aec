// Design-time entry: the editor of an action identifier, and the About box.
#pragma once

#include <cstdint>

#include "host/HostInterface.h"

namespace kd::editors {

// Opens the editor of action `id` on the host's slots (highest index `high`);
// true when the author pressed OK and every slot was rewritten. Any other
// identifier, or fewer slots than the action has, returns false untouched.
// Throws when a dialog fails; the slots are then untouched too.
bool EditAction(int32_t id, HostText* slots, int32_t high);

// Shows the About box modally over the host's active window.
void ShowAbout();

}  // namespace kd::editors
