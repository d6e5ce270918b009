#include "sys/protected_print.h"

#include <optional>

#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "sys/run_log.h"

namespace pinst {

namespace {

constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorUnsupportedType = 1630;

const char kWppKey[] = "Software\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";

std::string ValueName(const char* name) { return std::string("HKLM\\") + kWppKey + " " + name; }

// True when the value is there and 1. Windows enforces the mode itself, so a value
// this program cannot read only leaves the install to meet Windows' refusal: it is
// logged and not taken as on, which would refuse installs Windows allows.
bool ValueIsOn(IRegistry& registry, const char* name) {
  uint32_t value = 0;
  const uint32_t error = registry.ReadDword(RegistryView::k64, kWppKey, name, value);
  if (error == 0) return value == 1;
  if (error == kErrorUnsupportedType) {
    LogLine("Windows protected print mode: " + ValueName(name) + " is no REG_DWORD: taken as off",
            TLogKind::kWarning);
  } else if (error != kErrorFileNotFound) {
    LogLine("Windows protected print mode: " + ValueName(name) + " cannot be read (error " +
                std::to_string(error) + "): taken as off",
            TLogKind::kWarning);
  }
  return false;
}

}  // namespace

TProtectedPrint DetectProtectedPrint() {
  TProtectedPrint found;
  if (IRegistry* registry = Os().registry) {
    // The administrator's policy first: it overrides the Settings switch.
    for (const char* name :
         {"WindowsProtectedPrintGroupPolicyState", "WindowsProtectedPrintMode"}) {
      if (ValueIsOn(*registry, name)) {
        found.on = true;
        found.saidBy = ValueName(name) + " = 1";
        return found;
      }
    }
  }
  const std::optional<bool> asked = Os().system->IsProtectedPrintEnabled();
  if (asked.value_or(false)) {
    found.on = true;
    found.saidBy = "WindowsProtectedPrintInfo.IsProtectedPrintEnabled = true";
  }
  return found;
}

}  // namespace pinst
