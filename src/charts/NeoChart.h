// One chart object: a chart window inside a host rectangle's window, holding
// the chart panel, its pie series and the rotation timer.
#pragma once

#include <string>

namespace kd {

class TNeoChart {
 public:
  explicit TNeoChart(std::string name) : name_(std::move(name)) {}
  virtual ~TNeoChart() = default;
  TNeoChart(const TNeoChart&) = delete;
  TNeoChart& operator=(const TNeoChart&) = delete;

  const std::string& Name() const { return name_; }

  // Hides the window; freeing it is the registry's business.
  virtual void Close() {}

 private:
  std::string name_;
};

}  // namespace kd
