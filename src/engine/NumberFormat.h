// Number texts of the engine: values, percentages and "x of y", written with
// the separators of the current locale (kd::CurrentLocale()).
#pragma once

#include <string>

namespace kd {

// The patterns the engine uses for slice values and percentages.
inline constexpr const char* kValueFormat = "#,##0.###";
inline constexpr const char* kPercentFormat = "##0.## %";
// A percentage followed by the total it is a share of.
inline constexpr const char* kPercentOfTotalFormat = "%s of %s";

// Formats value by pattern: '0' is a required digit, '#' an optional digit,
// a ',' among the integer placeholders asks for thousands grouping, '.' marks
// the decimal separator; every other character is copied as it is. Nothing
// is scaled (a '%' is just a character). Halves round away from zero on the
// value's shortest decimal form, so 1.005 gives "1.01" with two decimals.
std::string FormatFloat(const std::string& pattern, double value);

// Replaces each "%s" of format in turn with first and second ("%%" gives "%").
std::string FormatTexts(const std::string& format, const std::string& first,
                        const std::string& second);

}  // namespace kd
