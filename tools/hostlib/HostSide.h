// The host's side of the boundary: the callbacks a host hands to the plug-in,
// recording what the plug-in does with them, and the named rectangle objects
// whose windows the plug-in asks for.
#pragma once

#include <windows.h>

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/HostInterface.h"

namespace kdhost {

class PlugInModule;

struct Registration {
  int id = 0;
  std::string name;
  std::string hint;
  std::vector<unsigned char> types;
  int count = 0;
  int high = 0;
};

struct Pick {
  bool accept = false;
  std::string answer;
};

// How the host answers request 7, so tests can play a host that misbehaves.
enum class WindowAnswer { Normal, LeaveQuestion, SetNull, Text };

class HostSide {
 public:
  static HostSide& Get();

  // Forgets everything recorded and every scripted answer.
  void Reset();

  // Callbacks as handed to the plug-in.
  static void KD_HOSTCALL Register(int32_t id, const char* name, const char* hint, int32_t count,
                                   int32_t high, const unsigned char* types);
  static void KD_HOSTCALL SetVariable(const char* name, const char* value);
  static bool KD_HOSTCALL InterfaceAccess(int32_t code, kd::HostText* text);
  static void KD_HOSTCALL Unused();

  // Registers the four registration-time callbacks and the interface access.
  void Attach(const PlugInModule& module);

  // Named host objects: request 7 answers their window handles.
  void AddRectangle(const std::string& name, HWND window) { rectangles_[Key(name)] = window; }
  void ClearRectangles() { rectangles_.clear(); }

  std::vector<Registration> registrations;
  std::vector<std::pair<std::string, std::string>> variables;
  std::vector<std::pair<int, std::string>> questions;  // code and question text
  std::deque<Pick> objectPicks;                        // answers to request 8
  std::deque<Pick> variablePicks;                      // answers to request 14
  WindowAnswer windowAnswer = WindowAnswer::Normal;
  std::string windowAnswerText;  // with WindowAnswer::Text
  int unusedCalls = 0;           // calls of callbacks the plug-in must never call

 private:
  static std::string Key(const std::string& name);
  bool AnswerWindow(kd::HostText* text);
  bool AnswerPick(std::deque<Pick>& picks, kd::HostText* text);
  void Replace(kd::HostText* text, const std::string& answer);

  std::map<std::string, HWND> rectangles_;
};

// Code page 1251 text as UTF-8, for printing the plug-in's Russian texts.
std::string Cp1251ToUtf8(const std::string& text);

}  // namespace kdhost
