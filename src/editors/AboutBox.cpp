// The About box's parts and places.
#include "editors/AboutBox.h"

#include "editors/Artwork.h"
#include "platform/GdiDevice.h"
#include "platform/WideText.h"
#include "widgets/Decorations.h"

namespace kd::editors {

namespace {
constexpr TColor kWhite = clWhite;

std::unique_ptr<platform::PaintedControl> Text(HWND parent, RECT place, const char* text, const wchar_t* face,
                                               int height, TColor color) {
  return std::make_unique<widgets::TextLabel>(parent, place, platform::Widen(text), widgets::PixelFont(face, height),
                                              color, kWhite);
}
}  // namespace

TAboutBoxForm::TAboutBoxForm() : ModalDialog(L"TAboutBoxForm", 319, 242, WindowIcon()) {}

void TAboutBoxForm::Run() { ShowModal(platform::DialogOwner(), L"About"); }

void TAboutBoxForm::OnCreate() {
  HWND self = Handle();
  parts_.push_back(Text(self, RECT{151, 10, 151 + 151, 10 + 18}, kAboutMail, L"Comic Sans MS", 13, clBlack));
  parts_.push_back(std::make_unique<widgets::PictureBox>(self, RECT{16, 32, 16 + 185, 32 + 145}, LoadArtwork(kArtAbout)));
  parts_.push_back(Text(self, RECT{212, 30, 212 + 100, 30 + 16}, kAboutLink, L"Arial", 12, RGBColor(0, 0, 200)));
  parts_.push_back(Text(self, RECT{220, 50, 220 + 90, 50 + 30}, kAboutCredit, L"Arial", 11, RGBColor(96, 96, 96)));
  parts_.push_back(Text(self, RECT{16, 168, 16 + 237, 168 + 55}, "kdPieChart  ", L"Comic Sans MS", 40, clRed));
  parts_.push_back(Text(self, RECT{159, 220, 159 + 146, 220 + 15}, kAboutAuthor, L"Arial", 12, clBlack));
  HWND ok = CreateWindowExW(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 225, 130, 76,
                            25, self, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), nullptr, nullptr);
  SendMessageW(ok, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

bool TAboutBoxForm::OnCommand(int id, int code, HWND control) {
  if (id != IDOK) return false;
  End(IDOK);
  return true;
}

bool TAboutBoxForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (message != WM_PAINT) return false;
  platform::PaintScope paint(Handle());
  platform::GdiDevice device(paint.DC());
  RECT client{};
  GetClientRect(Handle(), &client);
  device.SetBrush(TChartBrush{kWhite, bsSolid});
  device.FillRect(TRect{0, 0, client.right, client.bottom});
  widgets::DrawOutline(device, TRect{5, 5, 5 + 309, 5 + 232});
  return true;
}

}  // namespace kd::editors
