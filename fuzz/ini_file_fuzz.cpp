// The INI reader over a file on the sim's disk: ANSI and double-byte code pages,
// UTF-16LE and UTF-8 with their BOMs. Input: file bytes, then one code-page byte.
#include "config/ini_file.h"
#include "fuzz_input.h"
#include "platform/sim/sim_windows.h"

using namespace pinst;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  sim::SimWindows win;
  win.system.codePage = fuzz::PickCodePage(in);
  win.files.AddFile("fuzz.ini", in.ConsumeRemainingBytesAsString());
  const std::optional<TIniFile> ini = TIniFile::Load("C:\\dist\\fuzz.ini");
  fuzz::Require(ini.has_value());
  for (const std::string& section : ini->ReadSections()) {
    for (const std::string& key : ini->ReadSectionKeys(section)) {
      fuzz::Require(ini->ReadString(section, key, "").size() <= 2047);
      ini->ReadInteger(section, key, -1);
      ini->ReadBool(section, key, true);
    }
  }
  return 0;
}
