// The protocol between the installer and its 64-bit helper: the command line the
// installer starts the helper with, and the two window messages the helper
// reports with. Both programs build from this file, so the two ends cannot drift.
//   <helper> /Handle <window> /Dll "<library>" /Inf "<inf>" /HWID <hardware id>
#pragma once

#include <cstdint>
#include <string>

namespace pinst {

// WM_USER + 1: the install failed, LParam the library's error code.
constexpr uint32_t WM_INSTALL_FAILED = 0x0401;
// WM_USER + 2: the install succeeded.
constexpr uint32_t WM_INSTALL_SUCCEEDED = 0x0402;

struct THelperRequest {
  uint64_t window = 0;  // 0: no usable /Handle, so nobody can be told the outcome
  std::string dll;      // the 64-bit library, relative to the helper's folder
  std::string inf;      // the INF, relative to the helper's folder
  std::string hardwareId;
  bool complete = false;  // all four switches given with a value, and nothing else after them
};

// The command line; helperPath goes first as configured. A hardware id with a
// blank is quoted. Values cannot hold a double quote (Windows paths cannot).
std::string BuildHelperCommandLine(const std::string& helperPath, const THelperRequest& request);

// Words before the first switch belong to the program's own path and are
// skipped, so an unquoted path with blanks does not matter. Switch names ignore
// ASCII case. Double quotes group and are removed; no other byte is special, so
// a DBCS trail byte 0x5C stays a plain byte.
THelperRequest ParseHelperCommandLine(const std::string& commandLine);

}  // namespace pinst
