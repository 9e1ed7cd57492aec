// How settings objects tell their panel that it must be drawn again.
#pragma once

#include <functional>

namespace kd {

// Asks the panel to redraw; empty while no panel listens.
using TRepaintRequest = std::function<void()>;

// Stores `value` when it differs from `field`; true when it did. Setters
// compare before they store so that an unchanged value never repaints.
template <class T>
bool StoreChanged(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace kd
