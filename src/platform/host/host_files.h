// A real folder on the build machine seen as Windows sees a distribution folder:
// it is the current directory "C:\<its name>", paths take backslashes and name
// files without regard to case. It only reads: the check writes nothing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/files.h"

namespace pinst {

class HostFiles : public IFiles {
 public:
  HostFiles(std::filesystem::path folder, uint32_t codePage);

  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  bool ProbeFileQuietly(const std::string& path) override { return FileExists(path); }
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  bool WriteWholeFile(const std::string&, const std::string&) override { return false; }
  bool AppendToFile(const std::string&, const std::string&) override { return false; }
  std::optional<uint64_t> FileSize(const std::string&) override { return std::nullopt; }
  bool MoveReplacing(const std::string&, const std::string&) override { return false; }
  bool CreateFolder(const std::string&) override { return false; }
  bool Copy(const std::string&, const std::string&, bool) override { return false; }
  bool Erase(const std::string&) override { return false; }
  bool RemoveEmptyFolder(const std::string&) override { return false; }
  bool EraseAtRestart(const std::string&) override { return false; }
  std::string FullPath(const std::string& path) override;
  std::string CurrentDirectory() override { return current_; }
  std::string SystemDirectory() override { return "C:\\WINDOWS\\system32"; }
  std::string TempDirectory() override { return "C:\\WINDOWS\\TEMP\\"; }
  std::string ModuleFileName() override { return current_ + "\\PrinterInstaller.exe"; }

 private:
  // The real path of a Windows path inside the folder; nullopt when it lies outside
  // or a part of it names nothing there.
  std::optional<std::filesystem::path> Resolve(const std::string& path);

  std::filesystem::path folder_;
  std::string current_;
  uint32_t codePage_;
};

}  // namespace pinst
