// Anti-aliased filling and stroking into a 32-bit image's pixels. Shapes are
// collected in painting order and rendered together, each pixel's coverage
// shared out from the topmost shape down, so shapes that meet along an edge
// (neighbouring slices, a top face and its rim) leave no background showing
// between them. Coordinates are in pixels with (0, 0) the top-left corner of
// the top-left pixel.
// Not here: text, pictures, anything of Windows.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/Device.h"

namespace kd::raster {

using kd::TPointF;

// The centre of the pixel whose top-left corner is (x, y): where a thin pen's
// line runs.
inline TPointF PixelCentre(double x, double y) { return TPointF{x + 0.5, y + 0.5}; }

// What a fill paints: one colour (0x00RRGGBB), or a hatch: its lines in that
// colour, its gaps in gapRgb or, when they do not show, leaving what lies
// below. The hatch repeats every 8 pixels from the image's top-left corner;
// bit x of row y is set where its lines cover pixel (x, y).
struct TPaint {
  uint32_t rgb = 0;
  bool hatched = false;
  std::array<uint8_t, 8> hatch{};
  uint32_t gapRgb = 0;
  bool gapsShow = false;

  TPaint(uint32_t colour = 0) : rgb(colour) {}  // NOLINT: a colour paints itself
};

// On and off lengths of a dashed line, in pixels along the line; empty for a
// solid one.
using TDashPattern = std::vector<double>;

// Splits a polyline into the pieces its dash pattern draws, the pattern
// starting afresh at the polyline's first point; a closed one runs on back to
// its first point.
std::vector<std::vector<TPointF>> DashPieces(const TPointF* points, int count, bool closed,
                                             const TDashPattern& pattern);

class TAaBatch {
 public:
  TAaBatch();
  ~TAaBatch();
  TAaBatch(const TAaBatch&) = delete;
  TAaBatch& operator=(const TAaBatch&) = delete;

  // A polygon (closed implicitly), nonzero winding.
  void Fill(const TPointF* points, int count, const TPaint& paint);
  // The same polygon, its pixels taken whole where their centres lie inside:
  // for a shape whose thin outline covers its edges, drawn later. points run
  // through the pixel centres of that outline, so the fill reaches no
  // further out than the outline does.
  void FillUnderOutline(const TPointF* points, int count, const TPaint& paint);
  // An axis-parallel rectangle.
  void FillBox(double left, double top, double right, double bottom, const TPaint& paint);
  // A line of the given width centred on the polyline. Each segment starts
  // half a pixel before its first point and ends half a pixel before its
  // last, so a one-pixel line between pixel centres covers the pixels from
  // the first point up to, not including, the last. Lines wider than two
  // pixels get round joins and ends.
  void Stroke(const TPointF* points, int count, bool closed, double width, uint32_t rgb);
  // The same line drawn only where its dash pattern is on.
  void StrokeDashed(const TPointF* points, int count, bool closed, double width,
                    const TDashPattern& pattern, uint32_t rgb);

  // Where the shapes collected from now on may draw; forgets what was
  // collected. Until set, only the image's own edges clip.
  void SetClip(const TRect& clip);

  bool Empty() const;
  // Renders everything collected into pixels, inside the clip, and forgets it.
  void Render(const TPixelRows& pixels);
  // Forgets what was collected without rendering it.
  void Clear();

 private:
  struct Impl;
  void BeginShape(const TPaint& paint, bool whole = false, bool stroke = false);
  void AddLoop(const TPointF* points, int count);
  void AddLine(const std::vector<TPointF>& line, bool closed, double width);
  void AddThinLine(TPointF a, TPointF b, double width);
  bool AddPixelRun(TPointF a, TPointF b);
  std::unique_ptr<Impl> impl_;
};

}  // namespace kd::raster
