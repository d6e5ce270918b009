// The part of the test installer library that touches the system: the model named
// by the INF, and a printer of that name added through the spooler.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pinst::tools {

// SetupAPI codes for an INF that lacks what is looked for.
inline constexpr uint32_t kErrorSectionNotFound = 0xE0000101;
inline constexpr uint32_t kErrorLineNotFound = 0xE0000102;

struct InfModel {
  std::string name;            // first key of the models section, quotes removed
  std::string installSection;  // the model line's value up to its first comma
};

// The models section is the one [Strings] ProviderName names or, where that names
// none, the one [Manufacturer]'s first entry names for this library's machine and the
// running Windows version. 0 or an error code.
uint32_t ReadInfModel(const std::string& infPath, InfModel& model);

struct PrinterSetup {
  uint32_t error = 0;              // 0 or the spooler's error code
  std::string port;                // the port the printer was put on
  std::vector<std::string> notes;  // what was done differently from what was asked
};

// Adds the model's driver when the spooler lacks it, then a printer of the model's name
// on port ("LPT1:" when that port does not exist). An existing printer is left as it is.
PrinterSetup InstallPrinter(const std::string& infPath, const InfModel& model,
                            const std::string& port);

}  // namespace pinst::tools
