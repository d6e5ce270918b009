#pragma once

#include "platform/libraries.h"

namespace pinst::win32 {

class Win32Libraries : public ILibraries {
 public:
  LoadedLibrary Load(const std::string& path) override;
};

}  // namespace pinst::win32
