#include "spooler/driver_list.h"

#include <algorithm>
#include <vector>

#include "base/ansi_text.h"
#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "spooler/sized_call.h"

namespace pinst {

std::optional<bool> DriverInstalled(const std::string& driverName) {
  std::vector<std::string> names;
  const bool read = CallWithNeededSize([&](uint32_t size, uint32_t& needed) {
    return Os().spooler->EnumPrinterDriversA(size, names, needed);
  });
  if (!read) return std::nullopt;
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
    return EqualsNoCase(name, driverName, codePage);
  });
}

}  // namespace pinst
