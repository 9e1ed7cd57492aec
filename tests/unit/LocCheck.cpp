// The translator's check on the shipped English file (clean) and on copies
// of it damaged one way each: every damage is reported, with where and why.
#include "LocCheck.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "host/ActionTable.h"
#include "host/Localisation.h"

namespace kdloc {
namespace {

std::vector<std::string> EnglishLines() {
  std::optional<std::vector<std::string>> lines = kd::LocalisationLines(KD_ENGLISH_LOC);
  return lines.value_or(std::vector<std::string>{});
}

std::string Joined(const std::vector<std::string>& lines) {
  std::ostringstream text;
  for (const std::string& line : lines) text << line << "\n";
  return text.str();
}

TEST(LocCheck, TheEnglishFileIsCleanWithCrLfAndTextsThatFit) {
  CheckReport report = CheckLocalisationFile(KD_ENGLISH_LOC);
  EXPECT_TRUE(report.clean) << Joined(report.lines);
  ASSERT_EQ(report.lines.size(), 1u);
  std::ifstream file(KD_ENGLISH_LOC, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  size_t breaks = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    EXPECT_LT(c, 0x80) << "plain ASCII, at byte " << i;
    if (c == '\n') {
      EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "a bare LF at byte " << i;
    }
    breaks += c == '\n';
  }
  EXPECT_EQ(breaks, EnglishLines().size());
}

struct Damage {
  const char* what;
  std::function<void(std::vector<std::string>&)> apply;
  const char* expected;  // a finding holds this
};

size_t LineOf(const std::vector<std::string>& lines, const char* key) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (kd::LocalisationLineHasKey(lines[i], key)) return i;
  return 0;
}

const Damage kDamages[] = {
    {"a trailing blank on header line 3", [](auto& l) { l[2] += " "; },
     "line 3: header line differs (the host shows \"The kdPieChart.loc file is invalidly modified.\"); expected"},
    {"header line 5 gone", [](auto& l) { l.erase(l.begin() + 4); }, "line 5: header line differs"},
    {"a UTF-8 byte-order mark", [](auto& l) { l[0] = "\xEF\xBB\xBF" + l[0]; }, "line 1: the file begins with a UTF-8"},
    {"an unknown key", [](auto& l) { l.push_back("007*Never used"); }, "line 125: unknown key 007*"},
    {"a key out of range", [](auto& l) { l.push_back("200*Never used"); }, "unknown key 200*"},
    {"a mistyped key", [](auto& l) { l.push_back("85*Create"); }, "line 125: not an entry"},
    {"a key given twice", [](auto& l) { l.push_back("092*Again"); },
     "key 092* given on line 98 and again on line(s) 125: line 98 wins"},
    {"a key given earlier, before its own line", [](auto& l) { l.insert(l.begin() + 6, "089*first"); },
     "key 089* given on line 7 and again on line(s) 96: line 7 wins"},
    {"a missing key", [](auto& l) { l.erase(l.begin() + LineOf(l, "005*")); },
     "key 005* missing: the Russian default will show"},
    {"a text over 255 characters",
     [](auto& l) { l[LineOf(l, "100*")] = "100*" + std::string(250, 'a') + "bcdefghijklmnop"; },
     "line 106: text of 100* has 265 characters, cut after 255, after \"...aaaaaaaaaaaaaaabcdef\""},
    {"a UTF-8 character", [](auto& l) { l[LineOf(l, "087*")] = "087*Delete the chart\xE2\x80\x99s object."; },
     "line 93, column 21: a UTF-8 character (bytes E2 80 99)"},
    {"a byte 1252 leaves undefined", [](auto& l) { l[LineOf(l, "087*")] += "\x81"; }, "byte 81 is no character"},
    {"UTF-16", [](auto& l) { l[LineOf(l, "087*")] += std::string(1, '\0'); }, "looks like UTF-16"},
};

class LocCheckDamaged : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() / ("kdloccheck-" + std::to_string(::getpid()) + ".loc")).string();
  }
  void TearDown() override { std::filesystem::remove(path_); }
  void Write(const std::vector<std::string>& lines) {
    std::ofstream file(path_, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) file << line << "\r\n";
  }
  std::string path_;
};

TEST_F(LocCheckDamaged, EveryDamageIsReportedAndSpoilsTheVerdict) {
  for (const Damage& damage : kDamages) {
    SCOPED_TRACE(damage.what);
    std::vector<std::string> lines = EnglishLines();
    ASSERT_GT(lines.size(), 100u);
    damage.apply(lines);
    Write(lines);
    CheckReport report = CheckLocalisationFile(path_);
    EXPECT_FALSE(report.clean);
    EXPECT_NE(Joined(report.lines).find(damage.expected), std::string::npos) << Joined(report.lines);
    EXPECT_EQ(report.lines.back().rfind("verdict: ", 0), 0u);
  }
}

TEST_F(LocCheckDamaged, CodePage1251AcceptsCyrillicAndAMissingFileIsUnreadable) {
  std::vector<std::string> lines = EnglishLines();
  lines[LineOf(lines, "087*")] = "087*\xD3\xE4\xE0\xEB\xE8\xF2\xFC";
  Write(lines);
  EXPECT_TRUE(CheckLocalisationFile(path_, 1251).clean);
  std::filesystem::remove(path_);
  CheckReport report = CheckLocalisationFile(path_);
  EXPECT_FALSE(report.readable);
  EXPECT_EQ(report.lines.size(), 1u);
}

TEST(LocCheckKeys, EveryHintKeyIsInUse) {
  for (const kd::ActionEntry& entry : kd::ActionTable())
    if (entry.key) {
      EXPECT_TRUE(kd::LocalisationKeyInUse(std::stoi(entry.key))) << entry.key;
    }
}

}  // namespace
}  // namespace kdloc
