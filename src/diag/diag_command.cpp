#include "diag/diag_command.h"

#include <array>
#include <cstring>

#include "platform/console.h"
#include "platform/platform.h"
#include "ui/application.h"

namespace pinst {

namespace {

// The hourglass for as long as the runner runs, whichever way it ends.
struct BusyCursor {
  BusyCursor() { ui::Application().SetBusyCursor(true); }
  ~BusyCursor() { ui::Application().SetBusyCursor(false); }
};

}  // namespace

void RunDiagCommand(const std::string& commandLine, StringList& output) {
  BusyCursor busy;
  std::array<char, kMaxCommandLine + 1> command{};

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

  // Same capture as RunCMD; this window reports no result and ends quietly on a
  // failed peek.
  CaptureChildOutput(*pipe, *child, output);
}

}  // namespace pinst
