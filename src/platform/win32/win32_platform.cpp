#include "platform/win32/win32_platform.h"

#include "platform/win32/win32_console.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_system.h"

namespace pinst::win32 {

struct Win32Platform::Services {
  Win32Files files;
  Win32System system;
  Win32Console console;
};

Win32Platform::Win32Platform() : services_(std::make_unique<Services>()) {
  Platform p;
  p.files = &services_->files;
  p.system = &services_->system;
  p.console = &services_->console;
  previous_ = InstallPlatform(p);
}

Win32Platform::~Win32Platform() { InstallPlatform(previous_); }

}  // namespace pinst::win32
