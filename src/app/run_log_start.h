// The run log's start: the file asked for with /Log= (or the default log when none
// is asked for or it cannot be written), and its first lines: the command line,
// Windows and the folder.
#pragma once

#include <string>
#include <vector>

#include "app/command_line.h"

namespace pinst {

// The run log of an automatic or quiet run started without /Log=.
inline constexpr const char* kDefaultLogName = "PrinterInstaller.log";

// Where the default log goes, in order: the Windows folder's Logs, which only
// administrators write (a run as SYSTEM would otherwise log to the Windows
// temporary folder, where any user can plant the file first); then, for a person
// who is no administrator, their own temporary folder, unless that is the Windows one.
std::vector<std::string> DefaultLogPlaces();

// Opens the log once; a later call does nothing.
void OpenRunLog(const TCommandLine& commandLine, const std::vector<std::string>& args);

}  // namespace pinst
