// The machine's registry under HKEY_LOCAL_MACHINE: one value at a time, in the view
// each caller names. A 32-bit program on 64-bit Windows reads the 32-bit copy of
// Software unless it asks for the 64-bit view, which is where Windows' own policy
// and Settings keep what the installer must see. Calls answer 0 or the Windows code
// (ERROR_FILE_NOT_FOUND, 2, when the key or the value is not there).
#pragma once

#include <cstdint>
#include <string>

namespace pinst {

enum class RegistryView {
  k64,  // the 64-bit view (KEY_WOW64_64KEY); on 32-bit Windows the only one
  k32,  // the 32-bit view a WOW64 program sees by default
};

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // key: below HKEY_LOCAL_MACHINE ("Software\\Policies\\..."). A REG_DWORD value;
  // another type is ERROR_UNSUPPORTED_TYPE (1630).
  virtual uint32_t ReadDword(RegistryView view, const std::string& key, const std::string& name,
                             uint32_t& value) = 0;
  // A REG_SZ or REG_EXPAND_SZ value as stored (not expanded).
  virtual uint32_t ReadString(RegistryView view, const std::string& key, const std::string& name,
                              std::string& value) = 0;
  // Creates the key and its parents where missing, then sets one value.
  virtual uint32_t WriteDword(RegistryView view, const std::string& key, const std::string& name,
                              uint32_t value) = 0;
  virtual uint32_t WriteString(RegistryView view, const std::string& key, const std::string& name,
                               const std::string& value) = 0;
  // Removes a key that has no subkeys, with its values; a key not there is 2.
  virtual uint32_t DeleteKey(RegistryView view, const std::string& key) = 0;
};

}  // namespace pinst
