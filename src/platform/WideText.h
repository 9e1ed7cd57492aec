// Texts between the module's single-byte code pages and the platform's
// UTF-16 windows. The dialogs are Unicode windows so that Cyrillic defaults
// (code page 1251) show as Cyrillic whatever the system's ANSI code page.
// Leaves out: normalisation and any code page other than those named.
#pragma once

#include "platform/Win32.h"

#include <string>
#include <string_view>

namespace kd::platform {

constexpr UINT kCyrillicCodePage = 1251;

std::wstring Widen(std::string_view text, UINT codePage = CP_ACP);
std::string Narrow(std::wstring_view text, UINT codePage = CP_ACP);

// The window's text as UTF-16 (empty for an invalid window).
std::wstring WindowTextWide(HWND window);

}  // namespace kd::platform
