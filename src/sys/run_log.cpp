#include "sys/run_log.h"

#include "base/ansi_text.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "sys/cmtrace_line.h"

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

std::string RotatedLogName(const std::string& path) {
  const size_t size = path.size();
  if (size >= 4 && EqualsNoCase(path.substr(size - 4), ".log", Os().system->GetAnsiCodePage())) {
    return path.substr(0, size - 1) + "_";
  }
  return path + ".old";
}

bool TRunLog::Open(const std::string& path, TLogFormat format) {
  Close();
  IFiles& files = *Os().files;
  // An empty append tells whether the file can be written before any step runs
  // (and refuses a link), so only a file of the log's own is ever moved aside.
  if (path.empty() || !files.AppendToFile(path, "")) return false;
  const std::optional<uint64_t> size = files.FileSize(path);
  if (size && *size > kLogBoundBytes) {
    const std::string rotated = RotatedLogName(path);
    // A log that cannot be moved aside is appended to as it is: no line is lost.
    if (files.MoveReplacing(path, rotated)) {
      if (!files.AppendToFile(path, "")) return false;
      rotatedTo_ = rotated;
    }
  }
  path_ = path;
  format_ = format;
  return true;
}

void TRunLog::Close() {
  path_.clear();
  rotatedTo_.clear();
  format_ = TLogFormat::kPlain;
  writeFailed_ = false;
}

void TRunLog::Line(const std::string& text, TLogKind kind) {
  if (!IsOpen()) return;
  ISystem& system = *Os().system;
  const std::string line =
      (format_ == TLogFormat::kCmTrace
           ? CmTraceLine(OneLine(text), kind, system.LocalTime(), system.ProcessId())
           : system.LocalDateTimeText() + "  " + OneLine(text)) +
      "\r\n";
  if (Os().files->AppendToFile(path_, line)) return;
  // Said once to the debugger: the run itself must not fail for its log.
  if (!writeFailed_) Os().system->DebugOutput("Cannot write the log " + path_);
  writeFailed_ = true;
}

TRunLog& RunLog() {
  static TRunLog log;
  return log;
}

void LogLine(const std::string& text, TLogKind kind) { RunLog().Line(text, kind); }

void DebugLine(const std::string& text, TLogKind kind) {
  Os().system->DebugOutput(text);
  RunLog().Line(text, kind);
}

}  // namespace pinst
