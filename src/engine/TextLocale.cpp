#include "engine/TextLocale.h"

namespace kd {

namespace {
TextLocale& Slot() {
  static TextLocale locale = TextLocale::Classic();
  return locale;
}
}  // namespace

const TextLocale& CurrentLocale() { return Slot(); }
void SetCurrentLocale(const TextLocale& locale) { Slot() = locale; }

}  // namespace kd
