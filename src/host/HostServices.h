// The host's callbacks as the rest of the module uses them: texts in global
// blocks, questions through the interface-access callback, host variables.
#pragma once

#include <string>
#include <string_view>

#include "host/HostText.h"

namespace kd {

// Replaces the text in a host slot (the old block is freed).
void SetHostString(HostText* slot, std::string_view text);

// Frees the slot's block, if any, and nulls the slot.
void ReleaseHostString(HostText* slot);

// Asks the host; throws HostError when no interface-access callback is registered.
HostAnswer AskHost(int32_t code, std::string_view question);

// True when the host registered an interface-access callback (the pickers test this).
bool HostCanAnswer();

// Sets a host variable through the set-variable callback; throws HostError without one.
void SetHostVariable(const std::string& name, const std::string& value);

}  // namespace kd
