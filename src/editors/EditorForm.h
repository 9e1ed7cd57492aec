// The frame every action editor is built from: a modal "Action Properties"
// window of one of the module's own dialog classes with the picture strip on
// the left, labelled rows (text rows with picker buttons, keyword lists,
// number boxes, check boxes), and the bottom panel naming and describing the
// action with OK and Cancel. Controls are the standard ones (Edit, ComboBox,
// msctls_updown32, Button, Static), so automation and screen readers read
// them; every caption is a child window's text.
// Leaves out: which rows an action has (EditorTable), the create-chart
// editor's table and preview (CreateChartEditor).
#pragma once

#include "platform/Win32.h"

#include <memory>
#include <string>
#include <vector>

#include "engine/Device.h"
#include "platform/GdiObjects.h"
#include "platform/ModalDialog.h"
#include "platform/PaintedControl.h"

namespace kd::editors {

// Control identifiers, so tests and automation find a slot's control.
enum ControlId : int {
  kIdSlotControl = 1000,  // + slot index from 0: the edit, list or number box
  kIdSlotCaption = 1100,  // + slot index: the row's caption
  kIdSlotUpDown = 1200,   // + slot index: a number box's arrows
  kIdButton = 1300,       // + 2 * slot index + 0 for the left, 1 for the right button slot
  kIdCommand = 1400,
  kIdDescription = 1401,
  kIdLink = 1402,
  kIdCredit = 1403,
};

enum class ButtonKind { None, ObjectPicker, VariablePicker, Colour, Font, OpenPicture, SavePicture };

// A caption: its built-in code page 1251 default, localised by its key (none: never localised).
std::wstring LocalisedCaption(const char* key, const char* defaultText);

// A labelled edit: a gradient strip carrying the label above a borderless edit.
// A text the author leaves alone goes back exactly as the bytes it came in.
class TextRow {
 public:
  TextRow(HWND dialog, HFONT font, const TRect& panel, int editWidth, const std::wstring& label,
          int editId, int labelId);
  void SetText(const std::string& bytes);  // the host's ANSI code page
  std::string Text() const;
  HWND Edit() const { return edit_; }

 private:
  std::unique_ptr<platform::PaintedControl> label_;
  HWND edit_ = nullptr;
  std::string bytes_;
  std::wstring shown_;
};

// A drop-down list without free typing; items in the order given.
class KeywordList {
 public:
  KeywordList(HWND dialog, HFONT font, int x, int y, int width, std::vector<std::string> items, int id);
  // Selects the item equal to `text` (case included), or none.
  void Select(const std::string& text);
  // The selected item, or the empty text.
  std::string Text() const;
  HWND Handle() const { return combo_; }

 private:
  HWND combo_ = nullptr;
  std::vector<std::string> items_;
};

// An edit with its up-down buddy, a range and a digit limit.
class NumberBox {
 public:
  NumberBox(HWND dialog, HFONT font, int x, int y, int width, int id, int upDownId);
  // The range does not change the number shown; the next set or focus loss clamps it.
  void SetRange(int minimum, int maximum);
  void SetDigits(int digits);
  // Clamped to the range unless minimum equals maximum.
  void SetValue(int value);
  // The box's number clamped to the range; text that is no integer counts as the minimum.
  int Value() const;
  void ClampShown() { SetValue(Value()); }
  HWND Edit() const { return edit_; }

 private:
  int Clamp(int value) const;
  HWND edit_ = nullptr;
  HWND upDown_ = nullptr;
  int minimum_ = -9000;
  int maximum_ = 90000;
};

class CheckBox {
 public:
  CheckBox(HWND dialog, HFONT font, int x, int y, int width, int height, const std::wstring& text, int id);
  bool Checked() const;
  void SetChecked(bool on);
  HWND Handle() const { return button_; }

 private:
  HWND button_ = nullptr;
};

// Places of the bottom panel's parts, relative to the dialog.
struct BottomPanelLayout {
  TRect panel;        // 430 x 134 in most classes
  TRect description;  // the light box
  TPoint ok;
  TPoint cancel;
};
BottomPanelLayout StandardBottomPanel(int top);

class TEditorForm : public platform::ModalDialog {
 public:
  TEditorForm(const wchar_t* className, int clientWidth, int clientHeight);
  ~TEditorForm() override;

  // Runs the dialog with the action's name as its caption; true on OK. The
  // owner is the host's active window unless one is given.
  bool Run(const std::string& actionName, HWND owner = nullptr);

 protected:
  // Makes the rows and fills them from the slots; the window exists.
  virtual void Build() = 0;
  // Reads every control before the window goes (OK only).
  virtual void Collect() = 0;
  // The author picked an item of a list.
  virtual void OnListPicked(KeywordList& list) {}

  HFONT ControlFont() const { return font_.Get(); }
  void AddPictureStrip(const TRect& outline, const TRect& picture);
  TextRow& AddTextRow(const TRect& panel, int editWidth, const std::wstring& label, int editId, int labelId);
  KeywordList& AddKeywordList(int x, int y, int width, std::vector<std::string> items, int id);
  NumberBox& AddNumberBox(int x, int y, int width, int id, int upDownId);
  CheckBox& AddCheckBox(int x, int y, int width, int height, const std::wstring& text, int id);
  HWND AddCaption(int x, int y, int width, int height, const std::wstring& text, int id);
  // Any other child control in the dialog's font.
  HWND AddControl(const wchar_t* cls, const std::wstring& text, DWORD style, const TRect& place, int id,
                  DWORD exStyle = 0);
  // A flat picture button working on `row`.
  void AddPictureButton(int x, int y, int id, ButtonKind kind, TextRow& row);
  // A flat 24 x 24 picture button whose click the editor handles itself.
  HWND AddGlyphButton(int x, int y, int id, std::shared_ptr<const TPicture> glyph);
  void AddBottomPanel(const BottomPanelLayout& layout, const std::string& actionName,
                      const std::wstring& description);
  // "OK" (modal result 1) and "Cancel" (2), each width x 25.
  void AddOkCancel(TPoint ok, TPoint cancel, int width);
  // An edge-lined panel drawn behind its row.
  void AddPanelEdges(const TRect& panel) { panels_.push_back(panel); }
  // A one-pixel outline drawn on the dialog face.
  void AddOutline(const TRect& outline) { outlines_.push_back(outline); }

  // Editors with controls of their own handle their messages first and pass the rest on.
  bool OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  struct PictureButton {
    int id;
    ButtonKind kind;
    TextRow* row;  // none for a glyph button
    HWND window;
    std::shared_ptr<const TPicture> glyph;
  };

  void OnCreate() override;
  void Press(const PictureButton& button);
  void PaintPanels();

  std::string actionName_;
  platform::Font font_;
  std::vector<std::unique_ptr<platform::PaintedControl>> decorations_;
  std::vector<std::unique_ptr<TextRow>> textRows_;
  std::vector<std::unique_ptr<KeywordList>> lists_;
  std::vector<std::unique_ptr<NumberBox>> numbers_;
  std::vector<std::unique_ptr<CheckBox>> checks_;
  std::vector<PictureButton> buttons_;
  std::vector<TRect> panels_;
  std::vector<TRect> outlines_;
};

}  // namespace kd::editors
