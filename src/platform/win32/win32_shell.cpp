#include "platform/win32/win32_shell.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace pinst::win32 {

intptr_t Win32Shell::Execute(uintptr_t owner, const std::string& verb, const std::string& file,
                             const std::string& parameters, const std::string& directory,
                             int showCommand) {
  HINSTANCE result =
      ::ShellExecuteA(reinterpret_cast<HWND>(owner), verb.c_str(), file.c_str(), parameters.c_str(),
                      directory.empty() ? nullptr : directory.c_str(), showCommand);
  return reinterpret_cast<intptr_t>(result);
}

uint32_t Win32Shell::WinExec(const std::string& commandLine, int showCommand) {
  return ::WinExec(commandLine.c_str(), static_cast<UINT>(showCommand));
}

}  // namespace pinst::win32
