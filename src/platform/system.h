// System facts, debugger output, pauses and the plain message box.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace pinst {

struct OsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
};

// A day of the local calendar (GetLocalTime's year, month and day).
struct LocalDay {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t day = 0;
};

// MessageBoxA flags and answers, with their Windows values.
enum : uint32_t {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbYesNoCancel = 0x3,
  kMbYesNo = 0x4,
  kMbIconError = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconWarning = 0x30,
  kMbIconInformation = 0x40,
};
enum : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// The local date and time of an instant, and the bias in force then: UTC minus
// local time in minutes, with the sign of TIME_ZONE_INFORMATION's Bias (480 in
// California in winter, -60 in Berlin, 0 in London in winter).
struct LocalTimeStamp {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
  int32_t biasMinutes = 0;
};

// The processor Windows itself runs on, whatever this program was built for.
enum class NativeMachine { kX86, kX64, kArm64 };

// A machine-wide named mutex, held for as long as the object lives.
class IInstanceLock {
 public:
  virtual ~IInstanceLock() = default;
};

class ISystem {
 public:
  virtual ~ISystem() = default;

  // GetVersionExA with the 148-byte OSVERSIONINFOA.
  virtual OsVersion GetVersion() = 0;
  // IsWow64Process for the current process; nullopt when kernel32 lacks the export.
  virtual std::optional<bool> IsWow64Process() = 0;
  // IsWow64Process2's native machine where kernel32 has it (Windows 10 and later);
  // otherwise x64 for a 64-bit program or one under WOW64, else x86.
  virtual NativeMachine GetNativeMachine() = 0;
  // Windows.Graphics.Printing.ProtectedPrint.WindowsProtectedPrintInfo's
  // IsProtectedPrintEnabled (Windows 11 24H2 and later, combase looked up at run
  // time); nullopt where Windows does not offer it or gives no answer.
  virtual std::optional<bool> IsProtectedPrintEnabled() = 0;
  virtual uint16_t GetSystemDefaultLangID() = 0;
  // GetACP: the ANSI code page all byte strings are in.
  virtual uint32_t GetAnsiCodePage() = 0;
  // UTF-16 text to the ANSI code page (WideCharToMultiByte with default characters).
  virtual std::string WideToAnsi(const std::u16string& text) = 0;
  virtual void DebugOutput(const std::string& line) = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
  // GetTickCount: milliseconds since start-up, wrapping after 49 days.
  virtual uint32_t TickCountMs() = 0;
  // Local date and time in the system's short date and long time format.
  virtual std::string LocalDateTimeText() = 0;
  // The local time now, to the millisecond, with the bias in force.
  virtual LocalTimeStamp LocalTime() = 0;
  // GetCurrentProcessId.
  virtual uint32_t ProcessId() = 0;
  // GetLocalTime's date.
  virtual LocalDay Today() = 0;
  // MessageBoxA; owner 0 means none. Returns the button pressed (kIdOk ...).
  virtual int ShowMessageBox(uintptr_t owner, const std::string& text, const std::string& caption,
                             uint32_t flags) = 0;
  // CreateMutexA of that name; null when another process holds it already.
  virtual std::unique_ptr<IInstanceLock> LockInstance(const std::string& name) = 0;
  // Brings the visible top-level window of that class, of another process, to
  // the front; false when there is none.
  virtual bool ActivateWindowOfClass(const std::string& className) = 0;
  // Bytes for standard output, as written: to the file, pipe or console the
  // program's standard output handle names; else to the console of the program
  // that started it (AttachConsole); else nowhere.
  virtual void WriteStandardOutput(const std::string& bytes) = 0;
};

}  // namespace pinst
