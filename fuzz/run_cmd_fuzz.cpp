// The command runner's chunking of a child's output on the sim console. Input: the
// command line (a random-length string), the output; from the end, a failure byte
// (bit 0 peek fails, bit 1 read fails) and the run time in milliseconds.
#include "fuzz_input.h"
#include "platform/sim/sim_windows.h"
#include "sys/run_cmd.h"

using namespace pinst;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  sim::SimWindows win;
  const uint8_t failures = in.ConsumeIntegral<uint8_t>();
  win.console.failPeek = failures & 1;
  win.console.failRead = failures & 2;
  const uint32_t durationMs = in.ConsumeIntegralInRange<uint32_t>(0, 2000);
  const std::string commandLine = in.ConsumeRandomLengthString(400);
  const std::string output = in.ConsumeRemainingBytesAsString();
  win.console.handler = [&](const std::string&) {
    return std::optional<sim::SimCommand>(sim::SimCommand{output, 0, durationMs});
  };

  StringList items;
  const int result = RunCMD(commandLine, items);
  const bool started = !commandLine.empty() && commandLine.size() <= kMaxCommandLine &&
                       commandLine.find('\0') == std::string::npos;
  if (!started) {
    fuzz::Require(result == kRunCmdNoProcess && items.empty());
    return 0;
  }
  if (failures & 3) return 0;
  // Every byte arrives once, in order, in chunks of at most 4096; the closing item is empty.
  fuzz::Require(result == (output.empty() ? kRunCmdNoOutput : kRunCmdOutput));
  fuzz::Require(!items.empty() && items.back().empty());
  std::string joined;
  for (const std::string& item : items) {
    fuzz::Require(item.size() <= 4096);
    joined += item;
  }
  fuzz::Require(joined == output);
  JoinOutput(items);
  return 0;
}
