// The runs without a window that deployment tools start: /Check, /List and
// /Uninstall. Each answers on standard output, logs, and ends with an exit code.
#pragma once

#include <string>
#include <vector>

#include "app/command_line.h"
#include "config/ini_options.h"

namespace pinst {

// Runs the one switch command the command line asks for; returns the exit code.
int RunSwitchCommand(const TCommandLine& commandLine, const std::vector<std::string>& args);

// The parts, for a command line already checked and install.ini already read.
int RunList(const TIniOptions& options);
int RunCheck(const TOption& option);
int RunUninstall(const TOption& option, bool quiet);

}  // namespace pinst
