// Windows protected print mode on the real win32 layer: the runtime class looked up
// in combase, and the policy value read in the 64-bit view.
#include <gtest/gtest.h>

#include "platform/registry.h"
#include "platform/system.h"
#include "platform/win32/win32_platform.h"
#include "sys/protected_print.h"

namespace pinst {
namespace {

const char kKey[] = "Software\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";

class ProtectedPrintTest : public ::testing::Test {
 protected:
  void TearDown() override { Os().registry->DeleteKey(RegistryView::k64, kKey); }
  win32::Win32Platform platform_;
};

// Wine's runtime has no WindowsProtectedPrintInfo: the lookup answers "not offered"
// and the calls it made are undone without a crash.
TEST_F(ProtectedPrintTest, RuntimeWithoutTheClassGivesNoAnswer) {
  EXPECT_FALSE(Os().system->IsProtectedPrintEnabled().has_value());
  EXPECT_FALSE(Os().system->IsProtectedPrintEnabled().has_value());
}

TEST_F(ProtectedPrintTest, PolicyValueInThe64BitViewTurnsItOn) {
  EXPECT_FALSE(DetectProtectedPrint().on);
  ASSERT_EQ(0u, Os().registry->WriteDword(RegistryView::k64, kKey,
                                          "WindowsProtectedPrintGroupPolicyState", 1));
  const TProtectedPrint found = DetectProtectedPrint();
  EXPECT_TRUE(found.on);
  EXPECT_NE(found.saidBy.find("WindowsProtectedPrintGroupPolicyState = 1"), std::string::npos);
}

}  // namespace
}  // namespace pinst
