// The simulated machine's clock: only Sleep, waits and tests move it.
#pragma once

#include <cstdint>

namespace pinst::sim {

class SimClock {
 public:
  uint64_t NowMs() const { return now_; }
  void Advance(uint64_t ms) { now_ += ms; }

 private:
  uint64_t now_ = 0;
};

}  // namespace pinst::sim
