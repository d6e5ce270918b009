// The hardware ids of an INF read from the sim's disk, on Windows 2000 and XP (they
// choose differently). Input: INF bytes, a version byte (even: 2000), a code-page byte.
#include "engine/hardware_ids.h"
#include "fuzz_input.h"
#include "platform/sim/sim_windows.h"

using namespace pinst;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  sim::SimWindows win;
  win.system.codePage = fuzz::PickCodePage(in);
  win.SetVersion(5, in.ConsumeBool() ? 1 : 0);
  win.files.AddFile("i386\\model.inf", in.ConsumeRemainingBytesAsString());
  std::string hardwareId;
  std::string compatibleId;
  const int count = ReadInfHardwareIds("i386\\model.inf", hardwareId, compatibleId);
  fuzz::Require(count >= 0);
  if (count == 0) fuzz::Require(hardwareId.empty() && compatibleId.empty());
  return 0;
}
