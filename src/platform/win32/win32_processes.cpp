#include "platform/win32/win32_processes.h"

#include <windows.h>

#include <vector>

#include "platform/win32/handles.h"

namespace pinst::win32 {

namespace {

class Win32Process : public IProcess {
 public:
  explicit Win32Process(HANDLE process) : process_(process) {}

  std::optional<uint32_t> ExitCode() override {
    DWORD code = 0;
    if (!::GetExitCodeProcess(process_.Get(), &code)) return std::nullopt;
    return code;
  }
  bool Wait(uint32_t timeoutMs) override {
    return ::WaitForSingleObject(process_.Get(), timeoutMs) == WAIT_OBJECT_0;
  }
  void Terminate(uint32_t exitCode) override { ::TerminateProcess(process_.Get(), exitCode); }

 private:
  ScopedHandle process_;
};

}  // namespace

std::unique_ptr<IProcess> Win32Processes::Start(const ProcessStartInfo& info) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  static_assert(sizeof(STARTUPINFOA) == 68 || sizeof(void*) == 8);
  startup.dwFlags = info.startupFlags;
  startup.wShowWindow = info.showWindow;
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  std::vector<char> commandLine(info.commandLine.begin(), info.commandLine.end());
  commandLine.push_back('\0');
  PROCESS_INFORMATION created = {};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, info.inheritHandles,
                        info.creationFlags, nullptr,
                        info.currentDirectory.empty() ? nullptr : info.currentDirectory.c_str(),
                        &startup, &created)) {
    return nullptr;
  }
  ScopedHandle thread(created.hThread);
  return std::make_unique<Win32Process>(created.hProcess);
}

}  // namespace pinst::win32
