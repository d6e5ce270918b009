// The model name of an INF read from the sim's disk. Input: INF bytes, then one
// code-page byte.
#include "config/inf_model_name.h"
#include "fuzz_input.h"
#include "platform/sim/sim_windows.h"

using namespace pinst;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  sim::SimWindows win;
  win.system.codePage = fuzz::PickCodePage(in);
  win.files.AddFile("i386\\model.inf", in.ConsumeRemainingBytesAsString());
  std::string name;
  if (!ReadInfModelName("i386\\model.inf", name)) fuzz::Require(name.empty());
  return 0;
}
