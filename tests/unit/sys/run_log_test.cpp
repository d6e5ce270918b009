// The run log's two formats and its bound.
#include "sys/run_log.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

constexpr const char* kLog = "C:\\install.log";

class RunLogTest : public ::testing::Test {
 protected:
  ~RunLogTest() override { RunLog().Close(); }
  std::string Log(const std::string& path = kLog) { return win.files.Contents(path).value_or(""); }
  sim::SimWindows win;
};

TEST_F(RunLogTest, CmTraceEntryCarriesTimeBiasTypeAndProcessOnOneLine) {
  const char* kTail = "\" component=\"PrinterInstaller\" context=\"\" type=\"";
  const struct {
    uint64_t atMs;  // the sim clock, from midnight of 2026-12-07
    int32_t bias;   // UTC minus local, minutes
    TLogKind kind;
    std::string text;
    std::string line;
  } cases[] = {
      {0, 0, TLogKind::kInfo, "Exit code 0",
       "<![LOG[Exit code 0]LOG]!><time=\"00:00:00.000+000\" date=\"12-07-2026" +
           std::string(kTail) + "1\" thread=\"4242\" file=\"\">"},
      // West of UTC (California in winter): local time is behind, the bias positive.
      {47109042, 480, TLogKind::kWarning, "Outcome: installed, a restart is needed",
       "<![LOG[Outcome: installed, a restart is needed]LOG]!><time=\"13:05:09.042+480\" "
       "date=\"12-07-2026" +
           std::string(kTail) + "2\" thread=\"4242\" file=\"\">"},
      // East of UTC (Berlin, Kathmandu): negative, always three digits.
      {86399999, -60, TLogKind::kFailure, "Exit code 1603",
       "<![LOG[Exit code 1603]LOG]!><time=\"23:59:59.999-060\" date=\"12-07-2026" +
           std::string(kTail) + "3\" thread=\"4242\" file=\"\">"},
      {86400000 + 61001, -345, TLogKind::kInfo, "x",
       "<![LOG[x]LOG]!><time=\"00:01:01.001-345\" date=\"12-08-2026" + std::string(kTail) +
           "1\" thread=\"4242\" file=\"\">"},
      // Line breaks become blanks; a "]" stays, the markers the viewer looks for are broken.
      {0, 0, TLogKind::kFailure, "Message: a]b\r\nc\nd\re [x]",
       "<![LOG[Message: a]b c d e [x]]LOG]!><time=\"00:00:00.000+000\" date=\"12-07-2026" +
           std::string(kTail) + "3\" thread=\"4242\" file=\"\">"},
      {0, 0, TLogKind::kInfo, "a]LOG]!><time=\"1\" b ]log]!> <![LOG[c",
       "<![LOG[a] LOG]!><time=\"1\" b ] log]!> <! [LOG[c]LOG]!><time=\"00:00:00.000+000\" "
       "date=\"12-07-2026" +
           std::string(kTail) + "1\" thread=\"4242\" file=\"\">"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    sim::SimWindows machine;
    machine.clock.Advance(c.atMs);
    machine.system.timeZoneBias = c.bias;
    ASSERT_TRUE(RunLog().Open(kLog, TLogFormat::kCmTrace));
    LogLine(c.text, c.kind);
    EXPECT_EQ(machine.files.Contents(kLog).value_or(""), c.line + "\r\n");
    RunLog().Close();
  }
  win.system.processId = 77;
  ASSERT_TRUE(RunLog().Open(kLog, TLogFormat::kCmTrace));
  DebugLine("to both");
  EXPECT_NE(Log().find("type=\"1\" thread=\"77\" file=\"\">\r\n"), std::string::npos) << Log();
  EXPECT_EQ(win.system.debugLines.back(), "to both");
}

TEST_F(RunLogTest, PlainFormatIsTheDefaultAndShowsNoKind) {
  win.files.AddFile(kLog, "earlier\r\n");
  ASSERT_TRUE(RunLog().Open(kLog));
  LogLine("Install failed: error 0x00000002", TLogKind::kFailure);
  LogLine("two\r\nlines");
  EXPECT_EQ(Log(),
            "earlier\r\n2026-12-07 00:00:00  Install failed: error 0x00000002\r\n"
            "2026-12-07 00:00:00  two lines\r\n");
}

TEST_F(RunLogTest, LogPastTheBoundIsMovedAsideAndStartedAnew) {
  const std::string big(kLogBoundBytes, 'x');
  const struct {
    const char* path;
    std::string before;
    const char* rotated;  // null: appended to as it is
    const char* fault;
  } cases[] = {
      {"C:\\logs\\run.log", big, nullptr, nullptr},
      {"C:\\logs\\run.log", big + "y", "C:\\logs\\run.lo_", nullptr},
      {"C:\\logs\\RUN.LOG", big + "y", "C:\\logs\\RUN.LO_", nullptr},
      {"C:\\logs\\run.txt", big + "y", "C:\\logs\\run.txt.old", nullptr},
      // A log that cannot be moved aside keeps every line.
      {"C:\\logs\\run.log", big + "y", nullptr, "files.MoveFileExA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " " + std::to_string(c.before.size()));
    sim::SimWindows machine;
    machine.files.AddFile(c.path, c.before);
    machine.files.AddFile("C:\\logs\\run.lo_", "older generation");
    machine.files.AddFile("C:\\logs\\run.txt.old", "older generation");
    if (c.fault) machine.faults.failName = c.fault;
    ASSERT_TRUE(RunLog().Open(c.path));
    LogLine("new run");
    const std::string after = machine.files.Contents(c.path).value_or("");
    EXPECT_EQ(RunLog().RotatedTo(), c.rotated ? c.rotated : "");
    if (c.rotated) {
      EXPECT_EQ(after, "2026-12-07 00:00:00  new run\r\n");
      EXPECT_EQ(machine.files.Contents(c.rotated), c.before);
    } else {
      EXPECT_EQ(after, c.before + "2026-12-07 00:00:00  new run\r\n");
    }
    RunLog().Close();
  }
  // A link is never opened, so never moved.
  win.files.AddFile(kLog, big + "y");
  win.files.PlantLink(kLog);
  EXPECT_FALSE(RunLog().Open(kLog));
  EXPECT_FALSE(win.files.HasFile("C:\\install.lo_"));
}

}  // namespace
}  // namespace pinst
