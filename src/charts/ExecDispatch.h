// Runs one action for nbExecAction.
#pragma once

#include <cstdint>

#include "host/HostInterface.h"

namespace kd {

// Copies the action's parameter texts (a null element, or one past the host's
// highest index, reads as empty) and runs its routine; false for an unknown id.
bool DispatchAction(int32_t id, const HostText* params, int32_t high);

}  // namespace kd
