// The run log: one line per step of a run, appended to a text file that whoever
// deployed the installer can read afterwards. Lines are ANSI text with CR LF.
#pragma once

#include <string>

namespace pinst {

class TRunLog {
 public:
  // Starts logging to path (appending to what it holds). False when the file
  // cannot be written; the log then stays closed.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return !path_.empty(); }
  const std::string& Path() const { return path_; }
  // Appends "<local date and time> text". Line breaks inside text become blanks,
  // so each entry stays one line.
  void Line(const std::string& text);

 private:
  std::string path_;
  bool writeFailed_ = false;
};

// The process-wide log (closed until someone opens it).
TRunLog& RunLog();

// A line for the run log, if one is open.
void LogLine(const std::string& text);

// A line for the debugger, and for the run log if one is open.
void DebugLine(const std::string& text);

}  // namespace pinst
