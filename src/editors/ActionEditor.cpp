// Building an action editor from its table row, and the read and write rules
// of text rows, keyword lists and number boxes.
#include "editors/ActionEditor.h"

#include <algorithm>

#include "charts/Conversions.h"

namespace kd::editors {

namespace {
constexpr int kPanelLeft = 91;
constexpr int kPanelWidth = 430;
constexpr int kEditWidth = 325;
constexpr int kNumberWidth = 96;

int ColumnX(int column) { return kPanelLeft + (column == 0 ? 5 : 205); }
}  // namespace

TActionEditor::TActionEditor(const EditorLayout& layout, std::string actionName, std::vector<std::string> slotTexts)
    : TEditorForm(layout.form->name, layout.form->width, layout.form->height),
      layout_(layout),
      actionName_(std::move(actionName)),
      slotTexts_(std::move(slotTexts)) {
  slotTexts_.resize(layout_.slots.size());
}

void TActionEditor::Build() {
  const FormClass& form = *layout_.form;
  AddPictureStrip(TRect{8, 8, 88, 328}, TRect{10, 10, 86, 326});
  controls_.assign(layout_.slots.size(), SlotControl{});
  for (size_t slot = 0; slot < layout_.slots.size(); ++slot) {
    if (layout_.slots[slot].kind == SlotKind::Text) BuildTextRow(slot);
    else BuildChoice(slot);
  }
  AddBottomPanel(StandardBottomPanel(form.bottomTop), actionName_,
                 LocalisedCaption(layout_.descriptionKey, layout_.description));
}

void TActionEditor::BuildTextRow(size_t slot) {
  const SlotLayout& s = layout_.slots[slot];
  const int index = static_cast<int>(slot);
  const TRect panel{kPanelLeft, s.top, kPanelLeft + kPanelWidth, s.top + 46};
  TextRow& row = AddTextRow(panel, kEditWidth, LocalisedCaption(s.key, s.caption), kIdSlotControl + index,
                            kIdSlotCaption + index);
  row.SetText(slotTexts_[slot]);
  if (s.left != ButtonKind::None) AddPictureButton(kPanelLeft + 367, s.top + 20, kIdButton + 2 * index, s.left, row);
  if (s.right != ButtonKind::None)
    AddPictureButton(kPanelLeft + 399, s.top + 20, kIdButton + 2 * index + 1, s.right, row);
  controls_[slot].row = &row;
}

bool TActionEditor::SharesRow(size_t slot) const {
  for (size_t other = 0; other < layout_.slots.size(); ++other)
    if (other != slot && layout_.slots[other].kind != SlotKind::Text && layout_.slots[other].top == layout_.slots[slot].top)
      return true;
  return false;
}

void TActionEditor::BuildChoice(size_t slot) {
  const SlotLayout& s = layout_.slots[slot];
  const int index = static_cast<int>(slot);
  if (std::find(choiceRowTops_.begin(), choiceRowTops_.end(), s.top) == choiceRowTops_.end()) {
    choiceRowTops_.push_back(s.top);
    AddPanelEdges(TRect{kPanelLeft, s.top, kPanelLeft + kPanelWidth, s.top + 46});
  }
  const int x = ColumnX(s.column);
  // A caption alone on its row may use the row's whole width.
  const int captionWidth = !SharesRow(slot) ? kPanelWidth - 10 : s.column == 0 ? 195 : kPanelWidth - 208;
  AddCaption(x, s.top + 2, captionWidth, 16, LocalisedCaption(s.key, s.caption), kIdSlotCaption + index);
  if (s.kind == SlotKind::List) {
    KeywordList& list = AddKeywordList(x, s.top + 20, s.listWidth, s.items, kIdSlotControl + index);
    list.Select(slotTexts_[slot]);
    controls_[slot].list = &list;
    return;
  }
  NumberBox& number = AddNumberBox(x, s.top + 20, kNumberWidth, kIdSlotControl + index, kIdSlotUpDown + index);
  number.SetRange(s.minimum, s.maximum);
  number.SetDigits(s.digits);
  number.SetValue(IntegerParameter(slotTexts_[slot], s.defaultValue));
  controls_[slot].number = &number;
}

void TActionEditor::Collect() {
  results_.clear();
  for (const SlotControl& control : controls_) {
    if (control.row) results_.push_back(control.row->Text());
    else if (control.list) results_.push_back(control.list->Text());
    else results_.push_back(std::to_string(control.number->Value()));
  }
}

void TActionEditor::OnListPicked(KeywordList& list) {
  if (!layout_.form->rangeByItem) return;
  const ItemRange* range = FindItemRange(list.Text());
  if (!range) return;
  for (size_t slot = 0; slot < controls_.size(); ++slot)
    if (controls_[slot].number) controls_[slot].number->SetRange(range->minimum, range->maximum);
}

}  // namespace kd::editors
