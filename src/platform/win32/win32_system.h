#pragma once

#include "platform/system.h"

namespace pinst::win32 {

class Win32System : public ISystem {
 public:
  OsVersion GetVersion() override;
  std::optional<bool> IsWow64Process() override;
  NativeMachine GetNativeMachine() override;
  std::optional<bool> IsProtectedPrintEnabled() override;
  uint16_t GetSystemDefaultLangID() override;
  uint32_t GetAnsiCodePage() override;
  std::string WideToAnsi(const std::u16string& text) override;
  void DebugOutput(const std::string& line) override;
  void Sleep(uint32_t milliseconds) override;
  uint32_t TickCountMs() override;
  std::string LocalDateTimeText() override;
  LocalTimeStamp LocalTime() override;
  uint32_t ProcessId() override;
  LocalDay Today() override;
  int ShowMessageBox(uintptr_t owner, const std::string& text, const std::string& caption,
                     uint32_t flags) override;
  std::unique_ptr<IInstanceLock> LockInstance(const std::string& name) override;
  bool ActivateWindowOfClass(const std::string& className) override;
  void WriteStandardOutput(const std::string& bytes) override;
};

}  // namespace pinst::win32
