// kdpie-host: a stand-in for the authoring host. It loads kdPieChart.nbp from
// its own folder, registers it, prints the action table as an author sees it,
// then runs a script (examples/demo.txt by default) on a host page: one action
// per line, each result printed, dialogs answered by a driver since nobody
// sits at the display.
//
// Besides the plug-in's actions the script knows these host commands:
//   Rectangle "name" "x" "y" "width" "height"      add a rectangle object
//   MoveRectangle "name" "x" "y" "width" "height"  move it (the host tells its children)
//   SetVar "[name]" "value"                        set a host variable
//   Delay "ms"                                     let the page run (paint, rotate)
//   Screenshot "file.bmp"                          save a picture of the host window
//   Edit "actionName" "slot1" "slot2" ...          open the action's editor; the scripted
//                                                  author saves out/editors/<action>.bmp and
//                                                  presses OK (in the create editor after
//                                                  adding a record, out/editors/TFormRead.bmp);
//                                                  the slots written are printed
//   About                                          open the About box (out/editors/About.bmp)
// A second argument names another folder for the editors' pictures than
// out/editors (the demo in English writes out/editors-en).
#include <cstdio>
#include <exception>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "BlockLedger.h"
#include "DialogDriver.h"
#include "HostSide.h"
#include "HostWindow.h"
#include "PlugInModule.h"
#include "Screenshot.h"
#include "Script.h"
#include "editors/CreateChartEditor.h"
#include "editors/RecordEntryDialog.h"

namespace {

const char* TypeName(unsigned char type) {
  switch (type) {
    case 1: return "text";
    case 3: return "number";
    case 6: return "variable";
    default: return "?";
  }
}

void PrintActionTable(const std::vector<kdhost::Registration>& table) {
  for (const kdhost::Registration& r : table) {
    if (r.id == 0) {
      std::printf("\n[%s]\n", r.name.c_str());
      continue;
    }
    std::string types;
    for (size_t i = 0; i < r.types.size(); ++i) types += std::string(i ? ", " : "") + TypeName(r.types[i]);
    std::printf("  %2d %-26s (%s)\n     %s\n", r.id, r.name.c_str(), types.c_str(),
                kdhost::Cp1251ToUtf8(r.hint).c_str());
  }
  std::printf("\n");
}

// Where the editors' pictures go; set once from the command line.
std::string& EditorPictures() {
  static std::string folder = "out/editors";
  return folder;
}

int ToInt(const std::string& text) { return std::atoi(text.c_str()); }

// The plug-in's editors and About box carry their action's name (or "About") as caption.
bool IsEditorWindow(const kdhost::SeenWindow& dialog) {
  return dialog.caption == "About" || dialog.caption.rfind("kd", 0) == 0;
}

// In the create editor the demo's user adds a record ("Table entry"), keeps
// that dialog's picture, confirms it and then confirms the editor.
void EnterDemoRecord(const kdhost::SeenWindow& entry) {
  HWND editor = GetWindow(entry.window, GW_OWNER);
  kdhost::TypeInto(GetDlgItem(entry.window, kd::editors::kIdEntryName), "Online");
  kdhost::TypeInto(GetDlgItem(entry.window, kd::editors::kIdEntryValue), "30");
  kdhost::TypeInto(GetDlgItem(entry.window, kd::editors::kIdEntryColour), "250,160,40");
  Sleep(300);
  kdhost::SaveWindowPicture(entry.window, EditorPictures() + "/TFormRead.bmp");
  kdhost::ClickId(entry.window, IDOK);
  for (int i = 0; i < 200 && IsWindow(entry.window); ++i) Sleep(10);
  Sleep(300);  // the preview shows the new slice
  kdhost::ClickId(editor, IDOK);
}

// What the demo's imaginary user picks: a light orange in the colour dialog,
// a bold 10-point Liberation Sans in the font dialog; anything else is confirmed.
kdhost::DialogDriver::Script DemoUser() {
  constexpr int kFontFace = 0x470, kFontStyle = 0x471, kFontSize = 0x472;  // font dialog combo boxes
  constexpr int kColorRed = 706, kColorGreen = 707, kColorBlue = 708;     // colour dialog edit fields
  return [=](const kdhost::SeenWindow& dialog) {
    if (HWND red = GetDlgItem(dialog.window, kColorRed)) {
      kdhost::TypeInto(red, "255");
      kdhost::TypeInto(GetDlgItem(dialog.window, kColorGreen), "200");
      kdhost::TypeInto(GetDlgItem(dialog.window, kColorBlue), "120");
    } else if (GetDlgItem(dialog.window, kFontFace)) {
      kdhost::SelectComboItem(dialog.window, kFontFace, "Liberation Sans");
      kdhost::SelectComboItem(dialog.window, kFontStyle, "Bold");
      kdhost::SelectComboItem(dialog.window, kFontSize, "10");
    }
    if (dialog.caption == "Table entry") return EnterDemoRecord(dialog);
    if (IsEditorWindow(dialog)) {
      // Let the dialog paint, then keep its picture for the author's manual.
      Sleep(300);
      kdhost::SaveWindowPicture(dialog.window, EditorPictures() + "/" + dialog.caption + ".bmp");
    }
    if (dialog.caption == "kdPieChartCreate") {
      kdhost::ClickId(dialog.window, kd::editors::kIdAddRecord);
      return;
    }
    if (!kdhost::ClickId(dialog.window, IDOK)) kdhost::CloseTopLevel(dialog.window);
  };
}

class ScriptRunner {
 public:
  ScriptRunner(kdhost::PlugInModule& plugin, kdhost::HostWindow& page) : plugin_(plugin), page_(page) {
    for (const kdhost::Registration& r : kdhost::HostSide::Get().registrations)
      if (r.id != 0) actions_[r.name] = &r;
  }

  // Runs every line; returns the number of lines that could not run.
  int Run(std::istream& script) {
    std::string text;
    int bad = 0, number = 0;
    while (std::getline(script, text)) {
      ++number;
      size_t first = text.find_first_not_of(" \t\r");
      if (first == std::string::npos || text[first] == '.') continue;
      kddemo::ScriptLine line;
      std::string error;
      if (!kddemo::ParseLine(text, line, error)) {
        std::printf("line %d: %s\n", number, error.c_str());
        ++bad;
        continue;
      }
      line.number = number;
      if (!RunLine(line, error)) {
        std::printf("line %d: %s\n", number, error.c_str());
        ++bad;
      }
      kdhost::PumpMessages();
    }
    return bad;
  }

 private:
  bool RunLine(const kddemo::ScriptLine& line, std::string& error) {
    std::vector<std::string> p;
    auto action = actions_.find(line.command);
    if (action == actions_.end()) return RunHostCommand(line, error);
    const kdhost::Registration& entry = *action->second;
    if (static_cast<int>(line.params.size()) != entry.count) {
      error = line.command + " takes " + std::to_string(entry.count) + " parameters, the line gives " +
              std::to_string(line.params.size());
      return false;
    }
    auto& variables = Variables();
    for (int i = 0; i < entry.count; ++i)
      p.push_back(entry.types[i] == 6 ? kddemo::VariableName(line.params[i])
                                      : kddemo::Substitute(line.params[i], variables));
    std::vector<kd::HostText> texts;
    for (const std::string& s : p) texts.push_back(kdhost::BlockLedger::Get().HostBlock(s));
    bool result = plugin_.nbExecAction(entry.id, texts.data(), entry.count - 1);
    for (kd::HostText t : texts) kdhost::BlockLedger::Get().HostFree(t);
    std::printf("line %3d: %-24s -> %s\n", line.number, line.command.c_str(), result ? "true" : "false");
    return true;
  }

  bool RunHostCommand(const kddemo::ScriptLine& line, std::string& error) {
    const auto& p = line.params;
    auto want = [&](size_t n) {
      if (p.size() == n) return true;
      error = line.command + " takes " + std::to_string(n) + " parameters";
      return false;
    };
    if (line.command == "Rectangle") {
      if (!want(5)) return false;
      page_.AddRectangle(p[0], ToInt(p[1]), ToInt(p[2]), ToInt(p[3]), ToInt(p[4]));
    } else if (line.command == "MoveRectangle") {
      if (!want(5)) return false;
      page_.MoveRectangle(p[0], ToInt(p[1]), ToInt(p[2]), ToInt(p[3]), ToInt(p[4]));
    } else if (line.command == "SetVar") {
      if (!want(2)) return false;
      kdhost::HostSide::Get().variables.emplace_back(kddemo::VariableName(p[0]),
                                                     kddemo::Substitute(p[1], Variables()));
    } else if (line.command == "Delay") {
      if (!want(1)) return false;
      kdhost::PumpFor(ToInt(p[0]));
    } else if (line.command == "Edit") {
      return RunEditor(line, error);
    } else if (line.command == "About") {
      CreateDirectoryA("out", nullptr);
      CreateDirectoryA(EditorPictures().c_str(), nullptr);
      plugin_.nbAbout();
      std::printf("line %3d: %-24s -> done\n", line.number, "About");
    } else if (line.command == "Screenshot") {
      if (!want(1)) return false;
      kdhost::PumpFor(100);
      bool saved = kdhost::SaveWindowPicture(page_.handle(), p[0]);
      std::printf("line %3d: %-24s -> %s\n", line.number, "Screenshot", saved ? p[0].c_str() : "failed");
    } else {
      error = "unknown action " + line.command;
      return false;
    }
    return true;
  }

  // Opens the editor of the named action on the given slot texts and prints what OK wrote.
  bool RunEditor(const kddemo::ScriptLine& line, std::string& error) {
    if (line.params.empty()) {
      error = "Edit takes the action's name and its slot texts";
      return false;
    }
    auto action = actions_.find(line.params[0]);
    if (action == actions_.end()) {
      error = "unknown action " + line.params[0];
      return false;
    }
    const kdhost::Registration& entry = *action->second;
    CreateDirectoryA("out", nullptr);
    CreateDirectoryA(EditorPictures().c_str(), nullptr);
    std::vector<kd::HostText> slots(entry.count, nullptr);
    for (int i = 0; i < entry.count && i + 1 < static_cast<int>(line.params.size()); ++i)
      slots[i] = kdhost::BlockLedger::Get().HostBlock(line.params[i + 1]);
    const bool result = plugin_.nbEditAction(entry.id, slots.data(), entry.count - 1);
    std::printf("line %3d: Edit %-19s -> %s\n", line.number, entry.name.c_str(), result ? "OK" : "cancelled");
    for (int i = 0; i < entry.count; ++i) {
      if (result) std::printf("          slot %d = \"%s\"\n", i + 1, slots[i] ? slots[i] : "");
      if (slots[i]) kdhost::BlockLedger::Get().HostFree(slots[i]);
    }
    return true;
  }

  // The host's variables: the last value set under each name wins.
  std::map<std::string, std::string>& Variables() {
    const auto& set = kdhost::HostSide::Get().variables;
    for (; seen_ < set.size(); ++seen_) {
      variables_[kddemo::VariableName(set[seen_].first)] = set[seen_].second;
      std::printf("          [%s] = %s\n", kddemo::VariableName(set[seen_].first).c_str(),
                  set[seen_].second.c_str());
    }
    return variables_;
  }

  kdhost::PlugInModule& plugin_;
  kdhost::HostWindow& page_;
  std::map<std::string, const kdhost::Registration*> actions_;
  std::map<std::string, std::string> variables_;
  size_t seen_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const std::string scriptFile = argc > 1 ? argv[1] : "examples/demo.txt";
  if (argc > 2) EditorPictures() = argv[2];
  try {
    kdhost::PlugInModule plugin(kdhost::ProgramFolder() + "kdPieChart.nbp");
    kdhost::BlockLedger::Get().Install(plugin.handle());
    kdhost::HostSide& host = kdhost::HostSide::Get();
    host.Attach(plugin);

    kd::HostText name = nullptr, author = nullptr, description = nullptr;
    plugin.nbInitPlugIn(0, &name, &author, &description);
    std::printf("%s by %s: %s\n", name, author, description);
    for (kd::HostText* text : {&name, &author, &description}) kdhost::BlockLedger::Get().HostFree(*text);
    PrintActionTable(host.registrations);

    std::ifstream script(scriptFile, std::ios::binary);
    if (!script) {
      std::fprintf(stderr, "kdpie-host: cannot read %s\n", scriptFile.c_str());
      return 1;
    }
    std::printf("running %s\n", scriptFile.c_str());
    kdhost::HostWindow page("kdPieChart demo", 1000, 760);
    // Nobody sits at this display: a driver plays the user in each dialog.
    kdhost::DialogDriver driver(DemoUser());
    int bad = ScriptRunner(plugin, page).Run(script);
    plugin.nbMessage(kd::kMessageLeaveRunMode, 0);
    std::printf("done: %d line(s) could not run\n", bad);
    std::fflush(stdout);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kdpie-host: %s\n", e.what());
    return 1;
  }
}
