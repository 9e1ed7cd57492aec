// Benchmark of the run-time actions, run in-process under Wine (not a test):
//   creating a chart from one record list of 10,000 records;
//   1,000 cycles of create, style, save and delete;
//   the repaint after one rotation tick of a 3D chart of 100 slices, on a
//   white and on a gdFromCenter gradient background.
// Prints the median of several runs of each.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "BlockLedger.h"
#include "HostSide.h"
#include "HostWindow.h"
#include "PlugInModule.h"
#include "charts/ChartRegistry.h"
#include "charts/NeoChart.h"
#include "plugin/EntryPoints.h"

namespace {

using kdbench::NowMs;

bool Exec(int id, std::vector<std::string> params) {
  std::vector<kd::HostText> texts;
  for (std::string& p : params) texts.push_back(p.data());
  return kd::ExecAction(id, texts.data(), static_cast<int32_t>(texts.size()) - 1);
}

template <class Body>
double Median(int runs, Body body) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    double start = NowMs();
    body();
    times.push_back(NowMs() - start);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

std::string Records(int count) {
  std::string list;
  for (int i = 0; i < count; ++i) {
    if (i) list += '|';
    list += "R" + std::to_string(i) + ";" + std::to_string(1 + i % 97) + ";" +
            (i % 3 ? "" : std::to_string(i % 256) + ",128,64");
  }
  return list;
}

// Paints the chart window now and returns how long the paint took.
double RepaintMs(kd::TNeoChart& chart) {
  InvalidateRect(chart.Window(), nullptr, FALSE);
  double start = NowMs();
  UpdateWindow(chart.Window());
  return NowMs() - start;
}

}  // namespace

int main() {
  kdhost::BlockLedger::Get().Install(GetModuleHandleA(nullptr));
  kd::RegisterInterfaceAccess(&kdhost::HostSide::InterfaceAccess);
  kdhost::HostWindow page("kdPieChart benchmark", 840, 660);
  page.AddRectangle("Bench", 10, 10, 800, 600);
  kdhost::PumpMessages();

  const std::string tenThousand = Records(10000);
  double create = Median(7, [&] {
    Exec(1, {"Bench", "255,255,255", tenThousand, "false", "true", "true", "false", "0", "0"});
  });
  kd::TNeoChart* chart = kd::FindChart("Bench");
  std::printf("create from 10,000 records:          %8.2f ms (median of 7; %d slices)\n", create,
              chart ? chart->Series().SliceCount() : -1);

  const std::string file = kdhost::ProgramFolder() + "bench-cycle.bmp";
  double cycles = Median(3, [&] {
    for (int i = 0; i < 1000; ++i) {
      Exec(1, {"Bench", "240,240,255", "A;10;|B;20;|C;30;|D;40;", "", "true", "true", "", "10", "0"});
      Exec(11, {"Bench", "255,255,255", "0,0,128", "FromCenter"});
      Exec(4, {"Bench", "Cycle", "Title", "Center", "Arial|clBlack|12|fsBold |0"});
      Exec(33, {"Bench", file});
      Exec(3, {"Bench"});
    }
  });
  std::remove(file.c_str());
  std::printf("1,000 create/style/save/delete:     %8.1f ms (median of 3; %.3f ms a cycle)\n", cycles,
              cycles / 1000);

  Exec(1, {"Bench", "255,255,255", Records(100), "false", "true", "true", "false", "0", "0"});
  chart = kd::FindChart("Bench");
  RepaintMs(*chart);
  int angle = 0;
  auto tickMs = [&] {
    return Median(51, [&] {
      angle = (angle + 5) % 360;
      chart->Series().SetRotationAngle(angle);
      UpdateWindow(chart->Window());
    });
  };
  const double tick = tickMs();
  std::printf("rotation tick repaint, 3D, 100 slices: %6.2f ms (median of 51)\n", tick);
  Exec(11, {"Bench", "255,255,255", "0,0,128", "FromCenter"});
  RepaintMs(*chart);
  const double gradientTick = tickMs();
  std::printf("  the same on a gdFromCenter gradient: %6.2f ms (median of 51; <= 1.50)\n", gradientTick);
  kd::Message(kd::kMessageLeaveRunMode);
  return 0;
}
