// Implements ResourceLedger: one hook per watched function, each calling the
// real function (fetched from its system library, not through the patched
// table) and noting the handle it made or freed.
#include "ResourceLedger.h"

#include <cstdio>

#include "BlockLedger.h"

namespace kdhost {
namespace {

template <class Fn>
Fn Real(const char* dll, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), name)));
}

#define KD_REAL(dll, fn) static const auto real = Real<decltype(&::fn)>(dll, #fn)

ResourceLedger& L() { return ResourceLedger::Get(); }

HPEN WINAPI HookCreatePen(int style, int width, COLORREF color) {
  KD_REAL("gdi32.dll", CreatePen);
  return L().Made(real(style, width, color));
}
HPEN WINAPI HookExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD count, const DWORD* dashes) {
  KD_REAL("gdi32.dll", ExtCreatePen);
  return L().Made(real(style, width, brush, count, dashes));
}
HBRUSH WINAPI HookCreateSolidBrush(COLORREF color) {
  KD_REAL("gdi32.dll", CreateSolidBrush);
  return L().Made(real(color));
}
HBRUSH WINAPI HookCreateHatchBrush(int hatch, COLORREF color) {
  KD_REAL("gdi32.dll", CreateHatchBrush);
  return L().Made(real(hatch, color));
}
HFONT WINAPI HookCreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                             DWORD underline, DWORD strikeOut, DWORD charset, DWORD precision, DWORD clip,
                             DWORD quality, DWORD pitch, LPCSTR face) {
  KD_REAL("gdi32.dll", CreateFontA);
  return L().Made(real(height, width, escapement, orientation, weight, italic, underline, strikeOut, charset,
                       precision, clip, quality, pitch, face));
}
HDC WINAPI HookCreateCompatibleDC(HDC dc) {
  KD_REAL("gdi32.dll", CreateCompatibleDC);
  return L().Made(real(dc));
}
HBITMAP WINAPI HookCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                    DWORD offset) {
  KD_REAL("gdi32.dll", CreateDIBSection);
  return L().Made(real(dc, info, usage, bits, section, offset));
}
HENHMETAFILE WINAPI HookSetEnhMetaFileBits(UINT size, const BYTE* data) {
  KD_REAL("gdi32.dll", SetEnhMetaFileBits);
  return L().Made(real(size, data));
}
HENHMETAFILE WINAPI HookSetWinMetaFileBits(UINT size, const BYTE* data, HDC reference, const METAFILEPICT* picture) {
  KD_REAL("gdi32.dll", SetWinMetaFileBits);
  return L().Made(real(size, data, reference, picture));
}
HICON WINAPI HookCreateIconFromResourceEx(PBYTE bits, DWORD size, BOOL icon, DWORD version, int width, int height,
                                          UINT flags) {
  KD_REAL("user32.dll", CreateIconFromResourceEx);
  return L().Made(real(bits, size, icon, version, width, height, flags));
}
HDC WINAPI HookGetDC(HWND window) {
  KD_REAL("user32.dll", GetDC);
  return L().Made(real(window));
}

BOOL WINAPI HookDeleteObject(HGDIOBJ object) {
  KD_REAL("gdi32.dll", DeleteObject);
  L().Freed(object, "DeleteObject");
  return real(object);
}
BOOL WINAPI HookDeleteDC(HDC dc) {
  KD_REAL("gdi32.dll", DeleteDC);
  L().Freed(dc, "DeleteDC");
  return real(dc);
}
BOOL WINAPI HookDeleteEnhMetaFile(HENHMETAFILE metafile) {
  KD_REAL("gdi32.dll", DeleteEnhMetaFile);
  L().Freed(metafile, "DeleteEnhMetaFile");
  return real(metafile);
}
BOOL WINAPI HookDestroyIcon(HICON icon) {
  KD_REAL("user32.dll", DestroyIcon);
  L().Freed(icon, "DestroyIcon");
  return real(icon);
}
int WINAPI HookReleaseDC(HWND window, HDC dc) {
  KD_REAL("user32.dll", ReleaseDC);
  L().Freed(dc, "ReleaseDC");
  return real(window, dc);
}

HWND WINAPI HookCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR name, DWORD style, int x, int y, int width,
                                int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  KD_REAL("user32.dll", CreateWindowExA);
  HWND window = real(exStyle, className, name, style, x, y, width, height, parent, menu, instance, param);
  L().WindowMade(window);
  return window;
}
UINT_PTR WINAPI HookSetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  KD_REAL("user32.dll", SetTimer);
  const UINT_PTR made = real(window, id, elapse, proc);
  if (made != 0) L().TimerSet(window, window != nullptr ? id : made);
  return made;
}
BOOL WINAPI HookKillTimer(HWND window, UINT_PTR id) {
  KD_REAL("user32.dll", KillTimer);
  L().TimerKilled(window, id);
  return real(window, id);
}

#undef KD_REAL

struct Hook {
  const char* dll;
  const char* function;
  void* replacement;
};

const Hook kHooks[] = {
    {"gdi32.dll", "CreatePen", reinterpret_cast<void*>(&HookCreatePen)},
    {"gdi32.dll", "ExtCreatePen", reinterpret_cast<void*>(&HookExtCreatePen)},
    {"gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(&HookCreateSolidBrush)},
    {"gdi32.dll", "CreateHatchBrush", reinterpret_cast<void*>(&HookCreateHatchBrush)},
    {"gdi32.dll", "CreateFontA", reinterpret_cast<void*>(&HookCreateFontA)},
    {"gdi32.dll", "CreateCompatibleDC", reinterpret_cast<void*>(&HookCreateCompatibleDC)},
    {"gdi32.dll", "CreateDIBSection", reinterpret_cast<void*>(&HookCreateDIBSection)},
    {"gdi32.dll", "SetEnhMetaFileBits", reinterpret_cast<void*>(&HookSetEnhMetaFileBits)},
    {"gdi32.dll", "SetWinMetaFileBits", reinterpret_cast<void*>(&HookSetWinMetaFileBits)},
    {"user32.dll", "CreateIconFromResourceEx", reinterpret_cast<void*>(&HookCreateIconFromResourceEx)},
    {"user32.dll", "GetDC", reinterpret_cast<void*>(&HookGetDC)},
    {"gdi32.dll", "DeleteObject", reinterpret_cast<void*>(&HookDeleteObject)},
    {"gdi32.dll", "DeleteDC", reinterpret_cast<void*>(&HookDeleteDC)},
    {"gdi32.dll", "DeleteEnhMetaFile", reinterpret_cast<void*>(&HookDeleteEnhMetaFile)},
    {"user32.dll", "DestroyIcon", reinterpret_cast<void*>(&HookDestroyIcon)},
    {"user32.dll", "ReleaseDC", reinterpret_cast<void*>(&HookReleaseDC)},
    {"user32.dll", "CreateWindowExA", reinterpret_cast<void*>(&HookCreateWindowExA)},
    {"user32.dll", "SetTimer", reinterpret_cast<void*>(&HookSetTimer)},
    {"user32.dll", "KillTimer", reinterpret_cast<void*>(&HookKillTimer)},
};

}  // namespace

ResourceLedger& ResourceLedger::Get() {
  static ResourceLedger ledger;
  return ledger;
}

bool ResourceLedger::Install(HMODULE module) {
  int patched = 0;
  for (const Hook& hook : kHooks)
    if (PatchImport(module, hook.dll, hook.function, hook.replacement) != nullptr) ++patched;
  return patched > 0;
}

void ResourceLedger::Freed(const void* h, const char* how) {
  if (h == nullptr || gdiObjects_.erase(h) != 0) return;
  char text[96];
  std::snprintf(text, sizeof text, "%s of a handle the module did not make (%p)", how, h);
  errors_.push_back(text);
}

long ResourceLedger::LiveWindows() {
  for (auto it = windows_.begin(); it != windows_.end();) it = IsWindow(*it) ? std::next(it) : windows_.erase(it);
  return static_cast<long>(windows_.size());
}

long ResourceLedger::LiveTimers() {
  for (auto it = timers_.begin(); it != timers_.end();)
    it = it->first == nullptr || IsWindow(it->first) ? std::next(it) : timers_.erase(it);
  return static_cast<long>(timers_.size());
}

}  // namespace kdhost
