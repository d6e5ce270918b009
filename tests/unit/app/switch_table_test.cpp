// docs/switches.txt, the one table of switches and exit codes, against the parser,
// the program's exit codes, the documents and the /? text of every language.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "app/command_line.h"
#include "app/install_codes.h"
#include "config/lang_strings.h"

namespace pinst {
namespace {

std::string SourceFile(const std::string& path) {
  std::ifstream in(std::string(PI_SOURCE_DIR) + "/" + path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct TSwitchTable {
  std::vector<std::string> switches;  // as the parser knows them: "/Hide", "/Model="
  std::vector<std::string> codes;
};

TSwitchTable ReadTable() {
  TSwitchTable table;
  std::istringstream in(SourceFile("docs/switches.txt"));
  std::string section;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      section = line;
      continue;
    }
    const std::string first = line.substr(0, line.find(" | "));
    if (section == "[switches]") {
      const size_t equals = first.find('=');
      table.switches.push_back(equals == std::string::npos ? first : first.substr(0, equals + 1));
    } else if (section == "[exit codes]") {
      table.codes.push_back(first);
    }
  }
  return table;
}

// The number stands in the text on its own, not as part of a longer one.
bool NamesCode(const std::string& text, const std::string& code) {
  for (size_t at = text.find(code); at != std::string::npos; at = text.find(code, at + 1)) {
    const bool before = at > 0 && std::isdigit(static_cast<unsigned char>(text[at - 1]));
    const size_t end = at + code.size();
    const bool after = end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]));
    if (!before && !after) return true;
  }
  return false;
}

TEST(SwitchTableTest, TableHoldsEverySwitchOfTheParserAndEveryExitCodeOfTheProgram) {
  const TSwitchTable table = ReadTable();
  std::vector<std::string> parsed = SwitchNames();
  std::vector<std::string> listed = table.switches;
  std::sort(parsed.begin(), parsed.end());
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, parsed);
  const std::set<std::string> codes(table.codes.begin(), table.codes.end());
  for (const int code :
       {kExitInstalled, 1 /* /Verify: errors */, kExitNothingToInstall, kExitTimedOut,
        kExitCancelled, kExitFailed, kExitUnknownProduct, kExitAlreadyRunning,
        kExitInvalidCommandLine, kExitRestartStarted, kExitRestartNeeded}) {
    EXPECT_EQ(codes.count(std::to_string(code)), 1u) << code;
  }
}

TEST(SwitchTableTest, EveryDocumentAndTheHelpOfEveryLanguageNameEverySwitchAndCode) {
  const TSwitchTable table = ReadTable();
  ASSERT_GT(table.switches.size(), 10u);
  ASSERT_GT(table.codes.size(), 10u);
  struct TText {
    std::string name;
    std::string text;
    bool switches;  // deploying.md shows the commands and the codes, not every switch
  };
  std::vector<TText> texts;
  for (const char* doc : {"README.md", "docs/install-ini.md", "dist/release/README.txt"}) {
    texts.push_back({doc, SourceFile(doc), true});
  }
  texts.push_back({"docs/deploying.md", SourceFile("docs/deploying.md"), false});
  for (const uint16_t langId : {0x0409, 0x0804, 0x0404}) {
    InitLangStrings(langId);
    texts.push_back({"/? for language " + std::to_string(langId), Lang().StrUsage, true});
  }
  InitLangStrings(0x0409);
  for (const TText& t : texts) {
    SCOPED_TRACE(t.name);
    for (const std::string& name : t.switches ? table.switches : std::vector<std::string>{}) {
      EXPECT_NE(t.text.find(name), std::string::npos) << name;
    }
    for (const std::string& code : table.codes) EXPECT_TRUE(NamesCode(t.text, code)) << code;
  }
}

}  // namespace
}  // namespace pinst
