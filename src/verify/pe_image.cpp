#include "verify/pe_image.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace pinst {

namespace {

constexpr uint32_t kMaxSections = 96;         // what the loader of the older systems takes
constexpr uint32_t kMaxExportNames = 65536;   // more is no library of this kind
constexpr size_t kMaxExportNameLength = 512;  // a longer one is no name the installer asks for
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr uint16_t kFileDll = 0x2000;

// Little-endian reads that fail past the end instead of reading it.
class Bytes {
 public:
  explicit Bytes(std::string_view bytes) : bytes_(bytes) {}

  bool Has(uint64_t offset, uint64_t count) const {
    return offset <= bytes_.size() && bytes_.size() - offset >= count;
  }
  std::optional<uint16_t> U16(uint64_t offset) const {
    if (!Has(offset, 2)) return std::nullopt;
    return static_cast<uint16_t>(Byte(offset) | Byte(offset + 1) << 8);
  }
  std::optional<uint32_t> U32(uint64_t offset) const {
    if (!Has(offset, 4)) return std::nullopt;
    return static_cast<uint32_t>(Byte(offset) | Byte(offset + 1) << 8 | Byte(offset + 2) << 16 |
                                 static_cast<uint32_t>(Byte(offset + 3)) << 24);
  }
  // The zero-terminated text at offset; nullopt when no terminator comes in time.
  std::optional<std::string> Text(uint64_t offset) const {
    if (!Has(offset, 1)) return std::nullopt;
    const std::string_view rest = bytes_.substr(offset, kMaxExportNameLength + 1);
    const size_t end = rest.find('\0');
    if (end == std::string_view::npos) return std::nullopt;
    return std::string(rest.substr(0, end));
  }

 private:
  uint32_t Byte(uint64_t offset) const { return static_cast<unsigned char>(bytes_[offset]); }
  std::string_view bytes_;
};

struct SectionEntry {
  uint32_t virtualAddress = 0;
  uint32_t rawSize = 0;
  uint32_t rawOffset = 0;
};

// The file offset of an address in the loaded image: inside a section's data, or in
// the headers, which are loaded as they stand in the file.
std::optional<uint64_t> FileOffset(const std::vector<SectionEntry>& sections,
                                   uint32_t sizeOfHeaders, uint32_t rva) {
  for (const SectionEntry& s : sections) {
    if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) {
      return uint64_t{s.rawOffset} + (rva - s.virtualAddress);
    }
  }
  if (rva < sizeOfHeaders) return rva;
  return std::nullopt;
}

bool ReadExports(const Bytes& in, const std::vector<SectionEntry>& sections, uint32_t sizeOfHeaders,
                 uint32_t exportRva, std::vector<std::string>& names) {
  const std::optional<uint64_t> dir = FileOffset(sections, sizeOfHeaders, exportRva);
  if (!dir) return false;
  const std::optional<uint32_t> count = in.U32(*dir + 24);
  const std::optional<uint32_t> namesRva = in.U32(*dir + 32);
  if (!count || !namesRva || *count > kMaxExportNames) return false;
  if (*count == 0) return true;
  const std::optional<uint64_t> table = FileOffset(sections, sizeOfHeaders, *namesRva);
  if (!table || !in.Has(*table, uint64_t{*count} * 4)) return false;
  for (uint32_t i = 0; i < *count; ++i) {
    const std::optional<uint32_t> nameRva = in.U32(*table + uint64_t{i} * 4);
    const std::optional<uint64_t> at = FileOffset(sections, sizeOfHeaders, nameRva.value_or(0));
    const std::optional<std::string> name = at ? in.Text(*at) : std::nullopt;
    if (!name) return false;
    names.push_back(*name);
  }
  return true;
}

}  // namespace

TPeImage ReadPeImage(std::string_view bytes) {
  TPeImage image;
  const Bytes in(bytes);
  if (!in.Has(0, 2) || bytes[0] != 'M' || bytes[1] != 'Z') {
    image.problem = TPeProblem::kNotMz;
    return image;
  }
  const std::optional<uint32_t> peOffset = in.U32(0x3C);
  if (!peOffset || !in.Has(*peOffset, 24) ||
      bytes.substr(*peOffset, 4) != std::string_view("PE\0\0", 4)) {
    image.problem = TPeProblem::kNoPeHeader;
    return image;
  }
  const uint64_t coff = uint64_t{*peOffset} + 4;
  image.machine = *in.U16(coff);
  const uint16_t sectionCount = *in.U16(coff + 2);
  const uint16_t optionalSize = *in.U16(coff + 16);
  image.isDll = (*in.U16(coff + 18) & kFileDll) != 0;

  const uint64_t optional = coff + 20;
  const std::optional<uint16_t> magic = optionalSize >= 2 ? in.U16(optional) : std::nullopt;
  if (!magic || (*magic != kMagicPe32 && *magic != kMagicPe32Plus)) {
    image.problem = TPeProblem::kBadOptionalHeader;
    return image;
  }
  image.pe32Plus = *magic == kMagicPe32Plus;
  const uint64_t directoryCountAt = image.pe32Plus ? 108 : 92;
  const std::optional<uint32_t> sizeOfHeaders = in.U32(optional + 60);
  const std::optional<uint32_t> directoryCount = in.U32(optional + directoryCountAt);
  if (optionalSize < directoryCountAt + 4 || !sizeOfHeaders || !directoryCount) {
    image.problem = TPeProblem::kBadOptionalHeader;
    return image;
  }
  std::vector<SectionEntry> sections;
  const uint64_t table = optional + optionalSize;
  if (sectionCount > kMaxSections || !in.Has(table, uint64_t{sectionCount} * 40)) {
    image.problem = TPeProblem::kBadSections;
    return image;
  }
  for (uint32_t i = 0; i < sectionCount; ++i) {
    const uint64_t entry = table + uint64_t{i} * 40;
    sections.push_back({*in.U32(entry + 12), *in.U32(entry + 16), *in.U32(entry + 20)});
  }
  // No export directory entry: a program without exports.
  if (*directoryCount == 0 || optionalSize < directoryCountAt + 12) return image;
  const uint32_t exportRva = *in.U32(optional + directoryCountAt + 4);
  const uint32_t exportSize = *in.U32(optional + directoryCountAt + 8);
  if (exportRva == 0 || exportSize == 0) return image;
  if (!ReadExports(in, sections, *sizeOfHeaders, exportRva, image.exportNames)) {
    image.problem = TPeProblem::kBadExports;
  }
  return image;
}

std::string MachineName(uint16_t machine) {
  switch (machine) {
    case kMachineI386:
      return "i386";
    case kMachineAmd64:
      return "AMD64";
    case kMachineArm64:
      return "ARM64";
    case kMachineIa64:
      return "IA64";
    case kMachineArmNt:
      return "ARM";
  }
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", machine);
  return text;
}

}  // namespace pinst
