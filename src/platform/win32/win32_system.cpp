#include "platform/win32/win32_system.h"

#include <windows.h>

#include <vector>

namespace pinst::win32 {

OsVersion Win32System::GetVersion() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
  static_assert(sizeof(OSVERSIONINFOA) == 148);
  ::GetVersionExA(&info);
  return {info.dwMajorVersion, info.dwMinorVersion};
}

std::optional<bool> Win32System::IsWow64Process() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = ::GetModuleHandleA("kernel32");
  if (!kernel) return std::nullopt;
  auto fn = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void*>(::GetProcAddress(kernel, "IsWow64Process")));
  if (!fn) return std::nullopt;
  BOOL wow64 = FALSE;
  if (!fn(::GetCurrentProcess(), &wow64)) return false;
  return wow64 != FALSE;
}

NativeMachine Win32System::GetNativeMachine() {
  // IMAGE_FILE_MACHINE_* values; older headers lack the ARM64 one.
  constexpr USHORT kMachineI386 = 0x014C;
  constexpr USHORT kMachineAmd64 = 0x8664;
  constexpr USHORT kMachineArm64 = 0xAA64;
  using IsWow64Process2Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
  if (HMODULE kernel = ::GetModuleHandleA("kernel32")) {
    auto fn = reinterpret_cast<IsWow64Process2Fn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "IsWow64Process2")));
    USHORT process = 0;
    USHORT native = 0;
    if (fn && fn(::GetCurrentProcess(), &process, &native)) {
      if (native == kMachineArm64) return NativeMachine::kArm64;
      if (native == kMachineAmd64) return NativeMachine::kX64;
      if (native == kMachineI386) return NativeMachine::kX86;
    }
  }
  if (sizeof(void*) == 8) return NativeMachine::kX64;
  return IsWow64Process().value_or(false) ? NativeMachine::kX64 : NativeMachine::kX86;
}

uint16_t Win32System::GetSystemDefaultLangID() { return ::GetSystemDefaultLangID(); }

uint32_t Win32System::GetAnsiCodePage() { return ::GetACP(); }

std::string Win32System::WideToAnsi(const std::u16string& text) {
  if (text.empty()) return std::string();
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int size = static_cast<int>(text.size());
  const int needed = ::WideCharToMultiByte(CP_ACP, 0, wide, size, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::string();
  std::string out(static_cast<size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide, size, out.data(), needed, nullptr, nullptr);
  return out;
}

void Win32System::DebugOutput(const std::string& line) { ::OutputDebugStringA(line.c_str()); }

void Win32System::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

uint32_t Win32System::TickCountMs() { return ::GetTickCount(); }

std::string Win32System::LocalDateTimeText() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  char date[128] = {};
  char time[128] = {};
  ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, sizeof date);
  ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, sizeof time);
  return std::string(date) + " " + time;
}

LocalTimeStamp Win32System::LocalTime() {
  // One reading of the clock, turned into local time with the zone and daylight
  // saving in force now; the bias is the difference of the two.
  FILETIME utc = {};
  ::GetSystemTimeAsFileTime(&utc);
  FILETIME local = utc;
  ::FileTimeToLocalFileTime(&utc, &local);
  SYSTEMTIME fields = {};
  ::FileTimeToSystemTime(&local, &fields);
  const auto ticks = [](const FILETIME& time) {
    return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                                time.dwLowDateTime);
  };
  constexpr int64_t kTicksPerMinute = 60LL * 10000000;  // 100-ns units
  LocalTimeStamp now;
  now.year = fields.wYear;
  now.month = fields.wMonth;
  now.day = fields.wDay;
  now.hour = fields.wHour;
  now.minute = fields.wMinute;
  now.second = fields.wSecond;
  now.milliseconds = fields.wMilliseconds;
  now.biasMinutes = static_cast<int32_t>((ticks(utc) - ticks(local)) / kTicksPerMinute);
  return now;
}

uint32_t Win32System::ProcessId() { return ::GetCurrentProcessId(); }

LocalDay Win32System::Today() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return LocalDay{now.wYear, now.wMonth, now.wDay};
}

int Win32System::ShowMessageBox(uintptr_t owner, const std::string& text,
                                const std::string& caption, uint32_t flags) {
  return ::MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), caption.c_str(), flags);
}

namespace {

class Win32InstanceLock : public IInstanceLock {
 public:
  explicit Win32InstanceLock(HANDLE mutex) : mutex_(mutex) {}
  ~Win32InstanceLock() override {
    if (mutex_ != nullptr) ::CloseHandle(mutex_);
  }
  Win32InstanceLock(const Win32InstanceLock&) = delete;
  Win32InstanceLock& operator=(const Win32InstanceLock&) = delete;

 private:
  HANDLE mutex_;
};

}  // namespace

std::unique_ptr<IInstanceLock> Win32System::LockInstance(const std::string& name) {
  HANDLE mutex = ::CreateMutexA(nullptr, FALSE, name.c_str());
  const DWORD error = ::GetLastError();
  if (mutex != nullptr && error == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(mutex);
    return nullptr;
  }
  // Made by a run of another account (SYSTEM): there, but not ours to open.
  if (mutex == nullptr && error == ERROR_ACCESS_DENIED) return nullptr;
  // Any other failure leaves nothing to hold; the run goes on unguarded.
  return std::make_unique<Win32InstanceLock>(mutex);
}

bool Win32System::ActivateWindowOfClass(const std::string& className) {
  HWND window = ::FindWindowA(className.c_str(), nullptr);
  DWORD process = 0;
  if (window != nullptr) ::GetWindowThreadProcessId(window, &process);
  if (window == nullptr || process == ::GetCurrentProcessId() || !::IsWindowVisible(window)) {
    return false;
  }
  if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
  return ::SetForegroundWindow(window) != FALSE;
}

}  // namespace pinst::win32
