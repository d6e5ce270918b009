#include "base/win_path.h"

#include <gtest/gtest.h>

#include "base/ansi_text.h"

namespace pinst {
namespace {

TEST(AbsolutePathTest, RelativeDriveRootedAndDotted) {
  EXPECT_EQ(AbsolutePath("C:\\dist", "install.ini", 1252), "C:\\dist\\install.ini");
  EXPECT_EQ(AbsolutePath("C:\\dist", ".\\i386\\..\\X64\\a.dll", 1252), "C:\\dist\\X64\\a.dll");
  EXPECT_EQ(AbsolutePath("C:\\dist", "..\\..\\..\\x", 1252), "C:\\x");
  EXPECT_EQ(AbsolutePath("C:\\dist", "\\Windows", 1252), "C:\\Windows");
  EXPECT_EQ(AbsolutePath("C:\\dist", "D:\\a/b", 1252), "D:\\a\\b");
  EXPECT_EQ(AbsolutePath("C:\\dist", "c:sub", 1252), "c:\\dist\\sub");
  EXPECT_EQ(AbsolutePath("C:\\dist", "E:x", 1252), "E:\\x");
  EXPECT_EQ(AbsolutePath("C:\\dist", "X64\\", 1252), "C:\\dist\\X64\\");
  EXPECT_EQ(AbsolutePath("C:\\", ".", 1252), "C:\\");
}

TEST(AbsolutePathTest, Big5TrailByteThatLooksLikeABackslashIsNotASeparator) {
  // 功 is A5 5C in Big5.
  const std::string gong = "\xA5\x5C";
  EXPECT_EQ(AbsolutePath("C:\\dist", gong + "\\a.inf", 950), "C:\\dist\\" + gong + "\\a.inf");
  EXPECT_EQ(FileNameOf("C:\\" + gong, 950), gong);
  EXPECT_EQ(FolderOf("C:\\x\\" + gong, 950), "C:\\x\\");
  // Read as a single-byte code page the same bytes do split.
  EXPECT_EQ(FileNameOf("C:\\" + gong, 1252), "");
}

TEST(AnsiTextTest, CaseFoldingLeavesTrailBytesAlone) {
  // 印 A6 4C and 奸 A6 6C differ only in a trail byte that looks like L / l.
  EXPECT_FALSE(EqualsNoCase("\xA6\x4C", "\xA6\x6C", 950));
  EXPECT_TRUE(EqualsNoCase("abc\xA6\x4C", "ABC\xA6\x4C", 950));
  EXPECT_EQ(AsciiUpper("a\xA6\x6C"
                       "b",
                       950),
            "A\xA6\x6C"
            "B");
  EXPECT_EQ(FindSingleByte("\xA5\x5C\\", '\\', 950), 2u);
  EXPECT_EQ(TrimControls(" \t x y \r\n"), "x y");
}

}  // namespace
}  // namespace pinst
