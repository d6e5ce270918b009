// Where the loader looks for libraries: never in the current directory, which a
// user (or a file dropped beside the distribution) controls.
#pragma once

#include <windows.h>

#include <string>

namespace pinst::win32 {

// Drops the current directory from the process's library search: SetDllDirectoryA("")
// (XP SP1 and later) and SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS)
// (Windows 8, or 7 with its loader update), each only where kernel32 has it.
void RemoveCurrentDirectoryFromDllSearch();

// LoadLibraryA as the installer wants it. A path with a folder part
// ("i386\inst2k.dll") is taken from the current directory (the distribution
// folder) by its full path, and the libraries it imports are looked for in its own
// folder first, then in the default places. A bare name is left to the loader's
// search.
HMODULE LoadLibraryFromItsFolder(const std::string& path);

}  // namespace pinst::win32
