#include "diag/test_command.h"

#include <array>
#include <cstring>

#include "platform/console.h"
#include "platform/platform.h"
#include "ui/application.h"

namespace pinst {

namespace {

constexpr uint32_t kReadSize = 4096;
// How long one poll waits on the child when the pipe is empty, as RunCMD does.
constexpr uint32_t kPollWaitMs = 10;

// The hourglass for as long as the runner runs, whichever way it ends.
struct BusyCursor {
  BusyCursor() { ui::Application().SetBusyCursor(true); }
  ~BusyCursor() { ui::Application().SetBusyCursor(false); }
};

}  // namespace

void RunTestCommand(const std::string& commandLine, StringList& output) {
  BusyCursor busy;
  std::array<char, kMaxCommandLine + 1> command{};
  std::array<char, 5000> buffer{};

  // Cutting the line would run some other command than the one typed; the
  // developer gets told instead, and nothing is written past the buffer.
  if (commandLine.size() > kMaxCommandLine || commandLine.find('\0') != std::string::npos) {
    ui::ShowMessage("Command line longer than 254 characters");
    return;
  }

  IConsole& console = *Os().console;
  std::unique_ptr<IOutputPipe> pipe = console.CreatePipe();
  if (!pipe) {
    ui::ShowMessage("Can not create pipe!");
    return;
  }
  std::memcpy(command.data(), commandLine.data(), commandLine.size());
  std::unique_ptr<IConsoleChild> child = console.StartHidden(command.data(), *pipe);
  if (!child) {
    ui::ShowMessage("can not create process");
    return;
  }

  uint32_t lastCount = 0;
  bool ended = false;
  for (;;) {
    uint32_t available = 0;
    if (!pipe->Peek(available)) {
      lastCount = 0;
      break;
    }
    lastCount = available;
    if (available > 0) {
      if (!pipe->Read(buffer.data(), kReadSize, lastCount)) {
        lastCount = 0;
        break;
      }
      output.emplace_back(buffer.data(), lastCount);
      continue;
    }
    // Look at the pipe once more after the child has ended: its last bytes may
    // have arrived between the peek and the wait.
    if (ended) break;
    ended = child->WaitForExit(kPollWaitMs);
  }
  output.emplace_back(buffer.data(), lastCount);

  pipe->CloseReadEnd();
  child->CloseThreadHandle();
  child->CloseProcessHandle();
  pipe->CloseWriteEnd();
}

}  // namespace pinst
