#include "sys/run_cmd.h"

#include <array>
#include <cstring>

#include "platform/console.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "sys/debug_info.h"
#include "sys/run_log.h"
#include "sys/wait_limit.h"

namespace pinst {

namespace {

constexpr uint32_t kReadSize = 4096;
// How long one poll waits on the child when the pipe is empty. Waiting instead of
// spinning keeps the installer off the CPU while a slow command runs.
constexpr uint32_t kPollWaitMs = 10;
// ERROR_TIMEOUT, the exit code of a child ended at the wait limit.
constexpr uint32_t kErrorTimeout = 1460;

// Diagnostic lines, GBK.
// "RunCMD 创建管道失败，函数将退出！"
constexpr const char* kPipeFailed =
    "RunCMD \xB4\xB4\xBD\xA8\xB9\xDC\xB5\xC0\xCA\xA7\xB0\xDC\xA3\xAC\xBA\xAF\xCA\xFD\xBD\xAB"
    "\xCD\xCB\xB3\xF6\xA3\xA1";
// "RunCMD 创建进程失败，函数将退出！"
constexpr const char* kProcessFailed =
    "RunCMD \xB4\xB4\xBD\xA8\xBD\xF8\xB3\xCC\xCA\xA7\xB0\xDC\xA3\xAC\xBA\xAF\xCA\xFD\xBD\xAB"
    "\xCD\xCB\xB3\xF6\xA3\xA1";
// "RunCMD PeekNamedPipe失败，函数将退出！"
constexpr const char* kPeekFailed =
    "RunCMD PeekNamedPipe\xCA\xA7\xB0\xDC\xA3\xAC\xBA\xAF\xCA\xFD\xBD\xAB\xCD\xCB\xB3\xF6\xA3\xA1";

void LogFailure(const char* text) { WriteDebugInfo(text, DebugState().runCmdLogMode, ""); }

}  // namespace

int RunCMD(const std::string& commandLine, StringList& output) {
  std::array<char, kMaxCommandLine + 1> command{};
  // A wait that ran past the limit ends the run: no later command waits a second limit.
  if (WaitTimedOut()) {
    LogLine("Not started, an earlier wait ran past the limit: " + commandLine);
    return kRunCmdNoProcess;
  }

  IConsole& console = *Os().console;
  std::unique_ptr<IOutputPipe> pipe = console.CreatePipe();
  if (!pipe) {
    LogFailure(kPipeFailed);
    return kRunCmdNoPipe;
  }
  // A command that does not fit the buffer is refused whole: running a cut
  // command line could run something else than was asked.
  std::unique_ptr<IConsoleChild> child;
  if (commandLine.size() <= kMaxCommandLine && commandLine.find('\0') == std::string::npos) {
    std::memcpy(command.data(), commandLine.data(), commandLine.size());
    child = console.StartHidden(command.data(), *pipe);
  }
  if (!child) {
    LogFailure(kProcessFailed);
    return kRunCmdNoProcess;
  }

  const CaptureResult captured = CaptureChildOutput(*pipe, *child, output);
  if (captured.peekFailed) LogFailure(kPeekFailed);
  if (captured.timedOut) NoteWaitTimedOut(commandLine);
  return captured.anyRead ? kRunCmdOutput : kRunCmdNoOutput;
}

CaptureResult CaptureChildOutput(IOutputPipe& pipe, IConsoleChild& child, StringList& output) {
  CaptureResult result;
  std::array<char, 5000> buffer{};
  // lastCount follows the most recent peek or read; the loop only ends after one
  // that saw nothing, so the closing item is empty.
  uint32_t lastCount = 0;
  bool ended = false;
  const std::optional<uint64_t> limit = WaitLimit();
  const uint32_t started = Os().system->TickCountMs();
  for (;;) {
    uint32_t available = 0;
    if (!pipe.Peek(available)) {
      result.peekFailed = true;
      lastCount = 0;
      break;
    }
    lastCount = available;
    if (available > 0) {
      if (!pipe.Read(buffer.data(), kReadSize, lastCount)) {
        lastCount = 0;
        break;
      }
      output.emplace_back(buffer.data(), lastCount);
      result.anyRead = true;
      continue;
    }
    // The child may write its last bytes and end between the peek and the wait:
    // after it has ended, look at the pipe once more before leaving.
    if (ended) break;
    ended = child.WaitForExit(kPollWaitMs);
    if (!ended && limit && Os().system->TickCountMs() - started >= *limit) {
      child.Terminate(kErrorTimeout);
      result.timedOut = true;
      ended = true;
    }
  }
  output.emplace_back(buffer.data(), lastCount);

  pipe.CloseReadEnd();
  child.CloseThreadHandle();
  child.CloseProcessHandle();
  pipe.CloseWriteEnd();
  return result;
}

std::string JoinOutput(const StringList& output) {
  std::string text;
  for (const std::string& item : output) text += item + "\r\n";
  return text;
}

}  // namespace pinst
