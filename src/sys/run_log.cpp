#include "sys/run_log.h"

#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"

namespace pinst {

namespace {

std::string OneLine(const std::string& text) {
  std::string line;
  line.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      line += c;
    } else if (!(c == '\n' && i > 0 && text[i - 1] == '\r')) {
      line += ' ';
    }
  }
  return line;
}

}  // namespace

bool TRunLog::Open(const std::string& path) {
  Close();
  // An empty append tells whether the file can be written before any step runs.
  if (path.empty() || !Os().files->AppendToFile(path, "")) return false;
  path_ = path;
  return true;
}

void TRunLog::Close() {
  path_.clear();
  writeFailed_ = false;
}

void TRunLog::Line(const std::string& text) {
  if (!IsOpen()) return;
  const std::string line = Os().system->LocalDateTimeText() + "  " + OneLine(text) + "\r\n";
  if (Os().files->AppendToFile(path_, line)) return;
  // Said once to the debugger: the run itself must not fail for its log.
  if (!writeFailed_) Os().system->DebugOutput("Cannot write the log " + path_);
  writeFailed_ = true;
}

TRunLog& RunLog() {
  static TRunLog log;
  return log;
}

void LogLine(const std::string& text) { RunLog().Line(text); }

void DebugLine(const std::string& text) {
  Os().system->DebugOutput(text);
  RunLog().Line(text);
}

}  // namespace pinst
