// The translator's check: header lines, unknown, repeated and missing keys,
// texts the module cuts, and bytes that are not characters of the file's
// single-byte code page. The module decides what a key line is and which
// text wins; this file only compares and words the findings.
#include "LocCheck.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <optional>

#include "host/Localisation.h"

namespace kdloc {
namespace {

std::string LineName(size_t index) { return "line " + std::to_string(index + 1); }

std::string Hex(unsigned char byte) {
  char text[4];
  std::snprintf(text, sizeof text, "%02X", byte);
  return text;
}

// Something that looks like a key: three digits and "*". Only such lines can
// ever be looked up; header-like lines ("**...") are comments.
bool LooksLikeKey(const std::string& line) {
  return line.size() >= 4 && std::isdigit(static_cast<unsigned char>(line[0])) &&
         std::isdigit(static_cast<unsigned char>(line[1])) && std::isdigit(static_cast<unsigned char>(line[2])) &&
         line[3] == '*';
}

// Bytes the code page leaves undefined: Windows shows them as nothing useful.
bool Undefined(unsigned char byte, int codePage) {
  if (codePage == 1251) return byte == 0x98;
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

// Length of a UTF-8 multi-byte character starting at `i`, or 0.
size_t Utf8Sequence(const std::string& line, size_t i) {
  unsigned char lead = static_cast<unsigned char>(line[i]);
  size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (length == 0 || i + length > line.size()) return 0;
  for (size_t k = 1; k < length; ++k)
    if ((static_cast<unsigned char>(line[i + k]) & 0xC0) != 0x80) return 0;
  return length;
}

// The first byte of the line that is not a single-byte character of the code page.
std::optional<std::string> ByteProblem(const std::string& line, int codePage) {
  for (size_t i = 0; i < line.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(line[i]);
    std::string where = "column " + std::to_string(i + 1) + ": ";
    if (byte == 0) return where + "a zero byte (the file looks like UTF-16; save it in code page " +
                              std::to_string(codePage) + ")";
    if (size_t n = Utf8Sequence(line, i)) {
      std::string bytes;
      for (size_t k = 0; k < n; ++k) bytes += (k ? " " : "") + Hex(static_cast<unsigned char>(line[i + k]));
      return where + "a UTF-8 character (bytes " + bytes + "), not single-byte; save the file in code page " +
             std::to_string(codePage);
    }
    if (Undefined(byte, codePage))
      return where + "byte " + Hex(byte) + " is no character in code page " + std::to_string(codePage);
  }
  return std::nullopt;
}

class Checker {
 public:
  Checker(const std::string& path, std::vector<std::string> lines, int codePage)
      : path_(path), lines_(std::move(lines)), codePage_(codePage) {}

  void Run() {
    Header();
    Entries();
    Keys();
  }
  std::vector<std::string>& Findings() { return findings_; }

 private:
  void Header() {
    if (lines_.size() >= 1 && lines_[0].compare(0, 3, "\xEF\xBB\xBF") == 0)
      findings_.push_back("line 1: the file begins with a UTF-8 byte-order mark; save it in code page " +
                          std::to_string(codePage_) + " without one");
    size_t bad = kd::LocalisationHeaderMismatch(lines_);
    if (bad == kd::kLocalisationHeader.size()) return;
    findings_.push_back(LineName(bad) + ": header line differs (the host shows \"" +
                        kd::kLocalisationInvalidMessage + "\"); expected \"" + kd::kLocalisationHeader[bad] +
                        "\"" + (bad < lines_.size() ? ", found \"" + lines_[bad] + "\"" : ", found none"));
  }

  void Entries() {
    for (size_t i = 0; i < lines_.size(); ++i) {
      const std::string& line = lines_[i];
      if (std::optional<std::string> problem = ByteProblem(line, codePage_))
        findings_.push_back(LineName(i) + ", " + *problem);
      if (line.empty() || line.compare(0, 2, "**") == 0) continue;
      if (!LooksLikeKey(line)) {
        findings_.push_back(LineName(i) + ": not an entry (a key is three digits and \"*\"), ignored: \"" +
                            line.substr(0, 40) + "\"");
        continue;
      }
      int number = std::stoi(line.substr(0, 3));
      if (!kd::LocalisationKeyInUse(number)) {
        findings_.push_back(LineName(i) + ": unknown key " + line.substr(0, 4) + ", never shown");
        continue;
      }
      linesOf_[number].push_back(i);
      size_t length = line.size() - 4;
      if (length > kd::kLocalisationMaxText) {
        std::string kept = kd::LocalisationLineText(line);
        findings_.push_back(LineName(i) + ": text of " + line.substr(0, 4) + " has " + std::to_string(length) +
                            " characters, cut after 255, after \"..." + kept.substr(kept.size() - 20) + "\"");
      }
    }
  }

  // What the module's lookup finds for every key, against the lines that carry it.
  void Keys() {
    for (int number = 0; number <= kd::kLocalisationLastKey; ++number) {
      if (!kd::LocalisationKeyInUse(number)) continue;
      const std::string key = kd::LocalisationKey(number);
      std::optional<std::string> found = kd::LocalisationFind(path_, key.c_str());
      const std::vector<size_t>& at = linesOf_[number];
      if (!found) {
        findings_.push_back("key " + key + " missing: the Russian default will show");
        continue;
      }
      if (at.size() < 2) continue;
      std::string others, winner;
      for (size_t k = 1; k < at.size(); ++k) others += (k > 1 ? ", " : "") + std::to_string(at[k] + 1);
      for (size_t k = at.size(); k-- > 0;)
        if (kd::LocalisationLineText(lines_[at[k]]) == *found) winner = LineName(at[k]);
      findings_.push_back("key " + key + " given on " + LineName(at[0]) + " and again on line(s) " + others +
                          ": " + winner + " wins");
    }
  }

  const std::string path_;
  std::vector<std::string> lines_;
  int codePage_;
  std::map<int, std::vector<size_t>> linesOf_;
  std::vector<std::string> findings_;
};

}  // namespace

CheckReport CheckLocalisationFile(const std::string& path, int codePage) {
  CheckReport report;
  std::optional<std::vector<std::string>> lines = kd::LocalisationLines(path);
  if (!lines) {
    report.readable = false;
    report.lines.push_back("verdict: " + path + " cannot be read");
    return report;
  }
  Checker checker(path, std::move(*lines), codePage);
  checker.Run();
  report.lines = std::move(checker.Findings());
  report.clean = report.lines.empty();
  report.lines.push_back(report.clean ? "verdict: clean, every key translated"
                                      : "verdict: " + std::to_string(report.lines.size()) + " finding(s)");
  return report;
}

}  // namespace kdloc
