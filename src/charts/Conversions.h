// The conversions by which action parameter texts become items, numbers,
// colours, fonts, switches, keywords and pie records, and the two text forms
// the pickers and editors write back. Texts are single-byte ANSI bytes; the
// locale facts come from kd::CurrentLocale().
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/Color.h"
#include "engine/FontData.h"

namespace kd {

// A text that does not hold what its conversion reads. Action guards catch it.
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(const std::string& message) : std::runtime_error(message) {}
};

// Items of `text` separated by `delimiter` or by blanks; double quotes enclose
// an item that holds either, a doubled quote standing for one.
std::vector<std::string> DelimitedSplit(const std::string& text, char delimiter);

// Item `index` (from 0) of a split; ConversionError when the split did not
// produce it.
const std::string& SplitItem(const std::vector<std::string>& items, size_t index);

// Decimal or hexadecimal ("$FF", "xFF", "0xFF") 32-bit integer, optional sign,
// leading blanks only. Throws ConversionError.
int32_t IntegerParameter(const std::string& text);

// The same, but `defaultValue` in place of a failure.
int32_t IntegerParameter(const std::string& text, int32_t defaultValue);

// Decimal number with the locale's decimal separator and optional exponent.
// Throws ConversionError, also when the value exceeds the range of a double.
double FloatingParameter(const std::string& text);

// RGB triple text "r,g,b"; each value keeps its low 8 bits. Throws ConversionError.
TColor ColorParameter(const std::string& text);

// Applies the font text "face|colour|size|styles|charset" to `font` step by
// step; a failing step throws ConversionError and leaves the earlier steps applied.
void ApplyFontParameter(const std::string& text, FontData& font);

// Lower-cases with the locale's mapping; double-byte characters stay as they are.
std::string LowerCaseText(const std::string& text);

// True for "true", false for "false" in any letter case; nothing otherwise.
std::optional<bool> SwitchParameter(const std::string& text);

// Sets `target` when the text is a switch word; leaves it alone otherwise.
void ApplySwitchParameter(const std::string& text, bool& target);

template <typename T>
struct Keyword {
  const char* text;
  T value;
};

// The value of the keyword `text` equals exactly (case-sensitive); nothing
// when no keyword matches. Callers that accept any case lower-case first.
template <typename T, size_t N>
std::optional<T> KeywordParameter(const std::string& text, const Keyword<T> (&keywords)[N]) {
  for (const Keyword<T>& keyword : keywords)
    if (text == keyword.text) return keyword.value;
  return std::nullopt;
}

// One slice of a record list: colour clDefault when the record names none.
struct PieRecord {
  std::string label;
  double value = 0;
  TColor color = clDefault;
};

// One record "label;value;colour" (colour may be empty, never missing).
// Throws ConversionError.
PieRecord ReadRecord(const std::string& recordText);

// Reads the record list "label;value;colour|..." and passes each good record
// to `add`, in order. A record that fails to convert, or whose `add` throws,
// is skipped and the next one is read.
void ReadRecordList(const std::string& text, const std::function<void(const PieRecord&)>& add);

// The good records of a record list, in order.
std::vector<PieRecord> RecordListParameter(const std::string& text);

// "r,g,b" of an explicit colour, as the colour picker writes it.
std::string RgbTripleText(TColor color);

// "face|colour|size|styles|charset" as the font picker writes it, for example
// "Arial|clBlack|10|fsBold fsItalic |204".
std::string FontParameterText(const FontData& font);

}  // namespace kd
