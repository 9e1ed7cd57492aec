// bench_CreateEditor: the create-chart editor under the real platform (or
// Wine), in process:
//   - opening the editor on 100 records, from the edit call until the dialog
//     is shown and painted with its preview (the dialog is then cancelled);
//   - one preview repaint on a rotation tick (new angle, then the paint of
//     the 297 x 188 preview in 3D with marks), for 5 and 100 records.
// Not a test: nothing here passes or fails.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "charts/Conversions.h"
#include "editors/EditDispatch.h"
#include "editors/PreviewChart.h"

using kdbench::MedianOf;
using kdbench::NowMs;

namespace {

std::string Records(int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += (i ? "|" : "") + std::string("Record ") + std::to_string(i + 1) + ";" + std::to_string(1 + i % 9) + ";" +
            (i % 3 ? "" : std::to_string(40 * (i % 6)) + ",120,200");
  return text;
}

double paintDone = 0;

// When the dialog has just been shown: paints it with its preview at once,
// notes the time and cancels the dialog.
LRESULT CALLBACK AfterShowing(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  char cls[64] = {};
  if (code == HC_ACTION && message->message == WM_WINDOWPOSCHANGED && paintDone == 0 &&
      (reinterpret_cast<const WINDOWPOS*>(message->lParam)->flags & SWP_SHOWWINDOW) &&
      GetClassNameA(message->hwnd, cls, sizeof cls) && std::string(cls) == "TFormFiga") {
    RedrawWindow(message->hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    paintDone = NowMs();
    PostMessageA(message->hwnd, WM_COMMAND, IDCANCEL, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

double OpenOnce(const std::string& records) {
  std::vector<std::string> texts{"Rect1", "255,255,255", records, "false", "true", "true", "false", "10", "30"};
  std::vector<kd::HostText> slots;
  for (std::string& t : texts) slots.push_back(t.data());
  paintDone = 0;
  const double start = NowMs();
  kd::editors::EditAction(1, slots.data(), 8);
  return paintDone - start;
}

void OpenTable(int runs) {
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterShowing, nullptr, GetCurrentThreadId());
  const std::string records = Records(100);
  const double ms = MedianOf(runs, [&] { return OpenOnce(records); });
  UnhookWindowsHookEx(hook);
  std::printf("Opening the create editor on 100 records, until it is shown and painted, median of %d: %.2f ms\n",
              runs, ms);
  std::fflush(stdout);
}

void TickTable(int runs) {
  HWND host = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 220, nullptr, nullptr, nullptr,
                              nullptr);
  std::printf("One preview repaint on a rotation tick (297 x 188, 3D, marks), median of %d\n", runs);
  for (int count : {5, 100}) {
    kd::editors::TPreviewChart preview(host, RECT{1, 1, 298, 189});
    for (const kd::PieRecord& r : kd::RecordListParameter(Records(count)))
      preview.Series().AddSlice(r.value, r.label, r.color);
    UpdateWindow(preview.Window());
    int angle = 0;
    bool painted = true;
    const double ms = MedianOf(runs, [&] {
      const double start = NowMs();
      angle = (angle + 3) % 360;
      preview.Series().SetRotationAngle(angle);
      UpdateWindow(preview.Window());
      GdiFlush();
      painted = painted && !preview.Chart().Dirty();
      return NowMs() - start;
    });
    std::printf("  %3d records: %.3f ms%s\n", count, ms, painted ? "" : " (a tick was NOT painted)");
  }
  DestroyWindow(host);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  OpenTable(runs);
  TickTable(runs * 10);
  return 0;
}
