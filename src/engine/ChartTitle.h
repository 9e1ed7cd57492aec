// A title block of the panel: the title above the chart rectangle or the
// foot below it, one or more lines of text.
#pragma once

#include <string>
#include <vector>

#include "engine/Changed.h"
#include "engine/Color.h"
#include "engine/Device.h"
#include "engine/FontData.h"
#include "engine/Geometry.h"

namespace kd {

class TChartCanvas3D;

class TChartTitle {
 public:
  // The distance between a title block and the chart rectangle.
  static constexpr int kGap = 5;

  TChartTitle();

  void SetRepaintRequest(TRepaintRequest request) { repaint_ = std::move(request); }

  const std::vector<std::string>& Text() const { return text_; }
  void SetText(const std::vector<std::string>& lines);
  // Replaces one line, appending empty lines up to it first.
  void SetLine(int index, const std::string& line);
  const FontData& Font() const { return font_; }
  void SetFont(const FontData& value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  // clDefault: fill as Brush says (nothing while its colour is clDefault too).
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  const TChartBrush& Brush() const { return brush_; }
  void SetBrush(const TChartBrush& value);
  const TChartPen& Frame() const { return frame_; }
  void SetFrame(const TChartPen& value);
  bool AdjustFrame() const { return adjustFrame_; }
  void SetAdjustFrame(bool value);
  // Copies every setting; repaints once when any differs.
  void Assign(const TChartTitle& other);

  // Draws the block at the top (title) or bottom (foot) of `chartRect` and
  // takes its room from it.
  void Draw(TChartCanvas3D& canvas, TRect& chartRect, bool atTop);
  // The block's rectangle at its last draw.
  const TRect& TitleRect() const { return titleRect_; }

 private:
  void Changed() const;

  TRepaintRequest repaint_;
  std::vector<std::string> text_;
  FontData font_;
  TAlignment alignment_ = taCenter;
  bool visible_ = true;
  TColor color_ = clDefault;
  TChartBrush brush_;
  TChartPen frame_;
  bool adjustFrame_ = true;
  TRect titleRect_;
};

}  // namespace kd
