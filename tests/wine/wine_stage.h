// A distribution folder staged for one test under the temporary folder, with the
// companion programs copied in from the build, made the current directory while
// the test runs and removed afterwards.
#pragma once

#include <windows.h>

#include <string>

namespace pinst::wine {

inline std::string FullPathOf(const std::string& path) {
  char buffer[MAX_PATH] = {};
  ::GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
  return buffer;
}

inline std::string ExeFolder() {
  char buffer[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  std::string path = buffer;
  return path.substr(0, path.rfind('\\') + 1);
}

// Where the builds put the companion programs (this program is in <tree>/tests/wine). The
// x86_64 test tree builds both folders' programs itself, all of them x86_64.
inline std::string ToolsI386() { return FullPathOf(ExeFolder() + "..\\..\\tools\\out\\i386\\"); }
#ifdef _WIN64
inline std::string ToolsX64() { return FullPathOf(ExeFolder() + "..\\..\\tools\\out\\X64\\"); }
#else
inline std::string ToolsX64() {
  return FullPathOf(ExeFolder() + "..\\..\\..\\win64\\tools\\out\\X64\\");
}
#endif

inline std::string ReadText(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string text;
  char chunk[4096];
  DWORD got = 0;
  while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
  ::CloseHandle(file);
  return text;
}

inline bool WriteText(const std::string& path, const std::string& text) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok =
      ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == text.size();
}

inline void DeleteTree(const std::string& folder) {
  if (folder.size() < 4) return;  // never a drive's root or an empty path
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(folder + name + "\\");
      } else {
        ::DeleteFileA((folder + name).c_str());
      }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryA(folder.c_str());
}

class Stage {
 public:
  explicit Stage(const std::string& name) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    root_ =
        std::string(temp) + "pinst-" + name + "-" + std::to_string(::GetCurrentProcessId()) + "\\";
    DeleteTree(root_);
    ::CreateDirectoryA(root_.c_str(), nullptr);
    ::CreateDirectoryA((root_ + "i386").c_str(), nullptr);
    ::CreateDirectoryA((root_ + "X64").c_str(), nullptr);
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, current);
    previous_ = current;
    ::SetCurrentDirectoryA(root_.c_str());
  }
  ~Stage() {
    ::SetCurrentDirectoryA(previous_.c_str());
    DeleteTree(root_);
  }
  Stage(const Stage&) = delete;
  Stage& operator=(const Stage&) = delete;

  // The folder, with its trailing backslash.
  const std::string& Root() const { return root_; }
  // Copies a built companion program into the stage ("i386\inst2k.dll").
  bool Take(const std::string& from, const std::string& to) {
    return ::CopyFileA(from.c_str(), (root_ + to).c_str(), FALSE) != FALSE;
  }

 private:
  std::string root_;
  std::string previous_;
};

}  // namespace pinst::wine
