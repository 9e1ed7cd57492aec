// Which of a series of boxes, painted one after another, the opaque boxes
// painted after them hide whole: such a box (a mark buried under the marks
// of its neighbours, thousands of slices round a pie) need not be painted.
// Not here: what a box is (the marks say what each one draws and covers).
#pragma once

#include <vector>

#include "engine/Geometry.h"

namespace kd {

struct TPaintedBox {
  TRect drawn;   // every pixel the box and its text may touch
  TRect text;    // every pixel its text may touch
  TRect opaque;  // the pixels it covers for certain; empty when none
};

// Which parts of a box the boxes after it hide whole.
struct THiddenParts {
  bool box = false;   // all of it, text included
  bool text = false;  // its text
};

// For each box, what the opaque parts of the boxes after it cover whole.
// Pixels far off (beyond about 16 million pixels of area around the boxes)
// count as never covered.
std::vector<THiddenParts> HiddenBoxes(const std::vector<TPaintedBox>& boxes);

}  // namespace kd
