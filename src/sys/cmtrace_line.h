// One entry of the run log in the line format Configuration Manager's log viewer
// reads:
//   <![LOG[text]LOG]!><time="HH:MM:SS.mmm+BIAS" date="MM-DD-YYYY"
//   component="PrinterInstaller" context="" type="1" thread="PID" file="">
// BIAS is UTC minus local time in minutes, signed and three digits wide
// ("+480" west of UTC, "-060" east of it, "+000").
#pragma once

#include <cstdint>
#include <string>

#include "platform/system.h"
#include "sys/log_kind.h"

namespace pinst {

// text: one line (no line break). The result has no line end.
std::string CmTraceLine(const std::string& text, TLogKind kind, const LocalTimeStamp& time,
                        uint32_t processId);

}  // namespace pinst
