// An INI file read the way the Windows private-profile functions read one, parsed
// once: sections in file order, the first occurrence of a key in a section wins,
// blanks around names and values dropped, names compared without regard to case,
// a value in matching quotes loses them, ';' lines are comments, values cut at
// 2,047 bytes, the section list cut at 16,384 bytes, a NUL byte ending a name or a
// value, sections without a name left out of the list. A file with a BOM (UTF-16LE,
// UTF-16BE, UTF-8) is turned into the ANSI code page first. Sections are found through a hash
// index built by Parse, keyed by names folded as the comparisons fold them, so loading every
// record of a large file stays linear; a key is found by a scan of its section's few keys.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pinst {

// File bytes as text in the ANSI code page: Unicode with a BOM (UTF-16 either way
// round, UTF-8) converted, anything else as it is.
std::string AnsiTextOf(const std::string& raw);

class TIniFile {
 public:
  struct Key {
    std::string name;
    std::string value;
    int line = 0;      // 1-based line of the (converted) text
    bool cut = false;  // the value was longer than the reader keeps
  };
  struct Section {
    std::string name;
    std::vector<Key> keys;  // in file order, duplicates kept
    int line = 0;
  };

  // Parses file bytes (already in the ANSI code page, or Unicode with a BOM).
  static TIniFile Parse(const std::string& bytes, uint32_t codePage);
  // Reads and parses a file through the platform; nullopt when it cannot be read.
  static std::optional<TIniFile> Load(const std::string& path);

  // Named sections in file order, as many as fit the 16,384-byte list.
  std::vector<std::string> ReadSections() const;
  // The value of the first occurrence of key in the first section of that name.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // Whole numbers, decimal or "0x" hexadecimal; anything else gives defaultValue.
  int32_t ReadInteger(const std::string& section, const std::string& key,
                      int32_t defaultValue) const;
  // Non-zero is true; a missing, empty or non-numeric value is defaultValue.
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
  // The key names of the first section of that name, in file order.
  std::vector<std::string> ReadSectionKeys(const std::string& section) const;

  const std::vector<Section>& Sections() const { return sections_; }

 private:
  // Names hashed and compared as the private-profile functions compare them,
  // looked up without a folded copy.
  struct NoCaseHash {
    using is_transparent = void;
    uint32_t codePage;
    size_t operator()(std::string_view name) const;
  };
  struct NoCaseEqual {
    using is_transparent = void;
    uint32_t codePage;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  using NameIndex = std::unordered_map<std::string, size_t, NoCaseHash, NoCaseEqual>;

  // Index of the first section of that name, or npos.
  size_t FindSection(const std::string& name) const;

  std::vector<Section> sections_;
  NameIndex sectionIndex_{0, NoCaseHash{1252}, NoCaseEqual{1252}};  // name -> its first section
  uint32_t codePage_ = 1252;
};

}  // namespace pinst
