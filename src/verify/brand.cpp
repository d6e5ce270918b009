// brand.ini: what the installer would leave out of it (and why), and texts that
// would not fit the main window's labels.
#include "config/brand.h"

#include <algorithm>
#include <map>

#include "base/ansi_text.h"
#include "base/bmp_image.h"
#include "base/code_page_text.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "verify/checks.h"

namespace pinst::verify {

namespace {

constexpr const char* kFile = kBrandFile;

struct TLanguage {
  TextLanguage language;
  uint32_t codePage;
  const char* name;
};
constexpr TLanguage kLanguages[] = {
    {TextLanguage::kSimplifiedChinese, 936, "Simplified Chinese"},
    {TextLanguage::kTraditionalChinese, 950, "Traditional Chinese"},
    {TextLanguage::kEnglish, 1252, "English"},
};

// The main window's title area (the layout of the main window's ApplyTexts): the
// title, bold 21 pixels, word-wrapped in 657 - (24 + logo + 30) - 3 by 52 pixels; the
// two links, 16 pixels, side by side from 24 + logo + 10, 60 apart, within 657.
constexpr int kClientWidth = 657;
constexpr int kLogoLeft = 24;
constexpr int kTitleFont = 21;
constexpr int kTitleHeight = 52;
constexpr int kLinkFont = 16;

// Text widths estimated as the headless windows estimate them: half the font's
// height per byte, so a double-byte character is as wide as the font is high.
int Width(std::string_view text, int font) { return static_cast<int>(text.size()) * font / 2; }

// Lines the title takes, broken at blanks, and between double-byte characters;
// a word longer than a line is broken where it reaches the edge.
int TitleLines(std::string_view text, int width, uint32_t cp) {
  int lines = 1;
  int x = 0;
  for (size_t i = 0; i < text.size();) {
    size_t end = i;
    if (text[i] == ' ') {
      end = i + 1;
    } else if (CharLength(text, i, cp) == 2) {
      end = i + 2;
    } else {
      while (end < text.size() && text[end] != ' ' && CharLength(text, end, cp) == 1) ++end;
    }
    int w = Width(text.substr(i, end - i), kTitleFont);
    if (x + w > width && x > 0 && text[i] != ' ') {
      ++lines;
      x = 0;
    }
    while (w > width) {  // a word wider than a line
      ++lines;
      w -= width;
    }
    x += w;
    i = end;
  }
  return lines;
}

const TIniFile::Key* First(const TIniFile::Section& s, std::string_view name, uint32_t cp) {
  for (const TIniFile::Key& k : s.keys) {
    if (EqualsNoCase(k.name, name, cp)) return &k;
  }
  return nullptr;
}

std::string UnknownKey(const std::string& name, uint32_t cp) {
  std::string_view nearest;
  size_t best = 3;  // two edits at most: a typo, not another word
  for (std::string_view key : kBrandKeys) {
    const size_t d = Distance(key, name, cp);
    if (d < best) {
      best = d;
      nearest = key;
    }
  }
  std::string message = "The installer does not know this key and ignores it";
  return message + (nearest.empty() ? "." : "; did you mean " + std::string(nearest) + "?");
}

void CheckKeys(TContext& c, const TIniFile::Section& s) {
  const uint32_t cp = c.CodePage();
  std::map<std::string, int> seen;
  for (const TIniFile::Key& k : s.keys) {
    const std::string place = KeyPlace(s.name, k.name, k.line);
    if (!seen.emplace(AsciiUpper(k.name, cp), k.line).second) {
      c.Add(TSeverity::kWarning, "brand-duplicate-key", kFile, place,
            "The key is given again; the installer reads only the first one.");
    } else if (std::none_of(std::begin(kBrandKeys), std::end(kBrandKeys),
                            [&](std::string_view key) { return EqualsNoCase(key, k.name, cp); })) {
      c.Add(TSeverity::kWarning, "brand-unknown-key", kFile, place, UnknownKey(k.name, cp));
    } else if (k.value.empty()) {
      c.Add(TSeverity::kWarning, "brand-value-empty", kFile, place,
            "The value is empty; the installer keeps the built-in one.");
    } else if (k.cut) {
      c.Add(TSeverity::kError, "brand-value-cut", kFile, place,
            "The value is longer than 2,047 bytes; the installer keeps the built-in one.");
    }
  }
}

// A text key in the code page of each language it is shown in.
void CheckText(TContext& c, const TIniFile::Section& s, const std::string& name,
               const TLanguage* only) {
  const TIniFile::Key* k = First(s, name, c.CodePage());
  if (!k || k->value.empty() || k->cut) return;
  const std::string place = KeyPlace(s.name, k->name, k->line);
  if (LooksLikeUtf8(k->value)) {
    c.Add(TSeverity::kWarning, "brand-text-utf8", kFile, place,
          "The text looks like UTF-8; the installer shows it in the language's code page, "
          "garbled. Save brand.ini in the code page of its language.");
  }
  for (const TLanguage& l : kLanguages) {
    if (only && only != &l) continue;
    if (!IsCodePageText(k->value, l.codePage)) {
      c.Add(TSeverity::kError, "brand-text-codepage", kFile, place,
            std::string("The text is not text of code page ") + std::to_string(l.codePage) + " (" +
                l.name + "); the installer shows the built-in text there instead.");
    }
  }
  if (!only && std::any_of(k->value.begin(), k->value.end(),
                           [](char ch) { return static_cast<unsigned char>(ch) >= 0x80; })) {
    c.Add(TSeverity::kWarning, "brand-text-languages", kFile, place,
          "The text is shown in all three languages; its bytes beyond ASCII read as other "
          "characters in each language's code page.");
  }
}

// A picture's width as the installer draws it; the built-in logo's when it cannot be used.
int CheckPicture(TContext& c, const TIniFile::Section& s, const char* name, TPixelSize box) {
  const TIniFile::Key* k = First(s, name, c.CodePage());
  if (!k || k->value.empty()) return box.width;
  const std::string place = KeyPlace(s.name, k->name, k->line);
  const std::string& file = k->value;
  c.Opens(file);
  if (!c.FileExists(file)) {
    c.Add(TSeverity::kError, "brand-picture-missing", kFile, place,
          file + " does not exist: the installer shows its built-in picture.");
    return box.width;
  }
  const std::optional<std::string> bytes = Os().files->ReadWholeFile(c.Full(file));
  std::string why = "cannot be read";
  bool tooLarge = false;
  const std::optional<TBmpInfo> info = bytes ? ReadBmpInfo(*bytes, why, &tooLarge) : std::nullopt;
  if (!info) {
    c.Add(TSeverity::kError, tooLarge ? "brand-picture-too-large" : "brand-picture-invalid", kFile,
          place, file + " is " + why + ": the installer shows its built-in picture.");
    return box.width;
  }
  return FitWithin(info->size, box).width;
}

void CheckFit(TContext& c, const TIniFile& ini, const TIniFile::Section& s, int logoWidth) {
  const TBrandNote silent = [](const std::string&) {};
  const int titleWidth = kClientWidth - (kLogoLeft + logoWidth + 30) - 3;
  const int titleLines = kTitleHeight / (kTitleFont + 3);
  const int linkRoom = kClientWidth - (kLogoLeft + logoWidth + 10) - 60;
  for (const TLanguage& l : kLanguages) {
    const TBrand brand = ReadBrandTexts(ini, l.language, l.codePage, silent);
    const TLangStrings texts = BrandedTexts(MakeLangStrings(l.language), brand);
    const std::string suffix(BrandSuffix(l.language));
    const int lines = TitleLines(texts.StrMainTitle, titleWidth, l.codePage);
    if ((brand.mainTitle || brand.brandWord) && lines > titleLines) {
      const std::string key = brand.mainTitle ? "MainTitle" + suffix : "BrandWord";
      c.Add(TSeverity::kWarning, "brand-text-fit", kFile, KeyPlace(ini, s.name, key, c.CodePage()),
            std::string("The ") + l.name + " title takes about " + std::to_string(lines) +
                " lines of " + std::to_string(titleWidth) + " pixels; its label holds " +
                std::to_string(titleLines) + ": the rest is cut off.");
    }
    const int links =
        Width(texts.StrInstallGuideLink, kLinkFont) + Width(texts.StrUserManualLink, kLinkFont);
    if ((brand.installGuideLink || brand.userManualLink) && links > linkRoom) {
      const std::string key =
          (brand.installGuideLink ? "InstallGuideLink" : "UserManualLink") + suffix;
      c.Add(TSeverity::kWarning, "brand-text-fit", kFile, KeyPlace(ini, s.name, key, c.CodePage()),
            std::string("The ") + l.name + " links take about " + std::to_string(links) +
                " pixels side by side; the title area leaves " + std::to_string(linkRoom) +
                ": the user-manual link is cut off at the window's edge.");
    }
  }
}

}  // namespace

void CheckBrand(TContext& c) {
  if (!c.FileExists(kFile)) return;
  c.Opens(kFile);
  const std::optional<std::string> bytes = Os().files->ReadWholeFile(c.Full(kFile));
  if (!bytes) {
    c.Add(TSeverity::kError, "brand-unreadable", kFile, "",
          "brand.ini cannot be read: the installer shows its built-in texts and pictures.");
    return;
  }
  if (bytes->size() > kBrandMaxBytes) {
    c.Add(TSeverity::kError, "brand-too-large", kFile, "",
          "brand.ini is " + std::to_string(bytes->size()) + " bytes, more than " +
              std::to_string(kBrandMaxBytes) + ": the installer ignores it whole.");
    return;
  }
  const TIniFile ini = TIniFile::Parse(*bytes, c.CodePage());
  const TIniFile::Section* brand = nullptr;
  for (const TIniFile::Section& s : ini.Sections()) {
    if (!brand && EqualsNoCase(s.name, kBrandSection, c.CodePage())) brand = &s;
  }
  if (!brand) {
    c.Add(TSeverity::kWarning, "brand-no-section", kFile, "",
          "brand.ini has no [Brand] section: nothing is branded.");
    return;
  }
  CheckKeys(c, *brand);
  CheckText(c, *brand, "BrandWord", nullptr);
  CheckText(c, *brand, "Caption", nullptr);
  for (const TLanguage& l : kLanguages) {
    const std::string suffix(BrandSuffix(l.language));
    for (const char* key : {"MainTitle", "InstallGuideLink", "UserManualLink"}) {
      CheckText(c, *brand, key + suffix, &l);
    }
  }
  const int logoWidth = CheckPicture(c, *brand, "LogoFile", kLogoBox);
  CheckPicture(c, *brand, "PictureFile", kPictureBox);
  CheckFit(c, ini, *brand, logoWidth);
}

}  // namespace pinst::verify
