#include "platform/sim/sim_shell.h"

namespace pinst::sim {

namespace {
// ERROR_FILE_NOT_FOUND, as both calls report it (32 and below: failure).
constexpr int kFaultResult = 2;
}  // namespace

intptr_t SimShell::Execute(uintptr_t owner, const std::string& verb, const std::string& file,
                           const std::string& parameters, const std::string& directory,
                           int showCommand) {
  calls.push_back({owner, verb, file, parameters, directory, showCommand});
  Note(trace, "shell " + verb + " " + file + " show " + std::to_string(showCommand));
  if (Injected(faults, "shell.ShellExecuteA")) return kFaultResult;
  return shellResult;
}

uint32_t SimShell::WinExec(const std::string& commandLine, int showCommand) {
  calls.push_back({0, "", commandLine, "", "", showCommand});
  Note(trace, "winexec " + commandLine + " show " + std::to_string(showCommand));
  if (Injected(faults, "shell.WinExec")) return kFaultResult;
  return winExecResult;
}

}  // namespace pinst::sim
