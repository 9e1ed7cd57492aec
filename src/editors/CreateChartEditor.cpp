// The create-chart editor: its controls at their places, the opening steps
// that fill them and the preview from the nine slots, the handlers that keep
// the preview in step, and the nine texts written on OK. Captions are the
// Russian defaults in code page 1251; the readable text stands beside each.
#include "editors/CreateChartEditor.h"

#include <commctrl.h>

#include <algorithm>

#include "editors/Artwork.h"
#include "editors/RecordEntryDialog.h"
#include "platform/WideText.h"

namespace kd::editors {

namespace {

enum Slot : int { kRectangle, kPanelColour, kRecords, kMonochrome, kView3D, kMarks, kPatterns, kExplode, kAngle };

constexpr UINT_PTR kRotateDownTimer = 1;
constexpr UINT_PTR kRotateUpTimer = 2;
constexpr UINT kRotationInterval = 60;
constexpr int kRotationStep = 3;

// A flag's check box, its caption and state at creation, and what it changes in the preview.
struct FlagLayout {
  int slot;
  int x, y;
  const char* caption;
  const char* key;
  bool designState;
  void (*apply)(TPreviewChart& preview, bool on);
};

const FlagLayout kFlags[] = {
    {kMonochrome, 95, 173, "\xCC\xEE\xED\xEE\xF5\xF0\xEE\xEC", "005*", false,  // Монохром
     [](TPreviewChart& p, bool on) { p.Chart().SetMonochrome(on); }},
    {kView3D, 196, 173, "3D", nullptr, true, [](TPreviewChart& p, bool on) { p.Chart().SetView3D(on); }},
    {kMarks, 95, 204, "\xCC\xE0\xF0\xEA\xE5\xF0\xFB", "006*", true,  // Маркеры
     [](TPreviewChart& p, bool on) { p.Series().Marks().SetVisible(on); }},
    {kPatterns, 196, 204, "Patterns", nullptr, false, [](TPreviewChart& p, bool on) { p.Series().SetUsePatterns(on); }},
};

const char* kRectangleCaption = "\xCF\xF0\xFF\xEC\xEE\xF3\xE3\xEE\xEB\xFC\xED\xE8\xEA:";  // Прямоугольник:
const char* kPanelColourCaption =
    "\xD6\xE2\xE5\xF2 \xEF\xE0\xED\xE5\xEB\xE8 \xE4\xE8\xE0\xE3\xF0\xE0\xEC\xEC\xFB:";  // Цвет панели диаграммы:
const char* kAddCaption = "\xC4\xEE\xE1\xE0\xE2\xE8\xF2\xFC \xE7\xE0\xEF\xE8\xF1\xFC:";  // Добавить запись:
const char* kDeleteCaption = "\xD3\xE4\xE0\xEB\xE8\xF2\xFC \xE7\xE0\xEF\xE8\xF1\xFC:";  // Удалить запись:
const char* kAngleCaption = "\xD3\xE3\xEE\xEB";                                          // Угол
// Создать объект PieChart в прямоугольнике.
const char* kDescription =
    "\xD1\xEE\xE7\xE4\xE0\xF2\xFC \xEE\xE1\xFA\xE5\xEA\xF2 PieChart \xE2 "
    "\xEF\xF0\xFF\xEC\xEE\xF3\xE3\xEE\xEB\xFC\xED\xE8\xEA\xE5.";

struct TableColumn {
  const wchar_t* title;
  int width;
};
const TableColumn kColumns[] = {{L"Name", 100}, {L"Value", 80}, {L"Color", 115}};

int SlotId(int slot) { return kIdSlotControl + slot; }

void SetText(HWND window, const std::string& bytes) { SetWindowTextW(window, platform::Widen(bytes).c_str()); }

}  // namespace

int& PreviewRotation() {
  static int counter = 360;
  return counter;
}

int RotatedDown(int counter) {
  const int next = counter - kRotationStep;
  return next < 0 ? 360 : next;
}

int RotatedUp(int counter) {
  const int next = counter + kRotationStep;
  return next > 360 ? 0 : next;
}

TCreateChartEditor::TCreateChartEditor(std::vector<std::string> slotTexts)
    : TEditorForm(L"TFormFiga", 576, 436), slots_(std::move(slotTexts)) {
  slots_.resize(kCreateChartSlots);
}

TCreateChartEditor::~TCreateChartEditor() { Release(); }

// ---------------------------------------------------------------- building

void TCreateChartEditor::Build() {
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&init);
  AddPictureStrip(TRect{8, 8, 88, 429}, TRect{10, 111, 86, 427});
  stripGradient_ = std::make_unique<widgets::GradientStrip>(Handle(), RECT{10, 10, 86, 111}, L"");
  preview_ = std::make_unique<TPreviewChart>(Handle(), RECT{272, 151, 569, 339});
  AddOutline(TRect{271, 150, 570, 340});
  BuildRows();
  BuildRecordButtons();
  BuildTable();
  BuildFlags();
  BuildExplode();
  BuildRotation();
  BottomPanelLayout bottom;
  // The panel stops at the dialog's edge; its buttons and box lie inside.
  bottom.panel = TRect{91, 320, 573, 435};
  bottom.description = TRect{94, 350, 94 + 475, 350 + 52};
  bottom.ok = TPoint{91 + 308, 320 + 83};
  bottom.cancel = TPoint{91 + 401, 320 + 83};
  AddBottomPanel(bottom, "kdPieChartCreate", LocalisedCaption("008*", kDescription));
}

void TCreateChartEditor::BuildRows() {
  // Both pickers serve the rectangle row.
  rectangleRow_ = &AddTextRow(TRect{91, 8, 271, 54}, 105, LocalisedCaption("001*", kRectangleCaption),
                              SlotId(kRectangle), kIdSlotCaption + kRectangle);
  rectangleRow_->SetText(slots_[kRectangle]);
  AddPictureButton(91 + 115, 28, kIdButton, ButtonKind::VariablePicker, *rectangleRow_);
  AddPictureButton(91 + 145, 28, kIdButton + 1, ButtonKind::ObjectPicker, *rectangleRow_);

  // The row's left button slot has no action and stays hidden.
  panelColourRow_ = &AddTextRow(TRect{91, 122, 271, 168}, 105, LocalisedCaption("002*", kPanelColourCaption),
                                SlotId(kPanelColour), kIdSlotCaption + kPanelColour);
  panelColourRow_->SetText(slots_[kPanelColour]);
  AddPictureButton(91 + 145, 142, kIdButton + 2 * kPanelColour + 1, ButtonKind::Colour, *panelColourRow_);
  LoadPanelColour();
}

void TCreateChartEditor::BuildRecordButtons() {
  AddCaption(100, 62, 135, 16, LocalisedCaption("003*", kAddCaption), kIdAddCaption);
  AddGlyphButton(237, 59, kIdAddRecord, LoadArtwork(kArtGlyphAdd));
  AddCaption(100, 93, 135, 16, LocalisedCaption("004*", kDeleteCaption), kIdDeleteCaption);
  AddGlyphButton(237, 92, kIdDeleteRecord, LoadArtwork(kArtGlyphDelete));
}

void TCreateChartEditor::BuildTable() {
  table_ = AddControl(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                      TRect{271, 8, 570, 145}, SlotId(kRecords), WS_EX_CLIENTEDGE);
  SendMessageW(table_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(kColumns[i].title);
    column.cx = kColumns[i].width;
    SendMessageW(table_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  LoadRecords();
}

void TCreateChartEditor::BuildFlags() {
  for (size_t i = 0; i < std::size(kFlags); ++i) {
    const FlagLayout& flag = kFlags[i];
    CheckBox& box = AddCheckBox(flag.x, flag.y, flag.x == 95 ? 98 : 72, 20, LocalisedCaption(flag.key, flag.caption),
                                SlotId(flag.slot));
    box.SetChecked(SwitchParameter(slots_[flag.slot]).value_or(flag.designState));
    flag.apply(*preview_, box.Checked());
    flags_[i] = &box;
  }
}

void TCreateChartEditor::BuildExplode() {
  AddCaption(96, 265, 130, 16, L"Explode Biggest", kIdSlotCaption + kExplode);
  explodeLabel_ = AddCaption(228, 265, 40, 16, L"0", kIdExplodeValue);
  trackBar_ = AddControl(TRACKBAR_CLASSW, L"", TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP,
                         TRect{93, 284, 93 + 173, 284 + 33}, SlotId(kExplode));
  SendMessageW(trackBar_, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
  SendMessageW(trackBar_, TBM_SETTICFREQ, 10, 0);
  const std::string& text = slots_[kExplode];
  const int position = std::clamp(text.empty() ? 0 : IntegerParameter(text, 0), 0, 100);
  SendMessageW(trackBar_, TBM_SETPOS, TRUE, position);
  ShowExplode(position);
}

void TCreateChartEditor::BuildRotation() {
  HWND up = AddGlyphButton(96, 233, kIdRotateUp, LoadArtwork(kArtGlyphRotateUp));
  HWND down = AddGlyphButton(122, 233, kIdRotateDown, LoadArtwork(kArtGlyphRotateDown));
  AddCaption(160, 237, 38, 16, LocalisedCaption("000*", kAngleCaption), kIdSlotCaption + kAngle);
  angleLabel_ = AddCaption(200, 237, 60, 16, L"", SlotId(kAngle));
  rotateDownTimer_ = std::make_unique<platform::WindowTimer>(Handle(), kRotateDownTimer, kRotationInterval);
  rotateUpTimer_ = std::make_unique<platform::WindowTimer>(Handle(), kRotateUpTimer, kRotationInterval);
  rotateUpHold_ = std::make_unique<platform::ButtonHold>(up, [this](bool held) { rotateUpTimer_->SetEnabled(held); });
  rotateDownHold_ =
      std::make_unique<platform::ButtonHold>(down, [this](bool held) { rotateDownTimer_->SetEnabled(held); });
  // The angle shows as given; the series refuses what is no angle, and the
  // preview then stays at 0. The rotation counter is not touched.
  const std::string& text = slots_[kAngle];
  ShowAngle(text.empty() ? "0" : text);
  preview_->Series().SetRotationAngle(std::max(0, IntegerParameter(text, 0)));
}

// ---------------------------------------------------------------- loading

void TCreateChartEditor::LoadPanelColour() {
  const std::string text = panelColourRow_->Text();
  if (text.empty()) return;
  try {
    preview_->Chart().SetColor(ColorParameter(text));
  } catch (const ConversionError&) {
    // An unreadable colour leaves the preview as it was, without a word.
  }
}

void TCreateChartEditor::LoadRecords() {
  const std::vector<TableRecord> records = ReadTableRecords(slots_[kRecords]);
  // The table draws once when all rows are in, not once per row.
  SendMessageW(table_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(table_, LVM_SETITEMCOUNT, records.size(), 0);
  for (const TableRecord& record : records) {
    AddRow(record.row);
    AddSlice(record.slice);
  }
  SendMessageW(table_, WM_SETREDRAW, TRUE, 0);
}

void TCreateChartEditor::AddRow(const RecordRow& row) {
  rows_.push_back(row);
  const std::wstring caption = platform::Widen(row.caption);
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(rows_.size()) - 1;
  item.pszText = const_cast<wchar_t*>(caption.c_str());
  const int index = static_cast<int>(SendMessageW(table_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  for (size_t i = 0; i < row.subTexts.size(); ++i) {
    const std::wstring text = platform::Widen(row.subTexts[i]);
    LVITEMW sub = {};
    sub.iSubItem = static_cast<int>(i) + 1;
    sub.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(table_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
  }
}

void TCreateChartEditor::AddSlice(const std::optional<PieRecord>& slice) {
  if (slice) preview_->Series().AddSlice(slice->value, slice->label, slice->color);
}

// ---------------------------------------------------------------- handlers

void TCreateChartEditor::AddRecord() {
  TRecordEntryDialog entry;
  if (!entry.Run(Handle())) return;
  const std::string& name = entry.Name();
  AddRow(RecordRow{name.empty() ? "Series" : name, {std::to_string(entry.Value()), entry.Colour()}});
  AddSlice(EnteredSlice(name, entry.Value(), entry.Colour()));
}

void TCreateChartEditor::DeleteRecord() {
  const int selected = static_cast<int>(SendMessageW(table_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (selected < 0 || selected >= static_cast<int>(rows_.size())) return;
  SendMessageW(table_, LVM_DELETEITEM, selected, 0);
  rows_.erase(rows_.begin() + selected);
  TPieSeries& series = preview_->Series();
  series.ClearSlices();
  for (const RecordRow& row : rows_) AddSlice(RowSlice(row));
}

void TCreateChartEditor::ShowExplode(int position) {
  preview_->Series().SetExplodeBiggest(position);
  SetWindowTextW(explodeLabel_, std::to_wstring(position).c_str());
}

void TCreateChartEditor::ShowAngle(const std::string& text) {
  angleText_ = text;
  SetText(angleLabel_, text);
}

void TCreateChartEditor::OnRotationTick(UINT_PTR timer) {
  int& counter = PreviewRotation();
  counter = timer == kRotateDownTimer ? RotatedDown(counter) : RotatedUp(counter);
  ShowAngle(std::to_string(counter));
  preview_->Series().SetRotationAngle(counter);
}

void TCreateChartEditor::OnColourButton(int id, int code, HWND control) {
  const std::string before = panelColourRow_->Text();
  TEditorForm::OnCommand(id, code, control);
  if (panelColourRow_->Text() != before) LoadPanelColour();
}

bool TCreateChartEditor::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return TEditorForm::OnCommand(id, code, control);
  for (size_t i = 0; i < std::size(kFlags); ++i) {
    if (id != SlotId(kFlags[i].slot)) continue;
    kFlags[i].apply(*preview_, flags_[i]->Checked());
    return true;
  }
  switch (id) {
    case kIdAddRecord: AddRecord(); return true;
    case kIdDeleteRecord: DeleteRecord(); return true;
    case kIdButton + 2 * kPanelColour + 1: OnColourButton(id, code, control); return true;
    default: return TEditorForm::OnCommand(id, code, control);
  }
}

bool TCreateChartEditor::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  switch (message) {
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) != trackBar_) break;
      ShowExplode(static_cast<int>(SendMessageW(trackBar_, TBM_GETPOS, 0, 0)));
      return true;
    case WM_TIMER:
      if (wParam != kRotateDownTimer && wParam != kRotateUpTimer) break;
      OnRotationTick(wParam);
      return true;
    case WM_DESTROY:
      // Timers, watches and the preview go while their windows still exist.
      Release();
      return false;
    default:
      break;
  }
  return TEditorForm::OnMessage(message, wParam, lParam, result);
}

void TCreateChartEditor::Release() {
  rotateUpHold_.reset();
  rotateDownHold_.reset();
  rotateUpTimer_.reset();
  rotateDownTimer_.reset();
  preview_.reset();
}

// ---------------------------------------------------------------- OK

void TCreateChartEditor::Collect() {
  results_.assign(kCreateChartSlots, std::string());
  results_[kRectangle] = rectangleRow_->Text();
  results_[kPanelColour] = panelColourRow_->Text();
  results_[kRecords] = RecordListText(rows_);
  for (size_t i = 0; i < std::size(kFlags); ++i) results_[kFlags[i].slot] = flags_[i]->Checked() ? "True" : "False";
  results_[kExplode] = std::to_string(SendMessageW(trackBar_, TBM_GETPOS, 0, 0));
  results_[kAngle] = angleText_;
}

}  // namespace kd::editors
