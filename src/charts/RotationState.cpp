#include "charts/RotationState.h"

namespace kd {

int RotationState::Advance() {
  if (step <= 0) return -1;
  int angle = counter;
  // Modulo 360 each tick: a counter that only grew would overflow into
  // negative angles, which the series refuses, and the pie would stop.
  counter = static_cast<int>((static_cast<long long>(counter) + step) % 360);
  return angle;
}

RotationState& Rotation() {
  static RotationState state;
  return state;
}

}  // namespace kd
