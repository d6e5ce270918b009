#pragma once

#include "platform/port_monitor.h"

namespace pinst::win32 {

class Win32PortMonitors : public IPortMonitors {
 public:
  XcvHandle OpenXcvMonitor(const std::string& monitor, uint32_t desiredAccess) override;
  uint32_t GetLastError() override;
};

}  // namespace pinst::win32
