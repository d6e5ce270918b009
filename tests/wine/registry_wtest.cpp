// The registry door against Wine's registry: each view written and read apart,
// types kept, a key removed whole, and codes for what is not there.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/registry.h"
#include "platform/win32/win32_platform.h"

namespace pinst {
namespace {

const char kKey[] = "Software\\PinstRegistryTest\\Entry";

bool HasViews() {
  BOOL wow64 = FALSE;
  return sizeof(void*) == 8 || (::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64);
}

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (RegistryView view : {RegistryView::k64, RegistryView::k32}) Reg().DeleteKey(view, kKey);
  }
  void TearDown() override { SetUp(); }
  IRegistry& Reg() { return *Os().registry; }
  win32::Win32Platform platform_;
};

TEST_F(RegistryTest, ValuesWrittenInOneViewAreReadThereAndNotInTheOther) {
  ASSERT_EQ(0u, Reg().WriteDword(RegistryView::k64, kKey, "Mode", 1));
  ASSERT_EQ(0u, Reg().WriteString(RegistryView::k64, kKey, "DisplayName", "Tessaly TP-58"));
  uint32_t mode = 0;
  std::string name;
  EXPECT_EQ(0u, Reg().ReadDword(RegistryView::k64, kKey, "mode", mode));
  EXPECT_EQ(1u, mode);
  EXPECT_EQ(0u, Reg().ReadString(RegistryView::k64, kKey, "DisplayName", name));
  EXPECT_EQ("Tessaly TP-58", name);
  // A string is no number, and a number no string.
  EXPECT_EQ(1630u, Reg().ReadDword(RegistryView::k64, kKey, "DisplayName", mode));
  EXPECT_EQ(1630u, Reg().ReadString(RegistryView::k64, kKey, "Mode", name));
  EXPECT_EQ(2u, Reg().ReadDword(RegistryView::k64, kKey, "Other", mode));
  // Software is redirected for WOW64 programs: the 32-bit view has its own copy.
  // 32-bit Windows has one view, which both names reach.
  EXPECT_EQ(HasViews() ? 2u : 0u, Reg().ReadDword(RegistryView::k32, kKey, "Mode", mode));
}

TEST_F(RegistryTest, DeletedKeyIsGoneWithItsValues) {
  ASSERT_EQ(0u, Reg().WriteDword(RegistryView::k64, kKey, "Mode", 7));
  EXPECT_EQ(0u, Reg().DeleteKey(RegistryView::k64, kKey));
  uint32_t mode = 0;
  EXPECT_EQ(2u, Reg().ReadDword(RegistryView::k64, kKey, "Mode", mode));
  EXPECT_EQ(2u, Reg().DeleteKey(RegistryView::k64, kKey));
}

}  // namespace
}  // namespace pinst
