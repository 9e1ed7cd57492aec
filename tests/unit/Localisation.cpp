// The localisation file: lookups by key and the header check, on real files.
#include "host/Localisation.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace kd {
namespace {

namespace fs = std::filesystem;

class LocalisationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / ("kdloc-" + std::to_string(::getpid()) + "-" + info->name());
    fs::create_directories(folder_);
    path_ = LocalisationFilePath(folder_.string());
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  void WriteFile(const std::string& bytes) {
    std::ofstream file(path_, std::ios::binary | std::ios::trunc);
    file << bytes;
  }
  // A file with the valid header followed by `entries`, lines ended by `eol`.
  void WriteWithHeader(const std::vector<std::string>& entries, const std::string& eol = "\r\n") {
    std::string bytes;
    for (const char* line : kLocalisationHeader) bytes += line + eol;
    for (const std::string& line : entries) bytes += line + eol;
    WriteFile(bytes);
  }
  std::string Lookup(const char* key) { return LocalisationLookup(path_, key, "default"); }

  fs::path folder_;
  std::string path_;
};

TEST_F(LocalisationTest, MissingFileGivesDefaultsAndPassesTheCheck) {
  EXPECT_EQ(Lookup("085*"), "default");
  EXPECT_TRUE(LocalisationHeaderValid(path_));
}

TEST_F(LocalisationTest, TextFollowsTheKeyDirectly) {
  WriteWithHeader({"085*Create a chart.", "086* Quick", "087*", "088", "089*first", "089*second"});
  EXPECT_EQ(Lookup("085*"), "Create a chart.");
  EXPECT_EQ(Lookup("086*"), " Quick");  // the blank after the key is part of the text
  EXPECT_EQ(Lookup("087*"), "");        // a key alone replaces the default by nothing
  EXPECT_EQ(Lookup("088*"), "default"); // "088" is shorter than the key
  EXPECT_EQ(Lookup("089*"), "first");
  EXPECT_EQ(Lookup("090*"), "default");
  WriteWithHeader({"085*changed"});
  EXPECT_EQ(Lookup("085*"), "changed");  // nothing is cached
}

TEST_F(LocalisationTest, LongLinesYieldAtMost255Characters) {
  std::string text(300, 'x');
  text[0] = 'A';
  text[254] = 'Z';
  WriteWithHeader({"100*" + text});
  std::string found = Lookup("100*");
  EXPECT_EQ(found.size(), 255u);
  EXPECT_EQ(found.front(), 'A');
  EXPECT_EQ(found.back(), 'Z');
}

TEST_F(LocalisationTest, AnyLineBreakEndsALine) {
  for (const char* eol : {"\r\n", "\n", "\r"}) {
    WriteWithHeader({"085*one", "086*two"}, eol);
    EXPECT_EQ(Lookup("085*"), "one") << "line break of " << std::strlen(eol) << " bytes";
    EXPECT_EQ(Lookup("086*"), "two");
    EXPECT_TRUE(LocalisationHeaderValid(path_));
  }
  WriteFile(std::string(kLocalisationHeader[0]) + "\r\n\r\n085*after an empty line");
  EXPECT_EQ(Lookup("085*"), "after an empty line");  // CR LF CR LF is two breaks
}

TEST_F(LocalisationTest, HeaderIgnoresLetterCaseOnly) {
  WriteWithHeader({});
  EXPECT_TRUE(LocalisationHeaderValid(path_));

  std::string bytes;
  for (size_t i = 0; i < kLocalisationHeader.size(); ++i) {
    std::string line = kLocalisationHeader[i];
    if (i == 1) line = "**  THE LOCALIZATION FILE FOR THE KDPIECHART PLUGIN.";
    bytes += line + "\r\n";
  }
  WriteFile(bytes);
  EXPECT_TRUE(LocalisationHeaderValid(path_));

  WriteFile(std::string(kLocalisationHeader[0]) + " \r\n" + bytes.substr(bytes.find('\n') + 1) +
            "085*still used\r\n");
  EXPECT_FALSE(LocalisationHeaderValid(path_));
  EXPECT_EQ(Lookup("085*"), "still used");  // a bad header does not stop translations
}

TEST_F(LocalisationTest, ShortOrEmptyFilesFailTheCheckSafely) {
  WriteFile(std::string(kLocalisationHeader[0]) + "\r\n" + kLocalisationHeader[1] + "\r\n085*short");
  EXPECT_FALSE(LocalisationHeaderValid(path_));
  EXPECT_EQ(Lookup("085*"), "short");
  EXPECT_EQ(Lookup("086*"), "default");

  WriteFile("");
  EXPECT_FALSE(LocalisationHeaderValid(path_));
  EXPECT_EQ(Lookup("085*"), "default");
}

TEST_F(LocalisationTest, AFolderInPlaceOfTheFileIsNoFile) {
  fs::create_directories(path_);
  EXPECT_TRUE(LocalisationHeaderValid(path_));
  EXPECT_EQ(Lookup("085*"), "default");
  EXPECT_EQ(LocalisationLookup(path_, nullptr, "default"), "default");
}

TEST(LocalisationPath, JoinsTheFolderWithItsOwnSeparator) {
  EXPECT_EQ(LocalisationFilePath("C:\\Program Files\\NeoBook"),
            "C:\\Program Files\\NeoBook\\kdPieChart.loc");
  EXPECT_EQ(LocalisationFilePath("C:\\NeoBook\\"), "C:\\NeoBook\\kdPieChart.loc");
  EXPECT_EQ(LocalisationFilePath("/tmp/neo"), "/tmp/neo/kdPieChart.loc");
  EXPECT_EQ(LocalisationFilePath(""), "kdPieChart.loc");
}

}  // namespace
}  // namespace kd
