#include "scripted_inst2k/inst2k_config.h"

#include "common/tool_support.h"

namespace pinst::tools {

Inst2kConfig ReadInst2kConfig(const std::string& iniPath) {
  Inst2kConfig config;
  for (int n = 1;; ++n) {
    const std::string section = "Device" + std::to_string(n);
    if (IniKeys(iniPath, section).empty()) break;
    config.devices.push_back({IniString(iniPath, section, "HardwareId"),
                              IniString(iniPath, section, "DeviceId"),
                              IniString(iniPath, section, "PortText")});
  }
  config.fixedResult = ParseInt32(IniString(iniPath, "Install", "Result"));
  config.fixedErrorCode = ParseUInt32(IniString(iniPath, "Install", "ErrorCode")).value_or(0);
  return config;
}

const FakeDevice* FindDevice(const Inst2kConfig& config, const std::string& hardwareId) {
  if (hardwareId.empty()) return nullptr;
  for (const FakeDevice& device : config.devices) {
    if (EqualsNoCase(device.hardwareId, hardwareId)) return &device;
  }
  return nullptr;
}

}  // namespace pinst::tools
