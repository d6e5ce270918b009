#include "config/brand.h"

#include <algorithm>

#include "base/ansi_text.h"
#include "base/code_page_text.h"
#include "config/lang_format.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "sys/run_log.h"

namespace pinst {

namespace {

const TIniFile::Section* FindSection(const TIniFile& ini, uint32_t cp) {
  for (const TIniFile::Section& s : ini.Sections()) {
    if (EqualsNoCase(s.name, kBrandSection, cp)) return &s;
  }
  return nullptr;
}

// The first occurrence wins, as the private-profile functions read it.
const TIniFile::Key* FindKey(const TIniFile::Section& s, std::string_view name, uint32_t cp) {
  for (const TIniFile::Key& k : s.keys) {
    if (EqualsNoCase(k.name, name, cp)) return &k;
  }
  return nullptr;
}

class TReader {
 public:
  TReader(const TIniFile::Section& s, uint32_t cp, const TBrandNote& note)
      : s_(s), cp_(cp), note_(note) {}

  // A value given and not empty; empty or cut values are noted and left out.
  const TIniFile::Key* Given(const std::string& name) const {
    const TIniFile::Key* k = FindKey(s_, name, cp_);
    if (!k) return nullptr;
    const char* why = k->value.empty() ? "it is empty"
                      : k->cut         ? "it is longer than 2,047 bytes"
                                       : nullptr;
    if (!why) return k;
    Ignored(name, why);
    return nullptr;
  }

  std::optional<std::string> Text(const std::string& name) const {
    const TIniFile::Key* k = Given(name);
    if (!k) return std::nullopt;
    if (!IsCodePageText(k->value, cp_)) {
      Ignored(name, "it is not text of code page " + std::to_string(cp_));
      return std::nullopt;
    }
    return k->value;
  }

  std::optional<TBrandPicture> Picture(const std::string& name, TPixelSize box) const {
    const TIniFile::Key* k = Given(name);
    if (!k) return std::nullopt;
    IFiles& files = *Os().files;
    const std::string what = name + "=" + k->value;
    const bool exists = files.FileExists(k->value);
    std::optional<std::string> bytes;
    if (exists) bytes = files.ReadWholeFile(files.FullPath(k->value));
    std::string why = exists ? "it cannot be read" : "there is no such file";
    const std::optional<TBmpInfo> info = bytes ? ReadBmpInfo(*bytes, why) : std::nullopt;
    if (!info) {
      Ignored(what, bytes ? "it is " + why : why);
      return std::nullopt;
    }
    return TBrandPicture{k->value, std::move(*bytes), FitWithin(info->size, box)};
  }

  void Ignored(const std::string& what, const std::string& why) const {
    note_(what + " ignored: " + why);
  }

 private:
  const TIniFile::Section& s_;
  uint32_t cp_;
  const TBrandNote& note_;
};

bool IsBrandKey(const std::string& name, uint32_t cp) {
  return std::any_of(std::begin(kBrandKeys), std::end(kBrandKeys),
                     [&](std::string_view key) { return EqualsNoCase(key, name, cp); });
}

TBrand& Current() {
  static TBrand brand;
  return brand;
}

}  // namespace

std::string_view BrandSuffix(TextLanguage language) {
  switch (language) {
    case TextLanguage::kTraditionalChinese:
      return "0";
    case TextLanguage::kEnglish:
      return "2";
    case TextLanguage::kSimplifiedChinese:
      break;
  }
  return "";
}

TBrand ReadBrandTexts(const TIniFile& ini, TextLanguage language, uint32_t cp,
                      const TBrandNote& note) {
  TBrand brand;
  const TIniFile::Section* s = FindSection(ini, cp);
  if (!s) {
    note("there is no [Brand] section: nothing is branded");
    return brand;
  }
  const TReader r(*s, cp, note);
  for (const TIniFile::Key& k : s->keys) {
    if (!IsBrandKey(k.name, cp))
      r.Ignored(k.name.empty() ? "a value without a key" : k.name, "it is not a key of brand.ini");
  }
  const std::string suffix(BrandSuffix(language));
  brand.brandWord = r.Text("BrandWord");
  brand.caption = r.Text("Caption");
  brand.mainTitle = r.Text("MainTitle" + suffix);
  brand.installGuideLink = r.Text("InstallGuideLink" + suffix);
  brand.userManualLink = r.Text("UserManualLink" + suffix);
  return brand;
}

TBrand ReadBrand(const TIniFile& ini, TextLanguage language, uint32_t cp, const TBrandNote& note) {
  TBrand brand = ReadBrandTexts(ini, language, cp, note);
  if (const TIniFile::Section* s = FindSection(ini, cp)) {
    const TReader r(*s, cp, note);
    brand.logo = r.Picture("LogoFile", kLogoBox);
    brand.picture = r.Picture("PictureFile", kPictureBox);
  }
  return brand;
}

TBrand LoadBrand(const std::string& fileName) {
  IFiles& files = *Os().files;
  if (!files.FileExists(fileName)) return {};
  const auto note = [&](const std::string& line) { DebugLine(fileName + ": " + line); };
  const std::optional<std::string> bytes = files.ReadWholeFile(files.FullPath(fileName));
  if (!bytes) {
    note("it cannot be read: the built-in texts and pictures are used");
    return {};
  }
  if (bytes->size() > kBrandMaxBytes) {
    note("it is " + std::to_string(bytes->size()) + " bytes, more than " +
         std::to_string(kBrandMaxBytes) +
         ": it is ignored, the built-in texts and pictures are used");
    return {};
  }
  ISystem& system = *Os().system;
  const uint32_t cp = system.GetAnsiCodePage();
  TBrand brand = ReadBrand(TIniFile::Parse(*bytes, cp),
                           LanguageForLangId(system.GetSystemDefaultLangID()), cp, note);
  std::string used;
  const auto list = [&](bool set, const char* name) {
    if (set) used += (used.empty() ? "" : ", ") + std::string(name);
  };
  list(brand.brandWord.has_value(), "BrandWord");
  list(brand.caption.has_value(), "Caption");
  list(brand.mainTitle.has_value(), "MainTitle");
  list(brand.installGuideLink.has_value(), "InstallGuideLink");
  list(brand.userManualLink.has_value(), "UserManualLink");
  list(brand.logo.has_value(), "LogoFile");
  list(brand.picture.has_value(), "PictureFile");
  note(used.empty() ? "no value used" : used + " used");
  return brand;
}

TLangStrings BrandedTexts(const TLangStrings& lang, const TBrand& brand) {
  TLangStrings t = lang;
  if (brand.brandWord) {
    t.StrBrandWord = *brand.brandWord;
    t.StrMainTitle = FormatText(lang.StrBrandTitle, *brand.brandWord);
  }
  if (brand.mainTitle) t.StrMainTitle = *brand.mainTitle;
  if (brand.caption) t.StrInstallerTitle = *brand.caption;
  if (brand.installGuideLink) t.StrInstallGuideLink = *brand.installGuideLink;
  if (brand.userManualLink) t.StrUserManualLink = *brand.userManualLink;
  return t;
}

const TBrand& Brand() { return Current(); }

void SetBrand(TBrand brand) { Current() = std::move(brand); }

}  // namespace pinst
