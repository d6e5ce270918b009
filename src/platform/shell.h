// Starting documents and programs the way the shell and WinExec do.
#pragma once

#include <cstdint>
#include <string>

namespace pinst {

// ShowWindow commands handed to the shell and WinExec.
enum : int { kShowCmdHide = 0, kShowCmdNormal = 1, kShowCmdShow = 5 };

class IShell {
 public:
  virtual ~IShell() = default;
  // ShellExecuteA(owner, verb, file, parameters, directory, showCommand). An empty
  // directory is passed as none. Returns the instance value (above 32: success).
  virtual intptr_t Execute(uintptr_t owner, const std::string& verb, const std::string& file,
                           const std::string& parameters, const std::string& directory,
                           int showCommand) = 0;
  // WinExec; returns its result (above 31: success).
  virtual uint32_t WinExec(const std::string& commandLine, int showCommand) = 0;
};

}  // namespace pinst
