#include "platform/host/host_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace pinst {
namespace {

namespace fs = std::filesystem;

// A real folder read with Windows path rules, as pi-verify reads a distribution.
TEST(HostFilesTest, ReadsTheFolderWithWindowsPathRules) {
  const fs::path root = fs::temp_directory_path() / ("host_files_" + std::to_string(::getpid()));
  fs::create_directories(root / "Disk" / "I386");
  std::ofstream(root / "Disk" / "I386" / "Model.INF") << "inf";
  std::ofstream(root / "outside.txt") << "x";
  HostFiles files(root / "Disk", 1252);

  EXPECT_EQ(files.CurrentDirectory(), "C:\\Disk");
  EXPECT_EQ(files.FullPath("i386\\..\\x.dll"), "C:\\Disk\\x.dll");
  const struct {
    const char* path;
    bool file;
    bool directory;
  } cases[] = {
      {"i386\\model.inf", true, false},
      {"I386/MODEL.inf", true, false},
      {"C:\\DISK\\i386\\Model.INF", true, false},
      {"i386", false, true},
      {"C:\\Disk", false, true},
      {"i386\\none.inf", false, false},
      {"..\\outside.txt", false, false},
      {"C:\\Disk2\\x", false, false},
      {"", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(files.FileExists(c.path), c.file);
    EXPECT_EQ(files.DirectoryExists(c.path), c.directory);
    EXPECT_EQ(files.ReadWholeFile(c.path).has_value(), c.file);
  }
  EXPECT_EQ(files.ReadWholeFile("I386\\MODEL.INF"), "inf");
  EXPECT_FALSE(files.WriteWholeFile("new.txt", "x"));
  EXPECT_FALSE(fs::exists(root / "Disk" / "new.txt"));
  fs::remove_all(root);
}

}  // namespace
}  // namespace pinst
