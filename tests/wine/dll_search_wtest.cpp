// The library search without the current directory, on the real loader: a library
// planted in the current directory under a bare name loads before the start-up
// step and not after it, while a library named with its folder still loads from
// the current directory.
#include <gtest/gtest.h>

#include "platform/win32/dll_search.h"
#include "platform/win32/win32_libraries.h"
#include "wine_stage.h"

namespace pinst {
namespace {

bool Loads(const std::string& path) {
  win32::Win32Libraries libraries;
  return libraries.Load(path) != nullptr;  // freed again at once
}

TEST(DllSearch, CurrentDirectoryLeavesTheSearchButFolderPathsStillLoad) {
  wine::Stage stage("dll_search");
  ASSERT_TRUE(stage.Take(wine::ToolsI386() + "inst2k.dll", "planted.dll"));
  ASSERT_TRUE(stage.Take(wine::ToolsI386() + "inst2k.dll", "i386\\inst2k.dll"));
  EXPECT_TRUE(Loads("planted.dll"));  // the loader's default search holds the current directory

  win32::RemoveCurrentDirectoryFromDllSearch();
  EXPECT_FALSE(Loads("planted.dll"));
  EXPECT_TRUE(Loads("i386\\inst2k.dll"));
  EXPECT_TRUE(Loads(".\\planted.dll"));
  EXPECT_TRUE(Loads(stage.Root() + "planted.dll"));
  EXPECT_TRUE(Loads("kernel32.dll"));  // the system folder is still searched
}

}  // namespace
}  // namespace pinst
