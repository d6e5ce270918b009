// A simulated disk with Windows path rules: names compared without regard to
// (ASCII) case, a current directory, drive letters, no path of MAX_PATH characters
// or more.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_system.h"

namespace pinst::sim {

class SimFiles : public IFiles {
 public:
  explicit SimFiles(SimSystem& system) : system_(system) {
    AddDirectory(currentDirectory);
    AddDirectory(systemDirectory);
    AddDirectory(tempDirectory);
  }

  // What a test sets up.
  std::string currentDirectory = "C:\\dist";
  std::string systemDirectory = "C:\\WINDOWS\\system32";
  std::string tempDirectory = "C:\\WINDOWS\\TEMP\\";
  std::string moduleFileName = "C:\\dist\\PrinterInstaller.exe";
  // Paths relative to currentDirectory are allowed; parent folders appear by themselves.
  void AddFile(const std::string& path, const std::string& bytes = std::string());
  void AddDirectory(const std::string& path);
  void RemoveFile(const std::string& path);
  // Makes later reads of this file fail (as a locked or unreadable file would).
  void MakeUnreadable(const std::string& path);
  // A link planted at the path (a reparse point or a second hard link): reads go
  // through, appends are refused.
  void PlantLink(const std::string& path);

  // What a test (or another part of the sim) inspects, without counting as a call.
  std::optional<std::string> Contents(const std::string& path);
  bool HasFile(const std::string& path);
  bool HasDirectory(const std::string& path);
  std::vector<std::pair<std::string, std::string>> copies;  // (from, to) attempted
  SimFaults* faults = nullptr;
  std::vector<std::string> quietProbes;  // paths probed quietly
  // A file in use (the running program): not deleted until Windows restarts.
  void MarkInUse(const std::string& path) { inUse_.insert(Key(path)); }
  // What the program asked Windows to delete at its next start, in order.
  std::vector<std::string> erasedAtRestart;
  // Windows restarts: what was asked for is deleted, in order (a folder once empty).
  void Restart();

  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  bool ProbeFileQuietly(const std::string& path) override;
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
  std::string CurrentDirectory() override { return currentDirectory; }
  std::string SystemDirectory() override { return systemDirectory; }
  std::string TempDirectory() override { return tempDirectory; }
  std::string ModuleFileName() override { return moduleFileName; }

 private:
  std::string Key(const std::string& path);
  std::optional<std::string> Read(const std::string& path);
  bool Write(const std::string& path, const std::string& bytes);
  bool TooLong(const std::string& path);

  SimSystem& system_;
  std::map<std::string, std::string> files_;  // key: upper-cased absolute path
  std::set<std::string> directories_;
  std::set<std::string> unreadable_;
  std::set<std::string> links_;
  std::set<std::string> inUse_;
};

}  // namespace pinst::sim
