#include "charts/ExecDispatch.h"

#include "charts/ActionRoutines.h"
#include "platform/UserLocale.h"
#include "host/ActionTable.h"
#include "host/HostText.h"

namespace kd {

bool DispatchAction(int32_t id, const HostText* params, int32_t high) {
  ActionRoutine routine = RoutineOf(id);
  if (!routine) return false;
  // The table fixes how many texts an action reads; the host's highest index
  // only bounds what may be read, so a short array never reads past its end.
  const int32_t count = ActionParameterCount(id);
  ActionParams texts(static_cast<std::size_t>(count));
  for (int32_t i = 0; i < count && params && i <= high; ++i) texts[i] = HostTextValue(params[i]);
  platform::RefreshCurrentLocale();
  return routine(texts);
}

}  // namespace kd
