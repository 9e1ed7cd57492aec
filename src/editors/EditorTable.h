// The editors of actions 2 to 34 as data: each action's dialog class, and for
// each parameter slot the row that shows it, with its caption and key, list
// items, number range, digit limit and default, and the buttons beside it.
// Plain data: EditorRoutine builds a dialog from a row of this table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editors/EditorForm.h"

namespace kd::editors {

// A dialog class: its window class name, client size and where the bottom panel starts.
struct FormClass {
  const wchar_t* name;
  int width;
  int height;
  int bottomTop;
  bool rangeByItem;  // the list's item sets the number box's range
};

enum class SlotKind { Text, List, Number };

struct SlotLayout {
  SlotKind kind = SlotKind::Text;
  int top = 0;     // top of the row's panel
  int column = 0;  // choice rows: 0 at x 5, 1 at x 205 of the panel
  const char* caption = "";   // built-in default, code page 1251
  const char* key = nullptr;  // localisation key; none: never localised
  ButtonKind left = ButtonKind::None;
  ButtonKind right = ButtonKind::None;
  std::vector<std::string> items;
  int listWidth = 132;
  int minimum = -9000;
  int maximum = 90000;
  int digits = 5;
  int defaultValue = 0;
};

struct EditorLayout {
  int32_t id;
  const FormClass* form;
  std::vector<SlotLayout> slots;
  const char* description;      // code page 1251
  const char* descriptionKey;
};

// The editor of action `id` (2..34), or nullptr.
const EditorLayout* FindEditor(int32_t id);

// Number box ranges by list item (the view editor's parameters).
struct ItemRange {
  const char* item;
  int minimum;
  int maximum;
};
const ItemRange* FindItemRange(const std::string& item);

}  // namespace kd::editors
