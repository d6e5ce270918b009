// Windows path arithmetic on byte strings, without touching any file system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pinst {

// The absolute form of path as GetFullPathNameA gives it: relative paths are taken
// from currentDir (itself absolute, such as "C:\dist"), "\x" from its drive,
// "." and ".." segments folded, "/" turned into "\". A trailing backslash is kept.
std::string AbsolutePath(std::string_view currentDir, std::string_view path, uint32_t codePage);

// Position just after the last backslash (0 when there is none).
size_t FileNameStart(std::string_view path, uint32_t codePage);

// The folder part with its trailing backslash ("C:\a\b.exe" gives "C:\a\").
std::string FolderOf(std::string_view path, uint32_t codePage);

// The name after the last backslash.
std::string FileNameOf(std::string_view path, uint32_t codePage);

// path expressed relative to folder, both absolute (as AbsolutePath gives them):
// the common leading folders dropped (compared without regard to case), one "..\"
// for each folder climbed out of. A path on another drive or share, or one that is
// not absolute, comes back unchanged. The folder itself gives ".".
std::string RelativePath(std::string_view folder, std::string_view path, uint32_t codePage);

}  // namespace pinst
