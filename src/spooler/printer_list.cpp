#include "spooler/printer_list.h"

#include <vector>

#include "base/ansi_text.h"
#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "spooler/dyn_spooler.h"
#include "spooler/sized_call.h"

namespace pinst {

StringList SystemPrinterNames() {
  std::vector<PrinterInfo4> printers;
  const bool read = CallWithNeededSize([&](uint32_t size, uint32_t& needed) {
    return Os().spooler->EnumPrintersA(kPrinterEnumLocal | kPrinterEnumConnections, size, printers,
                                       needed);
  });
  StringList names;
  if (!read) return names;
  for (const auto& p : printers) names.push_back(p.printerName);
  return names;
}

namespace {

// "Name on Port" keeps only "Name"; the blank before "on" starts a character.
std::string ListedName(const std::string& name) {
  static constexpr std::string_view kOn = " on ";
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  for (size_t i = 0; i < name.size(); i += CharLength(name, i, codePage)) {
    if (name.compare(i, kOn.size(), kOn) == 0) return name.substr(0, i);
  }
  return name;
}

}  // namespace

int ListPrinters(StringList* list) {
  const StringList names = SystemPrinterNames();
  if (names.empty() || !list) return -1;
  list->clear();
  for (const auto& name : names) list->push_back(ListedName(name));

  std::string defaultName;
  if (!DynGetDefaultPrinter(defaultName)) return -1;
  // Matched by full name: a printer called "Laser on desk" is listed as "Laser".
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  for (size_t i = 0; i < names.size(); ++i) {
    if (EqualsNoCase(names[i], defaultName, codePage)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace pinst
