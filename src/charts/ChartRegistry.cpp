#include "charts/ChartRegistry.h"

#include <algorithm>

#include "charts/ChartName.h"

namespace kd {

namespace {
std::unique_ptr<ChartRegistry>& Slot() {
  static std::unique_ptr<ChartRegistry> registry;
  return registry;
}
}  // namespace

TNeoChart* ChartRegistry::Find(std::string_view name) const {
  for (const auto& chart : charts_)
    if (SameChartName(chart->Name(), name)) return chart.get();
  return nullptr;
}

void ChartRegistry::Add(std::unique_ptr<TNeoChart> chart) { charts_.push_back(std::move(chart)); }

bool ChartRegistry::Remove(std::string_view name) {
  auto it = std::find_if(charts_.begin(), charts_.end(),
                         [&](const auto& chart) { return SameChartName(chart->Name(), name); });
  if (it == charts_.end()) return false;
  // Out of the list first: a window message during destruction must not find it.
  std::unique_ptr<TNeoChart> doomed = std::move(*it);
  charts_.erase(it);
  return true;
}

void ChartRegistry::CloseAll() {
  for (auto& chart : charts_) chart->Close();
}

ChartRegistry* Charts() { return Slot().get(); }

ChartRegistry& EnsureCharts() {
  if (!Slot()) Slot() = std::make_unique<ChartRegistry>();
  return *Slot();
}

void FreeCharts() {
  std::unique_ptr<ChartRegistry> registry = std::move(Slot());
  if (!registry) return;
  registry->CloseAll();
}

}  // namespace kd
