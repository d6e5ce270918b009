// The install.ini records over a fuzzed install.ini and the INF it names (a.inf).
// Input: INF bytes, install.ini bytes, then the INF's length (2 bytes,
// little-endian) and a language byte (0 English, 1 Simplified, 2 Traditional).
#include "config/ini_options.h"
#include "fuzz_input.h"
#include "platform/sim/sim_windows.h"

using namespace pinst;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  sim::SimWindows win;
  win.SetLanguage(in.PickValueInArray<uint16_t>({0x0409, 0x0804, 0x0404}));
  const uint16_t infSize = in.ConsumeIntegral<uint16_t>();
  win.files.AddFile("a.inf", in.ConsumeBytesAsString(infSize));
  win.files.AddFile("i386\\inst2k.dll", "MZ");
  win.files.AddFile("install.ini", in.ConsumeRemainingBytesAsString());
  TIniOptions options;
  options.LoadFromFile("install.ini");
  fuzz::Require(options.Count >= 0 &&
                static_cast<size_t>(options.Count) == options.Sections.size());
  // Before any record is read: the automatic model from its mark alone.
  const int32_t automatic = options.FirstAutoModel();
  TOption option;
  for (int32_t i = -1; i <= options.Count; ++i) {
    fuzz::Require(options.GetOption(i, option) == (i >= 0 && i < options.Count));
    // The mark read alone agrees with the record read in full.
    if (i >= 0 && i < options.Count && (automatic < 0 || i <= automatic)) {
      fuzz::Require(option.AutoMode == (i == automatic));
    }
  }
  fuzz::Require(options.FirstAutoModel() == automatic);
  return 0;
}
