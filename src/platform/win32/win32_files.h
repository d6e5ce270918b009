#pragma once

#include "platform/files.h"

namespace pinst::win32 {

// GetFullPathNameA of any length; the path unchanged when it fails.
std::string FullPathName(const std::string& path);

class Win32Files : public IFiles {
 public:
  bool FileExists(const std::string& path) override;
  bool ProbeFileQuietly(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override;
  bool AppendToFile(const std::string& path, const std::string& bytes) override;
  std::optional<uint64_t> FileSize(const std::string& path) override;
  bool MoveReplacing(const std::string& from, const std::string& to) override;
  bool CreateFolder(const std::string& path) override;
  bool Copy(const std::string& from, const std::string& to, bool failIfExists) override;
  bool Erase(const std::string& path) override;
  bool RemoveEmptyFolder(const std::string& path) override;
  bool EraseAtRestart(const std::string& path) override;
  std::string FullPath(const std::string& path) override;
  std::string CurrentDirectory() override;
  std::string SystemDirectory() override;
  std::string TempDirectory() override;
  std::string ModuleFileName() override;
};

}  // namespace pinst::win32
