// Simulated program starts. A program starts when its file exists (found as
// CreateProcessA finds it); how long it runs and its exit code are scripted.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/processes.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_trace.h"

namespace pinst::sim {

// How a program behaves once started.
struct SimProgram {
  uint32_t exitCode = 0;
  std::optional<uint32_t> runsForMs = 0;  // nullopt: until a test ends it
};

struct SimProcessState {
  bool endless = false;
  uint64_t endsAtMs = 0;
  uint32_t exitCode = 0;
  int openHandles = 1;      // the process handle handed out, until closed
  bool terminated = false;  // ended by TerminateProcess
  // Runs when its exit code is read: what the program did just as it ended (a
  // report that arrives while the reader is already looking).
  std::function<void()> onExitRead;
};

struct SimStartedProcess {
  ProcessStartInfo info;
  std::string program;  // full path of the program file
  std::shared_ptr<SimProcessState> state;
};

class SimProcesses : public IProcesses {
 public:
  SimProcesses(SimFiles& files, SimSystem& system, SimClock& clock)
      : files_(files), system_(system), clock_(clock) {}

  // What a test sets up: the behaviour of the program at path (a relative path is
  // taken from the current directory). A program without an entry ends at once
  // with exit code 0.
  void SetProgram(const std::string& path, SimProgram program);
  // Ends a running process with this exit code.
  void End(size_t index, uint32_t exitCode);
  bool IsRunning(size_t index) const;

  // What a test inspects: every CreateProcessA call, and the processes it started.
  std::vector<ProcessStartInfo> attempts;
  std::vector<SimStartedProcess> started;
  SimTrace* trace = nullptr;
  SimFaults* faults = nullptr;

  std::unique_ptr<IProcess> Start(const ProcessStartInfo& info) override;

 private:
  std::optional<std::string> FindProgram(const std::string& commandLine);

  SimFiles& files_;
  SimSystem& system_;
  SimClock& clock_;
  std::map<std::string, SimProgram> programs_;  // key: upper-cased full path
};

}  // namespace pinst::sim
