// Finishing a freshly installed printer: its name, share, port, print processor and
// default state; the Windows 2000 settings tool run around the install; and the
// web-print control copied into the system folder and registered.
#pragma once

#include <string>

namespace pinst {

// The changes ChangePrinter applies to an installed printer.
struct TChangePrinterInfo {
  std::string PrinterName;     // the printer to change
  std::string NewPrinterName;  // empty (or PrinterName) keeps the name
  std::string ShareName;       // empty makes the printer not shared
  std::string PortName;        // used only when a port of exactly this name exists
  bool SetAsDefault = false;
  std::string PrintProcessor;  // empty means "WinPrint"
};

// Makes the printer the default one when asked (a failure there is only logged),
// then writes the changed printer record back. True when the spooler took it.
bool ChangePrinter(TChangePrinterInfo info);

// On Windows 2000 only: runs the tool with "Auto" or "Auto Disable" and waits for
// it at most 3000 ms.
void RunRegSetTool(bool enable, const std::string& toolPath);

// Copies the control into the system folder (replacing a copy there) and registers
// the copy. True when it was registered.
bool InstallWebPrintControl(const std::string& sourcePath);

// Self-registration of a COM server file through its DllRegisterServer export.
bool RegisterServerFile(const std::string& path);

}  // namespace pinst
