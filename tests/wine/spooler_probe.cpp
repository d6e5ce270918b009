// Reads the spooler's state for the end-to-end scripts, one line each:
//   printer NAME|PORT|PRINT PROCESSOR|DATATYPE|DRIVER    every local printer, in order
//   default NAME                                          the default printer, if any
// With the argument "drivers", instead:
//   driver NAME|ENVIRONMENT                               every installed driver, of
//                                                         every environment
// With the argument "ports":
//   port NAME|MONITOR                                     every port of the machine
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

int ListDrivers() {
  DWORD needed = 0;
  DWORD count = 0;
  char all[] = "all";
  ::EnumPrinterDriversA(nullptr, all, 2, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed + 1);
  if (needed > 0 &&
      ::EnumPrinterDriversA(nullptr, all, 2, buffer.data(), needed, &needed, &count)) {
    const auto* drivers = reinterpret_cast<const DRIVER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
      std::printf("driver %s|%s\n", drivers[i].pName, drivers[i].pEnvironment);
    }
  }
  return 0;
}

int ListPorts() {
  DWORD needed = 0;
  DWORD count = 0;
  ::EnumPortsA(nullptr, 2, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed + 1);
  if (needed > 0 && ::EnumPortsA(nullptr, 2, buffer.data(), needed, &needed, &count)) {
    const auto* ports = reinterpret_cast<const PORT_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
      std::printf("port %s|%s\n", ports[i].pPortName,
                  ports[i].pMonitorName ? ports[i].pMonitorName : "");
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "drivers") == 0) return ListDrivers();
  if (argc > 1 && std::strcmp(argv[1], "ports") == 0) return ListPorts();
  DWORD needed = 0;
  DWORD count = 0;
  ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed + 1);
  if (needed > 0 &&
      ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &count)) {
    const auto* printers = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    auto text = [](const char* s) { return s ? s : ""; };
    for (DWORD i = 0; i < count; ++i) {
      const PRINTER_INFO_2A& p = printers[i];
      std::printf("printer %s|%s|%s|%s|%s\n", text(p.pPrinterName), text(p.pPortName),
                  text(p.pPrintProcessor), text(p.pDatatype), text(p.pDriverName));
    }
  }
  char name[512] = {};
  DWORD size = sizeof name;
  if (::GetDefaultPrinterA(name, &size)) std::printf("default %s\n", name);
  return 0;
}
