// The translator's check of a kdPieChart.loc: every finding as one line of
// text, read through the module's own lookup and header code. Leaves out
// reading the command line and printing (see Main.cpp).
#pragma once

#include <string>
#include <vector>

namespace kdloc {

struct CheckReport {
  std::vector<std::string> lines;  // one finding a line, the verdict last
  bool clean = false;              // nothing but the verdict was reported
  bool readable = true;
};

// `codePage` is 1252 (western) or 1251 (Cyrillic): the single-byte code page
// the file is meant to be read in.
CheckReport CheckLocalisationFile(const std::string& path, int codePage = 1252);

}  // namespace kdloc
