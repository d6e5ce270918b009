// Simulated console commands: each command line a test scripts gives its output
// and exit code; anything else cannot be started, as a missing program.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_trace.h"

namespace pinst::sim {

struct SimCommand {
  std::string output;  // what the command writes to standard output
  uint32_t exitCode = 0;
  uint32_t durationMs = 0;  // simulated run time, spent while the runner waits
};

class SimConsole : public IConsole {
 public:
  explicit SimConsole(SimClock& clock) : clock_(clock) {}

  // What a test sets up. A scripted line answers every run of that exact command
  // line; the handler (when set) answers the rest, or nullopt for "cannot start".
  void Script(const std::string& commandLine, SimCommand command) {
    scripts_[commandLine] = std::move(command);
  }
  std::function<std::optional<SimCommand>(const std::string&)> handler;
  bool failCreatePipe = false;
  bool failPeek = false;
  bool failRead = false;

  // What a test inspects: every command line handed to CreateProcess, started or not.
  std::vector<std::string> commandLines;
  // How many times the runner looked at the pipe or the process (a busy-wait measure).
  uint64_t polls = 0;
  std::vector<uint32_t> terminated;  // exit codes of the children ended by force
  SimTrace* trace = nullptr;
  SimFaults* faults = nullptr;

  std::unique_ptr<IOutputPipe> CreatePipe() override;
  std::unique_ptr<IConsoleChild> StartHidden(char* commandLine, IOutputPipe& pipe) override;

 private:
  SimClock& clock_;
  std::map<std::string, SimCommand> scripts_;
};

}  // namespace pinst::sim
