#include "platform/win32/win32_files.h"

#include <windows.h>

#include <vector>

#include "platform/win32/handles.h"

namespace pinst::win32 {

namespace {

// SEM_FAILCRITICALERRORS added to the process error mode for a scope, the mode
// before it restored at the end.
class QuietCriticalErrors {
 public:
  QuietCriticalErrors() : previous_(::SetErrorMode(SEM_FAILCRITICALERRORS)) {
    ::SetErrorMode(previous_ | SEM_FAILCRITICALERRORS);
  }
  ~QuietCriticalErrors() { ::SetErrorMode(previous_); }
  QuietCriticalErrors(const QuietCriticalErrors&) = delete;
  QuietCriticalErrors& operator=(const QuietCriticalErrors&) = delete;

 private:
  UINT previous_;
};

// Writes all the bytes to a file just opened (and closes it); false when it did not open.
bool WriteAll(HANDLE opened, const std::string& bytes) {
  ScopedHandle file(opened);
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

}  // namespace

bool Win32Files::FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32Files::ProbeFileQuietly(const std::string& path) {
  const QuietCriticalErrors quiet;
  return FileExists(path);
}

bool Win32Files::DirectoryExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::string> Win32Files::ReadWholeFile(const std::string& path) {
  ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  return bytes;
}

bool Win32Files::WriteWholeFile(const std::string& path, const std::string& bytes) {
  return WriteAll(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr),
                  bytes);
}

bool Win32Files::AppendToFile(const std::string& path, const std::string& bytes) {
  // FILE_APPEND_DATA alone makes every write land at the current end, also when
  // another process appends to the same file. The link itself is opened, not what
  // it points to, so that a link planted in the file's place is found and left.
  ScopedHandle file(::CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return false;
  BY_HANDLE_FILE_INFORMATION info = {};
  if (!::GetFileInformationByHandle(file.Get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || info.nNumberOfLinks > 1) {
    return false;
  }
  return WriteAll(file.Release(), bytes);
}

std::optional<uint64_t> Win32Files::FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool Win32Files::MoveReplacing(const std::string& from, const std::string& to) {
  return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool Win32Files::CreateFolder(const std::string& path) {
  return ::CreateDirectoryA(path.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool Win32Files::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  return ::CopyFileA(from.c_str(), to.c_str(), failIfExists) != FALSE;
}

bool Win32Files::Erase(const std::string& path) { return ::DeleteFileA(path.c_str()) != FALSE; }

bool Win32Files::RemoveEmptyFolder(const std::string& path) {
  return ::RemoveDirectoryA(path.c_str()) != FALSE;
}

bool Win32Files::EraseAtRestart(const std::string& path) {
  return ::MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

std::string FullPathName(const std::string& path) {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD needed =
        ::GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (needed == 0) return path;
    if (needed < buffer.size()) return std::string(buffer.data(), needed);
    buffer.resize(needed + 1);
  }
}

std::string Win32Files::FullPath(const std::string& path) { return FullPathName(path); }

std::string Win32Files::CurrentDirectory() {
  std::vector<char> buffer(MAX_PATH);
  const DWORD needed = ::GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  if (needed >= buffer.size()) {
    buffer.resize(needed + 1);
    ::GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  }
  return buffer.data();
}

std::string Win32Files::SystemDirectory() {
  char buffer[MAX_PATH] = {};
  ::GetSystemDirectoryA(buffer, MAX_PATH);
  return buffer;
}

std::string Win32Files::TempDirectory() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathA(sizeof buffer, buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

std::string Win32Files::ModuleFileName() {
  char buffer[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return buffer;
}

}  // namespace pinst::win32
