#include "platform/host/host_files.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "base/ansi_text.h"
#include "base/win_path.h"

namespace fs = std::filesystem;

namespace pinst {

namespace {

// The entry of dir whose name is name: the exact one first, else one that differs
// only in ASCII case.
std::optional<fs::path> FindEntry(const fs::path& dir, const std::string& name, uint32_t codePage) {
  std::error_code ec;
  if (fs::exists(dir / name, ec)) return dir / name;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (EqualsNoCase(it->path().filename().string(), name, codePage)) return it->path();
  }
  return std::nullopt;
}

}  // namespace

HostFiles::HostFiles(fs::path folder, uint32_t codePage)
    : folder_(std::move(folder)), codePage_(codePage) {
  std::string name = fs::absolute(folder_).lexically_normal().parent_path().filename().string();
  const std::string own = fs::absolute(folder_).lexically_normal().filename().string();
  if (!own.empty()) name = own;
  current_ = "C:\\" + (name.empty() ? std::string("dist") : name);
}

std::string HostFiles::FullPath(const std::string& path) {
  return AbsolutePath(current_, path, codePage_);
}

std::optional<fs::path> HostFiles::Resolve(const std::string& path) {
  if (path.empty()) return std::nullopt;
  const std::string full = FullPath(path);
  if (!EqualsNoCase(full.substr(0, current_.size()), current_, codePage_)) return std::nullopt;
  std::string_view rest = std::string_view(full).substr(current_.size());
  if (!rest.empty() && rest[0] != '\\') return std::nullopt;  // "C:\dist2" is not in "C:\dist"
  fs::path real = folder_;
  while (!rest.empty()) {
    const size_t slash = FindSingleByte(rest, '\\', codePage_);
    const std::string part(rest.substr(0, slash));
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty()) continue;
    const std::optional<fs::path> entry = FindEntry(real, part, codePage_);
    if (!entry) return std::nullopt;
    real = *entry;
  }
  return real;
}

bool HostFiles::FileExists(const std::string& path) {
  std::error_code ec;
  const std::optional<fs::path> real = Resolve(path);
  return real && fs::is_regular_file(*real, ec);
}

// A folder that cannot be listed counts as none: nothing in it could be checked.
bool HostFiles::DirectoryExists(const std::string& path) {
  std::error_code ec;
  const std::optional<fs::path> real = Resolve(path);
  if (!real || !fs::is_directory(*real, ec)) return false;
  fs::directory_iterator it(*real, ec);
  return !ec;
}

std::optional<std::string> HostFiles::ReadWholeFile(const std::string& path) {
  std::error_code ec;
  const std::optional<fs::path> real = Resolve(path);
  if (!real || !fs::is_regular_file(*real, ec)) return std::nullopt;
  std::ifstream in(*real, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(bytes).str();
}

}  // namespace pinst
