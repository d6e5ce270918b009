// A whole simulated Windows for host tests. Constructing one installs it as the
// platform in force; destroying it puts the previous one back.
#pragma once

#include "platform/platform.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_console.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_libraries.h"
#include "platform/sim/sim_port_monitor.h"
#include "platform/sim/sim_printer_drivers.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_trace.h"
#include "platform/sim/sim_ui.h"

namespace pinst::sim {

class SimWindows {
 public:
  SimWindows();
  ~SimWindows();
  SimWindows(const SimWindows&) = delete;
  SimWindows& operator=(const SimWindows&) = delete;

  // Windows 2000 = (5, 0), XP = (5, 1), Vista = (6, 0), 7 = (6, 1).
  void SetVersion(uint32_t major, uint32_t minor) { system.version = {major, minor}; }
  // Language id and its ANSI code page (0x0804 -> 936, 0x0404 -> 950, else 1252).
  void SetLanguage(uint16_t langId);

  // Everything the program asked of this Windows, in order.
  SimTrace trace;
  // Every call through the platform, counted; one of them may be set to fail.
  SimFaults faults;
  SimClock clock;
  SimSystem system{clock};
  SimFiles files{system};
  SimConsole console{clock};
  SimSpooler spooler{clock, system};
  SimPortMonitors portMonitors{spooler};
  SimLibraries libraries{files, system};
  SimProcesses processes{files, system, clock};
  SimShell shell;
  SimUi ui{clock};
  SimDevices devices{files, spooler};
  SimPrinterDrivers printerDrivers{files, spooler};
  SimRegistry registry;

 private:
  Platform previous_;
};

}  // namespace pinst::sim
