// Test fixture: the plug-in loaded once per test program the way the host
// loads it, its text blocks watched by the ledger, the host side reset before
// each test, and the localisation file beside the program under the test's
// control.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BlockLedger.h"
#include "DialogDriver.h"
#include "HostSide.h"
#include "HostWindow.h"
#include "PlugInModule.h"

namespace kdhost {

// The module, loaded on first use and kept for the whole program.
PlugInModule& Plugin();

// Calls nbExecAction with texts (each becomes a host block of its own).
bool Exec(int id, const std::vector<std::string>& params);

class PlugInTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Registers the plug-in with the recording host side.
  void RegisterWithHost();

  // Writes kdPieChart.loc beside the program (lines joined by CR LF).
  static void WriteLocalisation(const std::vector<std::string>& lines);
  static void RemoveLocalisation();
  // The six header lines of a valid file.
  static std::vector<std::string> ValidHeader();

  HostSide& host = HostSide::Get();
  BlockLedger& ledger = BlockLedger::Get();
};

}  // namespace kdhost
