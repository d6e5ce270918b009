#include "base/win_path.h"

#include <vector>

#include "base/ansi_text.h"

namespace pinst {

namespace {

bool HasDrive(std::string_view p) {
  return p.size() >= 2 && p[1] == ':' &&
         ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Splits on separators, stepping over double-byte characters.
std::vector<std::string> Segments(std::string_view path, uint32_t codePage) {
  std::vector<std::string> out;
  std::string current;
  for (size_t i = 0; i < path.size();) {
    const size_t len = CharLength(path, i, codePage);
    if (len == 1 && IsSeparator(path[i])) {
      out.push_back(current);
      current.clear();
    } else {
      current.append(path.substr(i, len));
    }
    i += len;
  }
  out.push_back(current);
  return out;
}

// Length of the root of an absolute path: 2 for "C:", up to the end of the share
// for "\\server\share"; 0 when the path has no root of its own.
size_t RootLength(std::string_view p, uint32_t codePage) {
  if (HasDrive(p)) return 2;
  if (p.size() < 2 || !IsSeparator(p[0]) || !IsSeparator(p[1])) return 0;
  size_t separators = 0;
  for (size_t i = 2; i < p.size();) {
    const size_t len = CharLength(p, i, codePage);
    if (len == 1 && IsSeparator(p[i]) && ++separators == 2) return i;
    i += len;
  }
  return p.size();
}

std::vector<std::string> NonEmptySegments(std::string_view path, uint32_t codePage) {
  std::vector<std::string> out;
  for (std::string& seg : Segments(path, codePage)) {
    if (!seg.empty()) out.push_back(std::move(seg));
  }
  return out;
}

}  // namespace

std::string AbsolutePath(std::string_view currentDir, std::string_view path, uint32_t codePage) {
  std::string root;  // "C:" or "\\server\share"
  std::string rest;  // below the root
  const std::string_view cwdRoot = currentDir.substr(0, HasDrive(currentDir) ? 2 : 0);

  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // UNC: the server and share are the root.
    const auto parts = Segments(path.substr(2), codePage);
    root = "\\\\" + (parts.size() > 0 ? parts[0] : std::string()) + "\\" +
           (parts.size() > 1 ? parts[1] : std::string());
    for (size_t i = 2; i < parts.size(); ++i) rest += "\\" + parts[i];
  } else if (HasDrive(path)) {
    root = std::string(path.substr(0, 2));
    std::string_view tail = path.substr(2);
    if (!tail.empty() && IsSeparator(tail[0])) {
      rest = std::string(tail);
    } else if (EqualsNoCase(root, cwdRoot, codePage)) {
      rest = std::string(currentDir.substr(2)) + "\\" + std::string(tail);
    } else {
      rest = "\\" + std::string(tail);
    }
  } else if (!path.empty() && IsSeparator(path[0])) {
    root = std::string(cwdRoot);
    rest = std::string(path);
  } else {
    root = std::string(cwdRoot);
    rest = std::string(currentDir.substr(cwdRoot.size())) + "\\" + std::string(path);
  }

  const bool trailing = !path.empty() && IsSeparator(path.back());
  std::vector<std::string> kept;
  for (const std::string& seg : Segments(rest, codePage)) {
    if (seg.empty() || seg == ".") continue;
    if (seg == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(seg);
  }
  std::string out = root;
  for (const std::string& seg : kept) out += "\\" + seg;
  if (kept.empty() || trailing) out += "\\";
  return out;
}

size_t FileNameStart(std::string_view path, uint32_t codePage) {
  size_t start = 0;
  for (size_t i = 0; i < path.size();) {
    const size_t len = CharLength(path, i, codePage);
    if (len == 1 && (path[i] == '\\' || (i == 1 && path[i] == ':'))) start = i + 1;
    i += len;
  }
  return start;
}

std::string FolderOf(std::string_view path, uint32_t codePage) {
  return std::string(path.substr(0, FileNameStart(path, codePage)));
}

std::string FileNameOf(std::string_view path, uint32_t codePage) {
  return std::string(path.substr(FileNameStart(path, codePage)));
}

std::string RelativePath(std::string_view folder, std::string_view path, uint32_t codePage) {
  const size_t folderRoot = RootLength(folder, codePage);
  const size_t pathRoot = RootLength(path, codePage);
  if (folderRoot == 0 || pathRoot == 0 ||
      !EqualsNoCase(folder.substr(0, folderRoot), path.substr(0, pathRoot), codePage)) {
    return std::string(path);
  }
  const auto from = NonEmptySegments(folder.substr(folderRoot), codePage);
  const auto to = NonEmptySegments(path.substr(pathRoot), codePage);
  size_t common = 0;
  while (common < from.size() && common < to.size() &&
         EqualsNoCase(from[common], to[common], codePage)) {
    ++common;
  }
  std::vector<std::string> parts(from.size() - common, "..");
  parts.insert(parts.end(), to.begin() + static_cast<std::ptrdiff_t>(common), to.end());
  if (parts.empty()) parts.push_back(".");
  std::string out;
  for (const std::string& part : parts) out += (out.empty() ? "" : "\\") + part;
  if (IsSeparator(path.back()) && to.size() > common) out += "\\";
  return out;
}

}  // namespace pinst
