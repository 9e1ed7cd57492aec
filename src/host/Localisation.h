// The localisation file kdPieChart.loc: its header check and the lookup of a
// text by its four-character key. Portable: the Win32 side supplies the host
// program's folder and shows the warning when the header check fails.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace kd {

constexpr const char* kLocalisationFileName = "kdPieChart.loc";

// The six lines every valid file begins with, compared without regard to the
// case of ASCII letters.
extern const std::array<const char*, 6> kLocalisationHeader;

// The one message the module shows of its own accord, when the header differs.
constexpr const char* kLocalisationInvalidMessage =
    "The kdPieChart.loc file is invalidly modified.";

// Path of the file inside `folder` (the host program's folder).
std::string LocalisationFilePath(const std::string& folder);

// The text after `key` (such as "085*") on the first line of the file that
// begins with it: characters 5 to 259 of that line. `defaultText` when the
// file is missing or unreadable or holds no such line. Reads the file anew on
// every call and never throws.
std::string LocalisationLookup(const std::string& filePath, const char* key,
                               const std::string& defaultText);

// The file's text for `key`, or nothing when the file or the line is missing
// (so callers can tell a translation, in the user's code page, from a default).
std::optional<std::string> LocalisationFind(const std::string& filePath, const char* key);

// True when the file does not exist or its first six lines equal the header;
// false when a line differs, the file has fewer than six lines or cannot be
// read. Never throws.
bool LocalisationHeaderValid(const std::string& filePath);

}  // namespace kd
