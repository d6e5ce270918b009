#include "spooler/printer_add.h"

#include <algorithm>

#include "base/ansi_text.h"
#include "platform/platform.h"
#include "platform/system.h"

namespace pinst {

namespace {

// Copies at most size - 1 bytes and a terminating zero, never splitting a
// double-byte character.
void CopyFixedText(std::array<char, 32>& field, const std::string& text) {
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  size_t end = 0;
  while (end < text.size()) {
    const size_t next = end + CharLength(text, end, codePage);
    if (next > field.size() - 1) break;
    end = next;
  }
  field.fill('\0');
  std::copy_n(text.begin(), end, field.begin());
}

}  // namespace

DevModeA DefaultDevMode(const std::string& printerName) {
  DevModeA dm;  // zero-filled
  CopyFixedText(dm.dmDeviceName, printerName);
  dm.dmSpecVersion = 0x0401;
  dm.dmDriverVersion = 0x0100;
  dm.dmSize = kDevModeSize;
  dm.dmDriverExtra = 0;
  dm.dmFields = 0x0581CF43;
  dm.dmOrientation = 1;     // portrait
  dm.dmPaperSize = 9;       // A4
  dm.dmPaperLength = 2970;  // tenths of a millimetre
  dm.dmPaperWidth = 2100;
  dm.dmScale = 100;
  dm.dmCopies = 1;
  dm.dmDefaultSource = 15;  // form source
  dm.dmPrintQuality = 180;
  dm.dmColor = 1;   // monochrome
  dm.dmDuplex = 1;  // simplex
  dm.dmYResolution = 180;
  dm.dmTTOption = 2;  // download TrueType fonts
  dm.dmCollate = 1;
  CopyFixedText(dm.dmFormName, "A4");
  dm.dmNup = 1;        // N-up done by the system
  dm.dmICMMethod = 1;  // no colour management
  dm.dmICMIntent = 2;  // contrast
  dm.dmMediaType = 1;  // standard
  dm.dmDitherType = 0xFFFFFFFF;
  return dm;
}

bool AddLocalPrinter(const std::string& driverName, const std::string& printerName) {
  if (driverName.empty() || printerName.empty()) return false;
  PrinterInfo2 info;
  info.printerName = printerName;
  info.portName = "LPT1:";
  info.driverName = driverName;
  info.devMode = ToDevModeBytes(DefaultDevMode(printerName));
  info.printProcessor = "WinPrint";
  info.datatype = "RAW";
  info.attributes = kPrinterAttributeLocal;
  info.priority = 1;
  return Os().spooler->AddPrinterA(info) != nullptr;
}

}  // namespace pinst
