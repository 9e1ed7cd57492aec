#include "engine/NumberFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/TextLocale.h"

namespace kd {

namespace {

struct NumberPattern {
  std::string prefix;   // literal text before the number
  std::string suffix;   // literal text after it
  int minInt = 0;       // integer digits always written
  int minDec = 0;       // decimals always written
  int maxDec = 0;       // decimals written at most
  bool grouping = false;
  bool hasDigits = false;
};

bool IsPlaceholder(char c) { return c == '0' || c == '#' || c == '.' || c == ','; }

NumberPattern ParsePattern(const std::string& pattern) {
  NumberPattern p;
  size_t first = pattern.size(), last = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (!IsPlaceholder(pattern[i])) continue;
    if (first == pattern.size()) first = i;
    last = i;
  }
  if (first == pattern.size()) {
    p.prefix = pattern;
    return p;
  }
  p.prefix = pattern.substr(0, first);
  std::string inner;  // literals between the placeholders go after the number
  bool afterPoint = false;
  bool requiredSeen = false;
  int decimals = 0;
  for (size_t i = first; i <= last; ++i) {
    const char c = pattern[i];
    if (c == '.') {
      afterPoint = true;
    } else if (c == ',') {
      if (!afterPoint) p.grouping = true;
    } else if (c == '0' || c == '#') {
      p.hasDigits = true;
      if (afterPoint) {
        ++decimals;
        if (c == '0') p.minDec = decimals;
      } else {
        // Every placeholder from the first '0' on is a required digit.
        if (c == '0') requiredSeen = true;
        if (requiredSeen) ++p.minInt;
      }
    } else {
      inner += c;
    }
  }
  p.maxDec = decimals;
  p.suffix = inner + pattern.substr(last + 1);
  return p;
}

// The decimal digits of |value| rounded half away from zero to maxDec
// decimals. The value is first taken to 15 significant digits, the precision
// a double really carries, so that 1.005 rounds like the 1.005 it was typed as.
void DecimalDigits(double value, int maxDec, std::string& intPart, std::string& fraction) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
  std::string digits;
  const char* s = buf;
  for (; *s && *s != 'e'; ++s)
    if (*s >= '0' && *s <= '9') digits += *s;
  const int exponent = *s == 'e' ? std::atoi(s + 1) : 0;

  int point = exponent + 1;  // digits before the decimal point
  if (point <= 0) {
    digits.insert(0, static_cast<size_t>(-point), '0');
    point = 0;
  }
  if (static_cast<int>(digits.size()) < point) digits.append(point - digits.size(), '0');

  const size_t keep = static_cast<size_t>(point) + static_cast<size_t>(maxDec);
  if (keep < digits.size()) {
    const bool roundUp = digits[keep] >= '5';
    digits.resize(keep);
    if (roundUp) {
      int i = static_cast<int>(keep) - 1;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i < 0) {
        digits.insert(digits.begin(), '1');
        ++point;
      } else {
        ++digits[i];
      }
    }
  }
  intPart = digits.substr(0, point);
  fraction = digits.substr(point);
}

std::string Grouped(const std::string& digits, char separator) {
  std::string out;
  out.reserve(digits.size() + digits.size() / 3);
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

}  // namespace

std::string FormatFloat(const std::string& pattern, double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

  const NumberPattern p = ParsePattern(pattern);
  if (!p.hasDigits) return p.prefix + p.suffix;

  std::string intPart, fraction;
  DecimalDigits(value, p.maxDec, intPart, fraction);

  size_t lead = 0;
  while (lead < intPart.size() && intPart[lead] == '0') ++lead;
  intPart.erase(0, lead);
  if (static_cast<int>(intPart.size()) < p.minInt) intPart.insert(0, p.minInt - intPart.size(), '0');

  while (static_cast<int>(fraction.size()) > p.minDec && !fraction.empty() && fraction.back() == '0')
    fraction.pop_back();
  if (static_cast<int>(fraction.size()) < p.minDec) fraction.append(p.minDec - fraction.size(), '0');

  // A negative value that rounds to nothing prints without a sign.
  const bool anyDigit = intPart.find_first_not_of('0') != std::string::npos ||
                        fraction.find_first_not_of('0') != std::string::npos;
  const TextLocale& locale = CurrentLocale();

  std::string out;
  if (value < 0 && anyDigit) out += '-';
  out += p.prefix;
  out += p.grouping ? Grouped(intPart, locale.thousandSeparator) : intPart;
  if (!fraction.empty()) {
    out += locale.decimalSeparator;
    out += fraction;
  }
  out += p.suffix;
  return out;
}

std::string FormatTexts(const std::string& format, const std::string& first,
                        const std::string& second) {
  std::string out;
  int used = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == 's') {
        out += used == 0 ? first : used == 1 ? second : std::string();
        ++used;
        ++i;
        continue;
      }
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

}  // namespace kd
