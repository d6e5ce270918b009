// brand.ini as the installer loads it, on the sim's disk beside a logo. Input: the
// file's bytes, then one code-page byte and one language byte. Every text it keeps
// is text of the code page; every picture passes the BMP reader and fits its box.
#include "base/code_page_text.h"
#include "config/brand.h"
#include "fuzz_input.h"
#include "platform/sim/sim_windows.h"

using namespace pinst;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  sim::SimWindows win;
  win.system.codePage = fuzz::PickCodePage(in);
  static constexpr uint16_t kLanguages[] = {0x0409, 0x0804, 0x0404};
  win.system.langId = in.PickValueInArray(kLanguages);
  // A small 24-bit BMP the file may name, and one cut short.
  std::string bmp(54 + 8, '\0');
  const unsigned char header[] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                                  0,   0,   0,  2, 0, 0, 0, 1, 0, 0, 0,  1, 0, 24, 0};
  bmp.replace(0, sizeof header, reinterpret_cast<const char*>(header), sizeof header);
  win.files.AddFile("logo.bmp", bmp);
  win.files.AddFile("cut.bmp", bmp.substr(0, 58));
  win.files.AddFile("brand.ini", in.ConsumeRemainingBytesAsString());
  const TBrand brand = LoadBrand();
  for (const auto* text : {&brand.brandWord, &brand.caption, &brand.mainTitle,
                           &brand.installGuideLink, &brand.userManualLink}) {
    if (*text) fuzz::Require(!(*text)->empty() && IsCodePageText(**text, win.system.codePage));
  }
  for (const auto* picture : {&brand.logo, &brand.picture}) {
    if (!*picture) continue;
    std::string why;
    fuzz::Require(ReadBmpInfo((*picture)->bytes, why).has_value());
    fuzz::Require((*picture)->size.width <= kLogoBox.width &&
                  (*picture)->size.height <= kLogoBox.height);
  }
  const TLangStrings texts = BrandedTexts(MakeLangStrings(TextLanguage::kEnglish), brand);
  fuzz::Require(!texts.StrMainTitle.empty());
  return 0;
}
