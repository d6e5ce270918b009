// The model name of an INF read from the sim's disk, by either rule, for any machine,
// Windows version and language. Input: INF bytes, one target byte (bits 0-1 the
// machine: x86, x64, arm64; bits 2-4 the Windows version: 5.0, 5.1, 5.2, 6.0, 6.1,
// 6.2, 6.3, 10.0; bits 5-6 the language: English, 0x0804, 0x0404, 0x0C04), then one
// code-page byte.
#include "config/inf_model_name.h"
#include "config/ini_file.h"
#include "fuzz_input.h"
#include "platform/sim/sim_windows.h"

using namespace pinst;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static constexpr NativeMachine kMachines[] = {NativeMachine::kX86, NativeMachine::kX64,
                                                NativeMachine::kArm64, NativeMachine::kX64};
  static constexpr OsVersion kVersions[] = {{5, 0}, {5, 1}, {5, 2}, {6, 0},
                                            {6, 1}, {6, 2}, {6, 3}, {10, 0}};
  static constexpr uint16_t kLanguages[] = {0x0409, 0x0804, 0x0404, 0x0C04};
  FuzzedDataProvider in(data, size);
  sim::SimWindows win;
  win.system.codePage = fuzz::PickCodePage(in);
  const uint8_t target = in.ConsumeIntegral<uint8_t>();
  win.system.nativeMachine = kMachines[target & 3];
  win.system.version = kVersions[(target >> 2) & 7];
  win.system.langId = kLanguages[(target >> 5) & 3];
  const std::string bytes = in.ConsumeRemainingBytesAsString();
  win.files.AddFile("i386\\model.inf", bytes);
  std::string name;
  const bool found = ReadInfModelName("i386\\model.inf", name);
  if (!found) fuzz::Require(name.empty());
  // The rule reported agrees with the reading through the platform.
  std::string again;
  const InfNameRule rule =
      InfModelName(TIniFile::Parse(bytes, win.system.codePage), CurrentInfTarget(), again);
  fuzz::Require((rule != InfNameRule::kNone) == found && again == name);
  // The standard rule never gives an empty name.
  if (rule == InfNameRule::kManufacturer) fuzz::Require(!name.empty());
  return 0;
}
