// The module-wide list of chart objects in creation order. It exists from the
// first chart creation until the host leaves run mode.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "charts/NeoChart.h"

namespace kd {

class ChartRegistry {
 public:
  // First chart whose name matches, or null.
  TNeoChart* Find(std::string_view name) const;
  void Add(std::unique_ptr<TNeoChart> chart);
  // Frees the first chart of that name; false when there is none.
  bool Remove(std::string_view name);
  void CloseAll();
  std::size_t Count() const { return charts_.size(); }

 private:
  std::vector<std::unique_ptr<TNeoChart>> charts_;
};

// The registry when it exists, else null.
ChartRegistry* Charts();
// The registry, built empty if absent.
ChartRegistry& EnsureCharts();
// Closes every chart, frees them with the registry and marks it absent.
void FreeCharts();

// Chart lookup for the actions: null when there is no registry or no such chart.
inline TNeoChart* FindChart(std::string_view name) {
  ChartRegistry* charts = Charts();
  return charts ? charts->Find(name) : nullptr;
}

}  // namespace kd
