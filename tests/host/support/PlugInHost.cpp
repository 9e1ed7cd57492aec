#include "PlugInHost.h"

#include <cstdio>

#include "host/Localisation.h"

namespace kdhost {

PlugInModule& Plugin() {
  static PlugInModule* module = [] {
    auto* m = new PlugInModule(ProgramFolder() + "kdPieChart.nbp");
    if (!BlockLedger::Get().Install(m->handle())) ADD_FAILURE() << "cannot watch the module's text blocks";
    return m;
  }();
  return *module;
}

bool Exec(int id, const std::vector<std::string>& params) {
  BlockLedger& ledger = BlockLedger::Get();
  std::vector<kd::HostText> texts;
  for (const std::string& p : params) texts.push_back(ledger.HostBlock(p));
  bool result = Plugin().nbExecAction(id, texts.empty() ? nullptr : texts.data(),
                                      static_cast<int32_t>(texts.size()) - 1);
  for (kd::HostText t : texts) ledger.HostFree(t);
  return result;
}

void PlugInTest::SetUp() {
  Plugin();
  RemoveLocalisation();
  host.Reset();
  ledger.ResetCounts();
}

void PlugInTest::TearDown() {
  RemoveLocalisation();
  EXPECT_TRUE(ledger.Errors().empty()) << ledger.Errors().front();
  EXPECT_EQ(host.unusedCalls, 0) << "the module called a callback it must only keep";
}

void PlugInTest::RegisterWithHost() {
  host.Attach(Plugin());
}

void PlugInTest::WriteLocalisation(const std::vector<std::string>& lines) {
  std::FILE* f = std::fopen((ProgramFolder() + "kdPieChart.loc").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  for (const std::string& line : lines) std::fprintf(f, "%s\r\n", line.c_str());
  std::fclose(f);
}

void PlugInTest::RemoveLocalisation() { std::remove((ProgramFolder() + "kdPieChart.loc").c_str()); }

std::vector<std::string> PlugInTest::ValidHeader() {
  return std::vector<std::string>(kd::kLocalisationHeader.begin(), kd::kLocalisationHeader.end());
}

}  // namespace kdhost
