// The keys of an install.ini model section, with their defaults: the one list the
// reader reads from and the distribution check compares against.
#pragma once

#include <string_view>

namespace pinst {

struct TIniKey {
  std::string_view name;          // spelled as the reader looks it up (case does not matter)
  std::string_view defaultValue;  // what a missing key gives; flags are off when missing
};

// clang-format off
inline constexpr TIniKey kIniKeys[] = {
    {"InstallSettingFile2K", ""},
    {"InstallGuide0", "ReadmeCHT.txt"}, {"QuickGuide0", ""}, {"HandBook0", ""}, {"Hint0", ""},
    {"InstallGuide", "ReadmeCN.txt"},   {"QuickGuide", ""},  {"HandBook", ""},  {"Hint", ""},
    {"InstallGuide2", "ReadmeEN.txt"},  {"QuickGuide2", ""}, {"HandBook2", ""}, {"Hint2", ""},
    {"SelectPort", ""},
    {"DefaultPortName", ""},
    {"ForceOnlineCheck", ""},
    {"PromptCheck", ""},
    {"InstallDll2K", "i386\\inst2k.dll"},
    {"UnInstallImage2K", "i386\\NvPrnUni.exe"},
    {"RegSetImage2000", "i386\\Setup"},
    {"InstallImage64", "X64\\Instavo64.exe"},
    {"Installdll64", "X64\\inst2k64.dll"},
    {"AutoMode", ""},
    {"QuiteMode", ""},
    {"PrintProcess", "WinPrint"},
    {"BeforeRun", ""},
    {"AfterRun", ""},
    {"ServiceName", ""},
    {"ServiceExe", ""},
    {"ForceUninstallService", ""},
    {"NTX86FilesPath", "I386"},
    {"NTX64FilesPath", "X64"},
    {"NTIA64FilesPath", "IA64"},
};
// clang-format on

// The entry of a key in the list; a name that is not in it does not compile, so the
// reader cannot read a key the check would call unknown.
consteval const TIniKey& IniKey(std::string_view name) {
  for (const TIniKey& key : kIniKeys) {
    if (key.name == name) return key;
  }
  throw "not a key of install.ini";
}

// The document and hint keys of one user language.
struct TLanguageKeys {
  const TIniKey* installGuide;
  const TIniKey* quickGuide;
  const TIniKey* handBook;
  const TIniKey* hint;
};

inline constexpr TLanguageKeys kTraditionalChineseKeys{
    &IniKey("InstallGuide0"), &IniKey("QuickGuide0"), &IniKey("HandBook0"), &IniKey("Hint0")};
inline constexpr TLanguageKeys kSimplifiedChineseKeys{
    &IniKey("InstallGuide"), &IniKey("QuickGuide"), &IniKey("HandBook"), &IniKey("Hint")};
inline constexpr TLanguageKeys kEnglishKeys{&IniKey("InstallGuide2"), &IniKey("QuickGuide2"),
                                            &IniKey("HandBook2"), &IniKey("Hint2")};

}  // namespace pinst
