#include "spooler/printer_info.h"

#include <algorithm>

#include "platform/platform.h"
#include "spooler/sized_call.h"

namespace pinst {

namespace {

// The public part of a device mode, alone: the copy carries no driver bytes, so it
// must not announce any (a spooler reading dmDriverExtra bytes after it would read
// past the copy).
DevModeBytes PublicPartOnly(const DevModeBytes& devMode) {
  if (devMode.empty()) return {};
  DevModeA dm = PublicDevMode(devMode);
  dm.dmSize = std::min<uint16_t>(dm.dmSize, static_cast<uint16_t>(kDevModeSize));
  dm.dmDriverExtra = 0;
  return ToDevModeBytes(dm);
}

}  // namespace

bool ReadPrinterInfo(IPrinter& printer, PrinterInfo2& info) {
  return CallWithNeededSize(
      [&](uint32_t size, uint32_t& needed) { return printer.GetPrinterA(size, info, needed); });
}

PrinterHandle OpenPrinterForChange(const std::string& printerName, PrinterInfo2& info) {
  ISpooler& spooler = *Os().spooler;
  PrinterDefaults defaults{"RAW", DevModeBytes(), kPrinterAllAccess};
  {
    PrinterHandle printer = spooler.OpenPrinterA(printerName, std::nullopt);
    if (!printer) return nullptr;
    PrinterInfo2 current;
    if (ReadPrinterInfo(*printer, current)) defaults.devMode = PublicPartOnly(current.devMode);
  }
  PrinterHandle printer = spooler.OpenPrinterA(printerName, defaults);
  // Without the record there is nothing to change: writing back an empty one
  // would wipe the printer's settings.
  if (!printer || !ReadPrinterInfo(*printer, info)) return nullptr;
  return printer;
}

}  // namespace pinst
