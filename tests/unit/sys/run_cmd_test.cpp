#include "sys/run_cmd.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"
#include "sys/debug_info.h"
#include "sys/wait_limit.h"

namespace pinst {
namespace {

class RunCmdTest : public ::testing::Test {
 protected:
  RunCmdTest() {
    ResetDebugInfoState();
    DebugState().runCmdLogMode = kDebugToDebugger;
  }
  sim::SimWindows win;
};

TEST_F(RunCmdTest, SilentCommandAppendsOneEmptyItem) {
  win.console.Script("sc stop X", {});
  StringList out{"earlier"};
  EXPECT_EQ(RunCMD("sc stop X", out), kRunCmdNoOutput);
  EXPECT_EQ(out, (StringList{"earlier", ""}));
}

TEST_F(RunCmdTest, ShortOutputIsOneChunkWithItsLineEndThenAnEmptyItem) {
  win.console.Script("sc query X", {"SERVICE_NAME: X\r\n", 0, 0});
  StringList out;
  EXPECT_EQ(RunCMD("sc query X", out), kRunCmdOutput);
  EXPECT_EQ(out, (StringList{"SERVICE_NAME: X\r\n", ""}));
  EXPECT_EQ(JoinOutput(out), "SERVICE_NAME: X\r\n\r\n\r\n");
}

TEST_F(RunCmdTest, OutputIsCutIntoChunksNotLines) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "line " + std::to_string(i) + "\r\n";
  ASSERT_GT(text.size(), 4096u * 2);
  win.console.Script("cmd /C big", {text, 0, 0});
  StringList out;
  EXPECT_EQ(RunCMD("cmd /C big", out), kRunCmdOutput);
  ASSERT_EQ(out.size(), 4u);
  EXPECT_EQ(out[0].size(), 4096u);
  EXPECT_EQ(out[1].size(), 4096u);
  EXPECT_EQ(out[0] + out[1] + out[2], text);
  EXPECT_EQ(out[3], "");
}

TEST_F(RunCmdTest, MissingProgramOrEmptyLineIsAProcessFailureLoggedOnce) {
  StringList out;
  EXPECT_EQ(RunCMD("nosuch.exe", out), kRunCmdNoProcess);
  EXPECT_EQ(RunCMD("", out), kRunCmdNoProcess);
  EXPECT_TRUE(out.empty());
  ASSERT_EQ(win.system.debugLines.size(), 2u);
  // "<> RunCMD 创建进程失败，函数将退出！" in GBK
  EXPECT_EQ(win.system.debugLines[0],
            "<> RunCMD \xB4\xB4\xBD\xA8\xBD\xF8\xB3\xCC\xCA\xA7\xB0\xDC\xA3\xAC\xBA\xAF\xCA\xFD"
            "\xBD\xAB\xCD\xCB\xB3\xF6\xA3\xA1");
}

TEST_F(RunCmdTest, PipeFailureRunsNothing) {
  win.console.failCreatePipe = true;
  win.console.Script("sc query X", {"x", 0, 0});
  StringList out;
  EXPECT_EQ(RunCMD("sc query X", out), kRunCmdNoPipe);
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(win.console.commandLines.empty());
  ASSERT_EQ(win.system.debugLines.size(), 1u);
  EXPECT_EQ(win.system.debugLines[0].substr(0, 10), "<> RunCMD ");
}

TEST_F(RunCmdTest, FailedPeekEndsWithNothingReadAndOneLine) {
  win.console.failPeek = true;
  win.console.Script("sc query X", {"x", 0, 0});
  StringList out;
  EXPECT_EQ(RunCMD("sc query X", out), kRunCmdNoOutput);
  EXPECT_EQ(out, StringList{""});
  ASSERT_EQ(win.system.debugLines.size(), 1u);
  EXPECT_NE(win.system.debugLines[0].find("PeekNamedPipe"), std::string::npos);
}

TEST_F(RunCmdTest, FailedReadEndsSilently) {
  win.console.failRead = true;
  win.console.Script("sc query X", {"x", 0, 0});
  StringList out;
  EXPECT_EQ(RunCMD("sc query X", out), kRunCmdNoOutput);
  EXPECT_EQ(out, StringList{""});
  EXPECT_TRUE(win.system.debugLines.empty());
}

TEST_F(RunCmdTest, OverlongCommandLineIsRefusedNotCut) {
  const std::string exact(kMaxCommandLine, 'a');
  win.console.Script(exact, {"ok", 0, 0});
  win.console.Script(exact + "b", {"never", 0, 0});
  StringList out;
  EXPECT_EQ(RunCMD(exact, out), kRunCmdOutput);
  EXPECT_EQ(RunCMD(exact + "b", out), kRunCmdNoProcess);
  EXPECT_EQ(RunCMD(std::string(5000, 'c'), out), kRunCmdNoProcess);
  EXPECT_EQ(win.console.commandLines, StringList{exact});
}

TEST_F(RunCmdTest, SlowCommandIsWaitedForWithoutSpinning) {
  win.console.Script("net start X", {"started successfully\r\n", 0, 2000});
  StringList out;
  EXPECT_EQ(RunCMD("net start X", out), kRunCmdOutput);
  EXPECT_EQ(out[0], "started successfully\r\n");
  EXPECT_GE(win.clock.NowMs(), 2000u);
  // Each poll waits on the child, so two seconds take a few hundred polls at most.
  EXPECT_LT(win.console.polls, 1000u);
}

// At the limit the command is ended, and no later command of the run starts to
// wait a limit of its own.
TEST_F(RunCmdTest, CommandPastTheLimitIsEndedAndNoLaterOneStarts) {
  win.console.Script("sc stop X", {"", 0, 3600000});
  win.console.Script("sc delete X", {"", 0, 3600000});
  SetWaitLimit(5000);
  ClearWaitTimedOut();
  StringList out;
  RunCMD("sc stop X", out);
  EXPECT_EQ(win.console.terminated, std::vector<uint32_t>{1460});
  EXPECT_EQ(WaitTimedOut(), std::optional<std::string>("sc stop X"));
  EXPECT_EQ(RunCMD("sc delete X", out), kRunCmdNoProcess);
  // The first wait that timed out is the one the log names.
  NoteWaitTimedOut("the 64-bit helper");
  EXPECT_EQ(WaitTimedOut(), std::optional<std::string>("sc stop X"));
  EXPECT_EQ(win.console.commandLines, std::vector<std::string>{"sc stop X"});
  EXPECT_LT(win.clock.NowMs(), 6000u);
  SetWaitLimit(std::nullopt);
  ClearWaitTimedOut();
}

}  // namespace
}  // namespace pinst
