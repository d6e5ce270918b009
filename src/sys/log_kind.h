// What a line of the run log reports, and the formats the log is written in.
#pragma once

#include <cstdint>

namespace pinst {

enum class TLogKind : uint8_t {
  kInfo,     // a step, an answer, a setting
  kWarning,  // the run goes on, or ended well, but something is to be looked at
  kFailure,  // the run failed, or a step that makes it fail
};

enum class TLogFormat : uint8_t {
  kPlain,    // "<local date and time>  text"
  kCmTrace,  // the line format of Configuration Manager's log viewer
};

}  // namespace pinst
