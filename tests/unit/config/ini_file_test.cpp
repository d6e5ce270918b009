#include "config/ini_file.h"

#include <gtest/gtest.h>

#include "base/ansi_text.h"
#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

TIniFile Parse(const std::string& text, uint32_t codePage = 1252) {
  return TIniFile::Parse(text, codePage);
}

TEST(IniFileTest, PrivateProfileRules) {
  const TIniFile ini = Parse(
      "top=ignored\r\n"
      "[ Model ]\r\n"
      "  Key = first value  \r\n"
      "key=second\r\n"
      "; Comment=yes\r\n"
      "Quoted=\"a b\"\r\n"
      "Single='x'\r\n"
      "Half=\"open\r\n"
      "Mixed=\"x'\r\n"
      "Empty=\r\n"
      "Semi=a;b\r\n"
      "[other]\n"
      "k=v\n");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Model", "other"}));
  EXPECT_EQ(ini.ReadString("MODEL", "KEY", "d"), "first value");
  EXPECT_EQ(ini.ReadString("model", "Comment", "d"), "d");
  EXPECT_EQ(ini.ReadString("model", "Quoted", "d"), "a b");
  EXPECT_EQ(ini.ReadString("model", "Single", "d"), "x");
  EXPECT_EQ(ini.ReadString("model", "Half", "d"), "\"open");
  EXPECT_EQ(ini.ReadString("model", "Mixed", "d"), "\"x'");
  EXPECT_EQ(ini.ReadString("model", "Empty", "d"), "");
  EXPECT_EQ(ini.ReadString("model", "Semi", "d"), "a;b");
  EXPECT_EQ(ini.ReadString("other", "k", "d"), "v");
  EXPECT_EQ(ini.ReadString("missing", "k", "d"), "d");
  EXPECT_EQ(ini.ReadSectionKeys("Model").front(), "Key");
}

TEST(IniFileTest, DuplicateSectionNamesAreListedButLookupsUseTheFirst) {
  const TIniFile ini = Parse("[a]\nx=1\n[A]\nx=2\ny=3\n");
  EXPECT_EQ(ini.ReadSections().size(), 2u);
  EXPECT_EQ(ini.ReadString("a", "x", ""), "1");
  EXPECT_EQ(ini.ReadString("a", "y", "none"), "none");
}

TEST(IniFileTest, NumbersAndFlags) {
  const TIniFile ini = Parse(
      "[s]\none=1\nzero=0\nhex=0x10\nHEX=0X1f\nword=true\nneg=-5\nblank=\ntrail=12abc\n"
      "big=0xFFFFFFFF\n");
  EXPECT_TRUE(ini.ReadBool("s", "one", false));
  EXPECT_FALSE(ini.ReadBool("s", "zero", true));
  EXPECT_TRUE(ini.ReadBool("s", "hex", false));
  EXPECT_EQ(ini.ReadInteger("s", "HEX", 0), 0x10);  // first occurrence, names fold case
  EXPECT_FALSE(ini.ReadBool("s", "word", false));
  EXPECT_TRUE(ini.ReadBool("s", "neg", false));
  EXPECT_FALSE(ini.ReadBool("s", "blank", false));
  EXPECT_FALSE(ini.ReadBool("s", "trail", false));
  EXPECT_FALSE(ini.ReadBool("s", "missing", false));
  EXPECT_EQ(ini.ReadInteger("s", "big", 0), -1);
}

TEST(IniFileTest, ValuesCutAt2047BytesWithoutSplittingACharacter) {
  const std::string ascii(3000, 'a');
  EXPECT_EQ(Parse("[s]\nv=" + ascii + "\n").ReadString("s", "v", "").size(), 2047u);
  // 1023 GBK characters and a half: the cut keeps whole characters only.
  std::string gbk = "x";
  for (int i = 0; i < 1100; ++i) gbk += "\xB4\xF2";
  const std::string cut = Parse("[s]\nv=" + gbk + "\n", 936).ReadString("s", "v", "");
  EXPECT_EQ(cut.size(), 2047u);
  EXPECT_EQ(cut.substr(cut.size() - 2), "\xB4\xF2");
}

TEST(IniFileTest, SectionListStopsAt16384Bytes) {
  std::string text;
  // 1000 names of 18 bytes with their terminators: only whole names that fit are seen.
  for (int i = 0; i < 1000; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "[Section_%09d]\n", i);
    text += name;
  }
  const auto names = TIniFile::Parse(text, 1252).ReadSections();
  EXPECT_EQ(names.size(), (16384u - 1) / 18);
  EXPECT_EQ(names.back(), "Section_000000909");
}

TEST(IniFileTest, DoubleByteNamesAreNeitherCutNorCaseFolded) {
  // Big5 功 (A5 5C) and a trail byte ']' (A1 5D) inside a section name;
  // 印 (A6 4C) must not match 奸 (A6 6C).
  const std::string gong = "\xA5\x5C";
  const std::string bracket = "\xA1\x5D";
  const TIniFile ini = Parse("[" + gong + bracket +
                                 "]\n\xA6\x4C=print\n\xA6\x6C"
                                 "x=other\n",
                             950);
  ASSERT_EQ(ini.ReadSections().size(), 1u);
  EXPECT_EQ(ini.ReadSections()[0], gong + bracket);
  EXPECT_EQ(ini.ReadString(gong + bracket, "\xA6\x4C", "d"), "print");
  EXPECT_EQ(ini.ReadString(gong + bracket, "\xA6\x6C", "d"), "d");
}

// The reference answer: the first EqualsNoCase match, scanning in file order.
std::string LinearRead(const TIniFile& ini, const std::string& section, const std::string& key,
                       uint32_t codePage) {
  for (const TIniFile::Section& s : ini.Sections()) {
    if (!EqualsNoCase(s.name, section, codePage)) continue;
    for (const TIniFile::Key& k : s.keys) {
      if (EqualsNoCase(k.name, key, codePage)) return k.value;
    }
    return "default";
  }
  return "default";
}

TEST(IniFileTest, IndexedLookupsAgreeWithAFirstMatchScan) {
  // Big5 A6 4C and A6 6C differ only in a trail byte that looks like 'L'/'l'; "a"/"A"
  // differ in ASCII case; repeated sections and keys must resolve to the first.
  const std::vector<std::string> names = {"a",         "A",   "\xA6\x4C", "\xA6\x6C", "x\xA6\x4C",
                                          "X\xA6\x6C", "mix", "",         "\xA6"};
  std::string text;
  int n = 0;
  for (const std::string& section : names) {
    text += "[" + section + "]\n";
    for (const std::string& key : names) text += key + "=" + std::to_string(n++) + "\n";
  }
  const TIniFile ini = Parse(text, 950);
  for (const std::string& section : names) {
    for (const std::string& key : names) {
      SCOPED_TRACE(section + "/" + key);
      EXPECT_EQ(ini.ReadString(section, key, "default"), LinearRead(ini, section, key, 950));
      // The comparison without copies is the comparison of the folded copies.
      EXPECT_EQ(EqualsNoCase(section, key, 950), AsciiUpper(section, 950) == AsciiUpper(key, 950));
    }
  }
  EXPECT_EQ(ini.ReadString("\xA6\x6C", "\xA6\x6C", ""), "30");  // not folded into A6 4C
  EXPECT_EQ(ini.ReadString("A", "A", ""), "0");                 // first section, first key
}

TEST(IniFileTest, Utf16FileWithBomIsReadInTheAnsiCodePage) {
  sim::SimWindows win;
  win.SetLanguage(0x0804);
  // "[s]\r\nname=打印\r\n" in UTF-16LE with its BOM.
  const std::u16string text = u"[s]\r\nname=\u6253\u5370\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  win.files.AddFile("u.ini", bytes);
  auto ini = TIniFile::Load("u.ini");
  ASSERT_TRUE(ini);
  EXPECT_EQ(ini->ReadString("s", "name", ""), "\xB4\xF2\xD3\xA1");
}

TEST(IniFileTest, Utf8WithBomIsReadInTheAnsiCodePageBadBytesAsReplacements) {
  sim::SimWindows win;
  // é, then a lone continuation byte, an overlong '/', a cut sequence and U+1F600:
  // every one that is no character (and the emoji, outside 1252) reads as '?'.
  const TIniFile ini =
      Parse("\xEF\xBB\xBF[s]\r\nk=\xC3\xA9\x80\xC0\xAF\xF0\x9F\x98\x80\xE6\x89\r\n");
  EXPECT_EQ(ini.ReadString("s", "k", ""), "\xE9?????");
}

}  // namespace
}  // namespace pinst
