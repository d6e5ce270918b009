#include "removal/default_printer.h"

#include <algorithm>

#include "base/ansi_text.h"
#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "removal/hex_code.h"
#include "spooler/dyn_spooler.h"
#include "spooler/printer_list.h"
#include "spooler/printer_ops.h"
#include "sys/run_log.h"

namespace pinst {

void RepairDefaultPrinter(bool returnNew, std::string& newDefault) {
  newDefault.clear();

  std::string current;
  if (!DynGetDefaultPrinter(current)) {
    const uint32_t error = Os().spooler->GetLastError();
    if (error != kErrorFileNotFound) {  // anything but "no default printer set"
      DebugLine("GetDefaultPrinter Fail, Error Code :0x" + HexCode8(error));
      return;
    }
    current.clear();
  }

  // Full names: a listed "Laser" may stand for "Laser on desk", which is the name the
  // spooler knows.
  const StringList names = SystemPrinterNames();
  if (names.empty()) return;
  // A default that is a printer connection is not a local printer, yet it exists.
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  const bool listed = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
    return EqualsNoCase(name, current, codePage);
  });
  if (!current.empty() && (listed || PrinterExists(current))) return;

  const std::string& candidate = names.front();
  if (DynSetDefaultPrinter(candidate) && returnNew) newDefault = candidate;
}

}  // namespace pinst
