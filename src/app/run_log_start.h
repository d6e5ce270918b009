// The run log's start: the file asked for with /Log= (or the temporary folder's
// PrinterInstaller.log when none is asked for or it cannot be written), and its
// first lines: the command line, Windows and the folder.
#pragma once

#include <string>
#include <vector>

#include "app/command_line.h"

namespace pinst {

// The run log of an automatic or quiet run started without /Log=, in the
// temporary folder.
inline constexpr const char* kDefaultLogName = "PrinterInstaller.log";

// Opens the log once; a later call does nothing.
void OpenRunLog(const TCommandLine& commandLine, const std::vector<std::string>& args);

}  // namespace pinst
