#include "platform/win32/win32_devices.h"

#include <windows.h>
// setupapi.h after windows.h.
#include <setupapi.h>

#include <vector>

#include "platform/win32/handles.h"

namespace pinst::win32 {

namespace {

struct DevInfoTraits {
  using Handle = HDEVINFO;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::SetupDiDestroyDeviceInfoList(h); }
};
using ScopedDevInfo = Scoped<DevInfoTraits>;

struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return static_cast<HKEY>(INVALID_HANDLE_VALUE); }
  static bool IsValid(Handle h) {
    return h != nullptr && h != static_cast<HKEY>(INVALID_HANDLE_VALUE);
  }
  static void Close(Handle h) { ::RegCloseKey(h); }
};
using ScopedRegKey = Scoped<RegKeyTraits>;

// The USB printer interface the USB print class driver registers for each printer.
const GUID kUsbPrintInterface = {
    0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};

// A call that failed without setting a code still fails: ERROR_GEN_FAILURE.
uint32_t FailureCode() {
  const DWORD error = ::GetLastError();
  return error != 0 ? error : ERROR_GEN_FAILURE;
}

bool InstanceId(HDEVINFO set, SP_DEVINFO_DATA& data, std::string& id) {
  std::vector<char> buffer(201);  // MAX_DEVICE_ID_LEN (200) and its zero
  DWORD needed = 0;
  if (!::SetupDiGetDeviceInstanceIdA(set, &data, buffer.data(), static_cast<DWORD>(buffer.size()),
                                     &needed)) {
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    buffer.resize(needed + 1);
    if (!::SetupDiGetDeviceInstanceIdA(set, &data, buffer.data(), static_cast<DWORD>(buffer.size()),
                                       &needed)) {
      return false;
    }
  }
  id = buffer.data();
  return true;
}

// A REG_MULTI_SZ device property as its strings; none when the device has none.
std::vector<std::string> MultiSzProperty(HDEVINFO set, SP_DEVINFO_DATA& data, DWORD property) {
  std::vector<BYTE> buffer(512);
  DWORD type = 0, needed = 0;
  while (!::SetupDiGetDeviceRegistryPropertyA(set, &data, property, &type, buffer.data(),
                                              static_cast<DWORD>(buffer.size()), &needed)) {
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size()) return {};
    buffer.resize(needed);
  }
  std::vector<std::string> list;
  if (type != REG_MULTI_SZ && type != REG_SZ) return list;
  buffer.push_back(0);
  buffer.push_back(0);
  const char* p = reinterpret_cast<const char*>(buffer.data());
  const char* end = p + needed;
  while (p < end && *p) {
    list.emplace_back(p);
    p += list.back().size() + 1;
  }
  return list;
}

}  // namespace

uint32_t Win32Devices::PresentDevices(std::vector<PresentDevice>& devices) {
  devices.clear();
  ScopedDevInfo set(
      ::SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
  if (!set) return FailureCode();
  for (DWORD i = 0;; ++i) {
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof data;
    if (!::SetupDiEnumDeviceInfo(set.Get(), i, &data)) {
      const DWORD error = ::GetLastError();
      return error == ERROR_NO_MORE_ITEMS ? 0 : error;
    }
    PresentDevice device;
    if (!InstanceId(set.Get(), data, device.instanceId)) continue;
    device.hardwareIds = MultiSzProperty(set.Get(), data, SPDRP_HARDWAREID);
    device.compatibleIds = MultiSzProperty(set.Get(), data, SPDRP_COMPATIBLEIDS);
    devices.push_back(std::move(device));
  }
}

std::string Win32Devices::UsbPrinterPort(const std::string& instanceId) {
  ScopedDevInfo set(::SetupDiGetClassDevsA(&kUsbPrintInterface, nullptr, nullptr,
                                           DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  if (!set) return "";
  for (DWORD i = 0;; ++i) {
    SP_DEVICE_INTERFACE_DATA iface{};
    iface.cbSize = sizeof iface;
    if (!::SetupDiEnumDeviceInterfaces(set.Get(), nullptr, &kUsbPrintInterface, i, &iface)) {
      return "";
    }
    DWORD needed = 0;
    ::SetupDiGetDeviceInterfaceDetailA(set.Get(), &iface, nullptr, 0, &needed, nullptr);
    if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) continue;
    std::vector<BYTE> buffer(needed);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof data;
    if (!::SetupDiGetDeviceInterfaceDetailA(set.Get(), &iface, detail, needed, nullptr, &data)) {
      continue;
    }
    std::string id;
    if (!InstanceId(set.Get(), data, id) || ::lstrcmpiA(id.c_str(), instanceId.c_str()) != 0) {
      continue;
    }
    // The print class driver keeps the port's base name and number with the interface.
    ScopedRegKey key(::SetupDiOpenDeviceInterfaceRegKey(set.Get(), &iface, 0, KEY_READ));
    if (!key) return "";
    DWORD number = 0, size = sizeof number, type = 0;
    if (::RegQueryValueExA(key.Get(), "Port Number", nullptr, &type,
                           reinterpret_cast<BYTE*>(&number), &size) != ERROR_SUCCESS ||
        type != REG_DWORD) {
      return "";
    }
    char base[64] = "USB";
    size = sizeof base - 1;
    if (::RegQueryValueExA(key.Get(), "Base Name", nullptr, &type, reinterpret_cast<BYTE*>(base),
                           &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
      ::lstrcpyA(base, "USB");
    }
    base[sizeof base - 1] = '\0';
    char port[96];
    ::wsprintfA(port, "%s%03u", base, static_cast<unsigned>(number));
    return port;
  }
}

uint32_t Win32Devices::CopyOemInf(const std::string& infPath, std::string& destination) {
  destination.clear();
  char staged[MAX_PATH] = {};
  DWORD needed = 0;
  if (!::SetupCopyOEMInfA(infPath.c_str(), nullptr, SPOST_PATH, 0, staged, MAX_PATH, &needed,
                          nullptr)) {
    return FailureCode();
  }
  destination = staged;
  return 0;
}

uint32_t Win32Devices::UpdateDriverForDevices(uintptr_t owner, const std::string& hardwareId,
                                              const std::string& infPath, uint32_t flags,
                                              bool& reboot) {
  reboot = false;
  using UpdateFn = BOOL(WINAPI*)(HWND, LPCSTR, LPCSTR, DWORD, PBOOL);
  ScopedLibrary newdev(::LoadLibraryA("newdev.dll"));
  if (!newdev) return ::GetLastError();
  auto update = reinterpret_cast<UpdateFn>(reinterpret_cast<void*>(
      ::GetProcAddress(newdev.Get(), "UpdateDriverForPlugAndPlayDevicesA")));
  if (!update) return ::GetLastError();
  BOOL restart = FALSE;
  if (!update(reinterpret_cast<HWND>(owner), hardwareId.c_str(), infPath.c_str(), flags,
              &restart)) {
    return FailureCode();
  }
  reboot = restart != FALSE;
  return 0;
}

}  // namespace pinst::win32
