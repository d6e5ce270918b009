// The run log: one line per step of a run, appended to a text file that whoever
// deployed the installer can read afterwards. Lines are ANSI text with CR LF, in
// the plain format or in the one Configuration Manager's log viewer reads.
#pragma once

#include <cstdint>
#include <string>

#include "sys/log_kind.h"

namespace pinst {

// A log every detection run appends to must not grow without end: a run that
// opens a log larger than this first moves its lines aside (RotatedLogName, one
// earlier generation kept) and starts the file anew.
inline constexpr uint64_t kLogBoundBytes = 1024 * 1024;

// Where a log's earlier lines go: "x.log" becomes "x.lo_" (the name the log
// viewer knows), any other name gets ".old" added.
std::string RotatedLogName(const std::string& path);

class TRunLog {
 public:
  // Starts logging to path (appending to what it holds, or to a new file when it
  // has passed the bound). False when the file cannot be written; the log then
  // stays closed.
  bool Open(const std::string& path, TLogFormat format = TLogFormat::kPlain);
  void Close();
  bool IsOpen() const { return !path_.empty(); }
  const std::string& Path() const { return path_; }
  // Where Open moved the earlier lines; empty when it moved none.
  const std::string& RotatedTo() const { return rotatedTo_; }
  // Appends one entry for text. Line breaks inside text become blanks, so each
  // entry stays one line. The plain format writes "<local date and time>  text"
  // and shows no kind.
  void Line(const std::string& text, TLogKind kind = TLogKind::kInfo);

 private:
  std::string path_;
  std::string rotatedTo_;
  TLogFormat format_ = TLogFormat::kPlain;
  bool writeFailed_ = false;
};

// The process-wide log (closed until someone opens it).
TRunLog& RunLog();

// A line for the run log, if one is open.
void LogLine(const std::string& text, TLogKind kind = TLogKind::kInfo);

// A line for the debugger, and for the run log if one is open.
void DebugLine(const std::string& text, TLogKind kind = TLogKind::kInfo);

}  // namespace pinst
