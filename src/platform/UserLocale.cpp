// The user's locale for the portable code: decimal and thousands separators
// (read anew on every call, the user may change them while the host runs),
// the ANSI code page's lead bytes and lower-casing (kept per code page).
// Leaves out: multi-character separators, which the parameter texts cannot carry.
#include "platform/UserLocale.h"

#include <windows.h>

namespace kd::platform {

namespace {

char LocaleChar(LCTYPE type, char fallback) {
  char buffer[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) < 2) return fallback;
  return buffer[0];
}

struct CodePageTables {
  UINT codePage = 0;
  std::array<bool, 256> leadByte{};
  std::array<unsigned char, 256> lowerCase{};
};

void FillTables(CodePageTables& t, UINT codePage) {
  t.codePage = codePage;
  for (int c = 0; c < 256; ++c) {
    t.leadByte[c] = IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE;
    char ch = static_cast<char>(c);
    if (c != 0) CharLowerBuffA(&ch, 1);
    t.lowerCase[c] = static_cast<unsigned char>(ch);
  }
}

}  // namespace

TextLocale ReadUserLocale() {
  static CodePageTables tables;
  UINT codePage = GetACP();
  if (tables.codePage != codePage) FillTables(tables, codePage);
  TextLocale locale;
  locale.decimalSeparator = LocaleChar(LOCALE_SDECIMAL, '.');
  locale.thousandSeparator = LocaleChar(LOCALE_STHOUSAND, ',');
  locale.leadByte = tables.leadByte;
  locale.lowerCase = tables.lowerCase;
  return locale;
}

void RefreshCurrentLocale() { SetCurrentLocale(ReadUserLocale()); }

}  // namespace kd::platform
