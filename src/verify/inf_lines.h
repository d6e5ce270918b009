// Line numbers in an INF's text, for findings that point at a line. Scans step over
// whole characters, so a trail byte never passes for an ASCII one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pinst::verify {

class TInfLines {
 public:
  TInfLines(std::string_view text, uint32_t codePage);

  // The first line (1-based) holding text; 0 when none. With skipComments, what
  // follows a ';' does not count.
  int FirstLineWith(std::string_view text, bool skipComments) const;
  // The same with ASCII letters compared without regard to case.
  int FirstLineWithNoCase(std::string_view text) const;
  // The line of the header "[name]"; 0 when there is none.
  int SectionLine(std::string_view name) const;

 private:
  std::vector<std::string_view> lines_;
  uint32_t codePage_;
};

}  // namespace pinst::verify
