#include "config/lang_strings.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>

#include "text_rows.h"

namespace pinst {
namespace {

// The UTF-8 text in the given code page, as the table must hold it.
std::string Convert(std::string_view utf8, const char* codePage) {
  iconv_t cd = iconv_open(codePage, "UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string in(utf8);
  std::string out(in.size() * 2 + 8, '\0');
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  EXPECT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<size_t>(-1)) << utf8;
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

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
    std::string expected;
    switch (c.language) {
      case TextLanguage::kEnglish:
        expected = std::string(row.english);
        break;
      case TextLanguage::kSimplifiedChinese:
        expected = Convert(row.simplified, "CP936");
        break;
      case TextLanguage::kTraditionalChinese:
        expected = Convert(row.traditional, "CP950");
        break;
    }
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
