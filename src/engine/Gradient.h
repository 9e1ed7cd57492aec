// The panel's background gradient: its settings object and the fill.
#pragma once

#include "engine/Changed.h"
#include "engine/Color.h"
#include "engine/Device.h"
#include "engine/Geometry.h"

namespace kd {

enum TGradientDirection {
  gdTopBottom,
  gdBottomTop,
  gdLeftRight,
  gdRightLeft,
  gdFromCenter,
  gdFromTopLeft,
  gdFromBottomLeft,
};

class TChartGradient {
 public:
  void SetRepaintRequest(TRepaintRequest request) { repaint_ = std::move(request); }

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TGradientDirection Direction() const { return direction_; }
  void SetDirection(TGradientDirection value);
  TColor StartColor() const { return startColor_; }
  void SetStartColor(TColor value);
  TColor EndColor() const { return endColor_; }
  void SetEndColor(TColor value);
  // Copies the four settings; repaints once when any differs.
  void Assign(const TChartGradient& other);

 private:
  void Changed() const;

  TRepaintRequest repaint_;
  bool visible_ = false;
  TGradientDirection direction_ = gdTopBottom;
  TColor startColor_ = clWhite;
  TColor endColor_ = 0x00FFFF;
};

// a * b / c in 64 bits, rounded to nearest with halves away from zero; 0
// when c is 0 (a one-band fill then keeps its from-colour).
int MulDivRound(int a, int b, int c);

// Fills `rect` on `device` with the from-colour on the start side of the
// direction and the to-colour towards its end. On a device whose pixels lie
// in memory the bands are written there directly; elsewhere each band is a
// fill with a solid brush, a new brush only when the colour changes (the
// caller restores its own). Nothing is drawn outside `rect`.
void FillGradient(TDevice& device, const TRect& rect, TColor from, TColor to,
                  TGradientDirection direction);

}  // namespace kd
