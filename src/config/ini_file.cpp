#include "config/ini_file.h"

#include "base/ansi_text.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"

namespace pinst {

namespace {

constexpr size_t kMaxValue = 2047;          // bytes a value keeps
constexpr size_t kSectionListSize = 16384;  // names with terminators, plus the final one

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// A value in matching single or double quotes loses them.
std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

// Cuts at max bytes without leaving half of a double-byte character behind.
std::string CutValue(std::string_view v, uint32_t codePage) {
  if (v.size() <= kMaxValue) return std::string(v);
  size_t end = 0;
  while (end < v.size()) {
    const size_t len = CharLength(v, end, codePage);
    if (end + len > kMaxValue) break;
    end += len;
  }
  return std::string(v.substr(0, end));
}

// Position of the last single-byte ch in s, stepping over double-byte characters.
size_t FindLastSingleByte(std::string_view s, char ch, uint32_t codePage) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < s.size();) {
    const size_t len = CharLength(s, i, codePage);
    if (len == 1 && s[i] == ch) found = i;
    i += len;
  }
  return found;
}

std::u16string Utf16Body(const std::string& bytes) {
  std::u16string out;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                        (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return out;
}

bool ParseInteger(std::string_view text, int32_t& out) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.size() > 1 && text[0] == '$') {
    base = 16;
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  uint64_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return false;
    }
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) return false;
  }
  // Decimal numbers must fit a signed 32-bit value; hexadecimal ones may use all 32 bits.
  if (base == 10 && value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
  const uint32_t bits = static_cast<uint32_t>(value);
  out = static_cast<int32_t>(negative ? 0u - bits : bits);
  return true;
}

}  // namespace

TIniFile TIniFile::Parse(const std::string& raw, uint32_t codePage) {
  TIniFile ini;
  ini.codePage_ = codePage;
  std::string text = raw;
  if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF &&
      static_cast<unsigned char>(raw[1]) == 0xFE) {
    text = Os().system->WideToAnsi(Utf16Body(raw));
  } else if (raw.size() >= 3 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    text = raw.substr(3);
  }

  Section* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    const std::string_view line = TrimBlanks(std::string_view(text).substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      std::string_view inner = line.substr(1);
      const size_t close = FindLastSingleByte(inner, ']', codePage);
      if (close != std::string_view::npos) inner = inner.substr(0, close);
      ini.sections_.push_back(Section{std::string(TrimBlanks(inner)), {}});
      current = &ini.sections_.back();
      // emplace keeps an existing entry: the first section of a name wins.
      ini.sectionIndex_.emplace(AsciiUpper(current->name, codePage), ini.sections_.size() - 1);
      ini.keyIndex_.emplace_back();
      continue;
    }
    if (!current) continue;  // lines before the first section belong to none
    const size_t eq = FindSingleByte(line, '=', codePage);
    Key key;
    if (eq == std::string_view::npos) {
      key.name = std::string(line);
    } else {
      key.name = std::string(TrimBlanks(line.substr(0, eq)));
      key.value = CutValue(Unquote(TrimBlanks(line.substr(eq + 1))), codePage);
    }
    ini.keyIndex_.back().emplace(AsciiUpper(key.name, codePage), current->keys.size());
    current->keys.push_back(std::move(key));
  }
  return ini;
}

std::optional<TIniFile> TIniFile::Load(const std::string& path) {
  std::optional<std::string> bytes = Os().files->ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return Parse(*bytes, Os().system->GetAnsiCodePage());
}

std::vector<std::string> TIniFile::ReadSections() const {
  std::vector<std::string> names;
  size_t used = 1;  // the list's closing terminator
  for (const Section& s : sections_) {
    if (used + s.name.size() + 1 > kSectionListSize) break;
    used += s.name.size() + 1;
    names.push_back(s.name);
  }
  return names;
}

// Folding keeps the length, so equal folded names are exactly EqualsNoCase pairs.
size_t TIniFile::FindSection(const std::string& name) const {
  const auto it = sectionIndex_.find(AsciiUpper(name, codePage_));
  return it == sectionIndex_.end() ? std::string::npos : it->second;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
  const size_t s = FindSection(section);
  if (s != std::string::npos) {
    const NameIndex& keys = keyIndex_[s];
    const auto it = keys.find(AsciiUpper(key, codePage_));
    if (it != keys.end()) return sections_[s].keys[it->second].value;
  }
  return CutValue(defaultValue, codePage_);
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key,
                              int32_t defaultValue) const {
  int32_t value = 0;
  return ParseInteger(ReadString(section, key, ""), value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key,
                        bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::vector<std::string> TIniFile::ReadSectionKeys(const std::string& section) const {
  std::vector<std::string> keys;
  const size_t s = FindSection(section);
  if (s != std::string::npos) {
    for (const Key& k : sections_[s].keys) keys.push_back(k.name);
  }
  return keys;
}

}  // namespace pinst
