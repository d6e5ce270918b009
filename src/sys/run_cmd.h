// Console commands run hidden, standard output captured in chunks.
#pragma once

#include <string>

#include "base/string_list.h"
#include "platform/console.h"

namespace pinst {

// Results of RunCMD.
enum : int {
  kRunCmdOutput = 1,      // ran, and at least one chunk was read
  kRunCmdNoOutput = 0,    // ran, nothing read (or the first peek failed)
  kRunCmdNoPipe = -1,     // the pipe could not be created
  kRunCmdNoProcess = -2,  // the process could not be created (or the line is too long)
};

// Longest command line the runner accepts (the command buffer holds 255 bytes).
constexpr size_t kMaxCommandLine = 254;

// Runs commandLine and appends its output to output: one item per chunk read (up
// to 4096 bytes each, not lines), then one more item holding the last chunk's
// tail (empty after a normal end).
int RunCMD(const std::string& commandLine, StringList& output);

struct CaptureResult {
  bool anyRead = false;     // at least one chunk was read
  bool peekFailed = false;  // the loop ended on a failed peek
  bool timedOut = false;    // the child ran past the wait limit and was ended
};

// Reads a started child's standard output until the child has ended and the pipe
// is empty (or a peek or read fails): one item per chunk, then the closing item.
// A child still running at the wait limit (sys/wait_limit.h) is ended (1460).
// Closes the read end, the thread and process handles and the write end, in order.
CaptureResult CaptureChildOutput(IOutputPipe& pipe, IConsoleChild& child, StringList& output);

// The items joined with CR LF after each, as the callers search them.
std::string JoinOutput(const StringList& output);

}  // namespace pinst
