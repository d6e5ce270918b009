#include "library/device_search.h"

#include <vector>

#include "base/ansi_text.h"
#include "platform/devices.h"
#include "platform/platform.h"
#include "platform/system.h"

namespace pinst {

namespace {

uint32_t CodePage() { return Os().system->GetAnsiCodePage(); }

bool StartsWithNoCase(const std::string& text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsNoCase(std::string_view(text).substr(0, prefix.size()), prefix, CodePage());
}

}  // namespace

std::string StripOfflinePrefix(const std::string& hardwareId, bool* offline) {
  for (std::string_view prefix : {"LPTOFFLINE\\", "SERENUM\\"}) {
    if (StartsWithNoCase(hardwareId, prefix)) {
      if (offline) *offline = true;
      return hardwareId.substr(prefix.size());
    }
  }
  if (offline) *offline = false;
  return hardwareId;
}

bool DeviceIdMatches(const std::string& ownId, const std::string& id) {
  if (id.empty() || ownId.size() < id.size()) return false;
  const std::string_view tail = std::string_view(ownId).substr(ownId.size() - id.size());
  if (!EqualsNoCase(tail, id, CodePage())) return false;
  if (ownId.size() == id.size()) return true;
  // A backslash before the tail is a real one only when it does not end a
  // double-byte character.
  const std::string_view head = std::string_view(ownId).substr(0, ownId.size() - id.size());
  size_t pos = 0;
  while (pos + CharLength(head, pos, CodePage()) < head.size())
    pos += CharLength(head, pos, CodePage());
  return pos == head.size() - 1 && head[pos] == '\\';
}

std::optional<TFoundDevice> FindPresentDevice(const std::string& id, uint32_t& error) {
  error = 0;
  if (id.empty()) return std::nullopt;
  std::vector<PresentDevice> devices;
  error = Os().devices->PresentDevices(devices);
  if (error != 0) return std::nullopt;
  for (const PresentDevice& device : devices) {
    for (const auto* ids : {&device.hardwareIds, &device.compatibleIds}) {
      for (const std::string& own : *ids) {
        if (!DeviceIdMatches(own, id)) continue;
        TFoundDevice found{device.instanceId, own, ""};
        if (StartsWithNoCase(device.instanceId, "USBPRINT\\")) {
          found.portText = Os().devices->UsbPrinterPort(device.instanceId);
        }
        return found;
      }
    }
  }
  return std::nullopt;
}

}  // namespace pinst
