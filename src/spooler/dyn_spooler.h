// Spooler functions looked up by name in winspool.drv when called; each answers
// false when the function is missing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pinst {

// Characters of the buffer the default printer's name is read into.
constexpr uint32_t kDefaultPrinterBufferChars = 260;

// DeletePrinterDriverExA; no server name or environment is passed as a null pointer.
bool DynDeletePrinterDriverEx(const std::optional<std::string>& serverName,
                              const std::optional<std::string>& environment,
                              const std::string& driverName, uint32_t deleteFlag,
                              uint32_t versionFlag);

// GetDefaultPrinterA; printerName is empty unless it succeeded.
bool DynGetDefaultPrinter(std::string& printerName);

bool DynSetDefaultPrinter(const std::string& printerName);

}  // namespace pinst
