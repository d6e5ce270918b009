// The codes an install run ends with: the SetupAPI codes the installer library
// and the 64-bit helper report, and the program's exit codes for whoever started
// the automatic install.
#pragma once

#include <cstdint>

namespace pinst {

// ERROR_NO_SUCH_DEVINST: the online install found no device of the model.
constexpr uint32_t kErrorNoSuchDevinst = 0xE000020B;
// ERROR_NO_CATALOG_FOR_OEM_INF, which the library reports for a cancel by the user.
constexpr uint32_t kErrorInstallCancelled = 0xE000022F;
// ERROR_TIMEOUT: a program the run waited on did not end in time.
constexpr uint32_t kErrorTimeout = 1460;
// RPC_S_SERVER_UNAVAILABLE: the print spooler is not running.
constexpr uint32_t kErrorSpoolerUnavailable = 0x6BA;
// A helper that ended without a report and without a failure code of its own.
constexpr uint32_t kErrorHelperEndedSilently = 1603;

// Exit codes, as Windows Installer uses them.
constexpr int kExitInstalled = 0;
constexpr int kExitNothingToInstall = 2;   // hidden, and no model marked for the automatic install
constexpr int kExitCancelled = 1602;       // the user cancelled or declined
constexpr int kExitFailed = 1603;          // any other failure
constexpr int kExitTimedOut = 1460;        // a program the run waited on did not end in time
constexpr int kExitAlreadyRunning = 1618;  // another run is in progress: try again later
// ERROR_INSTALL_PACKAGE_REJECTED: Windows protected print mode allows no maker's driver.
constexpr int kExitPackageRejected = 1625;
// ERROR_INSTALL_PLATFORM_UNSUPPORTED: Windows on ARM, and the INF has no models for it.
constexpr int kExitPlatformUnsupported = 1633;
constexpr int kExitInvalidCommandLine =
    1639;                                  // a mistyped switch, or one beside an unknown argument
constexpr int kExitRestartStarted = 1641;  // installed; the computer is being restarted
constexpr int kExitRestartNeeded = 3010;   // installed; a restart is asked for
// /Check, /Uninstall: nothing of the model installed.
constexpr int kExitUnknownProduct = 1605;

}  // namespace pinst
