// The editor frame: standard controls in Unicode windows, the decorations,
// the picker buttons and the bottom panel.
#include "editors/EditorForm.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "charts/ColorForm.h"
#include "charts/Conversions.h"
#include "editors/Artwork.h"
#include "host/HostInterface.h"
#include "host/HostServices.h"
#include "host/LocalisedText.h"
#include "platform/ChildWindow.h"
#include "platform/GdiDevice.h"
#include "platform/ScreenMetrics.h"
#include "platform/WideText.h"
#include "widgets/Decorations.h"

namespace kd::editors {

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const char* kImageFilter =
    "All (*.jpg;*.jpeg;*.bmp,*.ico,*.emf,*.wmf)|*.jpg;*.jpeg;*.bmp,*.ico,*.emf,*.wmf|JPEG Image File "
    "(*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Icons(*.ico)|*.ico|Enhanced "
    "Metafiles(*.emf)|*.emf|Metafiles(*.wmf)|*.wmf";
const char* kBitmapFilter = "Windows Bitmap (*.bmp)|*.bmp";

HWND MakeControl(HWND dialog, const wchar_t* cls, const std::wstring& text, DWORD style, int x, int y,
                 int width, int height, int id, HFONT font, DWORD exStyle = 0) {
  HWND control = CreateWindowExW(exStyle, cls, text.c_str(), kChild | style, x, y, width, height, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 platform::ModuleInstance(), nullptr);
  if (!control) throw std::runtime_error("cannot create a dialog control");
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

// Strict decimal integer, optional minus sign: what a number box holds.
bool ParseBoxNumber(const std::wstring& text, int& value) {
  if (text.empty()) return false;
  size_t i = text[0] == L'-' ? 1 : 0;
  if (i == text.size()) return false;
  long long number = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
    number = number * 10 + (text[i] - L'0');
    if (number > 0x80000000LL) return false;
  }
  if (text[0] == L'-') number = -number;
  if (number < INT32_MIN || number > INT32_MAX) return false;
  value = static_cast<int>(number);
  return true;
}

void EnsureCommonControls() {
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&init);
}

// The platform's open or save dialog with a "|"-separated filter; the chosen path or nothing.
std::optional<std::string> FileBox(HWND owner, const char* filter, bool save) {
  std::string pairs(filter);
  std::replace(pairs.begin(), pairs.end(), '|', '\0');
  pairs.push_back('\0');
  char path[MAX_PATH] = {};
  OPENFILENAMEA request = {};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  request.lpstrFilter = pairs.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = path;
  request.nMaxFile = MAX_PATH;
  request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const BOOL chosen = save ? GetSaveFileNameA(&request) : GetOpenFileNameA(&request);
  if (!chosen) return std::nullopt;
  return std::string(path);
}

}  // namespace

std::wstring LocalisedCaption(const char* key, const char* defaultText) {
  // A translation is in the user's code page; the built-in defaults are code page 1251.
  if (key)
    if (std::optional<std::string> translated = LocalisedOnly(key)) return platform::Widen(*translated);
  return platform::Widen(defaultText, platform::kCyrillicCodePage);
}

// ---------------------------------------------------------------- controls

TextRow::TextRow(HWND dialog, HFONT font, const TRect& panel, int editWidth, const std::wstring& label,
                 int editId, int labelId) {
  label_ = std::make_unique<widgets::GradientStrip>(
      dialog, RECT{panel.left + 2, panel.top + 1, panel.right - 1, panel.top + 20}, label, labelId);
  edit_ = MakeControl(dialog, L"Edit", L"", ES_AUTOHSCROLL | WS_TABSTOP, panel.left + 5, panel.top + 20,
                      editWidth, 23, editId, font);
}

void TextRow::SetText(const std::string& bytes) {
  bytes_ = bytes;
  shown_ = platform::Widen(bytes);
  SetWindowTextW(edit_, shown_.c_str());
}

std::string TextRow::Text() const {
  const std::wstring now = platform::WindowTextWide(edit_);
  return now == shown_ ? bytes_ : platform::Narrow(now);
}

KeywordList::KeywordList(HWND dialog, HFONT font, int x, int y, int width, std::vector<std::string> items,
                         int id)
    : items_(std::move(items)) {
  combo_ = MakeControl(dialog, L"ComboBox", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, x, y, width,
                       220, id, font);
  for (const std::string& item : items_)
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Widen(item).c_str()));
}

void KeywordList::Select(const std::string& text) {
  const auto found = std::find(items_.begin(), items_.end(), text);
  const WPARAM index = found == items_.end() ? static_cast<WPARAM>(-1) : found - items_.begin();
  SendMessageW(combo_, CB_SETCURSEL, index, 0);
}

std::string KeywordList::Text() const {
  const LRESULT index = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
  if (index < 0 || index >= static_cast<LRESULT>(items_.size())) return std::string();
  return items_[index];
}

NumberBox::NumberBox(HWND dialog, HFONT font, int x, int y, int width, int id, int upDownId) {
  edit_ = MakeControl(dialog, L"Edit", L"0", ES_AUTOHSCROLL | WS_TABSTOP, x, y, width, 23, id, font,
                      WS_EX_CLIENTEDGE);
  upDown_ = MakeControl(dialog, UPDOWN_CLASSW, L"",
                        UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 0, 0,
                        upDownId, font);
  SendMessageW(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit_), 0);
  SetRange(minimum_, maximum_);
  SetDigits(5);
}

void NumberBox::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
  SendMessageW(upDown_, UDM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
}

void NumberBox::SetDigits(int digits) { SendMessageW(edit_, EM_LIMITTEXT, digits, 0); }

int NumberBox::Clamp(int value) const {
  if (minimum_ == maximum_) return value;
  return std::min(std::max(value, minimum_), maximum_);
}

void NumberBox::SetValue(int value) {
  const int shown = Clamp(value);
  SendMessageW(upDown_, UDM_SETPOS32, 0, shown);
  // The arrows clamp to their own range; the text is the value itself.
  SetWindowTextW(edit_, std::to_wstring(shown).c_str());
}

int NumberBox::Value() const {
  int value = 0;
  if (!ParseBoxNumber(platform::WindowTextWide(edit_), value)) return minimum_;
  return Clamp(value);
}

CheckBox::CheckBox(HWND dialog, HFONT font, int x, int y, int width, int height, const std::wstring& text,
                   int id) {
  button_ = MakeControl(dialog, L"Button", text, BS_AUTOCHECKBOX | WS_TABSTOP, x, y, width, height, id, font);
}

bool CheckBox::Checked() const { return SendMessageW(button_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool on) { SendMessageW(button_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

BottomPanelLayout StandardBottomPanel(int top) {
  BottomPanelLayout layout;
  layout.panel = TRect{91, top, 91 + 430, top + 134};
  layout.description = TRect{91 + 3, top + 30, 91 + 3 + 425, top + 30 + 70};
  layout.ok = TPoint{91 + 272, top + 103};
  layout.cancel = TPoint{91 + 353, top + 103};
  return layout;
}

// ---------------------------------------------------------------- the form

TEditorForm::TEditorForm(const wchar_t* className, int clientWidth, int clientHeight)
    : ModalDialog(className, clientWidth, clientHeight, WindowIcon()),
      font_(widgets::PixelFont(L"Arial", 13)) {}

TEditorForm::~TEditorForm() = default;

bool TEditorForm::Run(const std::string& actionName, HWND owner) {
  actionName_ = actionName;
  EnsureCommonControls();
  return ShowModal(owner ? owner : platform::DialogOwner(), platform::Widen(actionName)) == IDOK;
}

void TEditorForm::OnCreate() { Build(); }

void TEditorForm::AddPictureStrip(const TRect& outline, const TRect& picture) {
  outlines_.push_back(outline);
  decorations_.push_back(std::make_unique<widgets::PictureBox>(
      Handle(), RECT{picture.left, picture.top, picture.right, picture.bottom}, LoadArtwork(kArtStrip)));
}

TextRow& TEditorForm::AddTextRow(const TRect& panel, int editWidth, const std::wstring& label, int editId,
                                 int labelId) {
  panels_.push_back(panel);
  textRows_.push_back(std::make_unique<TextRow>(Handle(), font_.Get(), panel, editWidth, label, editId, labelId));
  return *textRows_.back();
}

KeywordList& TEditorForm::AddKeywordList(int x, int y, int width, std::vector<std::string> items, int id) {
  lists_.push_back(std::make_unique<KeywordList>(Handle(), font_.Get(), x, y, width, std::move(items), id));
  return *lists_.back();
}

NumberBox& TEditorForm::AddNumberBox(int x, int y, int width, int id, int upDownId) {
  numbers_.push_back(std::make_unique<NumberBox>(Handle(), font_.Get(), x, y, width, id, upDownId));
  return *numbers_.back();
}

CheckBox& TEditorForm::AddCheckBox(int x, int y, int width, int height, const std::wstring& text, int id) {
  checks_.push_back(std::make_unique<CheckBox>(Handle(), font_.Get(), x, y, width, height, text, id));
  return *checks_.back();
}

HWND TEditorForm::AddCaption(int x, int y, int width, int height, const std::wstring& text, int id) {
  return MakeControl(Handle(), L"Static", text, SS_LEFT | SS_NOPREFIX, x, y, width, height, id, font_.Get());
}

HWND TEditorForm::AddControl(const wchar_t* cls, const std::wstring& text, DWORD style, const TRect& place, int id,
                             DWORD exStyle) {
  return MakeControl(Handle(), cls, text, style, place.left, place.top, place.Width(), place.Height(), id,
                     font_.Get(), exStyle);
}

void TEditorForm::AddPictureButton(int x, int y, int id, ButtonKind kind, TextRow& row) {
  HWND window = MakeControl(Handle(), L"Button", L"", BS_OWNERDRAW | WS_TABSTOP, x, y, 26, 24, id, font_.Get());
  buttons_.push_back(PictureButton{id, kind, &row, window, ButtonGlyph(kind)});
}

HWND TEditorForm::AddGlyphButton(int x, int y, int id, std::shared_ptr<const TPicture> glyph) {
  HWND window = MakeControl(Handle(), L"Button", L"", BS_OWNERDRAW | WS_TABSTOP, x, y, 24, 24, id, font_.Get());
  buttons_.push_back(PictureButton{id, ButtonKind::None, nullptr, window, std::move(glyph)});
  return window;
}

void TEditorForm::AddBottomPanel(const BottomPanelLayout& layout, const std::string& actionName,
                                 const std::wstring& description) {
  const TRect& p = layout.panel;
  panels_.push_back(p);
  // 15 pixels per character of the name, as wide as the name asks.
  const int badgeWidth = 15 * static_cast<int>(actionName.size());
  decorations_.push_back(std::make_unique<widgets::GradientBadge>(
      Handle(), RECT{p.left + 3, p.top + 3, p.left + 3 + badgeWidth, p.top + 3 + 25}, platform::Widen(actionName),
      kIdCommand));
  const TRect& d = layout.description;
  decorations_.push_back(std::make_unique<widgets::DescriptionBox>(
      Handle(), RECT{d.left, d.top, d.right, d.bottom}, description, kIdDescription));
  const int below = d.bottom + 2;
  decorations_.push_back(std::make_unique<widgets::PictureBox>(
      Handle(), RECT{p.left + 3, below, p.left + 3 + 30, below + 30}, LoadArtwork(kArtAbout)));
  decorations_.push_back(std::make_unique<widgets::TextLabel>(
      Handle(), RECT{p.left + 40, below + 1, p.left + 200, below + 15}, L"kdPieChart for VisualNeo",
      widgets::PixelFont(L"Arial", 12), static_cast<TColor>(0xC06000), clBtnFace,
      kIdLink));
  decorations_.push_back(std::make_unique<widgets::TextLabel>(
      Handle(), RECT{p.left + 40, below + 16, p.left + 200, below + 30}, L"Pie charts, made simple",
      widgets::PixelFont(L"Arial", 11), RGBColor(128, 128, 128), clBtnFace, kIdCredit));
  AddOkCancel(layout.ok, layout.cancel, 75);
}

void TEditorForm::AddOkCancel(TPoint ok, TPoint cancel, int width) {
  MakeControl(Handle(), L"Button", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, ok.x, ok.y, width, 25, IDOK, font_.Get());
  MakeControl(Handle(), L"Button", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, cancel.x, cancel.y, width, 25, IDCANCEL,
              font_.Get());
}

bool TEditorForm::OnCommand(int id, int code, HWND control) {
  if (id == IDOK) {
    Collect();
    End(IDOK);
    return true;
  }
  for (const PictureButton& button : buttons_) {
    if (button.id == id && code == BN_CLICKED) {
      Press(button);
      return true;
    }
  }
  for (auto& list : lists_) {
    if (list->Handle() == control && (code == CBN_SELCHANGE || code == CBN_SELENDOK)) {
      OnListPicked(*list);
      return true;
    }
  }
  for (auto& number : numbers_) {
    if (number->Edit() == control && code == EN_KILLFOCUS) {
      number->ClampShown();
      return true;
    }
  }
  return false;
}

bool TEditorForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (message == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    for (const PictureButton& button : buttons_) {
      if (button.window != item->hwndItem) continue;
      widgets::DrawPictureButton(*item, button.glyph.get());
      result = TRUE;
      return true;
    }
    return false;
  }
  if (message == WM_PAINT) {
    PaintPanels();
    return true;
  }
  return false;
}

void TEditorForm::PaintPanels() {
  platform::PaintScope paint(Handle());
  platform::GdiDevice device(paint.DC());
  for (const TRect& panel : panels_) widgets::DrawPanelEdges(device, panel);
  for (const TRect& outline : outlines_) widgets::DrawOutline(device, outline);
}

void TEditorForm::Press(const PictureButton& button) {
  if (!button.row) return;
  TextRow& row = *button.row;
  switch (button.kind) {
    case ButtonKind::ObjectPicker:
    case ButtonKind::VariablePicker: {
      // No callback handed over: the picker does nothing and says nothing.
      if (!HostCanAnswer()) return;
      const int32_t code = button.kind == ButtonKind::ObjectPicker ? kRequestPickObject : kRequestPickVariable;
      const HostAnswer answer = AskHost(code, row.Text());
      if (answer.accepted) row.SetText(answer.text);
      return;
    }
    case ButtonKind::Colour: {
      TFormColorText carrier;
      if (carrier.ColorDialog2.Execute())
        row.SetText(RgbTripleText(static_cast<TColor>(carrier.ColorDialog2.Color & 0xFFFFFF)));
      break;
    }
    case ButtonKind::Font: {
      TFormColorText carrier;
      if (carrier.FontDialog2.Execute()) {
        carrier.Label1.Font = platform::FontDataOf(carrier.FontDialog2.Font, platform::ScreenPixelsPerInch());
        row.SetText(FontParameterText(carrier.Label1.Font));
      }
      break;
    }
    case ButtonKind::OpenPicture:
      if (std::optional<std::string> path = FileBox(Handle(), kImageFilter, false)) row.SetText(*path);
      break;
    case ButtonKind::SavePicture:
      // Appended always, also to a name that ends in it already.
      if (std::optional<std::string> path = FileBox(Handle(), kBitmapFilter, true)) row.SetText(*path + ".bmp");
      break;
    case ButtonKind::None:
      return;
  }
  BringToTop();
}

}  // namespace kd::editors
