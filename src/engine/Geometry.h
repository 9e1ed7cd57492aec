// Pixel geometry shared by the engine and its devices.
#pragma once

namespace kd {

// Angles are radians; one home for the circle constants.
constexpr double kPi = 3.14159265358979323846264338327950;
constexpr double kTwoPi = 2 * kPi;
constexpr double kHalfPi = kPi / 2;

struct TPoint {
  int x = 0;
  int y = 0;

  bool operator==(const TPoint& o) const { return x == o.x && y == o.y; }
  bool operator!=(const TPoint& o) const { return !(*this == o); }
};

// A point where the geometry puts it, before it is rounded to a pixel: (0, 0)
// is the top-left corner of the top-left pixel.
struct TPointF {
  double x = 0;
  double y = 0;
};

// Right and bottom are exclusive, as on the platform's devices.
struct TRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const TRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const TRect& o) const { return !(*this == o); }
};

inline TRect MakeRect(int left, int top, int right, int bottom) {
  TRect r;
  r.left = left;
  r.top = top;
  r.right = right;
  r.bottom = bottom;
  return r;
}

}  // namespace kd
