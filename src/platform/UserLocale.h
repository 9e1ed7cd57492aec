// Reads the user's locale into the portable TextLocale.
#pragma once

#include "engine/TextLocale.h"

namespace kd::platform {

// Separators from the user's regional settings; lead bytes and lower-casing
// of the ANSI code page.
TextLocale ReadUserLocale();

// Makes the user's current locale the one the portable code uses.
void RefreshCurrentLocale();

}  // namespace kd::platform
