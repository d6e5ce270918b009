#include "verify/pe_image.h"

#include <gtest/gtest.h>

#include <functional>

#include "verify/pe_builder.h"

namespace pinst {
namespace {

using testdata::BuildPe;
using testdata::kContract;
using testdata::Put16;
using testdata::Put32;

std::string Library32() { return BuildPe({kMachineI386, true, kContract}); }

struct PeCase {
  const char* name;
  std::function<std::string()> bytes;
  TPeProblem problem;
  uint16_t machine = 0;
  bool dll = false;
  std::vector<std::string> exports = {};
};

const PeCase kCases[] = {
    {"i386 library with the contract", Library32, TPeProblem::kNone, kMachineI386, true, kContract},
    {"AMD64 program without exports",
     [] {
       return BuildPe({kMachineAmd64, false, {}});
     },
     TPeProblem::kNone, kMachineAmd64, false},
    {"empty file", [] { return std::string(); }, TPeProblem::kNotMz},
    {"text file", [] { return std::string("MZ is not enough"); }, TPeProblem::kNoPeHeader},
    {"headers cut after the DOS header", [] { return Library32().substr(0, testdata::kPeAt + 10); },
     TPeProblem::kNoPeHeader},
    {"PE header offset past the end",
     [] {
       std::string b = Library32();
       Put32(b, 0x3C, 0xFFFFFFF0);
       return b;
     },
     TPeProblem::kNoPeHeader},
    {"optional header of no known kind",
     [] {
       std::string b = Library32();
       Put16(b, testdata::kOptionalAt, 0x107);
       return b;
     },
     TPeProblem::kBadOptionalHeader, kMachineI386, true},
    {"optional header too short for its directories",
     [] {
       std::string b = Library32();
       Put16(b, testdata::kCoffAt + 16, 64);
       return b;
     },
     TPeProblem::kBadOptionalHeader, kMachineI386, true},
    {"headers cut inside the optional header",
     [] { return Library32().substr(0, testdata::kOptionalAt + 40); },
     TPeProblem::kBadOptionalHeader, kMachineI386, true},
    {"section table past the end",
     [] {
       std::string b = Library32();
       Put16(b, testdata::kCoffAt + 2, 90);
       return b.substr(0, testdata::kSectionAt);
     },
     TPeProblem::kBadSections, kMachineI386, true},
    {"export table in no section",
     [] {
       std::string b = Library32();
       Put32(b, testdata::kOptionalAt + 96, 0x9000);
       return b;
     },
     TPeProblem::kBadExports, kMachineI386, true},
    {"name table address out of range",
     [] {
       std::string b = Library32();
       Put32(b, testdata::kSectionAt + 32, 0x7FFFFFFF);
       return b;
     },
     TPeProblem::kBadExports, kMachineI386, true},
    {"more names than the file can hold",
     [] {
       std::string b = Library32();
       Put32(b, testdata::kSectionAt + 24, 0xFFFFFFFF);
       return b;
     },
     TPeProblem::kBadExports, kMachineI386, true},
    {"last name cut before its terminator",
     [] {
       const std::string b = Library32();
       return b.substr(0, b.size() - 3);
     },
     TPeProblem::kBadExports, kMachineI386, true},
    {"section data beyond the file",
     [] {
       std::string b = Library32();
       Put32(b, testdata::SectionHeaderAt(kMachineI386) + 20, 0xFFFFFF00);
       return b;
     },
     TPeProblem::kBadExports, kMachineI386, true},
};

TEST(PeImageTest, ReadsHeadersAndExportsAndRefusesBrokenFiles) {
  for (const PeCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const TPeImage image = ReadPeImage(c.bytes());
    EXPECT_EQ(image.problem, c.problem);
    if (c.problem == TPeProblem::kNotMz || c.problem == TPeProblem::kNoPeHeader) continue;
    EXPECT_EQ(image.machine, c.machine);
    EXPECT_EQ(image.isDll, c.dll);
    if (c.problem == TPeProblem::kNone) {
      EXPECT_EQ(image.exportNames, c.exports);
    }
  }
}

}  // namespace
}  // namespace pinst
