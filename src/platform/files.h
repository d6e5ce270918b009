// Files with Windows path rules: backslashes, drive letters, names compared
// without regard to case, relative paths taken from the current directory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pinst {

class IFiles {
 public:
  virtual ~IFiles() = default;

  // A regular file exists at the path (attributes readable, not a directory).
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  // FileExists with critical errors failed rather than shown: a drive without a
  // medium answers "no" instead of raising the system's own "No disk" box. The
  // process error mode is put back afterwards.
  virtual bool ProbeFileQuietly(const std::string& path) = 0;
  // The whole file as bytes; nullopt when it cannot be opened or read.
  virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
  // Creates or replaces the file with these bytes.
  virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
  // Appends the bytes at the end of the file, creating it when missing; other
  // writers may append to it at the same time. A file that is a link (a reparse
  // point, or one of several hard links) is not written: false.
  virtual bool AppendToFile(const std::string& path, const std::string& bytes) = 0;
  // The size in bytes of a regular file; nullopt when there is none or it cannot be asked.
  virtual std::optional<uint64_t> FileSize(const std::string& path) = 0;
  // MoveFileExA with MOVEFILE_REPLACE_EXISTING: the file (or the link itself) takes
  // the new name; a file of that name is replaced, never written through.
  virtual bool MoveReplacing(const std::string& from, const std::string& to) = 0;
  // CreateDirectoryA; true also when the folder is there already.
  virtual bool CreateFolder(const std::string& path) = 0;
  // DeleteFileA; false for a file in use (a running program) or not there.
  virtual bool Erase(const std::string& path) = 0;
  // RemoveDirectoryA: an empty folder only.
  virtual bool RemoveEmptyFolder(const std::string& path) = 0;
  // MoveFileExA(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT): the file, or the folder
  // once it is empty, is deleted when Windows next starts. Needs an administrator.
  virtual bool EraseAtRestart(const std::string& path) = 0;
  // CopyFileA.
  virtual bool Copy(const std::string& from, const std::string& to, bool failIfExists) = 0;
  // GetFullPathNameA: absolute form from the current directory, "." and ".." folded.
  virtual std::string FullPath(const std::string& path) = 0;
  virtual std::string CurrentDirectory() = 0;
  // GetSystemDirectoryA.
  virtual std::string SystemDirectory() = 0;
  // GetTempPathA: the temporary folder, with its trailing backslash.
  virtual std::string TempDirectory() = 0;
  // Full path of the running program (GetModuleFileNameA of the exe).
  virtual std::string ModuleFileName() = 0;
};

}  // namespace pinst
