// Modal dialogs from an in-memory template naming the module's own window
// class; the class uses the dialog manager's window procedure, so the
// template's frame is a true dialog and our procedure only adds behaviour.
#include "platform/ModalDialog.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "platform/ChildWindow.h"
#include "platform/FloatingPoint.h"
#include "platform/ResourceCounters.h"

namespace kd::platform {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

void RegisterDialogClass(const wchar_t* name, HICON icon) {
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(ModuleInstance(), name, &existing)) return;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefDlgProcW;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hInstance = ModuleInstance();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hIcon = icon;
  wc.lpszClassName = name;
  if (!RegisterClassExW(&wc)) throw std::runtime_error("cannot register a dialog class");
}

// DLGTEMPLATE, then the menu (none), the class name and the caption (empty).
std::vector<WORD> DialogTemplate(const wchar_t* className) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
  header->style = kStyle;
  header->dwExtendedStyle = kExStyle;
  words.push_back(0);  // no menu
  for (const wchar_t* c = className; *c; ++c) words.push_back(static_cast<WORD>(*c));
  words.push_back(0);
  words.push_back(0);  // empty caption: set from the object
  return words;
}

}  // namespace

ModalDialog::ModalDialog(const wchar_t* className, int clientWidth, int clientHeight, HICON icon)
    : className_(className), clientWidth_(clientWidth), clientHeight_(clientHeight), icon_(icon) {}

int ModalDialog::ShowModal(HWND owner, const std::wstring& caption) {
  RegisterDialogClass(className_, icon_);
  caption_ = caption;
  failure_ = nullptr;
  std::vector<WORD> frame = DialogTemplate(className_);
  const INT_PTR result =
      DialogBoxIndirectParamW(ModuleInstance(), reinterpret_cast<const DLGTEMPLATE*>(frame.data()),
                              owner, &DialogProc, reinterpret_cast<LPARAM>(this));
  window_ = nullptr;
  if (failure_) std::rethrow_exception(failure_);
  if (result == -1) throw std::runtime_error("cannot create a dialog");
  return static_cast<int>(result);
}

void ModalDialog::End(int result) {
  if (window_) EndDialog(window_, result);
}

void ModalDialog::BringToTop() const {
  if (window_) SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  if (window_) SetForegroundWindow(window_);
}

void ModalDialog::PlaceCentred() {
  RECT frame{0, 0, clientWidth_, clientHeight_};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    reinterpret_cast<ModalDialog*>(lParam)->window_ = window;
  }
  auto* self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!self) return FALSE;
  // Nothing may unwind through the dialog manager into the host.
  FloatingPointScope floatingPoint;
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    if (!self->failure_) self->failure_ = std::current_exception();
    EndDialog(window, IDABORT);
    return TRUE;
  }
}

INT_PTR ModalDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CountCreated(Resource::Window);
      SetWindowTextW(window_, caption_.c_str());
      PlaceCentred();
      OnCreate();
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window_, DWLP_USER, 0);
      CountDeleted(Resource::Window);
      return FALSE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (OnCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return TRUE;
      if (id == IDCANCEL) {  // the close box and Escape
        End(IDCANCEL);
        return TRUE;
      }
      return FALSE;
    }
    default: {
      INT_PTR result = 0;
      if (!OnMessage(message, wParam, lParam, result)) return FALSE;
      // Colour messages answer with the brush itself; the rest through the message result.
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return result;
      SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
      return TRUE;
    }
  }
}

HWND DialogOwner() {
  if (HWND active = GetActiveWindow()) return active;
  HWND foreground = GetForegroundWindow();
  DWORD process = 0;
  if (foreground) GetWindowThreadProcessId(foreground, &process);
  return process == GetCurrentProcessId() ? foreground : nullptr;
}

}  // namespace kd::platform
