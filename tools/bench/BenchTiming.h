// Timing for the benchmark programs: a millisecond clock, the median of
// measured values, and the median or the fastest of repeated runs of a piece
// of work (GDI's batch flushed after each, so drawing is counted where it is
// done). Nothing here passes or fails.
#pragma once

#include "platform/Win32.h"

#include <algorithm>
#include <functional>
#include <utility>
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

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Median of `runs` measurements after a warm-up one; `measure` returns the
// milliseconds of one run, for work that times itself.
inline double MedianOf(int runs, const std::function<double()>& measure) {
  measure();
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(measure());
  return Median(std::move(times));
}

// Times of `runs` calls of `work`, after one warm-up call, sorted.
inline std::vector<double> SortedTimesMs(int runs, const std::function<void()>& work) {
  work();
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double start = NowMs();
    work();
    GdiFlush();
    times.push_back(NowMs() - start);
  }
  std::sort(times.begin(), times.end());
  return times;
}

inline double MedianMs(int runs, const std::function<void()>& work) {
  const std::vector<double> times = SortedTimesMs(runs, work);
  return times[times.size() / 2];
}

// On a shared machine the fastest run is the figure least disturbed by
// other programs.
inline double FastestMs(int runs, const std::function<void()>& work) {
  return SortedTimesMs(runs, work).front();
}

}  // namespace kdbench
