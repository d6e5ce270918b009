// Diagnostic lines: debugger output, a log file, or a message box.
#pragma once

#include <string>

namespace pinst {

// Modes of WriteDebugInfo.
enum : int { kDebugToDebugger = 0, kDebugToLogFile = 1, kDebugToMessageBox = 2 };

// Process-wide diagnostic state (reset by ResetDebugInfoState for tests).
struct DebugInfoState {
  std::string logFileName;
  std::string lastDebugMessage;
  int runCmdLogMode = kDebugToLogFile;
};
DebugInfoState& DebugState();
void ResetDebugInfoState();

void WriteDebugInfo(const std::string& msg, int mode, const std::string& data);

}  // namespace pinst
