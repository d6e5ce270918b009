// One ordered record of what the program asked of the simulated system: message
// boxes with their answers, pauses, commands, program and document starts,
// library calls and changes to the spooler. A scenario test reads a whole run
// from it in the order it happened.
#pragma once

#include <string>
#include <vector>

namespace pinst::sim {

class SimTrace {
 public:
  void Add(std::string line) { lines_.push_back(std::move(line)); }
  const std::vector<std::string>& Lines() const { return lines_; }
  void Clear() { lines_.clear(); }

 private:
  std::vector<std::string> lines_;
};

// Adds a line when a trace is attached (components also run without one).
inline void Note(SimTrace* trace, std::string line) {
  if (trace) trace->Add(std::move(line));
}

}  // namespace pinst::sim
