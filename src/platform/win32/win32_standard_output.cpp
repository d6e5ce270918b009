// Standard output of a GUI program. Windows gives a GUI program a standard output
// handle only when whoever started it redirected one (a script writing to a file
// or a pipe); started from cmd without that, the lines go to cmd's console.
#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/win32_system.h"

namespace pinst::win32 {

namespace {

constexpr DWORD kAttachParentProcess = static_cast<DWORD>(-1);

// The console of the program that started this one, opened for writing; null when
// there is none or this Windows has no AttachConsole (Windows 2000).
ScopedHandle ParentConsole() {
  using AttachConsoleFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = ::GetModuleHandleA("kernel32");
  if (!kernel) return ScopedHandle();
  auto attach = reinterpret_cast<AttachConsoleFn>(
      reinterpret_cast<void*>(::GetProcAddress(kernel, "AttachConsole")));
  if (!attach || !attach(kAttachParentProcess)) return ScopedHandle();
  return ScopedHandle(::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
}

bool IsWritableStream(HANDLE handle) {
  if (!handle || handle == INVALID_HANDLE_VALUE) return false;
  const DWORD type = ::GetFileType(handle);
  return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE || type == FILE_TYPE_CHAR;
}

// Chosen once per process: the first line decides where all of them go.
HANDLE OutputHandle() {
  static ScopedHandle console;
  static const HANDLE chosen = [] {
    HANDLE standard = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (IsWritableStream(standard)) return standard;
    console = ParentConsole();
    return console ? console.Get() : static_cast<HANDLE>(nullptr);
  }();
  return chosen;
}

}  // namespace

void Win32System::WriteStandardOutput(const std::string& bytes) {
  HANDLE out = OutputHandle();
  if (!out) return;
  const char* data = bytes.data();
  DWORD left = static_cast<DWORD>(bytes.size());
  while (left > 0) {
    DWORD written = 0;
    if (!::WriteFile(out, data, left, &written, nullptr) || written == 0) return;
    data += written;
    left -= written;
  }
}

}  // namespace pinst::win32
