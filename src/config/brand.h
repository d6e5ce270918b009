// brand.ini: the maker's own name and look, beside install.ini, read at start-up by
// the same INI reader. Section [Brand], every key optional; texts in the code page
// of their language, with install.ini's suffixes (none: Simplified Chinese, 0:
// Traditional Chinese, 2: English). A key that is missing, or whose value cannot be
// used, leaves the built-in text or picture, and the log says why.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/bmp_image.h"
#include "config/ini_file.h"
#include "config/lang_strings.h"

namespace pinst {

inline constexpr const char* kBrandFile = "brand.ini";
inline constexpr const char* kBrandSection = "Brand";
// A larger file is no brand.ini: it is ignored whole.
inline constexpr size_t kBrandMaxBytes = 64 * 1024;

// Where the pictures are drawn: the logo in the box of the built-in logo, the model
// picture in the list's 32 x 32 cell.
inline constexpr TPixelSize kLogoBox{170, 72};
inline constexpr TPixelSize kPictureBox{32, 32};

// clang-format off
inline constexpr std::string_view kBrandKeys[] = {
    "BrandWord", "Caption", "LogoFile", "PictureFile",
    "MainTitle", "MainTitle0", "MainTitle2",
    "InstallGuideLink", "InstallGuideLink0", "InstallGuideLink2",
    "UserManualLink", "UserManualLink0", "UserManualLink2",
};
// clang-format on

// The suffix of a language's variant of a key: "", "0" or "2".
std::string_view BrandSuffix(TextLanguage language);

struct TBrandPicture {
  std::string file;   // as brand.ini names it
  std::string bytes;  // the BMP file, its header checked
  TPixelSize size;    // drawn at, fitted to its box
};

// The values of one language that can be used; unset: the built-in one.
struct TBrand {
  std::optional<std::string> brandWord;
  std::optional<std::string> caption;
  std::optional<std::string> mainTitle;
  std::optional<std::string> installGuideLink;
  std::optional<std::string> userManualLink;
  std::optional<TBrandPicture> logo;
  std::optional<TBrandPicture> picture;
};

using TBrandNote = std::function<void(const std::string&)>;

// The [Brand] values of a language from a parsed brand.ini; texts must be text of
// codePage, pictures BMP files (paths from the current directory) no larger than
// kBmpMaxBytes. note receives one sentence per value left out.
TBrand ReadBrand(const TIniFile& ini, TextLanguage language, uint32_t codePage,
                 const TBrandNote& note);

// The same for the texts alone.
TBrand ReadBrandTexts(const TIniFile& ini, TextLanguage language, uint32_t codePage,
                      const TBrandNote& note);

// Reads fileName from the current directory for the system's language; without the
// file, a brand of built-in values and no log line. What it leaves out is logged.
TBrand LoadBrand(const std::string& fileName = kBrandFile);

// The table's texts with the brand's: the brand word, the caption (the installer's
// title), the main title (given, or built from the brand word) and the links.
TLangStrings BrandedTexts(const TLangStrings& lang, const TBrand& brand);

// The process-wide brand, built-in until the main window loads brand.ini.
const TBrand& Brand();
void SetBrand(TBrand brand);

}  // namespace pinst
