// One action editor built from its row of the editor table: the rows in the
// order of the action's slots, loaded from the slot texts by the rules of
// their kind, and read back on OK as the texts the actions read.
#pragma once

#include <string>
#include <vector>

#include "editors/EditorForm.h"
#include "editors/EditorTable.h"

namespace kd::editors {

class TActionEditor : public TEditorForm {
 public:
  TActionEditor(const EditorLayout& layout, std::string actionName, std::vector<std::string> slotTexts);

  // The texts to write, one per slot; filled when the author presses OK.
  const std::vector<std::string>& Results() const { return results_; }

 protected:
  void Build() override;
  void Collect() override;
  void OnListPicked(KeywordList& list) override;

 private:
  struct SlotControl {
    TextRow* row = nullptr;
    KeywordList* list = nullptr;
    NumberBox* number = nullptr;
  };

  void BuildTextRow(size_t slot);
  void BuildChoice(size_t slot);
  // True when another slot shares this one's choice row in the other column.
  bool SharesRow(size_t slot) const;

  const EditorLayout& layout_;
  std::string actionName_;
  std::vector<std::string> slotTexts_;
  std::vector<SlotControl> controls_;
  std::vector<std::string> results_;
  std::vector<int> choiceRowTops_;
};

}  // namespace kd::editors
