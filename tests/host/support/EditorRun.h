// Runs one editor through nbEditAction with a scripted author: the driver
// reads the dialog (class, caption, size, every control's text, list items and
// selections), lets the author act, then presses OK or Cancel.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "host/HostInterface.h"

namespace kdhost {

struct EditorSeen {
  bool seen = false;
  std::string className;
  std::string caption;
  SIZE client{};
  int badgeWidth = 0;
  std::map<int, std::wstring> texts;             // control id -> window text
  std::map<int, std::vector<std::string>> items;  // list id -> items in order
  std::map<int, int> selection;                   // list id -> selected index
};

struct Author {
  // Runs on the driver thread with the editor before it is closed.
  std::function<void(HWND editor)> act;
  // Answers a common dialog the author opened; the editor is closed after it.
  std::function<void(const SeenWindow& dialog)> common;
  int finish = IDOK;
};

struct EditRun {
  bool result = false;
  std::vector<kd::HostText> before;  // the blocks the slots held
  std::vector<kd::HostText> after;
  std::vector<std::string> texts;         // the slots' texts after the run ("<null>" for none)
  std::vector<std::size_t> moduleBlock;   // size of each slot's block when the module made it, else 0
  std::vector<bool> beforeStillLive;      // the old block was not freed
  EditorSeen seen;
  int windows = 0;  // top-level windows the driver saw
};

// Slot texts: nothing is a null slot. Frees every block afterwards.
EditRun RunEditor(int id, const std::vector<std::optional<std::string>>& slots, const Author& author = {});


}  // namespace kdhost
