// The localisation file kdPieChart.loc: its header check and the lookup of a
// text by its four-character key. Portable: the Win32 side supplies the host
// program's folder and shows the warning when the header check fails.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kd {

constexpr const char* kLocalisationFileName = "kdPieChart.loc";

// The six lines every valid file begins with, compared without regard to the
// case of ASCII letters.
extern const std::array<const char*, 6> kLocalisationHeader;

// The one message the module shows of its own accord, when the header differs.
constexpr const char* kLocalisationInvalidMessage =
    "The kdPieChart.loc file is invalidly modified.";

// A line carries at most this many characters of text after its key.
constexpr size_t kLocalisationMaxText = 255;

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

// The pieces the lookup and the check are made of, for the translator's check.

// The file's lines (a line break is CR LF, LF or a lone CR); nothing when the
// file is missing or cannot be read.
std::optional<std::vector<std::string>> LocalisationLines(const std::string& filePath);

// Index of the first of the six header lines that differs from the header
// (a missing line differs); the header's size when none does.
size_t LocalisationHeaderMismatch(const std::vector<std::string>& lines);

// Whether the line carries the text of `key`: its first four characters equal
// the key, without regard to the case of ASCII letters.
bool LocalisationLineHasKey(const std::string& line, const char* key);

// The text of a line that carries a key: its characters 5 to 259.
std::string LocalisationLineText(const std::string& line);

// Keys the module looks up: "000*" to "118*" except "007*", by number.
constexpr int kLocalisationLastKey = 118;
bool LocalisationKeyInUse(int number);
std::string LocalisationKey(int number);  // 85 -> "085*"

}  // namespace kd
