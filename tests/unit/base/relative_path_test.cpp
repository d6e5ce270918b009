#include <gtest/gtest.h>

#include "base/win_path.h"

namespace pinst {
namespace {

TEST(RelativePathTest, BelowTheFolderAndInASiblingFolder) {
  EXPECT_EQ(RelativePath("C:\\dist\\X64\\", "C:\\dist\\X64\\inst2k64.dll", 1252), "inst2k64.dll");
  EXPECT_EQ(RelativePath("C:\\dist\\X64\\", "C:\\dist\\i386\\XP100.inf", 1252),
            "..\\i386\\XP100.inf");
  EXPECT_EQ(RelativePath("C:\\dist\\X64\\", "C:\\dist\\X64\\sub\\a.dll", 1252), "sub\\a.dll");
  // The folder may come without its trailing backslash.
  EXPECT_EQ(RelativePath("C:\\dist\\X64", "C:\\dist\\a.inf", 1252), "..\\a.inf");
}

TEST(RelativePathTest, ClimbsAsFarAsNeededUpToTheRoot) {
  EXPECT_EQ(RelativePath("C:\\a\\b\\c\\", "C:\\a\\x\\y.inf", 1252), "..\\..\\x\\y.inf");
  EXPECT_EQ(RelativePath("C:\\a\\b\\", "C:\\z.inf", 1252), "..\\..\\z.inf");
  EXPECT_EQ(RelativePath("C:\\", "C:\\a\\b.inf", 1252), "a\\b.inf");
  EXPECT_EQ(RelativePath("C:\\a\\b\\", "C:\\a", 1252), "..");
  EXPECT_EQ(RelativePath("C:\\a\\", "C:\\a\\", 1252), ".");
  EXPECT_EQ(RelativePath("C:\\a\\", "C:\\a\\b\\", 1252), "b\\");
}

TEST(RelativePathTest, NamesAndDrivesCompareWithoutRegardToCase) {
  EXPECT_EQ(RelativePath("c:\\DIST\\x64\\", "C:\\dist\\X64\\Inst2k64.dll", 1252), "Inst2k64.dll");
  // A folder that only shares a prefix of its name is not common.
  EXPECT_EQ(RelativePath("C:\\dist\\X64\\", "C:\\dist\\X640\\a.dll", 1252), "..\\X640\\a.dll");
}

TEST(RelativePathTest, AnotherDriveOrShareStaysAbsolute) {
  EXPECT_EQ(RelativePath("C:\\dist\\X64\\", "D:\\drivers\\XP100.inf", 1252),
            "D:\\drivers\\XP100.inf");
  EXPECT_EQ(RelativePath("C:\\dist\\", "\\\\srv\\share\\a.inf", 1252), "\\\\srv\\share\\a.inf");
  EXPECT_EQ(RelativePath("\\\\srv\\share\\dist\\X64\\", "\\\\SRV\\Share\\dist\\i386\\a.inf", 1252),
            "..\\i386\\a.inf");
  EXPECT_EQ(RelativePath("\\\\srv\\share\\dist\\", "\\\\srv\\other\\dist\\a.inf", 1252),
            "\\\\srv\\other\\dist\\a.inf");
  EXPECT_EQ(RelativePath("C:\\dist\\", "i386\\a.inf", 1252), "i386\\a.inf");
}

TEST(RelativePathTest, DoubleByteNamesAreComparedWhole) {
  // 功 (A5 5C in Big5) ends in a byte that looks like a backslash.
  const std::string gong = "\xA5\x5C";
  EXPECT_EQ(RelativePath("C:\\" + gong + "\\X64\\", "C:\\" + gong + "\\i386\\a.inf", 950),
            "..\\i386\\a.inf");
  // 印 A6 4C and 奸 A6 6C are different folders, though their trail bytes differ only in case.
  EXPECT_EQ(RelativePath("C:\\\xA6\x4C\\", "C:\\\xA6\x6C\\a.inf", 950), "..\\\xA6\x6C\\a.inf");
}

}  // namespace
}  // namespace pinst
