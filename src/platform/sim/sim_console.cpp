#include "platform/sim/sim_console.h"

#include <algorithm>
#include <cstring>

namespace pinst::sim {

namespace {

// Windows' default anonymous pipe holds 4096 bytes; a child writing more waits.
constexpr uint32_t kPipeCapacity = 4096;

struct ChildState {
  std::string pending;  // written by the child, not yet read
  uint64_t endsAtMs = 0;
};

class SimPipe : public IOutputPipe {
 public:
  SimPipe(SimConsole& console, SimClock& clock) : console_(console), clock_(clock) {}
  bool Peek(uint32_t& bytesAvailable) override {
    ++console_.polls;
    bytesAvailable = 0;
    if (Injected(console_.faults, "console.PeekNamedPipe")) return false;
    if (!readOpen_ || console_.failPeek) return false;
    Available(bytesAvailable);
    return true;
  }
  bool Read(char* buffer, uint32_t capacity, uint32_t& bytesRead) override {
    bytesRead = 0;
    if (Injected(console_.faults, "console.ReadFile")) return false;
    if (!readOpen_ || console_.failRead || !child_) return false;
    ++console_.polls;
    uint32_t available = 0;
    Available(available);
    if (available == 0) return false;  // a real read would block; the runner never does this
    bytesRead = std::min(capacity, available);
    std::memcpy(buffer, child_->pending.data(), bytesRead);
    child_->pending.erase(0, bytesRead);
    return true;
  }
  void CloseReadEnd() override { readOpen_ = false; }
  // What a peek reports. The output appears once the child has run its course.
  void Available(uint32_t& bytesAvailable) const {
    bytesAvailable = 0;
    if (child_ && (clock_.NowMs() >= child_->endsAtMs || child_->pending.size() > kPipeCapacity)) {
      bytesAvailable =
          static_cast<uint32_t>(std::min<size_t>(child_->pending.size(), kPipeCapacity));
    }
  }
  void CloseWriteEnd() override {}
  void Attach(std::shared_ptr<ChildState> child) { child_ = std::move(child); }

 private:
  SimConsole& console_;
  SimClock& clock_;
  bool readOpen_ = true;
  std::shared_ptr<ChildState> child_;
};

class SimChild : public IConsoleChild {
 public:
  SimChild(SimConsole& console, SimClock& clock, std::shared_ptr<ChildState> state)
      : console_(console), clock_(clock), state_(std::move(state)) {}
  bool WaitForExit(uint32_t timeoutMs) override {
    ++console_.polls;
    // WAIT_FAILED at once: the caller sees a child that has not ended.
    if (Injected(console_.faults, "console.WaitForSingleObject")) return false;
    // A child blocked on a full pipe cannot end.
    if (state_->pending.size() > kPipeCapacity) return false;
    const uint64_t now = clock_.NowMs();
    if (now >= state_->endsAtMs) return true;
    const uint64_t left = state_->endsAtMs - now;
    clock_.Advance(std::min<uint64_t>(left, timeoutMs));
    return clock_.NowMs() >= state_->endsAtMs;
  }
  void CloseThreadHandle() override {}
  void CloseProcessHandle() override {}
  void Terminate(uint32_t exitCode) override {
    state_->endsAtMs = clock_.NowMs();
    console_.terminated.push_back(exitCode);
  }

 private:
  SimConsole& console_;
  SimClock& clock_;
  std::shared_ptr<ChildState> state_;
};

}  // namespace

std::unique_ptr<IOutputPipe> SimConsole::CreatePipe() {
  if (Injected(faults, "console.CreatePipe") || failCreatePipe) return nullptr;
  return std::make_unique<SimPipe>(*this, clock_);
}

std::unique_ptr<IConsoleChild> SimConsole::StartHidden(char* commandLine, IOutputPipe& pipe) {
  const std::string line(commandLine);
  commandLines.push_back(line);
  Note(trace, "cmd " + line);
  if (Injected(faults, "console.CreateProcessA")) return nullptr;
  std::optional<SimCommand> command;
  auto it = scripts_.find(line);
  if (it != scripts_.end()) {
    command = it->second;
  } else if (handler) {
    command = handler(line);
  }
  if (!command || line.empty()) return nullptr;
  auto state = std::make_shared<ChildState>();
  state->pending = command->output;
  state->endsAtMs = clock_.NowMs() + command->durationMs;
  static_cast<SimPipe&>(pipe).Attach(state);
  return std::make_unique<SimChild>(*this, clock_, state);
}

}  // namespace pinst::sim
