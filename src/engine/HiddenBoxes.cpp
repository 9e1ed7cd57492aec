// Implements HiddenBoxes with a bit per pixel of the boxes' surroundings,
// filled from the last box back: a box is hidden when its pixels are all set
// already, and its opaque part is set after. 64 pixels a word, so a row of
// a box costs a word or two.
// Not here: the marks' own rules of what they cover.
#include "engine/HiddenBoxes.h"

#include <algorithm>
#include <cstdint>

namespace kd {
namespace {

constexpr long long kMostPixels = 1LL << 24;

class PixelMask {
 public:
  explicit PixelMask(const TRect& area)
      : area_(area), words_((area.Width() + 63) / 64), bits_(static_cast<size_t>(words_) * area.Height(), 0) {}

  // Whether every pixel of r is set; parts outside the area are not.
  bool AllSet(const TRect& r) const {
    if (r.left < area_.left || r.top < area_.top || r.right > area_.right || r.bottom > area_.bottom) return false;
    bool all = true;
    ForEachWord(*this, r, [&all](const uint64_t& word, uint64_t bits) { all = all && (word & bits) == bits; });
    return all;
  }
  void Set(const TRect& r) {
    const TRect clipped = MakeRect(std::max(r.left, area_.left), std::max(r.top, area_.top),
                                   std::min(r.right, area_.right), std::min(r.bottom, area_.bottom));
    ForEachWord(*this, clipped, [](uint64_t& word, uint64_t bits) { word |= bits; });
  }

 private:
  // f(word, bits) for each word of r's rows, bits: r's pixels in it.
  template <class Mask, class F>
  static void ForEachWord(Mask& mask, const TRect& r, F&& f) {
    if (r.left >= r.right || r.top >= r.bottom) return;
    const int from = r.left - mask.area_.left, to = r.right - mask.area_.left;
    for (int y = r.top; y < r.bottom; ++y) {
      auto* row = &mask.bits_[static_cast<size_t>(y - mask.area_.top) * mask.words_];
      for (int w = from / 64; w <= (to - 1) / 64; ++w) {
        const int low = std::max(from - w * 64, 0), high = std::min(to - w * 64, 64);
        const uint64_t bits = (high == 64 ? ~uint64_t{0} : (uint64_t{1} << high) - 1) & ~((uint64_t{1} << low) - 1);
        f(row[w], bits);
      }
    }
  }

  TRect area_;
  int words_;
  std::vector<uint64_t> bits_;
};

bool Empty(const TRect& r) { return r.left >= r.right || r.top >= r.bottom; }

}  // namespace

std::vector<THiddenParts> HiddenBoxes(const std::vector<TPaintedBox>& boxes) {
  std::vector<THiddenParts> hidden(boxes.size());
  // The mask spans the opaque parts: nothing outside them is ever covered.
  long long left = 0, top = 0, right = 0, bottom = 0;
  bool any = false;
  for (const TPaintedBox& box : boxes) {
    if (Empty(box.opaque)) continue;
    left = any ? std::min<long long>(left, box.opaque.left) : box.opaque.left;
    top = any ? std::min<long long>(top, box.opaque.top) : box.opaque.top;
    right = any ? std::max<long long>(right, box.opaque.right) : box.opaque.right;
    bottom = any ? std::max<long long>(bottom, box.opaque.bottom) : box.opaque.bottom;
    any = true;
  }
  if (!any || (right - left) * (bottom - top) > kMostPixels) return hidden;
  PixelMask mask(MakeRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                          static_cast<int>(bottom)));
  for (size_t i = boxes.size(); i-- > 0;) {
    hidden[i].box = !Empty(boxes[i].drawn) && mask.AllSet(boxes[i].drawn);
    hidden[i].text = hidden[i].box || (!Empty(boxes[i].text) && mask.AllSet(boxes[i].text));
    mask.Set(boxes[i].opaque);
  }
  return hidden;
}

}  // namespace kd
