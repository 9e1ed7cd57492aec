// The record-entry dialog of the create-chart editor ("Table entry"): a
// record's name with a variable picker, its value in a number box and its
// colour with a colour button and a variable picker. The create editor takes
// the record in when the author presses OK.
// Leaves out: the table and the preview (CreateChartEditor).
#pragma once

#include <string>

#include "editors/EditorForm.h"

namespace kd::editors {

enum RecordEntryId : int {
  kIdEntryName = 1600,
  kIdEntryValue = 1601,
  kIdEntryColour = 1602,
  kIdEntryValueArrows = 1603,
  kIdEntryNameCaption = 1604,
  kIdEntryValueCaption = 1605,
  kIdEntryColourCaption = 1606,
  kIdEntryNamePicker = 1610,
  kIdEntryColourButton = 1611,
  kIdEntryColourPicker = 1612,
};

class TRecordEntryDialog : public TEditorForm {
 public:
  TRecordEntryDialog();

  // Shows the dialog over `owner`; true on OK, the record is then read.
  bool Run(HWND owner) { return TEditorForm::Run("Table entry", owner); }

  const std::string& Name() const { return name_; }
  int Value() const { return value_; }
  const std::string& Colour() const { return colour_; }

 protected:
  void Build() override;
  void Collect() override;

 private:
  TextRow* nameRow_ = nullptr;
  NumberBox* valueBox_ = nullptr;
  TextRow* colourRow_ = nullptr;
  std::string name_;
  int value_ = 0;
  std::string colour_;
};

}  // namespace kd::editors
