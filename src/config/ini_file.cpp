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

std::u16string Utf16Body(const std::string& bytes, bool bigEndian) {
  std::u16string out;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const unsigned char first = static_cast<unsigned char>(bytes[i]);
    const unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
    out.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
  }
  return out;
}

// UTF-8 after its BOM as UTF-16; a byte that starts no valid sequence gives U+FFFD,
// as MultiByteToWideChar does.
std::u16string Utf8Body(const std::string& bytes) {
  std::u16string out;
  size_t i = 3;
  while (i < bytes.size()) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    const size_t length = lead < 0x80                    ? 1
                          : lead >= 0xF0 && lead <= 0xF4 ? 4
                          : lead >= 0xE0                 ? 3
                          : lead >= 0xC2 && lead < 0xE0  ? 2
                                                         : 0;
    uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    // A sequence cut short, or no character, gives one replacement for its bytes.
    size_t taken = 1;
    bool valid = length != 0;
    for (; valid && taken < length; ++taken) {
      const unsigned char next =
          i + taken < bytes.size() ? static_cast<unsigned char>(bytes[i + taken]) : 0;
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid && taken > 1) --taken;
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (valid && ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
                  (length == 4 && (code < 0x10000 || code > 0x10FFFF)))) {
      valid = false;
    }
    if (!valid) {
      out.push_back(0xFFFD);
      i += taken;
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 | (code >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 | (code & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    i += length;
  }
  return out;
}

// The reader hands names and values out as C strings: a NUL byte ends them.
std::string_view UpToNul(std::string_view s) { return s.substr(0, s.find('\0')); }

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

std::string AnsiTextOf(const std::string& raw) {
  if (raw.compare(0, 2, "\xFF\xFE") == 0 || raw.compare(0, 2, "\xFE\xFF") == 0) {
    return Os().system->WideToAnsi(Utf16Body(raw, raw[0] == '\xFE'));
  }
  if (raw.compare(0, 3, "\xEF\xBB\xBF") == 0) return Os().system->WideToAnsi(Utf8Body(raw));
  return raw;
}

TIniFile TIniFile::Parse(const std::string& raw, uint32_t codePage) {
  TIniFile ini;
  ini.codePage_ = codePage;
  const std::string text = AnsiTextOf(raw);

  ini.sectionIndex_ = NameIndex(0, NoCaseHash{codePage}, NoCaseEqual{codePage});
  Section* current = nullptr;
  size_t pos = 0;
  int lineNumber = 1;
  while (pos < text.size()) {
    // A plain loop: find_first_of looks each byte up in the set with a call of its own.
    size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    const std::string_view line = TrimBlanks(std::string_view(text).substr(pos, end - pos));
    const int thisLine = lineNumber;
    // CR LF counts once: the empty piece between CR and LF is on the same line.
    if (end < text.size() &&
        (text[end] == '\n' || end + 1 >= text.size() || text[end + 1] != '\n')) {
      ++lineNumber;
    }
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      std::string_view inner = line.substr(1);
      const size_t close = FindLastSingleByte(inner, ']', codePage);
      if (close != std::string_view::npos) inner = inner.substr(0, close);
      ini.sections_.push_back(Section{std::string(UpToNul(TrimBlanks(inner))), {}, thisLine});
      current = &ini.sections_.back();
      // emplace keeps an existing entry: the first section of a name wins.
      ini.sectionIndex_.emplace(current->name, ini.sections_.size() - 1);
      continue;
    }
    if (!current) continue;  // lines before the first section belong to none
    const size_t eq = FindSingleByte(line, '=', codePage);
    Key key;
    key.line = thisLine;
    if (eq == std::string_view::npos) {
      key.name = std::string(UpToNul(line));
    } else {
      key.name = std::string(UpToNul(TrimBlanks(line.substr(0, eq))));
      const std::string_view value = UpToNul(Unquote(TrimBlanks(line.substr(eq + 1))));
      key.value = CutValue(value, codePage);
      key.cut = key.value.size() < value.size();
    }
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
    // An empty name would end the NUL-separated list early; the reader leaves it out.
    if (s.name.empty()) continue;
    if (used + s.name.size() + 1 > kSectionListSize) break;
    used += s.name.size() + 1;
    names.push_back(s.name);
  }
  return names;
}

// Equal names under EqualsNoCase hash alike: the hash folds exactly the bytes it folds.
size_t TIniFile::NoCaseHash::operator()(std::string_view name) const {
  size_t hash = 2166136261u;
  for (size_t i = 0; i < name.size();) {
    const size_t len = CharLength(name, i, codePage);
    for (size_t j = i; j < i + len; ++j) {
      const char c = name[j];
      hash = (hash ^
              static_cast<unsigned char>(len == 1 && c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c)) *
             16777619u;
    }
    i += len;
  }
  return hash;
}

bool TIniFile::NoCaseEqual::operator()(std::string_view a, std::string_view b) const {
  return EqualsNoCase(a, b, codePage);
}

size_t TIniFile::FindSection(const std::string& name) const {
  const auto it = sectionIndex_.find(std::string_view(name));
  return it == sectionIndex_.end() ? std::string::npos : it->second;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
  const size_t s = FindSection(section);
  if (s != std::string::npos) {
    // A section's keys are few: a scan without copies beats building an index of them.
    for (const Key& k : sections_[s].keys) {
      if (EqualsNoCase(k.name, key, codePage_)) return k.value;
    }
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
