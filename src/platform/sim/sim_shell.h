// Simulated shell: every document opened and program started is recorded, and
// answered with the result a test sets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/shell.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_trace.h"

namespace pinst::sim {

struct SimShellCall {
  uintptr_t owner = 0;
  std::string verb;  // empty for WinExec
  std::string file;  // the command line for WinExec
  std::string parameters;
  std::string directory;
  int showCommand = 0;
};

class SimShell : public IShell {
 public:
  // What a test sets up.
  intptr_t shellResult = 42;
  uint32_t winExecResult = 33;

  // What a test inspects.
  std::vector<SimShellCall> calls;
  SimTrace* trace = nullptr;
  SimFaults* faults = nullptr;

  intptr_t Execute(uintptr_t owner, const std::string& verb, const std::string& file,
                   const std::string& parameters, const std::string& directory,
                   int showCommand) override;
  uint32_t WinExec(const std::string& commandLine, int showCommand) override;
};

}  // namespace pinst::sim
