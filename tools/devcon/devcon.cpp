// Test version of the device console (devcon.exe). It knows two commands:
//   devcon rescan            pretends to re-enumerate the hardware
//   devcon status PATTERN    lists the devices whose instance id matches PATTERN
//                            ('*' and '?' wildcards, letter case ignored)
// Its devices come from devcon.ini beside it, one section per device:
//   [Device1]
//   InstanceId=LPTENUM\TESSALYXP-1009A2B\1&7D5A0F&0&LPT1.4
//   Name=Tessaly XP-100
//   Status=Driver is running.       (optional; this is the default)
// A rescan that never returns, for the installer's time limit:
//   [Rescan]
//   Hang=1
// Every command is appended to devcon.log beside it.
// Exit codes: 0 done, 3 a command it does not know.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/tool_support.h"

// Patterns such as *LPTENUM\* must reach main() as typed, not expanded against files.
extern "C" {
int _dowildcard = 0;
}

namespace {

using namespace pinst::tools;

struct Device {
  std::string instanceId;
  std::string name;
  std::string status;
};

std::vector<Device> ReadDevices(const std::string& iniPath) {
  std::vector<Device> devices;
  for (int n = 1;; ++n) {
    const std::string section = "Device" + std::to_string(n);
    if (IniKeys(iniPath, section).empty()) break;
    devices.push_back({IniString(iniPath, section, "InstanceId"),
                       IniString(iniPath, section, "Name"),
                       IniString(iniPath, section, "Status", "Driver is running.")});
  }
  return devices;
}

int Status(const std::string& pattern, const std::vector<Device>& devices) {
  int matched = 0;
  for (const Device& device : devices) {
    if (!WildcardMatch(pattern, device.instanceId)) continue;
    ++matched;
    std::printf("%s\n", device.instanceId.c_str());
    if (!device.name.empty()) std::printf("    Name: %s\n", device.name.c_str());
    std::printf("    %s\n", device.status.c_str());
  }
  if (matched == 0) {
    std::printf("No matching devices found.\n");
  } else {
    std::printf("%d matching device(s) found.\n", matched);
  }
  return 0;
}

int Usage() {
  std::printf("Test device console: devcon rescan | devcon status PATTERN\n");
  return 3;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = ModuleFolder(nullptr);
  std::string line;
  for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + std::string(argv[i]);
  AppendLine(folder + "devcon.log", line);

  if (argc == 2 && EqualsNoCase(argv[1], "rescan")) {
    if (IniString(folder + "devcon.ini", "Rescan", "Hang") == "1") ::Sleep(INFINITE);
    std::printf("Scanning for new hardware.\nScanning completed.\n");
    return 0;
  }
  if (argc == 3 && EqualsNoCase(argv[1], "status")) {
    return Status(argv[2], ReadDevices(folder + "devcon.ini"));
  }
  return Usage();
}
