// The About box: the plug-in's name, our picture and the maker's credits in a
// small white modal window over the host's active window.
#pragma once

#include <memory>
#include <vector>

#include "platform/ModalDialog.h"
#include "platform/PaintedControl.h"

namespace kd::editors {

constexpr const char* kAboutMail = "kdpiechart@example.org";
constexpr const char* kAboutLink = "Home page";
constexpr const char* kAboutCredit = "Made with VisualNeo";
constexpr const char* kAboutAuthor = "author: kdPie team";

class TAboutBoxForm : public platform::ModalDialog {
 public:
  TAboutBoxForm();
  void Run();

 private:
  void OnCreate() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  std::vector<std::unique_ptr<platform::PaintedControl>> parts_;
};

}  // namespace kd::editors
