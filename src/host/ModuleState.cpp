// The one instance of what the module keeps between the host's calls.
#include "host/ModuleState.h"

namespace kd {

ModuleState& Module() {
  static ModuleState state;
  return state;
}

}  // namespace kd
