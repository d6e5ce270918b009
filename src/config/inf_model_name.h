// The name a model is shown and installed under, taken from its driver INF.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/lang_strings.h"
#include "platform/system.h"

namespace pinst {

class TIniFile;

// Which reading of the INF gave a model name.
enum class InfNameRule {
  kNone,          // no name
  kProviderName,  // the section [Strings] ProviderName names
  kManufacturer,  // the standard way: [Manufacturer]'s first entry and its decorations
};

// What the standard reading depends on: the machine the driver is installed for,
// the Windows version, the program's language and the INF's code page.
struct InfTarget {
  NativeMachine machine = NativeMachine::kX86;
  OsVersion version{5, 1};
  TextLanguage language = TextLanguage::kEnglish;
  uint32_t codePage = 1252;
};
// The running system's: its native machine, GetVersionExA, the text table's language.
InfTarget CurrentInfTarget();

// First rule: the first key of the section [Strings] ProviderName names, without its
// surrounding double quotes (a "%token%" key gives the token's [Strings] value).
// When that gives nothing, the standard rule: the first entry of [Manufacturer] names
// the models section and its decorations; the decorated section that fits the target
// (or the undecorated one when none fits) gives its first model line's description,
// quotes removed, a "%token%" taken from [Strings.0804] or [Strings.0404] for the
// Chinese languages where the INF has the token there, otherwise from [Strings].
InfNameRule InfModelName(const TIniFile& inf, const InfTarget& target, std::string& modelName);

// Whether a [Manufacturer] entry names a models section decorated for the target's
// machine itself (NTarm64, not a bare NT or none), fitting its Windows version, with a
// model line in it: off x86 Windows uses no models section without its machine.
bool InfListsModelsForMachine(const TIniFile& inf, const InfTarget& target);

// A model line's name as setup shows it: "%token%" from the language's strings section
// or [Strings]; any other name as written.
std::string ResolveInfToken(const TIniFile& inf, TextLanguage language, const std::string& name);

// The same for the INF at infPath on the running system. False and an empty name when
// the INF is missing or names no model.
bool ReadInfModelName(const std::string& infPath, std::string& modelName);
// The INF's bytes; nullopt when no file is there or it cannot be read.
std::optional<std::string> ReadInfBytes(const std::string& infPath);
// The same from INF bytes already read (ANSI code page, or Unicode with a BOM).
bool InfModelNameFromBytes(const std::string& bytes, uint32_t codePage, std::string& modelName);

}  // namespace pinst
