// The rotation counter and step shared by every chart of the module: two
// rotating charts advance the same counter with the step last given.
#pragma once

namespace kd {

struct RotationState {
  int counter = 0;  // kept within 0..359 so long rotations never stop
  int step = 0;

  // The angle for this tick, advancing the counter; -1 when the step lets the pie stand still.
  int Advance();
};

RotationState& Rotation();

}  // namespace kd
