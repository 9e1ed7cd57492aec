#include "charts/HostWindowQuery.h"

#include "charts/Conversions.h"
#include "host/HostServices.h"

namespace kd {

HWND QueryHostWindow(const std::string& name) {
  HostAnswer answer = AskHost(kRequestWindowHandle, name);
  // The host answers a 32-bit decimal handle; window handles are 32-bit values on 64-bit Windows too.
  int32_t handle = IntegerParameter(answer.text);
  return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<uint32_t>(handle)));
}

}  // namespace kd
