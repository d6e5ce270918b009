// The library's device search, through FuncFindExistDevice as the installer calls it:
// which present device an id names, and what the two buffers then hold.
#include <gtest/gtest.h>

#include <cstring>

#include "library/library_exports.h"
#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

struct Case {
  const char* label;
  const char* id;
  bool found;
  const char* deviceId;  // expected instance id
  const char* portText;
};

// clang-format off
const Case kCases[] = {
  {"bare hardware id of a USB printer", "TessalyXP-1009A2B", true,
   "USBPRINT\\TESSALYXP-1009A2B\\7&1F2E&0&USB003", "USB003"},
  {"prefixed hardware id asked for whole", "USBPRINT\\TessalyXP-1009A2B", true,
   "USBPRINT\\TESSALYXP-1009A2B\\7&1F2E&0&USB003", "USB003"},
  {"case does not matter", "tessalyxp-1009a2b", true,
   "USBPRINT\\TESSALYXP-1009A2B\\7&1F2E&0&USB003", "USB003"},
  {"compatible id of a parallel printer: no USB port", "Tessaly_Generic", true,
   "LPTENUM\\TESSALYTP-58\\1&08&0&LPT1.4", ""},
  {"parallel printer by its hardware id", "TessalyTP-58", true,
   "LPTENUM\\TESSALYTP-58\\1&08&0&LPT1.4", ""},
  {"a part of an id is no match", "1009A2B", false, "", ""},
  {"an id that only starts the same is no match", "TessalyXP-1009", false, "", ""},
  {"an empty id matches nothing", "", false, "", ""},
  {"an id no device has", "TessalyLX-80", false, "", ""},
};
// clang-format on

class DeviceSearch : public ::testing::TestWithParam<Case> {};

TEST_P(DeviceSearch, FillsBothBuffersOrNeither) {
  const Case& c = GetParam();
  sim::SimWindows os;
  os.devices.AddDevice("USBPRINT\\TESSALYXP-1009A2B\\7&1F2E&0&USB003",
                       {"USBPRINT\\TessalyXP-1009A2B", "TessalyXP-1009A2B"}, {"USBPRINT\\Tessaly"},
                       "USB003");
  os.devices.AddDevice("LPTENUM\\TESSALYTP-58\\1&08&0&LPT1.4", {"LPTENUM\\TessalyTP-58"},
                       {"Tessaly_Generic"});
  char deviceId[260], portText[260];
  std::memset(deviceId, 'x', sizeof deviceId);
  std::memset(portText, 'x', sizeof portText);
  EXPECT_EQ(LibraryFuncFindExistDevice(c.id, deviceId, portText), c.found ? 1u : 0u) << c.label;
  EXPECT_STREQ(deviceId, c.deviceId) << c.label;
  EXPECT_STREQ(portText, c.portText) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Library, DeviceSearch, ::testing::ValuesIn(kCases));

TEST(DeviceSearchFailures, NoDeviceListAndLongIdsLeaveBuffersTerminated) {
  sim::SimWindows os;
  os.devices.AddDevice(std::string(300, 'A'), {"X"});
  char deviceId[260] = {}, portText[260] = {};
  EXPECT_EQ(LibraryFuncFindExistDevice("X", deviceId, portText), 1u);
  EXPECT_EQ(std::strlen(deviceId), 259u);
  os.devices.failEnum = 13;
  EXPECT_EQ(LibraryFuncFindExistDevice("X", deviceId, portText), 0u);
  EXPECT_STREQ(deviceId, "");
  EXPECT_EQ(LibraryFuncFindExistDevice(nullptr, nullptr, nullptr), 0u);
}

}  // namespace
}  // namespace pinst
