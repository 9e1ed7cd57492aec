// Medians of repeated runs for the native benchmarks (the Windows ones time
// with BenchTiming.h). Not a test.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace kdbench {

// Milliseconds of the median of `runs` runs of work, after one run to warm up.
inline double NativeMedianMs(int runs, const std::function<void()>& work) {
  work();
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace kdbench
