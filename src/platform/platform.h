// The only door to the operating system. Portable code reaches Windows (real or
// simulated) through the services gathered here; nothing above this folder
// includes <windows.h>.
#pragma once

namespace pinst {

class IFiles;
class ISystem;
class IConsole;
class ISpooler;
class ILibraries;
class IProcesses;
class IShell;
class IUiBackend;
class IPortMonitors;
class IDevices;
class IPrinterDrivers;
class IRegistry;

// One set of services. Each pointer is owned by whoever installed the set (the
// win32 entry point or a sim fixture); a service a build does not provide stays null.
struct Platform {
  IFiles* files = nullptr;
  ISystem* system = nullptr;
  IConsole* console = nullptr;
  ISpooler* spooler = nullptr;
  ILibraries* libraries = nullptr;
  IProcesses* processes = nullptr;
  IShell* shell = nullptr;
  IUiBackend* ui = nullptr;
  IPortMonitors* portMonitors = nullptr;  // the spooler's port monitors (Xcv)
  IDevices* devices = nullptr;
  IPrinterDrivers* printerDrivers = nullptr;
  IRegistry* registry = nullptr;  // HKEY_LOCAL_MACHINE, a value at a time
};

// The services in force for this process.
Platform& Os();

// Replaces the services in force; returns the previous set so a fixture can restore it.
Platform InstallPlatform(const Platform& platform);

}  // namespace pinst
