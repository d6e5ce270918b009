// The present device a hardware id names: one of its hardware or compatible ids is
// the id, or ends with a backslash and the id (USB and parallel printers list
// "USBPRINT\X" and the bare "X"), compared without regard to case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pinst {

struct TFoundDevice {
  std::string instanceId;  // the device's instance id
  std::string matchedId;   // its own id that matched, as the device lists it
  std::string portText;    // a USB printer's port ("USB001"); empty otherwise
};

// The id without an offline enumerator ("LPTOFFLINE\", "SERENUM\"); offline says
// whether one was there.
std::string StripOfflinePrefix(const std::string& hardwareId, bool* offline = nullptr);

// True when ownId names the device of id.
bool DeviceIdMatches(const std::string& ownId, const std::string& id);

// The first present device for the id; nothing for an empty id, none present, or a
// device list that cannot be read (error then holds its code, else 0).
std::optional<TFoundDevice> FindPresentDevice(const std::string& id, uint32_t& error);

}  // namespace pinst
