#include "DialogDriver.h"

#include <iterator>

namespace kdhost {

namespace {

std::string TextOf(HWND window) {
  // WM_GETTEXT through SendMessageTimeout: the owner thread may be busy.
  char buffer[1024] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                      SMTO_ABORTIFHUNG, 2000, &got);
  return buffer;
}

std::wstring WideTextOf(HWND window) {
  wchar_t buffer[1024] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &got);
  return buffer;
}

std::string ClassOf(HWND window) {
  char buffer[128] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto* controls = reinterpret_cast<std::vector<ControlInfo>*>(param);
  ControlInfo info;
  info.window = child;
  info.className = ClassOf(child);
  info.text = TextOf(child);
  info.wideText = WideTextOf(child);
  info.id = GetDlgCtrlID(child);
  controls->push_back(std::move(info));
  return TRUE;
}

struct TopLevelSearch {
  DWORD process;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopLevelSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search->process && IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

std::string WithoutAmpersands(std::string text) {
  std::string out;
  for (char c : text)
    if (c != '&') out += c;
  return out;
}

}  // namespace

std::string SeenWindow::AllText() const {
  std::string all;
  for (const ControlInfo& c : controls) all += c.text + "\n";
  return all;
}

SeenWindow ReadWindow(HWND window) {
  SeenWindow seen;
  seen.window = window;
  seen.className = ClassOf(window);
  seen.caption = TextOf(window);
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&seen.controls));
  return seen;
}

DialogDriver::DialogDriver(Script script) : script_(std::move(script)) {
  // Windows that exist already (the host page) are not the plug-in's.
  TopLevelSearch search{GetCurrentProcessId(), {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  known_.insert(search.found.begin(), search.found.end());
  thread_ = std::thread([this] { Run(); });
}

DialogDriver::~DialogDriver() {
  stop_ = true;
  thread_.join();
}

std::vector<SeenWindow> DialogDriver::Seen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_;
}

void DialogDriver::Run() {
  while (!stop_) {
    TopLevelSearch search{GetCurrentProcessId(), {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    // A handle freed by a closed window may come back for a new one.
    for (auto it = known_.begin(); it != known_.end();) it = IsWindow(*it) ? std::next(it) : known_.erase(it);
    for (HWND window : search.found) {
      if (known_.count(window)) continue;
      known_.insert(window);
      Sleep(50);  // let the dialog finish its initialisation
      SeenWindow seen = ReadWindow(window);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(seen);
      }
      if (script_) script_(seen);
    }
    Sleep(20);
  }
}

bool ClickButton(const SeenWindow& dialog, const std::string& text) {
  for (const ControlInfo& c : dialog.controls) {
    if (_stricmp(c.className.c_str(), "Button") != 0) continue;
    if (WithoutAmpersands(c.text) != WithoutAmpersands(text)) continue;
    PostMessageA(c.window, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

bool ClickId(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  if (button) return PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
  return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0) != FALSE;
}

bool TypeInto(HWND control, const std::string& text) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

bool SelectComboItem(HWND dialog, int comboId, const std::string& text) {
  HWND combo = GetDlgItem(dialog, comboId);
  if (!combo) return false;
  DWORD_PTR index = 0;
  if (!SendMessageTimeoutA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()),
                           SMTO_ABORTIFHUNG, 2000, &index) ||
      static_cast<LRESULT>(index) == CB_ERR)
    return false;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(combo, CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
  return SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo),
                             SMTO_ABORTIFHUNG, 2000, &ignored) != 0;
}

void CloseTopLevel(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char buffer[256] = {};
    SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
    items.push_back(buffer);
  }
  return items;
}

int ComboSelection(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

std::string InCodePage(const std::wstring& text, unsigned codePage) {
  if (text.empty()) return std::string();
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

DialogDriver::Script CloseEverything() {
  return [](const SeenWindow& seen) {
    if (!ClickId(seen.window, IDOK)) CloseTopLevel(seen.window);
  };
}

DialogDriver::Script CancelEverything() {
  return [](const SeenWindow& seen) {
    if (!ClickId(seen.window, IDCANCEL)) CloseTopLevel(seen.window);
  };
}

}  // namespace kdhost
