// Which decorated models section of an INF fits the machine the driver is installed
// for: the decorations a [Manufacturer] entry lists after its models section
// (NTx86, NTamd64, NTarm64, NTamd64.6.0, ...).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"

namespace pinst {

// NT[architecture][.major[.minor[.product type[.suite mask[.build]]]]], as written.
struct InfDecoration {
  std::string text;
  bool anyMachine = true;  // no architecture: every machine
  std::optional<NativeMachine>
      machine;        // the named one; unset for one never installed for (ia64, arm)
  OsVersion version;  // 0.0 when none is written
};

// Nothing for text that is no NT decoration or has a version that is no number.
std::optional<InfDecoration> ParseInfDecoration(std::string_view text);

// The best fitting decoration for that machine and Windows version: its machine named
// (or none named), its version not above the running one; the highest version wins,
// then a named machine over none. Nothing when none fits. Product type, suite mask and
// build number are not checked: only the major and minor version are known here.
std::optional<std::string> PickInfDecoration(const std::vector<std::string>& decorations,
                                             NativeMachine machine, OsVersion running);

}  // namespace pinst
