#include "platform/sim/sim_processes.h"

#include <algorithm>
#include <utility>

#include "base/ansi_text.h"
#include "platform/sim/sim_loader_search.h"

namespace pinst::sim {

namespace {

bool HasEnded(const SimProcessState& state, const SimClock& clock) {
  return !state.endless && clock.NowMs() >= state.endsAtMs;
}

class SimProcess : public IProcess {
 public:
  SimProcess(std::shared_ptr<SimProcessState> state, SimClock& clock, SimFaults* faults)
      : state_(std::move(state)), clock_(clock), faults_(faults) {}
  ~SimProcess() override { --state_->openHandles; }

  std::optional<uint32_t> ExitCode() override {
    if (Injected(faults_, "process.GetExitCodeProcess")) return std::nullopt;
    if (state_->onExitRead) std::exchange(state_->onExitRead, nullptr)();
    return HasEnded(*state_, clock_) ? state_->exitCode : kStillActive;
  }
  bool Wait(uint32_t timeoutMs) override {
    // WAIT_FAILED at once: the caller sees a process that has not ended.
    if (Injected(faults_, "process.WaitForSingleObject")) return false;
    if (HasEnded(*state_, clock_)) return true;
    uint64_t step = timeoutMs;
    if (!state_->endless) step = std::min<uint64_t>(step, state_->endsAtMs - clock_.NowMs());
    clock_.Advance(step);
    return HasEnded(*state_, clock_);
  }
  void Terminate(uint32_t exitCode) override {
    if (HasEnded(*state_, clock_)) return;
    state_->endless = false;
    state_->endsAtMs = clock_.NowMs();
    state_->exitCode = exitCode;
    state_->terminated = true;
  }

 private:
  std::shared_ptr<SimProcessState> state_;
  SimClock& clock_;
  SimFaults* faults_;
};

}  // namespace

void SimProcesses::SetProgram(const std::string& path, SimProgram program) {
  programs_[AsciiUpper(files_.FullPath(path), system_.codePage)] = program;
}

void SimProcesses::End(size_t index, uint32_t exitCode) {
  SimProcessState& state = *started.at(index).state;
  state.endless = false;
  state.endsAtMs = clock_.NowMs();
  state.exitCode = exitCode;
}

bool SimProcesses::IsRunning(size_t index) const {
  return !HasEnded(*started.at(index).state, clock_);
}

// As CreateProcessA reads an unquoted command line: the shortest run of words
// that names an existing program, ".exe" added to a name without an extension.
std::optional<std::string> SimProcesses::FindProgram(const std::string& commandLine) {
  const uint32_t codePage = system_.codePage;
  if (!commandLine.empty() && commandLine[0] == '"') {
    const size_t close = commandLine.find('"', 1);
    return FindLoaderFile(files_, codePage, commandLine.substr(1, close - 1), SearchOrder::kProgram,
                          ".exe");
  }
  for (size_t blank = FindSingleByte(commandLine, ' ', codePage);;
       blank = FindSingleByte(commandLine, ' ', codePage, blank + 1)) {
    const std::string name = commandLine.substr(0, blank);
    if (auto found = FindLoaderFile(files_, codePage, name, SearchOrder::kProgram, ".exe")) {
      return found;
    }
    if (blank == std::string::npos) return std::nullopt;
  }
}

std::unique_ptr<IProcess> SimProcesses::Start(const ProcessStartInfo& info) {
  attempts.push_back(info);
  Note(trace, "start " + info.commandLine);
  if (Injected(faults, "process.CreateProcessA")) return nullptr;
  const auto program = FindProgram(info.commandLine);
  if (!program) return nullptr;
  // CreateProcessA fails when the directory it is to start in does not exist.
  if (!info.currentDirectory.empty() && !files_.HasDirectory(info.currentDirectory)) {
    return nullptr;
  }
  SimProgram behaviour;
  auto it = programs_.find(AsciiUpper(*program, system_.codePage));
  if (it != programs_.end()) behaviour = it->second;
  auto state = std::make_shared<SimProcessState>();
  state->endless = !behaviour.runsForMs.has_value();
  state->endsAtMs = clock_.NowMs() + behaviour.runsForMs.value_or(0);
  state->exitCode = behaviour.exitCode;
  started.push_back({info, *program, state});
  return std::make_unique<SimProcess>(state, clock_, faults);
}

}  // namespace pinst::sim
