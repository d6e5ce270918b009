// Simulated system facts, debugger output and message boxes.
#pragma once

#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_trace.h"
#include "platform/system.h"

namespace pinst::sim {

struct SimMessageBox {
  uintptr_t owner = 0;
  std::string text;
  std::string caption;
  uint32_t flags = 0;
  int answer = 0;
};

class SimSystem : public ISystem {
 public:
  explicit SimSystem(SimClock& clock) : clock_(clock) {}

  // What a test sets up.
  OsVersion version{5, 1};
  std::optional<bool> wow64 = false;  // nullopt: kernel32 lacks IsWow64Process
  // Unset: what a 32-bit program finds without IsWow64Process2 (x64 under WOW64, else x86).
  std::optional<NativeMachine> nativeMachine;
  // WindowsProtectedPrintInfo's answer; unset: Windows does not offer the class.
  std::optional<bool> protectedPrint;
  uint16_t langId = 0x0409;
  LocalDay today{2026, 12, 7};  // the day LocalDateTimeText gives
  uint32_t codePage = 1252;
  // UTC minus local time, in minutes (TIME_ZONE_INFORMATION's sign).
  int32_t timeZoneBias = 0;
  uint32_t processId = 4242;
  // Answers given to the next message boxes, in order; when none is queued the box
  // is answered with OK for an OK box and Cancel otherwise.
  std::deque<int> messageBoxAnswers;
  // Named mutexes other processes hold; the program's own are added while it holds them.
  std::set<std::string> heldMutexes;
  // Window classes of another process's visible windows.
  std::set<std::string> otherWindows;
  // What the program brought to the front.
  std::vector<std::string> activatedWindows;

  // What a test inspects.
  std::vector<std::string> debugLines;
  std::vector<SimMessageBox> messageBoxes;
  std::vector<uint32_t> sleeps;
  std::string standardOutput;  // every byte written to standard output
  int protectedPrintAsks = 0;  // how often the program asked WindowsProtectedPrintInfo
  SimTrace* trace = nullptr;
  SimFaults* faults = nullptr;

  OsVersion GetVersion() override { return version; }
  std::optional<bool> IsWow64Process() override { return wow64; }
  NativeMachine GetNativeMachine() override {
    return nativeMachine.value_or(wow64.value_or(false) ? NativeMachine::kX64
                                                        : NativeMachine::kX86);
  }
  std::optional<bool> IsProtectedPrintEnabled() override {
    ++protectedPrintAsks;
    return protectedPrint;
  }
  uint16_t GetSystemDefaultLangID() override { return langId; }
  uint32_t GetAnsiCodePage() override { return codePage; }
  std::string WideToAnsi(const std::u16string& text) override;
  void DebugOutput(const std::string& line) override { debugLines.push_back(line); }
  void Sleep(uint32_t milliseconds) override;
  uint32_t TickCountMs() override { return static_cast<uint32_t>(clock_.NowMs()); }
  std::string LocalDateTimeText() override;
  LocalTimeStamp LocalTime() override;
  uint32_t ProcessId() override { return processId; }
  LocalDay Today() override { return today; }
  int ShowMessageBox(uintptr_t owner, const std::string& text, const std::string& caption,
                     uint32_t flags) override;
  std::unique_ptr<IInstanceLock> LockInstance(const std::string& name) override;
  bool ActivateWindowOfClass(const std::string& className) override;
  void WriteStandardOutput(const std::string& bytes) override { standardOutput += bytes; }

 private:
  SimClock& clock_;
};

}  // namespace pinst::sim
