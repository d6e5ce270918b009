#include "config/lang_strings.h"

#include <utility>

namespace pinst {

namespace {

constexpr const char* kBrandWord = "Norvik ";
constexpr uint32_t kColorTitle = 0x800080;

using Member = std::string TLangStrings::*;

struct Entry {
  std::string_view name;
  Member member;
  const char* english;
  const char* simplified;   // GBK
  const char* traditional;  // Big5
};

// The texts come from lang_texts.txt, converted at build time (lang_texts.inc).
#define PI_TEXT(name, english, simplified, traditional) \
  Entry{#name, &TLangStrings::name, english, simplified, traditional},
const Entry kEntries[] = {
#include "lang_texts.inc"
};
#undef PI_TEXT

TLangStrings& Current() {
  static TLangStrings table = MakeLangStrings(TextLanguage::kEnglish);
  return table;
}

}  // namespace

TextLanguage LanguageForLangId(uint16_t langId) {
  switch (langId) {
    case 0x0404:
    case 0x0C04:
      return TextLanguage::kTraditionalChinese;
    case 0x0804:
    case 0x1404:
      return TextLanguage::kSimplifiedChinese;
    default:
      return TextLanguage::kEnglish;
  }
}

TLangStrings MakeLangStrings(TextLanguage language) {
  TLangStrings table;
  table.StrBrandWord = kBrandWord;
  table.ColorTitle = kColorTitle;
  for (const Entry& e : kEntries) {
    const char* text = language == TextLanguage::kSimplifiedChinese    ? e.simplified
                       : language == TextLanguage::kTraditionalChinese ? e.traditional
                                                                       : e.english;
    table.*e.member = text;
  }
  if (language == TextLanguage::kEnglish) {
    table.StrMainTitle =
        std::string("Welcome To Use ") + table.StrBrandWord + " Printer Driver Installation";
  }
  return table;
}

void InitLangStrings(uint16_t langId) { Current() = MakeLangStrings(LanguageForLangId(langId)); }

const TLangStrings& Lang() { return Current(); }

const std::string* LangEntry(const TLangStrings& table, std::string_view name) {
  if (name == "StrBrandWord") return &table.StrBrandWord;
  for (const Entry& e : kEntries) {
    if (e.name == name) return &(table.*e.member);
  }
  return nullptr;
}

}  // namespace pinst
