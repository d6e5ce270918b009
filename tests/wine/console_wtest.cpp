// The real command runner against Wine's own cmd.
#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"
#include "sys/debug_info.h"
#include "sys/run_cmd.h"

namespace pinst {
namespace {

class RealConsole : public ::testing::Test {
 protected:
  win32::Win32Platform platform;
};

// The chunks before the closing item, joined: cmd may write a line and its line
// end in two writes, and a chunk is whatever one read found.
std::string Chunks(const StringList& out) {
  std::string text;
  for (size_t i = 0; i + 1 < out.size(); ++i) text += out[i];
  return text;
}

TEST_F(RealConsole, EchoGivesItsLineInChunksThenAnEmptyItem) {
  StringList out;
  EXPECT_EQ(RunCMD("cmd /C echo hello", out), kRunCmdOutput);
  ASSERT_GE(out.size(), 2u);
  EXPECT_EQ(Chunks(out), "hello\r\n");
  EXPECT_EQ(out.back(), "");
}

TEST_F(RealConsole, SilentCommandGivesOnlyTheEmptyItem) {
  StringList out{"kept"};
  EXPECT_EQ(RunCMD("cmd /C rem", out), kRunCmdNoOutput);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0], "kept");
  EXPECT_EQ(out[1], "");
}

TEST_F(RealConsole, MissingProgramCannotBeStarted) {
  StringList out;
  EXPECT_EQ(RunCMD("no_such_program_here.exe", out), kRunCmdNoProcess);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(RunCMD("", out), kRunCmdNoProcess);
  EXPECT_TRUE(out.empty());
}

TEST_F(RealConsole, LongOutputArrivesInChunksOfAtMost4096Bytes) {
  StringList out;
  // About 9 KB of output: more than two pipe reads.
  ASSERT_EQ(RunCMD("cmd /C for /L %i in (1,1,300) do @echo 0123456789012345678901234567", out),
            kRunCmdOutput);
  ASSERT_GE(out.size(), 3u);
  EXPECT_EQ(out.back(), "");
  std::string joined;
  for (size_t i = 0; i + 1 < out.size(); ++i) {
    EXPECT_LE(out[i].size(), 4096u);
    joined += out[i];
  }
  EXPECT_EQ(joined.size(), 300u * 30u);
}

TEST_F(RealConsole, CommandLineOf254CharactersRunsWhole) {
  std::string line = "cmd /C echo ";
  line += std::string(kMaxCommandLine - line.size(), 'x');
  ASSERT_EQ(line.size(), 254u);
  StringList out;
  EXPECT_EQ(RunCMD(line, out), kRunCmdOutput);
  EXPECT_EQ(Chunks(out), std::string(254 - 12, 'x') + "\r\n");
  StringList refused;
  EXPECT_EQ(RunCMD(line + "x", refused), kRunCmdNoProcess);
}

}  // namespace
}  // namespace pinst
