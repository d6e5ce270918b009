#include "platform/sim/sim_windows.h"

namespace pinst::sim {

SimWindows::SimWindows() {
  system.trace = &trace;
  console.trace = &trace;
  spooler.trace = &trace;
  portMonitors.trace = &trace;
  libraries.trace = &trace;
  processes.trace = &trace;
  shell.trace = &trace;
  faults.trace = &trace;
  files.faults = &faults;
  system.faults = &faults;
  console.faults = &faults;
  spooler.faults = &faults;
  portMonitors.faults = &faults;
  libraries.faults = &faults;
  processes.faults = &faults;
  shell.faults = &faults;
  ui.faults = &faults;
  devices.trace = &trace;
  devices.faults = &faults;
  printerDrivers.trace = &trace;
  printerDrivers.faults = &faults;
  registry.trace = &trace;
  registry.faults = &faults;
  Platform p;
  p.files = &files;
  p.system = &system;
  p.console = &console;
  p.spooler = &spooler;
  p.portMonitors = &portMonitors;
  p.libraries = &libraries;
  p.processes = &processes;
  p.shell = &shell;
  p.ui = &ui;
  p.devices = &devices;
  p.printerDrivers = &printerDrivers;
  p.registry = &registry;
  // What every Windows has: installs keep their copies under Program Files.
  registry.SetString(RegistryView::k64, "Software\\Microsoft\\Windows\\CurrentVersion",
                     "ProgramFilesDir", "C:\\Program Files");
  previous_ = InstallPlatform(p);
}

SimWindows::~SimWindows() { InstallPlatform(previous_); }

void SimWindows::SetLanguage(uint16_t langId) {
  system.langId = langId;
  switch (langId) {
    case 0x0804:
    case 0x1004:
      system.codePage = 936;
      break;
    case 0x0404:
    case 0x0C04:
    case 0x1404:
      system.codePage = 950;
      break;
    default:
      system.codePage = 1252;
  }
}

}  // namespace pinst::sim
