// The localisation file beside the host program, as registration sees it:
// translated hints, the header check and its one message box; the shipped
// English file through every hint and every editor.
#include <set>
#include <string>

#include "EditorRun.h"
#include "PlugInHost.h"
#include "editors/CreateChartEditor.h"
#include "editors/EditorForm.h"
#include "host/ActionTable.h"
#include "host/Localisation.h"

namespace kdhost {
namespace {

class LocalisationFile : public PlugInTest {
 protected:
  // Registers while a driver answers every message box; returns the boxes seen.
  std::vector<SeenWindow> RegisterAnsweringBoxes() {
    DialogDriver driver(CloseEverything());
    RegisterWithHost();
    PumpFor(300);  // a box the driver missed would still be on screen
    return driver.Seen();
  }

  std::string HintOf(int id) const {
    for (const Registration& r : host.registrations)
      if (r.id == id) return r.hint;
    return "<not registered>";
  }

  static std::vector<std::string> WithEntries(std::vector<std::string> entries) {
    std::vector<std::string> lines = ValidHeader();
    lines.insert(lines.end(), entries.begin(), entries.end());
    return lines;
  }
};

TEST_F(LocalisationFile, NoFileMeansDefaultsAndNoMessage) {
  auto boxes = RegisterAnsweringBoxes();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(Cp1251ToUtf8(HintOf(3)), u8"Удалить объект PieChart.");
}

TEST_F(LocalisationFile, TranslatedHintsReplaceDefaults) {
  std::string longText(300, 'x');
  for (size_t i = 0; i < longText.size(); ++i) longText[i] = static_cast<char>('a' + i % 26);
  WriteLocalisation(WithEntries({
      "089*Add a record to the chart.",
      "090* Delete a record by number.",  // the blank belongs to the text
      "091*",                             // a key alone: empty hint
      "092*First wins.",
      "092*Second loses.",
      "093*" + longText,
      "not a key line",
  }));
  auto boxes = RegisterAnsweringBoxes();
  EXPECT_TRUE(boxes.empty());
  ASSERT_EQ(host.registrations.size(), 39u);
  EXPECT_EQ(HintOf(5), "Add a record to the chart.");
  EXPECT_EQ(HintOf(6), " Delete a record by number.");
  EXPECT_EQ(HintOf(7), "");
  EXPECT_EQ(HintOf(8), "First wins.");
  EXPECT_EQ(HintOf(9), longText.substr(0, 255));  // characters 5 to 259 of the line
  EXPECT_EQ(Cp1251ToUtf8(HintOf(1)), u8"Создать объект PieChart.");
}

TEST_F(LocalisationFile, HeaderDifferingOnlyInLetterCasePasses) {
  std::vector<std::string> lines = WithEntries({"085*Create."});
  for (char& c : lines[1])
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  WriteLocalisation(lines);
  auto boxes = RegisterAnsweringBoxes();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(HintOf(1), "Create.");
}

TEST_F(LocalisationFile, TrailingBlankInTheHeaderShowsOneMessageAndStillTranslates) {
  std::vector<std::string> lines = WithEntries({"085*Create."});
  lines[0] += " ";
  lines[3] += " ";  // a second bad line: still one message
  WriteLocalisation(lines);
  auto boxes = RegisterAnsweringBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].AllText().find("The kdPieChart.loc file is invalidly modified."), std::string::npos);
  EXPECT_EQ(host.registrations.size(), 39u);
  EXPECT_EQ(HintOf(1), "Create.");
}

TEST_F(LocalisationFile, ShortFileShowsOneMessageAndRegistrationCompletes) {
  WriteLocalisation({ValidHeader()[0], ValidHeader()[1], "085*Short."});
  auto boxes = RegisterAnsweringBoxes();
  EXPECT_EQ(boxes.size(), 1u);
  ASSERT_EQ(host.registrations.size(), 39u);
  EXPECT_EQ(host.registrations.back().name, "kdPieChartRotate");
}

TEST_F(LocalisationFile, EmptyFileShowsOneMessageAndKeepsDefaults) {
  WriteLocalisation({});
  auto boxes = RegisterAnsweringBoxes();
  EXPECT_EQ(boxes.size(), 1u);
  ASSERT_EQ(host.registrations.size(), 39u);
  EXPECT_EQ(Cp1251ToUtf8(HintOf(1)), u8"Создать объект PieChart.");
}

TEST_F(LocalisationFile, LookupsReadTheFileAnewEachTime) {
  WriteLocalisation(WithEntries({"085*One."}));
  RegisterAnsweringBoxes();
  EXPECT_EQ(HintOf(1), "One.");
  host.Reset();
  WriteLocalisation(WithEntries({"085*Two."}));
  RegisterAnsweringBoxes();
  EXPECT_EQ(HintOf(1), "Two.");
}

bool Ascii(const std::wstring& text) {
  for (wchar_t c : text)
    if (c >= 0x80) return false;
  return true;
}

// Captions the module never translates, English in both languages.
bool FixedCaption(const std::wstring& text) {
  return text.rfind(L"True \\ False", 0) == 0 || text == L"Explode Biggest";
}

bool Caption(int id) {
  using namespace kd::editors;
  return id == kIdDescription || id == kIdAddCaption || id == kIdDeleteCaption ||
         (id >= kIdSlotCaption && id < kIdSlotUpDown);
}

TEST_F(LocalisationFile, TheEnglishFileTranslatesEveryHintAndEveryEditorCaption) {
  std::optional<std::vector<std::string>> english = kd::LocalisationLines(ProgramFolder() + "translation/kdPieChart.loc");
  ASSERT_TRUE(english.has_value()) << "the build writes translation/kdPieChart.loc";
  WriteLocalisation(*english);
  std::set<std::wstring> texts;
  for (const std::string& line : *english)
    if (line.size() > 4 && line[3] == '*') texts.insert(std::wstring(line.begin() + 4, line.end()));

  EXPECT_TRUE(RegisterAnsweringBoxes().empty()) << "the header check shows no message";
  for (const kd::ActionEntry& entry : kd::ActionTable()) {
    if (!entry.key) continue;
    SCOPED_TRACE(entry.name);
    const std::string hint = HintOf(entry.id);
    EXPECT_TRUE(texts.count(std::wstring(hint.begin(), hint.end())));
  }
  for (int id = 1; id <= kd::HighestActionId(); ++id) {
    SCOPED_TRACE(kd::FindAction(id)->name);
    EditRun run = RunEditor(id, std::vector<std::optional<std::string>>(kd::ActionParameterCount(id), "Sales"));
    ASSERT_TRUE(run.seen.seen);
    EXPECT_TRUE(run.seen.texts.count(kd::editors::kIdDescription));
    for (const auto& [control, text] : run.seen.texts) {
      EXPECT_TRUE(Ascii(text)) << "control " << control << " left in Russian";
      if (Caption(control)) {
        EXPECT_TRUE(texts.count(text) || FixedCaption(text)) << "control " << control;
      }
    }
  }
}

}  // namespace
}  // namespace kdhost
