#include "config/lang_strings.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "text_rows.h"

namespace pinst {
namespace {

struct LanguageCase {
  uint16_t langId;
  TextLanguage language;
};

class LangTableTest : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LangTableTest, EveryEntryHoldsTheBytesOfItsLanguage) {
  const LanguageCase c = GetParam();
  EXPECT_EQ(LanguageForLangId(c.langId), c.language);
  InitLangStrings(c.langId);
  for (const auto& row : testdata::kTextRows) {
    const std::string* entry = LangEntry(Lang(), row.name);
    ASSERT_NE(entry, nullptr) << row.name;
    const std::string_view expected =
        c.language == TextLanguage::kSimplifiedChinese    ? row.simplified
        : c.language == TextLanguage::kTraditionalChinese ? row.traditional
                                                          : row.english;
    EXPECT_EQ(*entry, expected) << row.name << " for 0x" << std::hex << c.langId;
  }
  EXPECT_EQ(Lang().StrBrandWord, "Norvik ");
  EXPECT_EQ(Lang().ColorTitle, 0x800080u);
  InitLangStrings(0x0409);
}

INSTANTIATE_TEST_SUITE_P(LanguageIds, LangTableTest,
                         ::testing::Values(LanguageCase{0x0404, TextLanguage::kTraditionalChinese},
                                           LanguageCase{0x0C04, TextLanguage::kTraditionalChinese},
                                           LanguageCase{0x0804, TextLanguage::kSimplifiedChinese},
                                           LanguageCase{0x1404, TextLanguage::kSimplifiedChinese},
                                           LanguageCase{0x1004, TextLanguage::kEnglish},
                                           LanguageCase{0x0409, TextLanguage::kEnglish},
                                           LanguageCase{0x0000, TextLanguage::kEnglish}),
                         [](const ::testing::TestParamInfo<LanguageCase>& info) {
                           char name[16];
                           std::snprintf(name, sizeof name, "Lang%04X",
                                         static_cast<unsigned>(info.param.langId));
                           return std::string(name);
                         });

TEST(LangTableTest, EnglishTitleHasTwoBlanksFromTheBrandWord) {
  const TLangStrings en = MakeLangStrings(TextLanguage::kEnglish);
  EXPECT_EQ(en.StrMainTitle, "Welcome To Use Norvik  Printer Driver Installation");
  EXPECT_EQ(en.StrInfos + en.StrSelectHint, "InfosPlease Select A Printer Driver");
  EXPECT_EQ(en.StrDllFunctionBad.back(), ' ');
  EXPECT_EQ(LangEntry(en, "NoSuchEntry"), nullptr);
}

}  // namespace
}  // namespace pinst
