// The program from start to end, above the platform: the text table, the four
// windows in their order, the application title, and the message loop.
#pragma once

#include <string>
#include <vector>

namespace pinst {

// Exit code when the program is started hidden and no model is marked for the
// automatic install: there is nothing it could ever do, so it ends at once.
constexpr int kExitNothingToInstall = 2;

// args: the command-line arguments after the program name. Returns the exit code.
int RunInstaller(const std::vector<std::string>& args);

}  // namespace pinst
