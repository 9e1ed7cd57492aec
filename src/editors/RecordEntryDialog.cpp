// The record-entry dialog's controls. Its captions are never localised.
#include "editors/RecordEntryDialog.h"

namespace kd::editors {

TRecordEntryDialog::TRecordEntryDialog() : TEditorForm(L"TFormRead", 224, 213) {}

void TRecordEntryDialog::Build() {
  nameRow_ = &AddTextRow(TRect{11, 10, 186, 56}, 137, L"Name", kIdEntryName, kIdEntryNameCaption);
  AddPictureButton(190, 30, kIdEntryNamePicker, ButtonKind::VariablePicker, *nameRow_);

  AddCaption(16, 62, 110, 16, L"Value", kIdEntryValueCaption);
  valueBox_ = &AddNumberBox(16, 81, 110, kIdEntryValue, kIdEntryValueArrows);
  valueBox_->SetRange(0, 1999999999);
  valueBox_->SetDigits(10);
  valueBox_->SetValue(0);

  colourRow_ = &AddTextRow(TRect{11, 112, 186, 158}, 137, L"Color", kIdEntryColour, kIdEntryColourCaption);
  AddPictureButton(160, 132, kIdEntryColourButton, ButtonKind::Colour, *colourRow_);
  AddPictureButton(190, 132, kIdEntryColourPicker, ButtonKind::VariablePicker, *colourRow_);

  AddOkCancel(TPoint{44, 180}, TPoint{136, 180}, 80);
}

void TRecordEntryDialog::Collect() {
  name_ = nameRow_->Text();
  value_ = valueBox_->Value();
  colour_ = colourRow_->Text();
}

}  // namespace kd::editors
