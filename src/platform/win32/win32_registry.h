// HKEY_LOCAL_MACHINE through advapi32's "A" calls, the view named by a WOW64 flag
// where there are views at all.
#pragma once

#include "platform/registry.h"

namespace pinst::win32 {

class Win32Registry : public IRegistry {
 public:
  uint32_t ReadDword(RegistryView view, const std::string& key, const std::string& name,
                     uint32_t& value) override;
  uint32_t ReadString(RegistryView view, const std::string& key, const std::string& name,
                      std::string& value) override;
  uint32_t WriteDword(RegistryView view, const std::string& key, const std::string& name,
                      uint32_t value) override;
  uint32_t WriteString(RegistryView view, const std::string& key, const std::string& name,
                       const std::string& value) override;
  uint32_t DeleteKey(RegistryView view, const std::string& key) override;
};

}  // namespace pinst::win32
