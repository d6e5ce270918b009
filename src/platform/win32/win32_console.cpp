#include "platform/win32/win32_console.h"

#include <windows.h>

#include <utility>

#include "platform/win32/handles.h"

namespace pinst::win32 {

namespace {

class Win32Pipe : public IOutputPipe {
 public:
  Win32Pipe(HANDLE read, HANDLE write) : read_(read), write_(write) {}
  bool Peek(uint32_t& bytesAvailable) override {
    char one = 0;
    DWORD peeked = 0;
    bytesAvailable = 0;
    if (!::PeekNamedPipe(read_.Get(), &one, 1, &peeked, nullptr, nullptr)) return false;
    bytesAvailable = peeked;
    return true;
  }
  bool Read(char* buffer, uint32_t capacity, uint32_t& bytesRead) override {
    DWORD got = 0;
    const BOOL ok = ::ReadFile(read_.Get(), buffer, capacity, &got, nullptr);
    bytesRead = ok ? got : 0;
    return ok != FALSE;
  }
  void CloseReadEnd() override { read_.Reset(); }
  void CloseWriteEnd() override { write_.Reset(); }
  HANDLE WriteEnd() const { return write_.Get(); }

 private:
  ScopedHandle read_;
  ScopedHandle write_;
};

class Win32Child : public IConsoleChild {
 public:
  Win32Child(HANDLE process, HANDLE thread, ScopedHandle job)
      : process_(process), thread_(thread), job_(std::move(job)) {}
  bool WaitForExit(uint32_t timeoutMs) override {
    return ::WaitForSingleObject(process_.Get(), timeoutMs) == WAIT_OBJECT_0;
  }
  void CloseThreadHandle() override { thread_.Reset(); }
  void CloseProcessHandle() override { process_.Reset(); }
  // The whole tree: "cmd /C tool" ending cmd alone would leave the tool running.
  void Terminate(uint32_t exitCode) override {
    if (job_ && ::TerminateJobObject(job_.Get(), exitCode)) return;
    ::TerminateProcess(process_.Get(), exitCode);
  }

 private:
  ScopedHandle process_;
  ScopedHandle thread_;
  ScopedHandle job_;  // every process the command started; none where it could not be made
};

// A job for the child, which is still suspended, so that nothing it starts can
// escape before it is in. Empty where the child cannot be put in one (a job
// the installer itself runs in, before Windows 8, allows no other).
ScopedHandle PutInJob(HANDLE process) {
  ScopedHandle job(::CreateJobObjectA(nullptr, nullptr));
  if (job && !::AssignProcessToJobObject(job.Get(), process)) job.Reset();
  return job;
}

}  // namespace

std::unique_ptr<IOutputPipe> Win32Console::CreatePipe() {
  SECURITY_ATTRIBUTES security = {};
  security.nLength = sizeof security;  // 12 bytes
  security.bInheritHandle = TRUE;
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  if (!::CreatePipe(&read, &write, &security, 0)) return nullptr;
  return std::make_unique<Win32Pipe>(read, write);
}

std::unique_ptr<IConsoleChild> Win32Console::StartHidden(char* commandLine, IOutputPipe& pipe) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;  // 68 bytes
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = static_cast<Win32Pipe&>(pipe).WriteEnd();
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &info)) {
    return nullptr;
  }
  ScopedHandle job = PutInJob(info.hProcess);
  ::ResumeThread(info.hThread);
  return std::make_unique<Win32Child>(info.hProcess, info.hThread, std::move(job));
}

}  // namespace pinst::win32
