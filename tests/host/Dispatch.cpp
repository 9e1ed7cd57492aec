// nbExecAction's bounds: unknown identifiers, every identifier with null,
// short and oversized parameter arrays, and nothing left behind.
#include <climits>

#include "PlugInHost.h"
#include "host/ActionTable.h"

namespace kdhost {
namespace {

using Dispatch = PlugInTest;

TEST_F(Dispatch, IdentifiersOutsideTheTableReturnFalse) {
  for (int id : {0, -1, 35, 36, 1000, INT_MIN, INT_MAX}) {
    EXPECT_FALSE(Exec(id, {"Chart1", "a", "b"})) << id;
    EXPECT_FALSE(Plugin().nbExecAction(id, nullptr, -1)) << id;
  }
  EXPECT_EQ(ledger.ModuleAllocations(), 0);
}

TEST_F(Dispatch, EveryIdentifierSurvivesNullAndShortArrays) {
  RegisterWithHost();
  DialogDriver driver(CancelEverything());  // the picker actions open their dialogs
  for (int id = 1; id <= 34; ++id) {
    // The picker actions need no chart and always succeed; every other one
    // fails for want of a chart.
    const bool expected = id == 2 || id == 31 || id == 32;
    // No array at all, and an array of null elements.
    EXPECT_EQ(Plugin().nbExecAction(id, nullptr, -1), expected) << id;
    kd::HostText nulls[12] = {};
    EXPECT_EQ(Plugin().nbExecAction(id, nulls, 11), expected) << id;
    // Shorter than the action's count: the missing texts read as empty.
    kd::HostText one[1] = {nullptr};
    EXPECT_EQ(Plugin().nbExecAction(id, one, 0), expected) << id;
    // A chart that does not exist, with every parameter present.
    std::vector<std::string> texts(kd::ActionParameterCount(id), "1");
    texts[0] = "NoSuchChart";
    EXPECT_EQ(Exec(id, texts), expected) << id;
  }
  EXPECT_EQ(ledger.LiveModuleBlocks(), 0u);
}

TEST_F(Dispatch, HostTextsAreNeverWrittenOrFreed) {
  std::vector<kd::HostText> texts = {ledger.HostBlock("Chart1"), ledger.HostBlock("true")};
  Plugin().nbExecAction(8, texts.data(), 1);
  EXPECT_STREQ(texts[0], "Chart1");
  EXPECT_STREQ(texts[1], "true");
  EXPECT_TRUE(ledger.IsLiveHostBlock(texts[0]));
  EXPECT_TRUE(ledger.IsLiveHostBlock(texts[1]));
  for (kd::HostText t : texts) ledger.HostFree(t);
}

}  // namespace
}  // namespace kdhost
