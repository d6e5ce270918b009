// Printer records as the sim spooler hands them to the core: names in a double-byte
// code page, port lists, device modes of any length and announced size, queues and
// connections, read back through the core's listing, query, port change and add.
// Input, from the end: a code-page byte, a default-printer index; from the front,
// records while bytes remain: name, driver, port, device mode (random-length strings),
// a job count byte.
#include "fuzz_input.h"
#include "platform/sim/sim_windows.h"
#include "removal/default_printer.h"
#include "spooler/job_ops.h"
#include "spooler/port_ops.h"
#include "spooler/printer_add.h"
#include "spooler/printer_list.h"
#include "spooler/printer_ops.h"

using namespace pinst;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  sim::SimWindows win;
  win.system.codePage = fuzz::PickCodePage(in);
  const uint8_t defaultIndex = in.ConsumeIntegral<uint8_t>();
  while (in.remaining_bytes() > 0 && win.spooler.printers.size() < 16) {
    const std::string name = in.ConsumeRandomLengthString(64);
    const std::string driver = in.ConsumeRandomLengthString(64);
    const std::string port = in.ConsumeRandomLengthString(32);
    const std::string devMode = in.ConsumeRandomLengthString(512);
    const uint8_t jobs = in.ConsumeIntegral<uint8_t>();
    if (name.size() > 2 && name.compare(0, 2, "\\\\") == 0) {
      win.spooler.connections.push_back(name);
      continue;
    }
    sim::SimPrinter& p = win.spooler.AddLocalPrinter(name, driver, port);
    p.info.devMode.assign(devMode.begin(), devMode.end());
    win.spooler.AddJobs(name, jobs % 8);
  }
  if (defaultIndex < win.spooler.printers.size()) {
    win.spooler.defaultPrinter = win.spooler.printers[defaultIndex].info.printerName;
  }

  StringList listed;
  const int chosen = ListPrinters(&listed);
  fuzz::Require(chosen < static_cast<int>(listed.size()));
  for (const std::string& name : SystemPrinterNames()) {
    std::string port;
    std::string driver;
    PrinterExists(name);
    GetPrinterPort(name, port);
    GetPrinterDriver(name, driver);
    GetPrinterJobCount(name);
    PortExists(port);
    if (SetPrinterPort(name, "LPT2:")) {
      GetPrinterPort(name, port);
      fuzz::Require(port == "LPT2:");
    }
    if (AddLocalPrinter(driver, name + " (Copy)")) fuzz::Require(PrinterExists(name + " (copy)"));
  }
  std::string newDefault;
  RepairDefaultPrinter(true, newDefault);
  return 0;
}
