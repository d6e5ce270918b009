// The runs without a window that deployment tools and makers start: /Check,
// /List, /Uninstall and /Verify. Each answers on standard output, logs, and ends with an exit code.
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
// The distribution check of the current folder: a line per finding; 0 without
// errors, 1 with, 2 when the folder cannot be read.
int RunVerify();

}  // namespace pinst
