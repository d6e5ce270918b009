#include "spooler/printer_ops.h"

#include <algorithm>
#include <vector>

#include "base/ansi_text.h"
#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "spooler/printer_info.h"
#include "spooler/sized_call.h"

namespace pinst {

bool ReadLocalPrinters(std::vector<PrinterInfo2>& printers) {
  return CallWithNeededSize([&](uint32_t size, uint32_t& needed) {
    return Os().spooler->EnumPrintersA(kPrinterEnumLocal, size, printers, needed);
  });
}

bool PrinterExists(const std::string& printerName, bool* listRead) {
  std::vector<PrinterInfo2> printers;
  const bool read = ReadLocalPrinters(printers);
  if (listRead) *listRead = read;
  if (!read) return false;
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  return std::any_of(printers.begin(), printers.end(), [&](const PrinterInfo2& p) {
    return EqualsNoCase(p.printerName, printerName, codePage);
  });
}

void GetPrinterPort(const std::string& printerName, std::string& portName) {
  portName.clear();
  if (printerName.empty()) return;
  PrinterHandle printer = Os().spooler->OpenPrinterA(printerName, std::nullopt);
  if (!printer) return;
  // Sized from the spooler's answer: a large private device mode does not fit a
  // fixed buffer.
  PrinterInfo2 info;
  if (ReadPrinterInfo(*printer, info)) portName = info.portName;
}

void GetPrinterDriver(const std::string& printerName, std::string& driverName) {
  driverName.clear();
  PrinterHandle printer = Os().spooler->OpenPrinterA(printerName, std::nullopt);
  if (!printer) return;
  PrinterInfo2 info;
  if (ReadPrinterInfo(*printer, info)) driverName = info.driverName;
}

bool SetPrinterPort(const std::string& printerName, const std::string& portName) {
  if (portName.empty()) return false;
  PrinterInfo2 info;
  PrinterHandle printer = OpenPrinterForChange(printerName, info);
  if (!printer) return false;
  info.portName = portName;
  return printer->SetPrinterA(info);
}

}  // namespace pinst
