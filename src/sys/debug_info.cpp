#include "sys/debug_info.h"

#include <vector>

#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"

namespace pinst {

namespace {

constexpr size_t kMaxLogLines = 32768;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return lines;
}

// Logging must never fail the caller: with no log file named, nothing is written.
void AppendToLogFile(const std::string& msg, std::string data) {
  DebugInfoState& state = DebugState();
  if (state.logFileName.empty()) return;
  IFiles& files = *Os().files;
  std::vector<std::string> lines;
  if (files.FileExists(state.logFileName)) {
    if (auto text = files.ReadWholeFile(state.logFileName)) lines = SplitLines(*text);
  }
  if (lines.size() >= kMaxLogLines) lines.erase(lines.begin(), lines.end() - (kMaxLogLines - 1));
  if (data.empty()) data = Os().system->LocalDateTimeText();
  lines.push_back(msg == state.lastDebugMessage ? ".." : "<" + data + "> " + msg);
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  files.WriteWholeFile(state.logFileName, out);
}

}  // namespace

DebugInfoState& DebugState() {
  static DebugInfoState state;
  return state;
}

void ResetDebugInfoState() { DebugState() = DebugInfoState(); }

void WriteDebugInfo(const std::string& msg, int mode, const std::string& data) {
  switch (mode) {
    case kDebugToDebugger:
      Os().system->DebugOutput("<" + data + "> " + msg);
      break;
    case kDebugToLogFile:
      AppendToLogFile(msg, data);
      break;
    case kDebugToMessageBox:
      Os().system->ShowMessageBox(0, msg, data, kMbOk | kMbIconInformation);
      break;
    default:
      break;
  }
  DebugState().lastDebugMessage = msg;
}

}  // namespace pinst
