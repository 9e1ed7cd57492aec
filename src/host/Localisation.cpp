#include "host/Localisation.h"
#include "engine/TextHelpers.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace kd {

const std::array<const char*, 6> kLocalisationHeader = {
    "**  DO NOT CHANGE THIS TEXT ! ! !",
    "**  The localization file for the kdPieChart plugin.",
    "**  To use the file - put the file with the translation of the lines in the root "
    "folder of the program NeoBook or VisualNeo.",
    "**  Author: kdPieChart developers",
    "**  Web: https://kdpiechart.example.org",
    "**  mail: kdpiechart@example.org",
};

namespace {

// A key is four characters; a line carries its text from the fifth on, and
// no more than 255 characters of it.
constexpr size_t kKeyLength = 4;

bool FileExists(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  return (info.st_mode & S_IFMT) == S_IFREG;
}

}  // namespace

// A translator's editor may end lines with CR LF, LF or a lone CR.
std::optional<std::vector<std::string>> LocalisationLines(const std::string& path) {
  if (!FileExists(path)) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) return std::nullopt;

  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

size_t LocalisationHeaderMismatch(const std::vector<std::string>& lines) {
  for (size_t i = 0; i < kLocalisationHeader.size(); ++i)
    if (i >= lines.size() || !SameTextAscii(lines[i], kLocalisationHeader[i])) return i;
  return kLocalisationHeader.size();
}

bool LocalisationLineHasKey(const std::string& line, const char* key) {
  return key != nullptr && SameTextAscii(std::string_view(line).substr(0, kKeyLength), key);
}

// Nothing separates key and text: a blank after the key is part of the text.
std::string LocalisationLineText(const std::string& line) {
  if (line.size() <= kKeyLength) return std::string();
  return line.substr(kKeyLength, kLocalisationMaxText);
}

bool LocalisationKeyInUse(int number) { return number >= 0 && number <= kLocalisationLastKey && number != 7; }

std::string LocalisationKey(int number) {
  char key[8];
  std::snprintf(key, sizeof key, "%03d*", number);
  return key;
}

std::string LocalisationFilePath(const std::string& folder) {
  if (folder.empty()) return kLocalisationFileName;
  char last = folder.back();
  if (last == '\\' || last == '/') return folder + kLocalisationFileName;
  // Keep the folder's own separator style; Windows paths use backslashes.
  size_t slash = folder.find_last_of("\\/");
  char separator = (slash != std::string::npos && folder[slash] == '/') ? '/' : '\\';
  return folder + separator + kLocalisationFileName;
}

std::optional<std::string> LocalisationFind(const std::string& filePath, const char* key) {
  try {
    if (key == nullptr) return std::nullopt;
    std::optional<std::vector<std::string>> lines = LocalisationLines(filePath);
    if (!lines) return std::nullopt;
    for (const std::string& line : *lines)
      if (LocalisationLineHasKey(line, key)) return LocalisationLineText(line);
    return std::nullopt;
  } catch (...) {
    return std::nullopt;
  }
}

std::string LocalisationLookup(const std::string& filePath, const char* key,
                               const std::string& defaultText) {
  return LocalisationFind(filePath, key).value_or(defaultText);
}

bool LocalisationHeaderValid(const std::string& filePath) {
  try {
    if (!FileExists(filePath)) return true;
    std::optional<std::vector<std::string>> lines = LocalisationLines(filePath);
    // A file that cannot be read, or is too short to hold the header, is as
    // suspect as one whose header was edited.
    return lines && LocalisationHeaderMismatch(*lines) == kLocalisationHeader.size();
  } catch (...) {
    return false;
  }
}

}  // namespace kd
