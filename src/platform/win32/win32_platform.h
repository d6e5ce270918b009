// The real Windows services, installed as the platform for the life of the object.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace pinst::win32 {

class Win32Platform {
 public:
  Win32Platform();
  ~Win32Platform();
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

 private:
  struct Services;
  std::unique_ptr<Services> services_;
  Platform previous_;
};

}  // namespace pinst::win32
