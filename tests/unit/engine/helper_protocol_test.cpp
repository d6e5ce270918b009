#include "engine/helper_protocol.h"

#include <gtest/gtest.h>

namespace pinst {
namespace {

TEST(HelperProtocolTest, CommandLineBuiltIsReadBackAsItWasMeant) {
  struct Case {
    const char* name;
    const char* helper;
    THelperRequest request;
  };
  const Case cases[] = {
      {"plain", "X64\\Instavo64.exe", {4660, "inst2k64.dll", "..\\i386\\XP100.inf", "ID", false}},
      {"blanks everywhere",
       "C:\\Program Files\\Drv\\X64\\Instavo64.exe",
       {1, "my libs\\inst 2k64.dll", "..\\i386\\XP 100.inf", "LPTOFFLINE\\Tessaly XP", false}},
      {"no 64-bit library", "H.exe", {7, "", "x.inf", "LPTOFFLINE\\ID", false}},
      {"32-bit handle at its top", "H.exe", {4294967295u, "a.dll", "b.inf", "ID", false}},
      {"64-bit handle", "H.exe", {0x123456789ABCull, "a.dll", "b.inf", "ID", false}},
      // GBK 0x81 0x5C and Big5 0xA5 0x5C: a trail byte that reads as a backslash
      // must not escape the closing quote.
      {"GBK trail byte 5C", "H.exe", {2, "\xB6\xFE\x81\\", "\xC7\xFD\\\x81\\.inf", "ID", false}},
      {"Big5 trail byte 5C", "H.exe", {3, "\xA5\\\\lib.dll", "\xA5\\", "\xA5\\ID", false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string line = BuildHelperCommandLine(c.helper, c.request);
    const THelperRequest read = ParseHelperCommandLine(line);
    EXPECT_EQ(read.window, c.request.window) << line;
    EXPECT_EQ(read.dll, c.request.dll) << line;
    EXPECT_EQ(read.inf, c.request.inf) << line;
    EXPECT_EQ(read.hardwareId, c.request.hardwareId) << line;
    EXPECT_TRUE(read.complete) << line;
  }
  // The bytes the helper has always been started with.
  EXPECT_EQ(BuildHelperCommandLine("H.exe", {4294967295u, "a b.dll", "..\\x.inf", "L\\ID", false}),
            "H.exe /Handle 4294967295 /Dll \"a b.dll\" /Inf \"..\\x.inf\" /HWID L\\ID");
}

TEST(HelperProtocolTest, IncompleteOrStrayCommandLinesAreNotComplete) {
  const struct {
    const char* line;
    uint64_t window;
    bool complete;
  } cases[] = {
      {"h.exe /handle 5 /DLL \"a\" /inf \"b\" /hwid C", 5, true},
      {"h.exe /Handle 5 /Dll a /Inf b", 5, false},
      {"h.exe /Handle 5 /Dll a /Inf b /HWID C extra", 5, false},
      {"h.exe /Handle 5 /Dll a /Inf b /HWID", 5, false},
      {"h.exe /Handle 0x5 /Dll a /Inf b /HWID C", 0, false},
      {"h.exe /Handle 99999999999999999999999 /Dll a /Inf b /HWID C", 0, false},
  };
  for (const auto& c : cases) {
    const THelperRequest read = ParseHelperCommandLine(c.line);
    EXPECT_EQ(read.window, c.window) << c.line;
    EXPECT_EQ(read.complete, c.complete) << c.line;
  }
}

}  // namespace
}  // namespace pinst
