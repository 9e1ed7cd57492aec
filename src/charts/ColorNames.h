// The platform's colour names ("clRed", "clBtnFace", ...) that font texts may
// use in place of a number, in both directions.
#pragma once

#include <string>

#include "engine/Color.h"

namespace kd {

// The value of a listed colour name, ASCII letters compared without regard
// to case. False, leaving `color` alone, for any other text.
bool ColorFromName(const std::string& name, TColor& color);

// The listed name of a colour value, or nullptr when none is listed.
const char* ColorName(TColor color);

// The colour field of a font text: the colour's name when listed, otherwise
// "$" and eight upper-case hexadecimal digits of the value.
std::string ColorText(TColor color);

}  // namespace kd
