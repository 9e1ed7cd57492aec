// kdpie-host: a stand-in for the authoring host. It loads kdPieChart.nbp from
// its own folder, registers it and prints the action table as an author sees it.
#include <cstdio>
#include <exception>
#include <string>

#include "BlockLedger.h"
#include "HostSide.h"
#include "PlugInModule.h"

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
    for (int i = 0; i < r.count && i < static_cast<int>(r.types.size()); ++i)
      types += std::string(i ? ", " : "") + TypeName(r.types[i]);
    std::printf("  %2d %-26s (%s)\n     %s\n", r.id, r.name.c_str(), types.c_str(),
                kdhost::Cp1251ToUtf8(r.hint).c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  try {
    kdhost::PlugInModule plugin(kdhost::ProgramFolder() + "kdPieChart.nbp");
    kdhost::BlockLedger::Get().Install(plugin.handle());
    kdhost::HostSide& host = kdhost::HostSide::Get();
    host.Attach(plugin.nbRegisterPlugIn, plugin.nbRegisterInterfaceAccess, plugin.nbRegisterScriptProcessor);

    kd::HostText name = nullptr, author = nullptr, description = nullptr;
    plugin.nbInitPlugIn(0, &name, &author, &description);
    std::printf("%s by %s: %s\n", name, author, description);
    for (kd::HostText* text : {&name, &author, &description}) kdhost::BlockLedger::Get().HostFree(*text);

    PrintActionTable(host.registrations);
    std::fflush(stdout);
    plugin.nbMessage(kd::kMessageLeaveRunMode, 0);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kdpie-host: %s\n", e.what());
    return 1;
  }
}
