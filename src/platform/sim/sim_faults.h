// Faults for whole runs: every call the program makes through the platform is
// counted in one sequence, and the call a test names by its ordinal fails the way
// the real call fails. A run made once without a fault gives the calls to name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/sim_trace.h"

namespace pinst::sim {

class SimFaults {
 public:
  // What a test sets: the ordinal (from 1) of the call that fails; 0 fails none.
  uint64_t failCall = 0;
  // Or by name: the failNth call (from 1) of this name fails.
  std::string failName;
  uint64_t failNth = 1;
  SimTrace* trace = nullptr;  // the failed call is noted in it

  // Counts one call (call: "area.Function"); true when it is the one to fail.
  bool Fails(const std::string& call) {
    calls_.emplace_back(call);
    const bool named = call == failName && ++named_ == failNth;
    if (calls_.size() != failCall && !named) return false;
    failed_ = call;
    Note(trace, "fault " + failed_);
    return true;
  }
  // Counting starts again from 1 (the fault to come keeps its ordinal).
  void Restart() {
    calls_.clear();
    failed_.clear();
    named_ = 0;
  }

  // What a test inspects: every call counted, in order, and the one that failed.
  const std::vector<std::string>& Calls() const { return calls_; }
  const std::string& Failed() const { return failed_; }

 private:
  std::vector<std::string> calls_;
  std::string failed_;
  uint64_t named_ = 0;  // calls of failName counted
};

// Consulted at the start of each simulated entry point (components also run
// without a fault list).
inline bool Injected(SimFaults* faults, const std::string& call) {
  return faults && faults->Fails(call);
}

}  // namespace pinst::sim
