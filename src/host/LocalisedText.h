// Localisation lookups against the kdPieChart.loc beside the host program.
#pragma once

#include <optional>
#include <string>

namespace kd {

// The file's text for the key ("085*"), else the default; the file is read anew each time.
std::string Localised(const char* key, const std::string& defaultText);

// The file's text for the key, or nothing when there is none.
std::optional<std::string> LocalisedOnly(const char* key);

// Shows the one warning when the file's header was changed.
void CheckLocalisationHeader();

}  // namespace kd
