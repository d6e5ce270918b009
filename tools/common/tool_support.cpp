#include "common/tool_support.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace pinst::tools {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string ModuleFolder(HMODULE module) {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
  std::string full(path, n < MAX_PATH ? n : 0);
  const size_t slash = full.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
}

std::string AbsoluteFrom(const std::string& folder, const std::string& path) {
  const bool rooted = (path.size() >= 2 && path[1] == ':') ||
                      (!path.empty() && (path[0] == '\\' || path[0] == '/'));
  const std::string joined = rooted ? path : folder + path;
  char full[MAX_PATH] = {};
  const DWORD n = ::GetFullPathNameA(joined.c_str(), MAX_PATH, full, nullptr);
  return (n == 0 || n >= MAX_PATH) ? joined : std::string(full, n);
}

bool FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string IniString(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& fallback) {
  // A marker no value carries tells a missing key from an empty one.
  static const char kMissing[] = "\x01missing\x01";
  char value[2048] = {};
  const DWORD n = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, value,
                                             sizeof value, file.c_str());
  const std::string text(value, n);
  return text == kMissing ? fallback : text;
}

std::vector<std::string> IniKeys(const std::string& file, const std::string& section) {
  std::vector<char> buffer(32768);
  const DWORD n = ::GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(),
                                             static_cast<DWORD>(buffer.size()), file.c_str());
  std::vector<std::string> keys;
  for (size_t at = 0; at < n && buffer[at] != '\0';) {
    std::string key(&buffer[at]);
    at += key.size() + 1;
    keys.push_back(key);
  }
  return keys;
}

std::optional<int32_t> ParseInt32(const std::string& text) {
  if (text.empty()) return std::nullopt;
  const bool negative = text[0] == '-';
  const auto magnitude = ParseUInt32(negative ? text.substr(1) : text);
  if (!magnitude) return std::nullopt;
  const int64_t value = negative ? -static_cast<int64_t>(*magnitude) : *magnitude;
  if (value < INT32_MIN || value > UINT32_MAX) return std::nullopt;
  return static_cast<int32_t>(static_cast<uint32_t>(value));  // 0xE000020B keeps its bits
}

std::optional<uint32_t> ParseUInt32(const std::string& text) {
  if (text.empty() || text[0] == '-' || text[0] == '+' || IsBlank(text[0])) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(text.c_str(), &end, 0);
  if (errno != 0 || *end != '\0' || value > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(value);
}

void AppendLine(const std::string& path, const std::string& text) {
  HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string line = text + "\r\n";
  DWORD written = 0;
  ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(file);
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool ContainsNoCase(const std::string& text, const std::string& part) {
  if (part.size() > text.size()) return false;
  for (size_t at = 0; at + part.size() <= text.size(); ++at) {
    if (EqualsNoCase(text.substr(at, part.size()), part)) return true;
  }
  return false;
}

bool WildcardMatch(const std::string& pattern, const std::string& text) {
  // Greedy match with one back-tracking point: the last '*' seen.
  size_t p = 0, t = 0, star = std::string::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() &&
        (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(text[t]))) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (star != std::string::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string Unquote(const std::string& text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

std::string Hex32(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

}  // namespace pinst::tools
