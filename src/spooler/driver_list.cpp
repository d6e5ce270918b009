#include "spooler/driver_list.h"

#include <algorithm>
#include <vector>

#include "base/ansi_text.h"
#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "spooler/sized_call.h"
#include "sys/win_version.h"

namespace pinst {

std::optional<std::string> NativeDriverEnvironment() {
  if (IsWow64()) return std::string("Windows x64");
  return std::nullopt;
}

std::optional<bool> DriverInstalled(const std::string& driverName) {
  const std::optional<std::string> environment = NativeDriverEnvironment();
  std::vector<std::string> names;
  const bool read = CallWithNeededSize([&](uint32_t size, uint32_t& needed) {
    return Os().spooler->EnumPrinterDriversA(environment, size, names, needed);
  });
  if (!read) return std::nullopt;
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
    return EqualsNoCase(name, driverName, codePage);
  });
}

}  // namespace pinst
