// Console commands run hidden with their standard output on an anonymous pipe:
// the pieces RunCMD is made of, shaped like CreatePipe, CreateProcessA,
// PeekNamedPipe, ReadFile and WaitForSingleObject.
#pragma once

#include <cstdint>
#include <memory>

namespace pinst {

class IOutputPipe {
 public:
  // Closes whatever end is still open.
  virtual ~IOutputPipe() = default;
  // PeekNamedPipe on the read end; false when the call fails.
  virtual bool Peek(uint32_t& bytesAvailable) = 0;
  // ReadFile on the read end; false when the read fails.
  virtual bool Read(char* buffer, uint32_t capacity, uint32_t& bytesRead) = 0;
  virtual void CloseReadEnd() = 0;
  virtual void CloseWriteEnd() = 0;
};

class IConsoleChild {
 public:
  // Closes the thread and process handles.
  virtual ~IConsoleChild() = default;
  // WaitForSingleObject on the process: true when it has ended within the time-out.
  virtual bool WaitForExit(uint32_t timeoutMs) = 0;
  // Ends a child that runs too long, with every process it started (a job object,
  // TerminateJobObject; TerminateProcess of the child alone where it has no job).
  virtual void Terminate(uint32_t exitCode) = 0;
  virtual void CloseThreadHandle() = 0;
  virtual void CloseProcessHandle() = 0;
};

class IConsole {
 public:
  virtual ~IConsole() = default;
  // CreatePipe with inheritable handles and the default size; null on failure.
  virtual std::unique_ptr<IOutputPipe> CreatePipe() = 0;
  // CreateProcessA(no application name, commandLine, inherit handles, CREATE_SUSPENDED,
  // then put in a job object of its own and resumed,
  // STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES, SW_HIDE, stdout = the pipe's write
  // end). commandLine is the caller's writable, zero-terminated buffer. Null on failure.
  virtual std::unique_ptr<IConsoleChild> StartHidden(char* commandLine, IOutputPipe& pipe) = 0;
};

}  // namespace pinst
