// Drives the windows the plug-in opens (message boxes, common dialogs, editor
// dialogs) from a helper thread while the plug-in's modal loop runs on the
// main thread: finds each new top-level window of the process, reads it, and
// hands it to a script that types, selects and clicks.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace kdhost {

struct ControlInfo {
  HWND window = nullptr;
  std::string className;
  std::string text;
  std::wstring wideText;  // the same text as UTF-16, for texts outside the ANSI code page
  int id = 0;
};

struct SeenWindow {
  HWND window = nullptr;
  std::string className;
  std::string caption;
  std::vector<ControlInfo> controls;  // every descendant, in window order

  // Texts of all controls joined by newlines (message box text included).
  std::string AllText() const;
};

class DialogDriver {
 public:
  // Called on the driver thread once per new visible top-level window.
  using Script = std::function<void(const SeenWindow&)>;

  explicit DialogDriver(Script script);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  std::vector<SeenWindow> Seen() const;

 private:
  void Run();

  Script script_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<SeenWindow> seen_;
  std::set<HWND> known_;
  std::thread thread_;
};

// Reads a window's caption and controls (callable from any thread).
SeenWindow ReadWindow(HWND window);

// Actions on a dialog from the driver thread.
bool ClickButton(const SeenWindow& dialog, const std::string& text);  // by caption, & ignored
bool ClickId(HWND dialog, int id);
bool TypeInto(HWND control, const std::string& text);
// Selects the item `text` of the combo box `comboId` and tells the dialog, as a
// user's pick does (CBN_SELCHANGE). False when the combo has no such item.
bool SelectComboItem(HWND dialog, int comboId, const std::string& text);
void CloseTopLevel(HWND window);
// A combo box's items and the index of its selection (-1 for none).
std::vector<std::string> ComboItems(HWND combo);
int ComboSelection(HWND combo);
// UTF-16 text in a single-byte code page (1251 for the plug-in's Russian defaults).
std::string InCodePage(const std::wstring& text, unsigned codePage);

// A script that confirms every window it sees (message boxes answer OK).
DialogDriver::Script CloseEverything();

// A script that cancels every window it sees.
DialogDriver::Script CancelEverything();

}  // namespace kdhost
