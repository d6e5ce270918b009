// Program entry: the real Windows services, then the installer from start to end.
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "app/installer_main.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/win32_platform.h"
#include "ui/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before anything loads a library by name.
  pinst::win32::RemoveCurrentDirectoryFromDllSearch();
  pinst::win32::Win32Platform platform;
  // The arguments as the C run-time split the command line, program name dropped.
  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i]);
  try {
    return pinst::RunInstaller(args);
  } catch (const std::exception& error) {
    pinst::ui::Application().ShowException(error);
    return 1;
  }
}
