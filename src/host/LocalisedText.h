// Localisation lookups against the kdPieChart.loc beside the host program.
#pragma once

#include <string>

namespace kd {

// The file's text for the key ("085*"), else the default; the file is read anew each time.
std::string Localised(const char* key, const std::string& defaultText);

// Shows the one warning when the file's header was changed.
void CheckLocalisationHeader();

}  // namespace kd
