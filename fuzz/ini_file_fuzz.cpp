// The INI reader over a file on the sim's disk: ANSI and double-byte code pages,
// UTF-16LE and UTF-8 with their BOMs. Input: file bytes, then one code-page byte.
// Every lookup is checked against a plain scan of the parsed sections.
#include "base/ansi_text.h"
#include "config/ini_file.h"
#include "fuzz_input.h"
#include "platform/sim/sim_windows.h"

using namespace pinst;

namespace {

// The first section of that name, then the first key of that name in it.
const std::string* ScanValue(const TIniFile& ini, const std::string& section,
                             const std::string& key, uint32_t codePage) {
  for (const TIniFile::Section& s : ini.Sections()) {
    if (!EqualsNoCase(s.name, section, codePage)) continue;
    for (const TIniFile::Key& k : s.keys) {
      if (EqualsNoCase(k.name, key, codePage)) return &k.value;
    }
    return nullptr;
  }
  return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  sim::SimWindows win;
  const uint32_t codePage = fuzz::PickCodePage(in);
  win.system.codePage = codePage;
  win.files.AddFile("fuzz.ini", in.ConsumeRemainingBytesAsString());
  const std::optional<TIniFile> ini = TIniFile::Load("C:\\dist\\fuzz.ini");
  fuzz::Require(ini.has_value());
  const std::vector<std::string> sections = ini->ReadSections();
  size_t listBytes = 1;
  for (const std::string& section : sections) listBytes += section.size() + 1;
  fuzz::Require(listBytes <= 16384);
  for (const std::string& section : sections) {
    for (const std::string& key : ini->ReadSectionKeys(section)) {
      const std::string value = ini->ReadString(section, key, "\x01");
      const std::string* scanned = ScanValue(*ini, section, key, codePage);
      fuzz::Require(scanned && value == *scanned && value.size() <= 2047);
      ini->ReadInteger(section, key, -1);
      ini->ReadBool(section, key, true);
    }
  }
  return 0;
}
