#include "engine/ChartTitle.h"

#include <algorithm>

#include "engine/Canvas3D.h"

namespace kd {

TChartTitle::TChartTitle() {
  font_.color = 0xFF0000;  // blue
  brush_.color = clDefault;
  frame_.visible = false;
}

void TChartTitle::Changed() const {
  if (repaint_) repaint_();
}

void TChartTitle::SetText(const std::vector<std::string>& lines) {
  if (StoreChanged(text_, lines)) Changed();
}

void TChartTitle::SetLine(int index, const std::string& line) {
  if (index < 0) return;
  std::vector<std::string> lines = text_;
  if (static_cast<int>(lines.size()) <= index) lines.resize(index + 1);
  lines[index] = line;
  SetText(lines);
}

void TChartTitle::SetFont(const FontData& value) {
  if (StoreChanged(font_, value)) Changed();
}

void TChartTitle::SetAlignment(TAlignment value) {
  if (StoreChanged(alignment_, value)) Changed();
}

void TChartTitle::SetVisible(bool value) {
  if (StoreChanged(visible_, value)) Changed();
}

void TChartTitle::SetColor(TColor value) {
  if (StoreChanged(color_, value)) Changed();
}

void TChartTitle::SetBrush(const TChartBrush& value) {
  if (StoreChanged(brush_, value)) Changed();
}

void TChartTitle::SetFrame(const TChartPen& value) {
  if (StoreChanged(frame_, value)) Changed();
}

void TChartTitle::SetAdjustFrame(bool value) {
  if (StoreChanged(adjustFrame_, value)) Changed();
}

void TChartTitle::Assign(const TChartTitle& other) {
  bool changed = StoreChanged(text_, other.text_);
  changed |= StoreChanged(font_, other.font_);
  changed |= StoreChanged(alignment_, other.alignment_);
  changed |= StoreChanged(visible_, other.visible_);
  changed |= StoreChanged(color_, other.color_);
  changed |= StoreChanged(brush_, other.brush_);
  changed |= StoreChanged(frame_, other.frame_);
  changed |= StoreChanged(adjustFrame_, other.adjustFrame_);
  if (changed) Changed();
}

void TChartTitle::Draw(TChartCanvas3D& canvas, TRect& chartRect, bool atTop) {
  canvas.SetFont(font_);
  const int f = canvas.TextHeight("W");
  const int u = canvas.TextWidth("W");
  const int n = static_cast<int>(text_.size());

  // What fills the block: clDefault takes a non-solid brush as it is, or the
  // brush's colour when it has one.
  TColor fillColor = color_;
  TBrushStyle fillStyle = brush_.style;
  if (fillColor == clDefault) {
    if (brush_.style == bsSolid) {
      if (brush_.color == clDefault)
        fillStyle = bsClear;
      else
        fillColor = brush_.color;
    }
  }
  const bool fills = fillStyle != bsClear;
  const bool framed = frame_.Draws() && frame_.color != clDefault;
  const int a = framed ? frame_.LayoutWidth() : 0;

  // Text rectangle, then the box around it.
  TRect text;
  text.left = chartRect.left + a;
  text.right = chartRect.right - a;
  if (atTop) {
    text.top = chartRect.top + a;
    text.bottom = text.top + n * f;
  } else {
    text.bottom = chartRect.bottom - a;
    text.top = text.bottom - n * f;
  }
  TRect box = MakeRect(text.left - a, text.top - a, text.right + a, text.bottom + a);

  if (framed || fills) {
    if (adjustFrame_) {
      int widest = 0;
      for (const std::string& line : text_) widest = std::max(widest, canvas.TextWidth(line));
      const int width = widest + u;
      if (alignment_ == taLeftJustify) {
        box.right = box.left + width;
      } else if (alignment_ == taRightJustify) {
        box.left = box.right - width;
      } else {
        const int middle = (box.left + box.right) / 2;
        box.left = middle - width / 2;
        box.right = middle + width / 2;
      }
    }
    TChartPen pen = frame_;
    if (!framed) pen.visible = false;
    canvas.SetPen(pen);
    if (fillStyle == bsSolid || !fills) {
      canvas.SetBrush(TChartBrush{fills ? fillColor : clWhite, fills ? bsSolid : bsClear});
      canvas.SetBackMode(bmTransparent);
    } else {
      // A hatch over the block's colour, or over nothing when it has none.
      const TColor lines = brush_.color == clDefault ? clBlack : brush_.color;
      canvas.SetBrush(TChartBrush{lines, fillStyle});
      if (fillColor == clDefault) {
        canvas.SetBackMode(bmTransparent);
      } else {
        canvas.SetBackMode(bmOpaque);
        canvas.SetBackColor(fillColor);
      }
    }
    canvas.Rectangle(box);
  }
  titleRect_ = box;

  canvas.SetBackMode(bmTransparent);
  for (int i = 0; i < n; ++i) {
    const std::string& line = text_[i];
    const int y = atTop ? text.top + i * f : text.bottom - (n - i) * f;
    int x;
    if (alignment_ == taLeftJustify) {
      x = text.left + u / 2;
    } else if (alignment_ == taRightJustify) {
      x = text.right - canvas.TextWidth(line) - u / 2;
    } else {
      x = (text.left + text.right) / 2 - canvas.TextWidth(line) / 2;
    }
    canvas.TextOut(x, y, line, taLeftJustify);
  }

  if (atTop)
    chartRect.top = text.bottom + a + kGap;
  else
    chartRect.bottom = text.top - a - kGap;
}

}  // namespace kd
