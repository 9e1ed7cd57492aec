// The editor of kdPieChartCreate (dialog class TFormFiga): the rectangle and
// panel-colour rows, the record table with its add and delete buttons, four
// flags, the explode track bar, the rotate buttons with the angle text, and a
// live preview chart that shows every change at once.
// Leaves out: the record texts' rules (charts/RecordRows), the preview's
// window and design (PreviewChart), the record-entry dialog.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "charts/RecordRows.h"
#include "editors/EditorForm.h"
#include "editors/PreviewChart.h"
#include "platform/ButtonHold.h"
#include "platform/WindowTimer.h"
#include "widgets/Decorations.h"

namespace kd::editors {

constexpr int kCreateChartSlots = 9;

// Controls of the create editor beyond the slot controls (kIdSlotControl + slot:
// the two edits, the table, the four check boxes, the track bar, the angle text).
enum CreateEditorId : int {
  kIdAddRecord = 1500,
  kIdDeleteRecord = 1501,
  kIdRotateUp = 1502,
  kIdRotateDown = 1503,
  kIdAddCaption = 1504,
  kIdDeleteCaption = 1505,
  kIdExplodeValue = 1506,
};

// The preview rotation counter shared by every create editor of the module
// (360 when the module loads), and its steps: down wraps below 0 to 360, up
// wraps above 360 to 0.
int& PreviewRotation();
int RotatedDown(int counter);
int RotatedUp(int counter);

class TCreateChartEditor : public TEditorForm {
 public:
  explicit TCreateChartEditor(std::vector<std::string> slotTexts);
  ~TCreateChartEditor() override;

  // The nine texts to write; filled when the author presses OK.
  const std::vector<std::string>& Results() const { return results_; }

 protected:
  void Build() override;
  void Collect() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  void BuildRows();
  void BuildRecordButtons();
  void BuildFlags();
  void BuildRotation();
  void BuildExplode();
  void BuildTable();

  void LoadPanelColour();
  void LoadRecords();
  void AddRow(const RecordRow& row);
  void AddSlice(const std::optional<PieRecord>& slice);
  void AddRecord();
  void DeleteRecord();
  void ShowExplode(int position);
  void ShowAngle(const std::string& text);
  void OnRotationTick(UINT_PTR timer);
  void OnColourButton(int id, int code, HWND control);
  void Release();

  std::vector<std::string> slots_;
  std::vector<std::string> results_;
  TextRow* rectangleRow_ = nullptr;
  TextRow* panelColourRow_ = nullptr;
  std::array<CheckBox*, 4> flags_{};
  HWND table_ = nullptr;
  HWND trackBar_ = nullptr;
  HWND angleLabel_ = nullptr;
  HWND explodeLabel_ = nullptr;
  std::vector<RecordRow> rows_;
  std::string angleText_;
  std::unique_ptr<widgets::GradientStrip> stripGradient_;
  std::unique_ptr<TPreviewChart> preview_;
  std::unique_ptr<platform::WindowTimer> rotateDownTimer_;
  std::unique_ptr<platform::WindowTimer> rotateUpTimer_;
  std::unique_ptr<platform::ButtonHold> rotateDownHold_;
  std::unique_ptr<platform::ButtonHold> rotateUpHold_;
};

}  // namespace kd::editors
