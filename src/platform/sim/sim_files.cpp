#include "platform/sim/sim_files.h"

#include "base/ansi_text.h"
#include "base/win_path.h"

namespace pinst::sim {

namespace {

// The "A" file calls take no path of MAX_PATH (260) characters or more.
constexpr size_t kMaxPath = 260;

}  // namespace

bool SimFiles::TooLong(const std::string& path) { return FullPath(path).size() >= kMaxPath; }

std::string SimFiles::FullPath(const std::string& path) {
  return AbsolutePath(currentDirectory, path, system_.codePage);
}

std::string SimFiles::Key(const std::string& path) {
  std::string full = FullPath(path);
  while (full.size() > 3 && full.back() == '\\') full.pop_back();
  return AsciiUpper(full, system_.codePage);
}

void SimFiles::AddFile(const std::string& path, const std::string& bytes) {
  const std::string key = Key(path);
  files_[key] = bytes;
  unreadable_.erase(key);
  // Every folder above the file exists.
  std::string folder = FolderOf(key, system_.codePage);
  while (folder.size() > 3) {
    folder.pop_back();
    directories_.insert(folder);
    folder = FolderOf(folder, system_.codePage);
  }
}

void SimFiles::AddDirectory(const std::string& path) {
  std::string key = Key(path);
  while (key.size() > 3) {
    directories_.insert(key);
    key = FolderOf(key, system_.codePage);
    if (key.size() > 3) key.pop_back();
  }
}

void SimFiles::RemoveFile(const std::string& path) { files_.erase(Key(path)); }

void SimFiles::MakeUnreadable(const std::string& path) { unreadable_.insert(Key(path)); }

std::optional<std::string> SimFiles::Contents(const std::string& path) {
  auto it = files_.find(Key(path));
  if (it == files_.end()) return std::nullopt;
  return it->second;
}

bool SimFiles::HasFile(const std::string& path) {
  if (path.empty() || TooLong(path)) return false;
  return files_.count(Key(path)) > 0;
}

bool SimFiles::HasDirectory(const std::string& path) {
  if (path.empty() || TooLong(path)) return false;
  const std::string key = Key(path);
  return key.size() <= 3 || directories_.count(key) > 0;
}

// GetFileAttributesA fails: the program cannot tell this from a missing file.
bool SimFiles::FileExists(const std::string& path) {
  return !Injected(faults, "files.FileExists") && HasFile(path);
}

bool SimFiles::DirectoryExists(const std::string& path) {
  return !Injected(faults, "files.DirectoryExists") && HasDirectory(path);
}

bool SimFiles::ProbeFileQuietly(const std::string& path) {
  quietProbes.push_back(path);
  return !Injected(faults, "files.ProbeFileQuietly") && HasFile(path);
}

std::optional<std::string> SimFiles::ReadWholeFile(const std::string& path) {
  if (Injected(faults, "files.ReadWholeFile")) return std::nullopt;
  return Read(path);
}

bool SimFiles::WriteWholeFile(const std::string& path, const std::string& bytes) {
  if (Injected(faults, "files.WriteWholeFile")) return false;
  return Write(path, bytes);
}

std::optional<std::string> SimFiles::Read(const std::string& path) {
  if (path.empty() || TooLong(path)) return std::nullopt;
  const std::string key = Key(path);
  auto it = files_.find(key);
  if (it == files_.end() || unreadable_.count(key)) return std::nullopt;
  return it->second;
}

bool SimFiles::Write(const std::string& path, const std::string& bytes) {
  if (path.empty() || TooLong(path) || HasDirectory(path)) return false;
  const std::string key = Key(path);
  if (!HasDirectory(FolderOf(key, system_.codePage))) return false;
  files_[key] = bytes;
  return true;
}

bool SimFiles::AppendToFile(const std::string& path, const std::string& bytes) {
  if (Injected(faults, "files.AppendToFile") || path.empty() || TooLong(path) ||
      HasDirectory(path)) {
    return false;
  }
  const std::string key = Key(path);
  if (unreadable_.count(key) || links_.count(key) ||
      !HasDirectory(FolderOf(key, system_.codePage))) {
    return false;
  }
  files_[key] += bytes;
  return true;
}

std::optional<uint64_t> SimFiles::FileSize(const std::string& path) {
  if (Injected(faults, "files.GetFileAttributesExA") || path.empty() || TooLong(path)) {
    return std::nullopt;
  }
  auto it = files_.find(Key(path));
  if (it == files_.end()) return std::nullopt;
  return it->second.size();
}

bool SimFiles::MoveReplacing(const std::string& from, const std::string& to) {
  if (Injected(faults, "files.MoveFileExA") || !HasFile(from) || to.empty() || TooLong(to) ||
      HasDirectory(to)) {
    return false;
  }
  const std::string source = Key(from);
  const std::string target = Key(to);
  if (!HasDirectory(FolderOf(target, system_.codePage))) return false;
  if (source == target) return true;
  files_[target] = files_[source];
  files_.erase(source);
  // The link itself moves; a link that stood at the new name is gone.
  links_.erase(target);
  if (links_.erase(source)) links_.insert(target);
  if (unreadable_.erase(source)) unreadable_.insert(target);
  return true;
}

bool SimFiles::CreateFolder(const std::string& path) {
  if (Injected(faults, "files.CreateDirectoryA") || path.empty() || TooLong(path) ||
      HasFile(path) || !HasDirectory(FolderOf(Key(path), system_.codePage))) {
    return false;
  }
  AddDirectory(path);
  return true;
}

void SimFiles::PlantLink(const std::string& path) {
  AddFile(path, Contents(path).value_or(""));
  links_.insert(Key(path));
}

bool SimFiles::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  copies.emplace_back(from, to);
  if (Injected(faults, "files.CopyFileA")) return false;
  auto source = Read(from);
  if (!source) return false;
  if (failIfExists && HasFile(to)) return false;
  if (unreadable_.count(Key(to))) return false;  // in use
  return Write(to, *source);
}

bool SimFiles::Erase(const std::string& path) {
  if (Injected(faults, "files.DeleteFileA") || !HasFile(path)) return false;
  const std::string key = Key(path);
  if (inUse_.count(key) || unreadable_.count(key)) return false;
  files_.erase(key);
  return true;
}

bool SimFiles::RemoveEmptyFolder(const std::string& path) {
  if (Injected(faults, "files.RemoveDirectoryA") || path.empty() || !HasDirectory(path)) {
    return false;
  }
  const std::string prefix = Key(path) + "\\";
  const auto inside = [&prefix](const std::string& key) { return key.starts_with(prefix); };
  for (const auto& [key, bytes] : files_) {
    if (inside(key)) return false;
  }
  for (const std::string& key : directories_) {
    if (inside(key)) return false;
  }
  directories_.erase(Key(path));
  return true;
}

bool SimFiles::EraseAtRestart(const std::string& path) {
  if (Injected(faults, "files.MoveFileExA") || path.empty()) return false;
  erasedAtRestart.push_back(path);
  return true;
}

void SimFiles::Restart() {
  inUse_.clear();
  for (const std::string& path : erasedAtRestart) {
    if (!Erase(path)) RemoveEmptyFolder(path);
  }
  erasedAtRestart.clear();
}

}  // namespace pinst::sim
