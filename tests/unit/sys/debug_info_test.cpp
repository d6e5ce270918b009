#include "sys/debug_info.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"
#include "sys/win_version.h"

namespace pinst {
namespace {

class DebugInfoTest : public ::testing::Test {
 protected:
  DebugInfoTest() { ResetDebugInfoState(); }
  ~DebugInfoTest() override { ResetDebugInfoState(); }
  sim::SimWindows win;
};

TEST_F(DebugInfoTest, DebuggerLineWrapsDataInAngleBrackets) {
  WriteDebugInfo("msg", kDebugToDebugger, "");
  WriteDebugInfo("msg2", kDebugToDebugger, "data");
  EXPECT_EQ(win.system.debugLines, (std::vector<std::string>{"<> msg", "<data> msg2"}));
}

TEST_F(DebugInfoTest, MessageBoxModeUsesDataAsCaption) {
  WriteDebugInfo("text", kDebugToMessageBox, "cap");
  ASSERT_EQ(win.system.messageBoxes.size(), 1u);
  EXPECT_EQ(win.system.messageBoxes[0].text, "text");
  EXPECT_EQ(win.system.messageBoxes[0].caption, "cap");
  EXPECT_EQ(win.system.messageBoxes[0].flags, kMbOk | kMbIconInformation);
  EXPECT_EQ(win.system.messageBoxes[0].owner, 0u);
}

TEST_F(DebugInfoTest, LogFileRepeatsBecomeTwoDotsAndEveryModeSetsTheLastMessage) {
  DebugState().logFileName = "C:\\dist\\log.txt";
  WriteDebugInfo("a", kDebugToLogFile, "d");
  WriteDebugInfo("a", kDebugToLogFile, "d");
  WriteDebugInfo("b", kDebugToLogFile, "d");
  WriteDebugInfo("c", 3, "d");  // unknown mode: nothing written, still remembered
  WriteDebugInfo("c", kDebugToLogFile, "d");
  WriteDebugInfo("e", kDebugToDebugger, "");
  WriteDebugInfo("e", kDebugToLogFile, "");
  EXPECT_EQ(*win.files.Contents("log.txt"), "<d> a\r\n..\r\n<d> b\r\n..\r\n..\r\n");
}

TEST_F(DebugInfoTest, EmptyDataInTheLogBecomesTheTime) {
  DebugState().logFileName = "C:\\dist\\log.txt";
  WriteDebugInfo("x", kDebugToLogFile, "");
  EXPECT_EQ(*win.files.Contents("log.txt"), "<2026-12-07 00:00:00> x\r\n");
}

TEST_F(DebugInfoTest, LogKeepsAtMost32768Lines) {
  std::string big;
  for (int i = 0; i < 40000; ++i) big += "l" + std::to_string(i) + "\r\n";
  win.files.AddFile("log.txt", big);
  DebugState().logFileName = "C:\\dist\\log.txt";
  WriteDebugInfo("new", kDebugToLogFile, "d");
  const std::string text = *win.files.Contents("log.txt");
  size_t lines = 0;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(lines, 32768u);
  EXPECT_EQ(text.substr(0, 7), "l7233\r\n");
  EXPECT_EQ(text.substr(text.size() - 9), "<d> new\r\n");
}

TEST_F(DebugInfoTest, LogModeWithoutFileWritesNothingAndDoesNotFail) {
  WriteDebugInfo("x", kDebugToLogFile, "");
  EXPECT_TRUE(win.system.debugLines.empty());
  EXPECT_EQ(DebugState().lastDebugMessage, "x");
}

TEST(WinVersionTest, VersionNumberAndWow64) {
  sim::SimWindows win;
  win.SetVersion(5, 0);
  EXPECT_EQ(GetWinVersion(), 50);
  win.SetVersion(5, 1);
  EXPECT_EQ(GetWinVersion(), 51);
  win.SetVersion(6, 1);
  EXPECT_EQ(GetWinVersion(), 61);
  win.system.wow64 = false;
  EXPECT_FALSE(IsWow64());
  win.system.wow64 = true;
  EXPECT_TRUE(IsWow64());
  win.system.wow64 = std::nullopt;  // Windows 2000: no IsWow64Process
  EXPECT_FALSE(IsWow64());
}

}  // namespace
}  // namespace pinst
