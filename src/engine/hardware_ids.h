// The hardware id a model's device is known by, read from its driver INF, and the
// device-console rescan that makes Windows look at its hardware again.
#pragma once

#include <string>

namespace pinst {

// Reads the "LPTENUM\" model lines of the INF (its text in the ANSI code page, so a
// UTF-16 INF gives its ids too); an INF without one, a USB-only printer's, gives
// the ids of its "USBPRINT\" lines the same way. Returns how many matching lines
// were counted (0: none, both outputs empty). With two different ids, Windows XP
// and later get the shorter and Windows 2000 the longer; compatibleId is the
// compatible part of the line the chosen id comes from. A missing INF gives 0;
// an INF that exists but cannot be read raises TInstallError (kInfUnreadable).
int ReadInfHardwareIds(const std::string& infPath, std::string& hardwareId,
                       std::string& compatibleId);

// Results of RescanDevices.
enum : int {
  kRescanNoStatus = -1,    // the status query printed nothing
  kRescanNoLptDevice = 0,  // no device on the first parallel port listed
  kRescanLptDevice = 1,    // a device on the first parallel port listed
  kRescanBrandDevice = 2,  // ... and the brand word in the status output
};

// Runs "<devconPath> rescan" and then the parallel-port status query through
// "cmd /C", logging what the status shows.
int RescanDevices(const std::string& devconPath);

}  // namespace pinst
