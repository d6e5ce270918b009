// Programs started with CreateProcessA, and the handle of the started process.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace pinst {

// CreateProcessA creation flags, STARTUPINFOA flags and show states, with their
// Windows values.
enum : uint32_t {
  kDetachedProcess = 0x00000008,
  kCreateNewConsole = 0x00000010,
  kNormalPriorityClass = 0x00000020,
  kStartfUseShowWindow = 0x00000001,
  kStartfUseStdHandles = 0x00000100,
};
enum : uint16_t { kSwHide = 0, kSwShowDefault = 10 };
// GetExitCodeProcess of a process that has not ended.
constexpr uint32_t kStillActive = 259;

// The arguments of one CreateProcessA call that vary between callers. There is
// never an application name, security attributes or an environment of its own,
// and the start-up information carries no standard handles.
struct ProcessStartInfo {
  std::string commandLine;
  bool inheritHandles = false;
  uint32_t creationFlags = 0;
  std::string currentDirectory;  // empty: the caller's
  uint32_t startupFlags = 0;     // STARTUPINFOA.dwFlags
  uint16_t showWindow = 0;       // STARTUPINFOA.wShowWindow
};

// An open process handle. Destroying it closes the handle (the process runs on).
class IProcess {
 public:
  virtual ~IProcess() = default;
  // GetExitCodeProcess: kStillActive while it runs; nullopt when the call fails.
  virtual std::optional<uint32_t> ExitCode() = 0;
  // WaitForSingleObject: true when the process has ended within the time-out.
  virtual bool Wait(uint32_t timeoutMs) = 0;
  // TerminateProcess.
  virtual void Terminate(uint32_t exitCode) = 0;
};

class IProcesses {
 public:
  virtual ~IProcesses() = default;
  // CreateProcessA; the new thread's handle is closed at once. Null when the
  // process could not be created.
  virtual std::unique_ptr<IProcess> Start(const ProcessStartInfo& info) = 0;
};

// The handle of a started process, owned by one object at a time: empty (the
// "0" handle) by default, moved and never copied, closed when it goes.
class ProcessHandle {
 public:
  ProcessHandle() = default;
  explicit ProcessHandle(std::unique_ptr<IProcess> process) : process_(std::move(process)) {}
  ProcessHandle(ProcessHandle&&) noexcept = default;
  ProcessHandle& operator=(ProcessHandle&&) noexcept = default;

  explicit operator bool() const { return process_ != nullptr; }
  // The exit code, kStillActive while it runs; nullopt for an empty handle.
  std::optional<uint32_t> ExitCode() const {
    return process_ ? process_->ExitCode() : std::nullopt;
  }
  // True when the process has ended within the time-out; false for an empty handle.
  bool Wait(uint32_t timeoutMs) const { return process_ && process_->Wait(timeoutMs); }
  void Terminate(uint32_t exitCode) const {
    if (process_) process_->Terminate(exitCode);
  }
  void Close() { process_.reset(); }

 private:
  std::unique_ptr<IProcess> process_;
};

}  // namespace pinst
