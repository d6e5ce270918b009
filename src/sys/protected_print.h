// Windows protected print mode (Windows 11 24H2 and later): while it is on, Windows
// installs no printer driver of a printer maker and removes those present. Told by
// the administrator's policy, the Settings switch, and the runtime class Windows
// offers to ask it.
#pragma once

#include <string>

namespace pinst {

struct TProtectedPrint {
  bool on = false;
  std::string saidBy;  // the value that said so, as the log names it
};

// Reads the policy and the Settings value in the 64-bit view, then asks
// WindowsProtectedPrintInfo where Windows offers it. A value that is not there is
// off; one that cannot be read or is no REG_DWORD is logged and taken as off.
TProtectedPrint DetectProtectedPrint();

}  // namespace pinst
