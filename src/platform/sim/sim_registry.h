// A simulated HKEY_LOCAL_MACHINE: keys and names matched without regard to ASCII
// case, the 64-bit and the 32-bit view kept apart as on 64-bit Windows (a test for
// 32-bit Windows writes the 64-bit view only, its one view).
#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/registry.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_trace.h"

namespace pinst::sim {

struct SimRegistryValue {
  bool isString = false;
  uint32_t dword = 0;
  std::string text;
};

class SimRegistry : public IRegistry {
 public:
  // What a test sets up and inspects. Keys without values still exist.
  void SetDword(RegistryView view, const std::string& key, const std::string& name, uint32_t value);
  void SetString(RegistryView view, const std::string& key, const std::string& name,
                 const std::string& value);
  bool HasKey(RegistryView view, const std::string& key) const;
  std::optional<SimRegistryValue> Value(RegistryView view, const std::string& key,
                                        const std::string& name) const;
  // Every value of a key, by name as first written.
  std::map<std::string, SimRegistryValue> Values(RegistryView view, const std::string& key) const;
  // Calls fail with this code while set (ERROR_ACCESS_DENIED for a reader without rights).
  std::optional<uint32_t> failReads;
  std::optional<uint32_t> failWrites;
  uint32_t faultError = 5;  // ERROR_ACCESS_DENIED, for a call failed by the fault list
  SimTrace* trace = nullptr;
  SimFaults* faults = nullptr;

  uint32_t ReadDword(RegistryView view, const std::string& key, const std::string& name,
                     uint32_t& value) override;
  uint32_t ReadString(RegistryView view, const std::string& key, const std::string& name,
                      std::string& value) override;
  uint32_t WriteDword(RegistryView view, const std::string& key, const std::string& name,
                      uint32_t value) override;
  uint32_t WriteString(RegistryView view, const std::string& key, const std::string& name,
                       const std::string& value) override;
  uint32_t DeleteKey(RegistryView view, const std::string& key) override;

 private:
  struct Key {
    std::map<std::string, std::pair<std::string, SimRegistryValue>> values;  // by lower name
  };
  static std::string Lower(std::string s);
  static std::string Path(RegistryView view, const std::string& key);
  void Set(RegistryView view, const std::string& key, const std::string& name,
           SimRegistryValue value);
  const SimRegistryValue* Find(RegistryView view, const std::string& key,
                               const std::string& name) const;
  std::map<std::string, Key> keys_;  // by view and lower path
};

}  // namespace pinst::sim
