#include "platform/win32/dll_search.h"

#include "base/win_path.h"
#include "platform/win32/win32_files.h"

namespace pinst::win32 {

namespace {

// The values from the loader update, spelled out for headers that predate it.
constexpr DWORD kSearchDllLoadDir = 0x00000100;   // LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR
constexpr DWORD kSearchDefaultDirs = 0x00001000;  // LOAD_LIBRARY_SEARCH_DEFAULT_DIRS

using SetDllDirectoryAPtr = BOOL(WINAPI*)(LPCSTR);
using SetDefaultDllDirectoriesPtr = BOOL(WINAPI*)(DWORD);

// A kernel32 export that older Windows lacks, or null.
template <typename Ptr>
Ptr Kernel32Export(const char* name) {
  HMODULE kernel32 = ::GetModuleHandleA("kernel32.dll");
  if (!kernel32) return nullptr;
  return reinterpret_cast<Ptr>(reinterpret_cast<void*>(::GetProcAddress(kernel32, name)));
}

}  // namespace

void RemoveCurrentDirectoryFromDllSearch() {
  if (auto setDllDirectory = Kernel32Export<SetDllDirectoryAPtr>("SetDllDirectoryA")) {
    setDllDirectory("");
  }
  if (auto setDefault = Kernel32Export<SetDefaultDllDirectoriesPtr>("SetDefaultDllDirectories")) {
    setDefault(kSearchDefaultDirs);
  }
}

HMODULE LoadLibraryFromItsFolder(const std::string& path) {
  if (FileNameStart(path, ::GetACP()) == 0) return ::LoadLibraryA(path.c_str());
  const std::string fullPath = FullPathName(path);
  // With the loader update the search flags say it exactly; before it, the altered
  // search order starts at the library's folder (the path must be a full one).
  const bool searchFlags = Kernel32Export<void*>("AddDllDirectory") != nullptr;
  return ::LoadLibraryExA(
      fullPath.c_str(), nullptr,
      searchFlags ? kSearchDllLoadDir | kSearchDefaultDirs : LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace pinst::win32
