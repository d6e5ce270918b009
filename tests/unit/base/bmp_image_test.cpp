#include "base/bmp_image.h"

#include <gtest/gtest.h>

#include "base/bmp_builder.h"
#include "base/code_page_text.h"

namespace pinst {
namespace {

TEST(BmpImageTest, PicturesAreScaledDownToTheirBoxNeverUpAndKeepTheirAspect) {
  struct Case {
    TPixelSize picture, box, drawn;
  };
  const Case cases[] = {
      {{170, 72}, {170, 72}, {170, 72}},  // the built-in logo's own size
      {{100, 40}, {170, 72}, {100, 40}},  // smaller: as it is
      {{1, 1}, {32, 32}, {1, 1}},
      {{340, 144}, {170, 72}, {170, 72}},  // twice the box
      {{400, 100}, {170, 72}, {170, 43}},  // too wide: 42.5 rounds up
      {{100, 300}, {170, 72}, {24, 72}},   // too high
      {{200, 60}, {170, 72}, {170, 51}},   // only the width overshoots
      {{150, 90}, {170, 72}, {120, 72}},   // only the height overshoots
      {{64, 48}, {32, 32}, {32, 24}},
      {{4096, 1}, {32, 32}, {32, 1}},  // a sliver keeps one pixel
      {{1, 4096}, {170, 72}, {1, 72}},
      {{4096, 4096}, {170, 72}, {72, 72}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FitWithin(c.picture, c.box), c.drawn) << c.picture.width << "x" << c.picture.height
                                                    << " in " << c.box.width << "x" << c.box.height;
  }
}

TEST(BmpImageTest, OnlyWholeUncompressedBmpsWithinTheLimitsPass) {
  using testdata::Bmp;
  struct Case {
    std::string file;
    bool ok;
    bool tooLarge;
  };
  const Case cases[] = {
      {Bmp(), true, false},
      {Bmp({.width = 5, .height = -3}), true, false},  // top-down
      {Bmp({.bits = 8}), true, false},
      {Bmp({.bits = 1, .colours = 2}), true, false},
      {Bmp({.bits = 32, .compression = 3}), false, false},  // masks missing from the file
      {Bmp({.bits = 8, .colours = 300}), false, false},
      {Bmp({.cutPixels = 1}), false, false},
      {Bmp({.bits = 8, .compression = 1}), false, false},  // RLE
      {Bmp({.bits = 7}), false, false},
      {Bmp({.width = 0}), false, false},
      {Bmp({.height = 0}), false, false},
      {Bmp({.width = 4097, .height = 1}), false, true},
      {Bmp({.width = 1200, .height = 1200}), false, true},  // 4.3 MB
      {"BM" + std::string(20, '\0'), false, false},
      {"GIF89a" + Bmp().substr(6), false, false},
      {"", false, false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    std::string why;
    bool tooLarge = false;
    const auto info = ReadBmpInfo(cases[i].file, why, &tooLarge);
    EXPECT_EQ(info.has_value(), cases[i].ok) << "case " << i << ": " << why;
    EXPECT_EQ(tooLarge, cases[i].tooLarge) << "case " << i;
    EXPECT_EQ(why.empty(), cases[i].ok) << "case " << i;
  }
  std::string why;
  const auto info = ReadBmpInfo(Bmp({.width = 5, .height = -3, .bits = 8}), why);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->size, (TPixelSize{5, 3}));
  EXPECT_EQ(info->bitsPerPixel, 8);
}

TEST(CodePageTextTest, TextMustBeWholeCharactersOfItsCodePage) {
  struct Case {
    const char* text;
    uint32_t codePage;
    bool ok;
  };
  const Case cases[] = {
      {"Acme Printer", 1252, true},
      {"Soci\xE9t\xE9", 1252, true},
      {"bad \x81 byte", 1252, false},
      {"tab\there", 1252, false},
      {"\xBB\xB6\xD3\xAD", 936, true},  // 欢迎 in GBK
      {"\xBB\xB6\xD3", 936, false},     // a lead byte with no trail
      {"\xBB\x7F", 936, false},
      {"\xFF\x40", 936, false},
      {"\xC5w\xAA\xEF", 950, true},  // 歡迎 in Big5
      {"\xA5\x5C", 950, true},       // 功: a trail byte that looks like a backslash
      {"\xA5\x80", 950, false},      // no Big5 trail
      {"\x80"
       "x",
       950, false},                     // no Big5 lead
      {"\xBB\xB6\xD3\xAD", 932, true},  // other code pages take every byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsCodePageText(c.text, c.codePage), c.ok) << c.text << " in " << c.codePage;
  }
  EXPECT_TRUE(LooksLikeUtf8("\xE6\xAC\xA2\xE8\xBF\x8E"));  // 欢迎 in UTF-8
  EXPECT_FALSE(LooksLikeUtf8("\xBB\xB6\xD3\xAD"));
  EXPECT_FALSE(LooksLikeUtf8("plain ASCII"));
}

}  // namespace
}  // namespace pinst
