// nbEditAction's editors and nbAbout's box: each call makes its dialog, runs
// it and frees it on every path; the slots change only after OK, all at once.
#include "editors/EditDispatch.h"

#include <vector>

#include "editors/AboutBox.h"
#include "editors/ActionEditor.h"
#include "editors/CreateChartEditor.h"
#include "host/ActionTable.h"
#include "host/HostServices.h"
#include "host/HostText.h"

namespace kd::editors {

namespace {

// Every new block is made before any slot changes, so a failure leaves every
// slot with its old text and block.
void WriteSlots(HostText* slots, const std::vector<std::string>& texts) {
  std::vector<HostText> fresh(texts.size(), nullptr);
  try {
    for (size_t i = 0; i < texts.size(); ++i) SetHostString(&fresh[i], texts[i]);
  } catch (...) {
    for (HostText& block : fresh) ReleaseHostString(&block);
    throw;
  }
  for (size_t i = 0; i < texts.size(); ++i) {
    ReleaseHostString(&slots[i]);
    slots[i] = fresh[i];
  }
}

// The create-chart editor (action 1) with its table and preview.
bool EditCreateChart(HostText* slots, int32_t high) {
  if (!slots || high < kCreateChartSlots - 1) return false;
  std::vector<std::string> texts;
  for (int32_t i = 0; i < kCreateChartSlots; ++i) texts.push_back(HostTextValue(slots[i]));
  TCreateChartEditor editor(std::move(texts));
  if (!editor.Run(FindAction(1)->name)) return false;
  WriteSlots(slots, editor.Results());
  return true;
}

}  // namespace

bool EditAction(int32_t id, HostText* slots, int32_t high) {
  if (id == 1) return EditCreateChart(slots, high);
  const EditorLayout* layout = FindEditor(id);
  const ActionEntry* action = FindAction(id);
  if (!layout || !action || !slots) return false;
  const int32_t count = static_cast<int32_t>(layout->slots.size());
  if (high < count - 1) return false;  // never read past what the host passed
  std::vector<std::string> texts;
  for (int32_t i = 0; i < count; ++i) texts.push_back(HostTextValue(slots[i]));
  TActionEditor editor(*layout, action->name, std::move(texts));
  if (!editor.Run(action->name)) return false;
  WriteSlots(slots, editor.Results());
  return true;
}

void ShowAbout() {
  TAboutBoxForm about;
  about.Run();
}

}  // namespace kd::editors
