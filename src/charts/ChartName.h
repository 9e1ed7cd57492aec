// Chart names compare ASCII letters without regard to case and every other
// byte exactly (so Cyrillic names in different case stay different charts).
#pragma once

#include <string_view>

#include "engine/TextHelpers.h"

namespace kd {

inline bool SameChartName(std::string_view a, std::string_view b) { return SameTextAscii(a, b); }

}  // namespace kd
