// Timing helpers of the benchmarks: a millisecond clock and the median of
// several runs after a warm-up run.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace kdbench {

inline double NowMs() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Median of `runs` measurements; `measure` returns the milliseconds of one run.
inline double MedianOf(int runs, const std::function<double()>& measure) {
  measure();
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(measure());
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace kdbench
