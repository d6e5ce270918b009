// What the distribution check needs to know of a Windows program or library, read
// from its PE headers and export table without loading it. Every read is checked
// against the end of the bytes, so any file gives a result and never a crash.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pinst {

enum : uint16_t {
  kMachineI386 = 0x014C,
  kMachineIa64 = 0x0200,
  kMachineArmNt = 0x01C4,
  kMachineAmd64 = 0x8664,
  kMachineArm64 = 0xAA64,
};

enum class TPeProblem {
  kNone,
  kNotMz,              // no "MZ" at the start: not a program at all
  kNoPeHeader,         // the MZ header points at no "PE\0\0" signature
  kBadOptionalHeader,  // too short, or neither PE32 nor PE32+
  kBadSections,        // the section table runs past the end of the file
  kBadExports,         // the export table lies outside the file or its names do
};

struct TPeImage {
  TPeProblem problem = TPeProblem::kNone;
  uint16_t machine = 0;
  bool pe32Plus = false;  // 64-bit layout of the optional header
  bool isDll = false;
  std::vector<std::string> exportNames;  // in table order; empty when it has none
};

TPeImage ReadPeImage(std::string_view bytes);

// "i386", "AMD64", "ARM64", ... or the number in hexadecimal.
std::string MachineName(uint16_t machine);

}  // namespace pinst
