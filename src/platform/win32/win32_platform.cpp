#include "platform/win32/win32_platform.h"

#include "platform/win32/win32_console.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_port_monitor.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_spooler.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_ui.h"

namespace pinst::win32 {

struct Win32Platform::Services {
  Win32Files files;
  Win32System system;
  Win32Console console;
  Win32Spooler spooler;
  Win32PortMonitors portMonitors;
  Win32Libraries libraries;
  Win32Processes processes;
  Win32Registry registry;
  Win32Shell shell;
  Win32Ui ui;
};

Win32Platform::Win32Platform() : services_(std::make_unique<Services>()) {
  Platform p;
  p.files = &services_->files;
  p.system = &services_->system;
  p.console = &services_->console;
  p.spooler = &services_->spooler;
  p.portMonitors = &services_->portMonitors;
  p.libraries = &services_->libraries;
  p.processes = &services_->processes;
  p.shell = &services_->shell;
  p.ui = &services_->ui;
  p.registry = &services_->registry;
  previous_ = InstallPlatform(p);
}

Win32Platform::~Win32Platform() { InstallPlatform(previous_); }

}  // namespace pinst::win32
