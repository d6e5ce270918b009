#pragma once

#include "platform/console.h"

namespace pinst::win32 {

class Win32Console : public IConsole {
 public:
  std::unique_ptr<IOutputPipe> CreatePipe() override;
  std::unique_ptr<IConsoleChild> StartHidden(char* commandLine, IOutputPipe& pipe) override;
};

}  // namespace pinst::win32
