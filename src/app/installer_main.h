// The program from start to end, above the platform: the text table, the four
// windows in their order, the application title, and the message loop.
#pragma once

#include <string>
#include <vector>

#include "app/install_codes.h"

namespace pinst {

// Held while a run that changes the machine is in progress, in every session.
inline constexpr const char* kRunMutexName = "Global\\PrinterInstaller.Run";

// args: the command-line arguments after the program name. Returns the exit code.
int RunInstaller(const std::vector<std::string>& args);

}  // namespace pinst
