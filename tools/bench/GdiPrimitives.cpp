// bench_GdiPrimitives: what the platform charges for the drawing calls a chart
// frame is made of, with no code of ours in between: small and large fills,
// polygons, lines, text measuring and output into an 800 x 600 off-screen
// bitmap. Run in both builds it tells how much of a frame's difference
// between them is the platform's (the 32-bit and 64-bit GDI of the system,
// or of Wine) rather than the plug-in's; bench_EngineAlone gives the other half.
// Not a test: nothing here passes or fails.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "BenchTiming.h"
#include "platform/GdiObjects.h"

using namespace kd::platform;
using kdbench::FastestMs;

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  WindowDC screen(nullptr);
  MemoryDC dc(CreateCompatibleDC(screen.Get()));
  Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), 800, 600));
  Brush brush(CreateSolidBrush(RGB(200, 40, 40)));
  Font font(CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
  SelectionScope withBitmap(dc.Get(), bitmap.Get());
  SelectionScope withBrush(dc.Get(), brush.Get());
  SelectionScope withFont(dc.Get(), font.Get());
  const HDC d = dc.Get();

  POINT disk[100];
  for (int i = 0; i < 100; ++i) {
    const double a = i * 2 * 3.14159265358979 / 100;
    disk[i] = POINT{400 + static_cast<LONG>(250 * std::cos(a)), 300 + static_cast<LONG>(250 * std::sin(a))};
  }
  const POINT sliver[3] = {{400, 300}, {650, 300}, {649, 310}};
  const char text[] = "Slice 1234 25 %";
  const int length = sizeof text - 1;

  std::printf("Platform drawing calls into an 800 x 600 bitmap, fastest of %d, ms per 1,000 calls\n", runs);
  auto row = [&](const char* what, int calls, const std::function<void(int)>& call) {
    const double ms = FastestMs(runs, [&] {
      for (int i = 0; i < calls; ++i) call(i);
    });
    std::printf("  %-34s %9.3f\n", what, ms * 1000.0 / calls);
  };
  row("FillRect, one pixel", 1000, [&](int i) {
    const RECT r{i % 700, 5, i % 700 + 1, 6};
    FillRect(d, &r, brush.Get());
  });
  row("FillRect, 100 x 100", 1000, [&](int i) {
    const RECT r{i % 700, 0, i % 700 + 100, 100};
    FillRect(d, &r, brush.Get());
  });
  row("brush made, selected and freed", 1000, [&](int i) {
    Brush b(CreateSolidBrush(RGB(i & 255, 0, 0)));
    SelectionScope s(d, b.Get());
  });
  row("Polygon, 100 points, 500 wide", 100, [&](int) { Polygon(d, disk, 100); });
  row("Polygon, thin sliver", 1000, [&](int) { Polygon(d, sliver, 3); });
  row("line, 800 long", 1000, [&](int i) {
    MoveToEx(d, 0, i % 600, nullptr);
    LineTo(d, 799, (i * 7) % 600);
  });
  row("GetTextExtentPoint32, 15 chars", 1000, [&](int) {
    SIZE size;
    GetTextExtentPoint32A(d, text, length, &size);
  });
  row("TextOut, 15 chars", 1000, [&](int i) { TextOutA(d, i % 700, i % 500, text, length); });
  return 0;
}
