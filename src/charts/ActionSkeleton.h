// The shape every action on an existing chart shares: look the chart up by
// its name (none: false, nothing changes), run the steps under an outer guard
// that turns any failure into false without undoing earlier steps.
#pragma once

#include <string>
#include <vector>

#include "charts/ChartRegistry.h"

namespace kd {

// Parameter texts of one action, exactly as many as the action table says.
using ActionParams = std::vector<std::string>;

template <class Steps>
bool RunOnChart(const std::string& name, Steps&& steps) {
  TNeoChart* chart = FindChart(name);
  if (!chart || chart->Name().empty()) return false;
  try {
    steps(*chart);
    return true;
  } catch (...) {
    return false;
  }
}

// An inner guard: the failure of one step ends that step only.
template <class Step>
void Guarded(Step&& step) {
  try {
    step();
  } catch (...) {
  }
}

}  // namespace kd
