// kdpie-loc-check FILE [1252|1251]: prints the translator's check of a
// kdPieChart.loc, one finding a line and the verdict last. Exits 0 when
// clean, 1 with findings, 2 when the file cannot be read.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "LocCheck.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: kdpie-loc-check FILE [code page: 1252 or 1251]\n");
    return 2;
  }
  int codePage = argc == 3 ? std::atoi(argv[2]) : 1252;
  if (codePage != 1252 && codePage != 1251) {
    std::fprintf(stderr, "code page %s: 1252 or 1251\n", argv[2]);
    return 2;
  }
  kdloc::CheckReport report = kdloc::CheckLocalisationFile(argv[1], codePage);
  for (const std::string& line : report.lines) std::printf("%s\n", line.c_str());
  return !report.readable ? 2 : report.clean ? 0 : 1;
}
