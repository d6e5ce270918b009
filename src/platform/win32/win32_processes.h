#pragma once

#include "platform/processes.h"

namespace pinst::win32 {

class Win32Processes : public IProcesses {
 public:
  std::unique_ptr<IProcess> Start(const ProcessStartInfo& info) override;
};

}  // namespace pinst::win32
