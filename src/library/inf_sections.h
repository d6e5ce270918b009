// INF syntax over the private-profile reader: a section's lines with every section
// of that name merged (setup merges them), a line's comma-separated fields with
// quotes and a trailing "; comment" dropped, and the names the decorations use.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/ini_file.h"
#include "platform/system.h"

namespace pinst {

// One line of a section. "key = a, b": assigned, fields a and b. A line without a
// value ("file.dll,src.dll,,0x20" in a file list): not assigned, its fields the
// line's own, key the first of them.
struct TInfLine {
  std::string key;
  std::vector<std::string> fields;
  bool assigned = false;
  int line = 0;
};

// Every line of every section named name, in file order; empty when there is none.
std::vector<TInfLine> InfSectionLines(const TIniFile& inf, std::string_view name,
                                      uint32_t codePage);
bool InfHasSection(const TIniFile& inf, std::string_view name, uint32_t codePage);

// "a, "b,c" ; note" split into trimmed fields, quotes removed.
std::vector<std::string> SplitInfFields(std::string_view text, uint32_t codePage);

// The values of every "name=" line of the sections, split into fields and joined.
std::vector<std::string> InfDirectiveValues(const std::vector<TInfLine>& lines,
                                            std::string_view name, uint32_t codePage);

// The first field of the first "name=" line; empty when there is none.
std::string InfDirective(const std::vector<TInfLine>& lines, std::string_view name,
                         uint32_t codePage);

// "NTx86", "NTamd64", "NTarm64": the install section decoration of the machine.
const char* InstallDecoration(NativeMachine machine);
// "x86", "amd64", "arm64": the source-disk decoration of the machine.
const char* SourceDecoration(NativeMachine machine);

}  // namespace pinst
