// Fixtures for chart actions. ChartTest drives the loaded DLL on a host page
// with named rectangles; InProcessChartTest runs the very same module code
// linked into the test program, so a test can also look inside a chart (its
// panel, series, timer) and at the module's live resource counters, which the
// DLL's eight exports cannot show.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "PlugInHost.h"
#include "charts/ChartRegistry.h"
#include "charts/NeoChart.h"
#include "platform/FloatingPoint.h"
#include "plugin/EntryPoints.h"

namespace kdhost {

// A page with rectangles "Rect1" (400 x 300), "Rect2" (300 x 200) and "Wide" (800 x 600).
class ChartPage {
 public:
  ChartPage();
  HostWindow& window() { return page_; }

 private:
  HostWindow page_;
};

class ChartTest : public PlugInTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::unique_ptr<ChartPage> page;
};

// Runs an action of the module linked into this program.
bool ExecInProcess(int id, const std::vector<std::string>& params);
// Hands the host side's callbacks to the module linked into this program, as
// the host hands them to the DLL.
void AttachInProcessModule(HostSide& host);

class InProcessChartTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The chart of that name, or null.
  kd::TNeoChart* Chart(const std::string& name) { return kd::FindChart(name); }
  // Creates a chart on Rect1 with the given records.
  kd::TNeoChart& Create(const std::string& records = "A;1;|B;2;|C;3;");

  HostSide& host = HostSide::Get();
  std::unique_ptr<ChartPage> page;
  long gdiBaseline = 0;

 private:
  // The linked module's code runs in the environment the exports give it.
  std::unique_ptr<kd::platform::FloatingPointScope> inModule_;
};

// The colour of one pixel of a 24- or 32-bit BMP file; -1 when unreadable.
long BitmapPixel(const std::string& file, int x, int y);
// Width and height of a BMP file (0, 0 when unreadable).
std::pair<int, int> BitmapSize(const std::string& file);

}  // namespace kdhost
