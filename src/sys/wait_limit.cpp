#include "sys/wait_limit.h"

namespace pinst {

namespace {

struct TWaitState {
  std::optional<uint64_t> limit;
  std::optional<std::string> timedOut;
};

TWaitState& State() {
  static TWaitState state;
  return state;
}

}  // namespace

void SetWaitLimit(std::optional<uint64_t> milliseconds) { State().limit = milliseconds; }

std::optional<uint64_t> WaitLimit() { return State().limit; }

void NoteWaitTimedOut(const std::string& what) {
  if (!State().timedOut) State().timedOut = what;
}

std::optional<std::string> WaitTimedOut() { return State().timedOut; }

void ClearWaitTimedOut() { State().timedOut.reset(); }

}  // namespace pinst
