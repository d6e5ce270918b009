// Makes a present device for the end-to-end scripts: a root-enumerated printer node
// with the given hardware ids, as a plugged-in printer would be listed.
//   device_probe add ID...     prints "device INSTANCE-ID"; exit code 0, or 1
#include <windows.h>
// After windows.h.
#include <setupapi.h>

#include <cstdio>
#include <string>

namespace {

const GUID kPrinterClass = {
    0x4d36e979, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

int Add(int count, char** ids) {
  std::string multi;
  for (int i = 0; i < count; ++i) multi += std::string(ids[i]) + '\0';
  multi += '\0';
  HDEVINFO set = ::SetupDiCreateDeviceInfoList(&kPrinterClass, nullptr);
  if (set == INVALID_HANDLE_VALUE) return 1;
  SP_DEVINFO_DATA data{};
  data.cbSize = sizeof data;
  char id[MAX_PATH] = {};
  const bool made = ::SetupDiCreateDeviceInfoA(set, "PRINTER", &kPrinterClass, nullptr, nullptr,
                                               DICD_GENERATE_ID, &data) &&
                    ::SetupDiSetDeviceRegistryPropertyA(set, &data, SPDRP_HARDWAREID,
                                                        reinterpret_cast<const BYTE*>(multi.data()),
                                                        static_cast<DWORD>(multi.size())) &&
                    ::SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &data) &&
                    ::SetupDiGetDeviceInstanceIdA(set, &data, id, MAX_PATH, nullptr);
  if (!made) std::printf("error %lu\n", ::GetLastError());
  if (made) std::printf("device %s\n", id);
  ::SetupDiDestroyDeviceInfoList(set);
  return made ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "add") return Add(argc - 2, argv + 2);
  std::printf("usage: device_probe add ID...\n");
  return 2;
}
