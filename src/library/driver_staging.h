// Putting a driver read from its INF into the spooler, for the native environment:
// from a driver package where the spooler's package calls exist (Vista and later),
// otherwise from its files copied into the driver directory, with the INF staged so
// Windows finds the driver when the device is plugged in.
#pragma once

#include <cstdint>
#include <string>

#include "library/inf_driver.h"
#include "platform/system.h"

namespace pinst {

class TInstallLog;

// "Windows NT x86", "Windows x64", "Windows ARM64": never the caller's own default,
// which is the 32-bit one for a 32-bit program under WOW64.
std::string NativeEnvironment(NativeMachine machine);

// How the driver was put in.
enum class TStagingPath { kPackage, kFiles };

// 0 or the code of the step that failed; path says which way was taken.
uint32_t StageDriver(const std::string& infPath, const TInfDriver& driver,
                     const std::string& environment, uintptr_t owner, TInstallLog& log,
                     TStagingPath& path);

}  // namespace pinst
