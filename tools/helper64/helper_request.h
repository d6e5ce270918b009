// The 64-bit helper's command line:
//   Instavo64.exe /Handle <window> /Dll "<library>" /Inf "<inf>" /HWID <hardware id>
#pragma once

#include <cstdint>
#include <string>

namespace pinst::tools {

struct HelperRequest {
  uint64_t window = 0;  // 0: no usable /Handle, so nobody can be told the outcome
  std::string dll;
  std::string inf;
  std::string hardwareId;
  bool complete = false;  // all four switches given with a value, and nothing else after them
};

// Words before the first switch belong to the program's own path and are skipped, so
// an unquoted path with blanks does not matter. Switch names ignore letter case.
HelperRequest ParseHelperCommandLine(const std::string& commandLine);

}  // namespace pinst::tools
