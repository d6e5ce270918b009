// Small PE images built in the test: a DOS header, the PE headers, one section
// holding the export table. Offsets are fixed so a test can break one field.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "verify/pe_image.h"

namespace pinst::testdata {

inline constexpr uint32_t kPeAt = 0x40;                // e_lfanew
inline constexpr uint32_t kCoffAt = kPeAt + 4;         // machine, section count, ...
inline constexpr uint32_t kOptionalAt = kCoffAt + 20;  // magic first
inline constexpr uint32_t kSectionAt = 0x200;          // the one section's data
inline constexpr uint32_t kSectionRva = 0x1000;

struct TPeSpec {
  uint16_t machine = kMachineI386;
  bool dll = true;
  std::vector<std::string> exports;
};

inline void Put16(std::string& b, size_t at, uint32_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = static_cast<char>(v);
  b[at + 1] = static_cast<char>(v >> 8);
}
inline void Put32(std::string& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// The offset of the section header, after the optional header of that layout.
inline uint32_t SectionHeaderAt(uint16_t machine) {
  return kOptionalAt + (machine == kMachineI386 ? 224 : 240);
}

inline std::string BuildPe(const TPeSpec& spec) {
  const bool plus = spec.machine != kMachineI386;
  const uint32_t optionalSize = plus ? 240 : 224;
  const uint32_t directories = kOptionalAt + (plus ? 112 : 96);
  std::string b(kSectionAt, '\0');
  b[0] = 'M';
  b[1] = 'Z';
  Put32(b, 0x3C, kPeAt);
  b.replace(kPeAt, 4, std::string("PE\0\0", 4));
  Put16(b, kCoffAt, spec.machine);
  Put16(b, kCoffAt + 2, 1);
  Put16(b, kCoffAt + 16, optionalSize);
  Put16(b, kCoffAt + 18, 0x0002 | (spec.dll ? 0x2000 : 0));
  Put16(b, kOptionalAt, plus ? 0x20B : 0x10B);
  Put32(b, kOptionalAt + 60, kSectionAt);  // SizeOfHeaders
  Put32(b, directories - 4, 16);           // NumberOfRvaAndSizes

  // Section data: the export directory (40 bytes), the name table, the names.
  std::string data(40, '\0');
  const uint32_t count = static_cast<uint32_t>(spec.exports.size());
  Put32(data, 24, count);
  Put32(data, 32, kSectionRva + 40);
  data.resize(40 + 4 * count);
  for (uint32_t i = 0; i < count; ++i) {
    Put32(data, 40 + 4 * i, kSectionRva + static_cast<uint32_t>(data.size()));
    data += spec.exports[i] + '\0';
  }
  if (count > 0) {
    Put32(b, directories, kSectionRva);
    Put32(b, directories + 4, 40);
  }
  const uint32_t header = SectionHeaderAt(spec.machine);
  b.replace(header, 6, ".edata");
  Put32(b, header + 8, static_cast<uint32_t>(data.size()));
  Put32(b, header + 12, kSectionRva);
  Put32(b, header + 16, static_cast<uint32_t>(data.size()));
  Put32(b, header + 20, kSectionAt);
  return b + data;
}

inline const std::vector<std::string> kContract = {"FuncInst2K", "FuncFindExistDevice",
                                                   "ShowErrorCode", "LastInstallErrorCode"};

}  // namespace pinst::testdata
