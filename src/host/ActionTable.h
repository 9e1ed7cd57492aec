// The table of categories and actions the module registers with the host, in
// registration order. Plain data: the Win32 entry points walk it, localise
// each hint and hand every row to the host's registration callback.
#pragma once

#include <cstdint>
#include <vector>

namespace kd {

// Parameter type codes the host understands; the module never reads them back.
enum : uint8_t {
  kParamText = 1,
  kParamNumber = 3,
  kParamVariable = 6,
};

struct ActionEntry {
  int32_t id;               // 1..34 for an action, 0 for a category
  const char* name;         // script name of the action, or the category's name
  const char* key;          // localisation key such as "085*"; nullptr for a category
  const char* defaultHint;  // code page 1251 bytes; "" for a category
  std::vector<uint8_t> types;  // one code per parameter; {1} placeholder for a category
  int32_t count;            // number of parameters; 0 for a category
};

// All 39 rows (5 categories, 34 actions) in the order the host receives them.
const std::vector<ActionEntry>& ActionTable();

// The action row of an identifier 1..34, or nullptr for any other number.
const ActionEntry* FindAction(int32_t id);

// Parameter count of action `id`; 0 for categories and unknown identifiers.
int32_t ActionParameterCount(int32_t id);

// Highest action identifier (34).
int32_t HighestActionId();

}  // namespace kd
