// What the test installer library pretends the system holds, read afresh from
// inst2k.ini beside the library on every call so a test can change it between calls:
//
//   [Device1]                         one section per present device: Device1, Device2, ...
//   HardwareId=TessalyXP-1009A2B      matched without regard to case
//   DeviceId=USBPRINT\TESSALYXP-1009A2B\7&1F2E&0&USB003
//   PortText=Virtual printer port for USB003
//
//   [Install]                         optional: a fixed outcome for FuncInst2K
//   Result=2                          returned at once, nothing is installed
//   ErrorCode=0xE000022F              what LastInstallErrorCode then reports (default 0)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pinst::tools {

struct FakeDevice {
  std::string hardwareId;
  std::string deviceId;
  std::string portText;
};

struct Inst2kConfig {
  std::vector<FakeDevice> devices;
  std::optional<int32_t> fixedResult;
  uint32_t fixedErrorCode = 0;
};

Inst2kConfig ReadInst2kConfig(const std::string& iniPath);

// The configured device with this hardware id, or nullptr.
const FakeDevice* FindDevice(const Inst2kConfig& config, const std::string& hardwareId);

}  // namespace pinst::tools
