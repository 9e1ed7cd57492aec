#include "HostSide.h"

#include <cstring>

#include "BlockLedger.h"
#include "FloatMode.h"
#include "PlugInModule.h"

namespace kdhost {

HostSide& HostSide::Get() {
  static HostSide host;
  return host;
}

void HostSide::Reset() {
  registrations.clear();
  variables.clear();
  questions.clear();
  objectPicks.clear();
  variablePicks.clear();
  windowAnswer = WindowAnswer::Normal;
  windowAnswerText.clear();
  unusedCalls = 0;
}

void KD_HOSTCALL HostSide::Register(int32_t id, const char* name, const char* hint, int32_t count,
                                    int32_t high, const unsigned char* types) {
  CheckInHostFloatMode("the registration callback");
  Registration r;
  r.id = id;
  r.name = name ? name : "";
  r.hint = hint ? hint : "";
  r.count = count;
  r.high = high;
  if (types && high >= 0) r.types.assign(types, types + high + 1);
  Get().registrations.push_back(std::move(r));
}

void KD_HOSTCALL HostSide::SetVariable(const char* name, const char* value) {
  CheckInHostFloatMode("the set-variable callback");
  Get().variables.emplace_back(name ? name : "", value ? value : "");
}

void KD_HOSTCALL HostSide::Unused() { ++Get().unusedCalls; }

bool KD_HOSTCALL HostSide::InterfaceAccess(int32_t code, kd::HostText* text) {
  CheckInHostFloatMode("the interface-access callback");
  HostSide& host = Get();
  BlockLedger& ledger = BlockLedger::Get();
  std::string question = *text ? *text : "";
  host.questions.emplace_back(code, question);
  if (*text && ledger.ModuleBlockSize(*text) != question.size() + 1)
    ledger.Fail("question block is not length + 1 bytes: " + question);
  switch (code) {
    case kd::kRequestWindowHandle: return host.AnswerWindow(text);
    case kd::kRequestPickObject: return host.AnswerPick(host.objectPicks, text);
    case kd::kRequestPickVariable: return host.AnswerPick(host.variablePicks, text);
    default: return false;
  }
}

void HostSide::Attach(const PlugInModule& module) {
  auto unused = reinterpret_cast<kd::OpaqueCallback>(&Unused);
  module.nbRegisterInterfaceAccess(&InterfaceAccess);
  module.nbRegisterScriptProcessor(unused);
  module.nbRegisterPlugIn(&Register, unused, unused, &SetVariable);
}

std::string HostSide::Key(const std::string& name) {
  std::string key = name;
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return key;
}

void HostSide::Replace(kd::HostText* text, const std::string& answer) {
  BlockLedger::Get().HostFree(*text);
  *text = BlockLedger::Get().HostBlock(answer);
}

bool HostSide::AnswerWindow(kd::HostText* text) {
  switch (windowAnswer) {
    case WindowAnswer::LeaveQuestion: return false;
    case WindowAnswer::SetNull:
      BlockLedger::Get().HostFree(*text);
      *text = nullptr;
      return true;
    case WindowAnswer::Text: Replace(text, windowAnswerText); return true;
    case WindowAnswer::Normal: break;
  }
  auto it = rectangles_.find(Key(*text ? *text : ""));
  HWND window = it == rectangles_.end() ? nullptr : it->second;
  Replace(text, std::to_string(reinterpret_cast<uintptr_t>(window)));
  return true;
}

bool HostSide::AnswerPick(std::deque<Pick>& picks, kd::HostText* text) {
  if (picks.empty()) return false;
  Pick pick = picks.front();
  picks.pop_front();
  if (pick.accept) Replace(text, pick.answer);
  return pick.accept;
}

std::string Cp1251ToUtf8(const std::string& text) {
  if (text.empty()) return text;
  int wide = MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring w(wide, L'\0');
  MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), w.data(), wide);
  int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(bytes, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, out.data(), bytes, nullptr, nullptr);
  return out;
}

}  // namespace kdhost
