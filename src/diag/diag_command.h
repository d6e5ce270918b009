// The diagnostic window's own command runner: RunCMD's buffers, pipe and polling,
// with the hourglass while it runs and its failures told in message boxes.
#pragma once

#include <string>

#include "sys/run_cmd.h"

namespace pinst {

// Runs commandLine and appends its output to output, one item per chunk read and
// one closing item, as RunCMD does. A command line longer than the 254 characters
// the command buffer holds is refused with a message box and runs nothing.
void RunDiagCommand(const std::string& commandLine, StringList& output);

}  // namespace pinst
