#pragma once

#include "platform/shell.h"

namespace pinst::win32 {

class Win32Shell : public IShell {
 public:
  intptr_t Execute(uintptr_t owner, const std::string& verb, const std::string& file,
                   const std::string& parameters, const std::string& directory,
                   int showCommand) override;
  uint32_t WinExec(const std::string& commandLine, int showCommand) override;
};

}  // namespace pinst::win32
