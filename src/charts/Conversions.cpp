#include "charts/Conversions.h"
#include "engine/TextHelpers.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "charts/ColorNames.h"
#include "engine/TextLocale.h"

namespace kd {

namespace {

constexpr char kQuote = '"';

// ------------------------------------------------------------ delimited split

// Parameter texts come from zero-terminated host strings: a NUL ends them.
std::string UpToNul(const std::string& text) { return text.substr(0, text.find('\0')); }

unsigned char Byte(const std::string& text, size_t i) {
  return static_cast<unsigned char>(text[i]);
}

// Next character: a lead byte of the ANSI code page takes its trail byte along,
// so a trail byte is never taken for a delimiter, a quote or a blank.
size_t NextChar(const std::string& text, size_t i) {
  if (CurrentLocale().leadByte[Byte(text, i)] && i + 1 < text.size()) return i + 2;
  return i + 1;
}

bool IsBlankOrControl(const std::string& text, size_t i) {
  return Byte(text, i) >= 1 && Byte(text, i) <= 32;
}

size_t SkipBlanks(const std::string& text, size_t i) {
  while (i < text.size() && IsBlankOrControl(text, i)) i = NextChar(text, i);
  return i;
}

// Reads the quoted item whose opening quote is at `i`; returns the position
// after the closing quote, or the end of the text when none follows.
size_t ReadQuotedItem(const std::string& text, size_t i, std::string& item) {
  i = NextChar(text, i);
  while (i < text.size()) {
    if (text[i] == kQuote) {
      if (i + 1 < text.size() && text[i + 1] == kQuote) {
        item += kQuote;
        i += 2;
        continue;
      }
      return i + 1;
    }
    size_t next = NextChar(text, i);
    item.append(text, i, next - i);
    i = next;
  }
  // An unterminated item loses its last character, as if it were the missing quote.
  if (!item.empty()) item.pop_back();
  return text.size();
}

size_t ReadPlainItem(const std::string& text, size_t i, char delimiter, std::string& item) {
  size_t start = i;
  while (i < text.size() && Byte(text, i) > 32 && text[i] != delimiter) i = NextChar(text, i);
  item.assign(text, start, i - start);
  return i;
}

// ------------------------------------------------------------ numbers

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Length of a hexadecimal prefix "$", "x", "X", "0x" or "0X" at `i`, or 0.
size_t HexPrefixLength(const std::string& text, size_t i) {
  if (i >= text.size()) return 0;
  char c = text[i];
  if (c == '$' || c == 'x' || c == 'X') return 1;
  if (c == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) return 2;
  return 0;
}

// The digits from `i` to the end as a 32-bit pattern: eight significant
// hexadecimal digits at most.
uint32_t ReadHexDigits(const std::string& text, size_t i) {
  if (i >= text.size()) throw ConversionError("'" + text + "' is not a valid integer value");
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    int digit = HexValue(text[i]);
    if (digit < 0) throw ConversionError("'" + text + "' is not a valid integer value");
    value = value * 16 + static_cast<unsigned>(digit);
    if (value > 0xFFFFFFFFull) throw ConversionError("'" + text + "' is not a valid integer value");
  }
  return static_cast<uint32_t>(value);
}

// The decimal digits from `i` to the end; the magnitude a signed 32-bit value
// can hold (one more when negative).
uint32_t ReadDecimalDigits(const std::string& text, size_t i, bool negative) {
  if (i >= text.size()) throw ConversionError("'" + text + "' is not a valid integer value");
  const uint64_t limit = negative ? 2147483648ull : 2147483647ull;
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) throw ConversionError("'" + text + "' is not a valid integer value");
    value = value * 10 + static_cast<unsigned>(text[i] - '0');
    if (value > limit) throw ConversionError("'" + text + "' is not a valid integer value");
  }
  return static_cast<uint32_t>(value);
}

// The parts of a floating text once its form has been checked.
struct FloatingForm {
  bool negative = false;
  std::string integerDigits;
  std::string fractionDigits;
  std::string exponent;  // digits with an optional leading "-", empty when absent
};

size_t ReadDigits(const std::string& text, size_t i, std::string& digits) {
  while (i < text.size() && IsDigit(text[i])) digits += text[i++];
  return i;
}

FloatingForm ReadFloatingForm(const std::string& text) {
  const std::string failure = "'" + text + "' is not a valid floating point value";
  FloatingForm form;
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) form.negative = text[i++] == '-';
  i = ReadDigits(text, i, form.integerDigits);
  bool separator = i < text.size() && text[i] == CurrentLocale().decimalSeparator;
  if (separator) i = ReadDigits(text, i + 1, form.fractionDigits);
  if (form.integerDigits.empty() && form.fractionDigits.empty() && !separator)
    throw ConversionError(failure);
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      if (text[i] == '-') form.exponent = "-";
      ++i;
    }
    size_t digitsStart = i;
    i = ReadDigits(text, i, form.exponent);
    if (i == digitsStart) throw ConversionError(failure);
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (i != text.size()) throw ConversionError(failure);
  return form;
}

// Power of ten just above the value's leading digit, saturated; used only to
// tell an overflow from an underflow.
int64_t DecimalMagnitude(const FloatingForm& form) {
  int64_t exponent = 0;
  bool negativeExponent = !form.exponent.empty() && form.exponent[0] == '-';
  for (char c : form.exponent) {
    if (!IsDigit(c)) continue;
    if (exponent < 1000000000) exponent = exponent * 10 + (c - '0');
  }
  if (negativeExponent) exponent = -exponent;
  std::string digits = form.integerDigits + form.fractionDigits;
  size_t leadingZeros = digits.find_first_not_of('0');
  return exponent + static_cast<int64_t>(form.integerDigits.size()) -
         static_cast<int64_t>(leadingZeros);
}

double FloatingValue(const FloatingForm& form, const std::string& text) {
  std::string digits = form.integerDigits + form.fractionDigits;
  if (digits.find_first_not_of('0') == std::string::npos) return form.negative ? -0.0 : 0.0;
  std::string plain = "0" + form.integerDigits + "." + form.fractionDigits + "0";
  if (!form.exponent.empty()) plain += "e" + form.exponent;
  double value = 0;
  std::from_chars_result result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small to tell from zero is zero; too large for a double is a failure.
    if (DecimalMagnitude(form) > 0)
      throw ConversionError("'" + text + "' is not a valid floating point value");
    value = 0.0;
  } else if (result.ec != std::errc() || !std::isfinite(value)) {
    throw ConversionError("'" + text + "' is not a valid floating point value");
  }
  return form.negative ? -value : value;
}

// ------------------------------------------------------------ fonts

// Face names are stored in a 32-byte field with its terminator.
constexpr size_t kMaxFaceNameLength = 31;

TColor FontColor(const std::string& text) {
  TColor color = clBlack;
  if (ColorFromName(text, color)) return color;
  return IntegerParameter(text);
}

uint8_t FontStyles(const std::string& text) {
  struct StyleWord {
    const char* word;
    uint8_t style;
  };
  static const StyleWord kStyleWords[] = {
      {"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline},
      {"fsStrikeOut", fsStrikeOut}};
  uint8_t styles = 0;
  for (const StyleWord& entry : kStyleWords)
    if (text.find(entry.word) != std::string::npos) styles |= entry.style;
  return styles;
}

}  // namespace

// ------------------------------------------------------------ records

PieRecord ReadRecord(const std::string& recordText) {
  std::vector<std::string> fields = DelimitedSplit(recordText, ';');
  // A record without colour still needs its third, empty field.
  const std::string& colorText = SplitItem(fields, 2);
  PieRecord record;
  if (!colorText.empty()) record.color = ColorParameter(colorText);
  record.value = FloatingParameter(SplitItem(fields, 1));
  record.label = SplitItem(fields, 0);
  return record;
}

std::vector<std::string> DelimitedSplit(const std::string& source, char delimiter) {
  const std::string text = UpToNul(source);
  std::vector<std::string> items;
  size_t i = SkipBlanks(text, 0);
  while (i < text.size()) {
    std::string item;
    if (text[i] == kQuote)
      i = ReadQuotedItem(text, i, item);
    else
      i = ReadPlainItem(text, i, delimiter, item);
    items.push_back(item);
    i = SkipBlanks(text, i);
    if (i < text.size() && text[i] == delimiter) {
      // A delimiter that ends the text still closes an (empty) last item.
      if (i + 1 == text.size()) items.emplace_back();
      i = SkipBlanks(text, i + 1);
    }
  }
  return items;
}

const std::string& SplitItem(const std::vector<std::string>& items, size_t index) {
  if (index >= items.size())
    throw ConversionError("List index out of bounds (" + std::to_string(index) + ")");
  return items[index];
}

int32_t IntegerParameter(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  size_t prefix = HexPrefixLength(text, i);
  uint32_t magnitude =
      prefix > 0 ? ReadHexDigits(text, i + prefix) : ReadDecimalDigits(text, i, negative);
  // Hexadecimal digits are a bit pattern: "$FFFFFFFF" is -1.
  return static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
}

int32_t IntegerParameter(const std::string& text, int32_t defaultValue) {
  try {
    return IntegerParameter(text);
  } catch (const ConversionError&) {
    return defaultValue;
  }
}

double FloatingParameter(const std::string& text) {
  return FloatingValue(ReadFloatingForm(text), text);
}

TColor ColorParameter(const std::string& text) {
  std::vector<std::string> items = DelimitedSplit(text, ',');
  int32_t blue = IntegerParameter(SplitItem(items, 2));
  int32_t green = IntegerParameter(SplitItem(items, 1));
  int32_t red = IntegerParameter(SplitItem(items, 0));
  return RGBColor(red, green, blue);
}

void ApplyFontParameter(const std::string& text, FontData& font) {
  // Blanks go first, those of the face name included, so that the blank
  // separators of the style words cannot split the text.
  std::vector<std::string> fields = DelimitedSplit(WithoutBlanks(text), '|');
  const std::string& faceName = SplitItem(fields, 0);
  if (!faceName.empty()) font.name = faceName.substr(0, kMaxFaceNameLength);
  font.color = FontColor(SplitItem(fields, 1));
  font.size = IntegerParameter(SplitItem(fields, 2));
  font.styles |= FontStyles(SplitItem(fields, 3));
  font.charset = static_cast<uint8_t>(IntegerParameter(SplitItem(fields, 4)) & 0xFF);
}

std::string LowerCaseText(const std::string& text) {
  const TextLocale& locale = CurrentLocale();
  std::string result = text;
  for (size_t i = 0; i < result.size();) {
    size_t next = NextChar(result, i);
    if (next == i + 1) result[i] = static_cast<char>(locale.lowerCase[Byte(result, i)]);
    i = next;
  }
  return result;
}

std::optional<bool> SwitchParameter(const std::string& text) {
  std::string word = LowerCaseText(text);
  if (word == "true") return true;
  if (word == "false") return false;
  return std::nullopt;
}

void ApplySwitchParameter(const std::string& text, bool& target) {
  if (std::optional<bool> value = SwitchParameter(text)) target = *value;
}

void ReadRecordList(const std::string& text, const std::function<void(const PieRecord&)>& add) {
  if (text.empty()) return;
  for (const std::string& recordText : DelimitedSplit(text, '|')) {
    try {
      add(ReadRecord(recordText));
    } catch (...) {
      // A bad record is skipped; the list goes on with the next one.
    }
  }
}

std::vector<PieRecord> RecordListParameter(const std::string& text) {
  std::vector<PieRecord> records;
  ReadRecordList(text, [&records](const PieRecord& record) { records.push_back(record); });
  return records;
}

std::string RgbTripleText(TColor color) {
  return std::to_string(RedOf(color)) + "," + std::to_string(GreenOf(color)) + "," +
         std::to_string(BlueOf(color));
}

// A face name as the font parameter's first field: quoted, its quotes
// doubled, when a field separator, a quote or a control character in it
// would otherwise split it or end it on reading.
std::string FaceField(const std::string& face) {
  const bool plain = std::none_of(face.begin(), face.end(), [](char c) {
    return c == '|' || c == kQuote || (static_cast<unsigned char>(c) >= 1 && static_cast<unsigned char>(c) < 32);
  });
  if (plain) return face;
  std::string quoted(1, kQuote);
  for (char c : face) {
    quoted += c;
    if (c == kQuote) quoted += kQuote;
  }
  return quoted + kQuote;
}

std::string FontParameterText(const FontData& font) {
  std::string styles;
  if (font.styles & fsBold) styles += "fsBold ";
  if (font.styles & fsItalic) styles += "fsItalic ";
  if (font.styles & fsUnderline) styles += "fsUnderline ";
  if (font.styles & fsStrikeOut) styles += "fsStrikeOut ";
  return FaceField(font.name) + "|" + ColorText(font.color) + "|" + std::to_string(font.size) + "|" + styles +
         "|" + std::to_string(font.charset);
}

}  // namespace kd
