// CPU time the installer spends in RunCMD while a two-second command runs:
// the runner as built (waiting on the child between peeks) side by side with the
// same loop spinning (a zero time-out, as a plain poll loop would).
#include <windows.h>

#include <cstdio>

#include "platform/console.h"
#include "platform/platform.h"
#include "platform/win32/win32_platform.h"
#include "sys/run_cmd.h"

namespace {

// Passes everything through but never lets the runner wait on the child.
class SpinningConsole : public pinst::IConsole {
 public:
  explicit SpinningConsole(pinst::IConsole& real) : real_(real) {}
  std::unique_ptr<pinst::IOutputPipe> CreatePipe() override { return real_.CreatePipe(); }
  std::unique_ptr<pinst::IConsoleChild> StartHidden(char* line, pinst::IOutputPipe& pipe) override {
    auto child = real_.StartHidden(line, pipe);
    if (!child) return nullptr;
    return std::make_unique<NoWait>(std::move(child));
  }

 private:
  class NoWait : public pinst::IConsoleChild {
   public:
    explicit NoWait(std::unique_ptr<pinst::IConsoleChild> c) : c_(std::move(c)) {}
    bool WaitForExit(uint32_t) override { return c_->WaitForExit(0); }
    void CloseThreadHandle() override { c_->CloseThreadHandle(); }
    void CloseProcessHandle() override { c_->CloseProcessHandle(); }
    void Terminate(uint32_t exitCode) override { c_->Terminate(exitCode); }

   private:
    std::unique_ptr<pinst::IConsoleChild> c_;
  };
  pinst::IConsole& real_;
};

double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& t) {
    return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

struct Measure {
  double cpu;
  double wall;
  int result;
  size_t items;
};

Measure Run(const char* command) {
  pinst::StringList out;
  const double cpu0 = CpuSeconds();
  const DWORD wall0 = ::GetTickCount();
  const int result = pinst::RunCMD(command, out);
  return {CpuSeconds() - cpu0, (::GetTickCount() - wall0) / 1000.0, result, out.size()};
}

}  // namespace

int main() {
  pinst::win32::Win32Platform platform;
  const char* command = "sleeper.exe 2000";
  const Measure waiting = Run(command);
  pinst::IConsole* real = pinst::Os().console;
  SpinningConsole spinning(*real);
  pinst::Os().console = &spinning;
  const Measure spin = Run(command);
  pinst::Os().console = real;

  std::printf("RunCMD on a 2 s command (result, items, wall s, CPU s):\n");
  std::printf("  waiting poll: %d, %u, %.2f, %.3f\n", waiting.result,
              static_cast<unsigned>(waiting.items), waiting.wall, waiting.cpu);
  std::printf("  spinning poll: %d, %u, %.2f, %.3f\n", spin.result,
              static_cast<unsigned>(spin.items), spin.wall, spin.cpu);
  // Process times advance in clock ticks (15.6 ms on Windows): a waiting loop that
  // used less than one tick only bounds the ratio from below.
  constexpr double kTickSeconds = 0.0156;
  if (waiting.cpu < kTickSeconds) {
    std::printf("  CPU ratio spinning/waiting: >= %.0f\n", spin.cpu / kTickSeconds);
  } else {
    std::printf("  CPU ratio spinning/waiting: %.0f\n", spin.cpu / waiting.cpu);
  }
  return waiting.result == spin.result && waiting.items == spin.items ? 0 : 1;
}
