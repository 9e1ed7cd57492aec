// A font as the engine and the parameter texts describe it: plain data; the
// device turns it into a real font when it draws.
#pragma once

#include <cstdint>
#include <string>

#include "engine/Color.h"

namespace kd {

enum TFontStyle : uint8_t {
  fsBold = 1,
  fsItalic = 2,
  fsUnderline = 4,
  fsStrikeOut = 8,
};

struct FontData {
  std::string name = "Arial";
  TColor color = clBlack;
  int size = 8;           // points
  uint8_t styles = 0;     // TFontStyle bits
  uint8_t charset = 1;    // DEFAULT_CHARSET

  bool operator==(const FontData& o) const {
    return name == o.name && color == o.color && size == o.size && styles == o.styles &&
           charset == o.charset;
  }
  bool operator!=(const FontData& o) const { return !(*this == o); }
};

}  // namespace kd
