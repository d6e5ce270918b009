// The libraries, the 64-bit helper and the other files a model names: there, and
// for the libraries and the helper, of the kind the installer can use.
#include <algorithm>

#include "base/ansi_text.h"
#include "base/win_path.h"
#include "config/ini_keys.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "verify/checks.h"
#include "verify/pe_image.h"

namespace pinst::verify {

namespace {

// The library contract: every export the installer looks up by name.
constexpr const char* kContractExports[] = {"FuncInst2K", "FuncFindExistDevice", "ShowErrorCode",
                                            "LastInstallErrorCode"};

struct TPeWanted {
  uint16_t machine;
  bool dll;
  const char* role;  // "32-bit installer library"
};

constexpr TPeWanted kLibrary32{kMachineI386, true, "32-bit installer library"};
constexpr TPeWanted kLibrary64{kMachineAmd64, true, "64-bit installer library"};
constexpr TPeWanted kHelper64{kMachineAmd64, false, "64-bit helper program"};

std::string ProblemText(TPeProblem problem) {
  switch (problem) {
    case TPeProblem::kNotMz:
      return "it is not a Windows program at all";
    case TPeProblem::kNoPeHeader:
      return "its DOS header points at no PE header";
    case TPeProblem::kBadOptionalHeader:
      return "its optional header is cut short or of no known kind";
    case TPeProblem::kBadSections:
      return "its section table runs past the end of the file";
    case TPeProblem::kBadExports:
      return "its export table points outside the file";
    case TPeProblem::kNone:
      break;
  }
  return "";
}

// What of the contract a library lacks; a name exported only with stdcall
// decoration ("_FuncInst2K@16") is not found by GetProcAddress under its plain name.
std::string MissingExports(const std::vector<std::string>& names) {
  std::string missing;
  for (const char* wanted : kContractExports) {
    if (std::find(names.begin(), names.end(), wanted) != names.end()) continue;
    std::string entry = wanted;
    for (const std::string& n : names) {
      const std::string_view plain = std::string_view(n).substr(n.starts_with('_') ? 1 : 0);
      const size_t at = plain.find('@');
      if (at != std::string_view::npos && plain.substr(0, at) == wanted) {
        entry += " (exported only as " + n + ")";
        break;
      }
    }
    missing += (missing.empty() ? "" : ", ") + entry;
  }
  return missing;
}

void CheckPe(TContext& c, const std::string& file, const std::string& place,
             const TPeWanted& wanted) {
  // Models that share a file hear about it once.
  if (!c.FirstTime(std::string(wanted.role) + " " + AsciiUpper(c.Full(file), c.CodePage()))) return;
  const std::optional<std::string> bytes = Os().files->ReadWholeFile(c.Full(file));
  if (!bytes) {
    c.Add(TSeverity::kError, "pe-unreadable", file, place, "The file cannot be read.");
    return;
  }
  const TPeImage image = ReadPeImage(*bytes);
  const std::string role = std::string("the ") + wanted.role;
  if (image.problem != TPeProblem::kNone) {
    c.Add(TSeverity::kError, "pe-invalid", file, place,
          "This cannot be " + role + ": " + ProblemText(image.problem) + ".");
    return;
  }
  if (image.machine != wanted.machine) {
    c.Add(TSeverity::kError, "pe-machine", file, place,
          "This is built for " + MachineName(image.machine) + ", but " + role + " must be built " +
              "for " + MachineName(wanted.machine) + ".");
  }
  if (image.isDll != wanted.dll) {
    c.Add(TSeverity::kError, "pe-kind", file, place,
          std::string(image.isDll ? "This is a library" : "This is a program") + ", but " + role +
              " must be " + (wanted.dll ? "a library (DLL)." : "a program (EXE)."));
  }
  if (!wanted.dll) return;
  const std::string missing = MissingExports(image.exportNames);
  if (!missing.empty()) {
    c.Add(TSeverity::kError, "pe-exports", file, place,
          "The library does not export " + missing + "; the installer looks each one up by name.");
  }
}

// A library key: the path as written, else the bare name the reader falls back to.
void CheckLibrary(TContext& c, const TIniFile& ini, const std::string& s, const TIniKey& key,
                  const std::string& fallback, const TPeWanted& wanted) {
  const std::string name(key.name);
  const std::string value = ini.ReadString(s, name, std::string(key.defaultValue));
  const std::string place = KeyPlace(ini, s, name, c.CodePage());
  c.Opens(value);
  if (c.FileExists(value)) {
    CheckPe(c, value, place, wanted);
  } else if (c.FileExists(fallback)) {
    c.Add(TSeverity::kWarning, "pe-fallback", "install.ini", place,
          (value.empty() ? std::string("No path is given") : value + " does not exist") +
              "; the installer uses " + fallback + " from the folder instead.");
    CheckPe(c, fallback, place, wanted);
  } else {
    c.Add(TSeverity::kError, "pe-missing", "install.ini", place,
          (value.empty() ? std::string("No path is given") : value + " does not exist") +
              ", nor does " + fallback + ": installs that need the " + wanted.role + " fail.");
  }
}

void CheckHelper(TContext& c, const TIniFile& ini, const std::string& s) {
  const TIniKey& key = IniKey("InstallImage64");
  const std::string name(key.name);
  const std::string value = ini.ReadString(s, name, std::string(key.defaultValue));
  const std::string place = KeyPlace(ini, s, name, c.CodePage());
  c.Opens(value);
  if (c.FileExists(value)) {
    CheckPe(c, value, place, kHelper64);
  } else {
    c.Add(TSeverity::kError, "pe-missing", "install.ini", place,
          (value.empty() ? std::string("No path is given") : value + " does not exist") +
              ": installs on 64-bit Windows fail.");
  }
}

// A file that is used only when it is there: its absence is a warning, or an error
// where the install then fails.
void CheckNamedFile(TContext& c, const TIniFile& ini, const std::string& s, const TIniKey& key,
                    TSeverity severity, const std::string& code, const std::string& consequence) {
  const std::string name(key.name);
  const std::string value = ini.ReadString(s, name, std::string(key.defaultValue));
  if (value.empty()) return;
  c.Opens(value);
  if (!c.FileExists(value)) {
    c.Add(severity, code, "install.ini", KeyPlace(ini, s, name, c.CodePage()),
          value + " does not exist: " + consequence);
  }
}

// The settings tool is started as a command, so "i386\Setup" also finds Setup.exe.
void CheckSettingsTool(TContext& c, const TIniFile& ini, const std::string& s) {
  const TIniKey& key = IniKey("RegSetImage2000");
  const std::string name(key.name);
  const std::string value = ini.ReadString(s, name, std::string(key.defaultValue));
  if (value.empty()) return;
  const bool bare = value.find('.', FileNameStart(value, c.CodePage())) == std::string::npos;
  const std::string started = bare && !c.FileExists(value) ? value + ".exe" : value;
  c.Opens(started);
  if (!c.FileExists(started)) {
    c.Add(TSeverity::kWarning, "file-missing", "install.ini", KeyPlace(ini, s, name, c.CodePage()),
          value + " does not exist: installs on Windows 2000 run without the settings tool.");
  }
}

// The programs a model's run starts by fixed paths: the device console for the
// rescan of an online install (the 64-bit one under WOW64), and Setup.bat, the
// restart the run falls back on when a model's print-monitor service will not start.
void CheckFixedPrograms(TContext& c, const TIniFile& ini, const std::string& s) {
  const char* const consoles[] = {"i386\\devcon.exe", "X64\\devcon.exe"};
  for (const char* console : consoles) {
    if (!c.FirstTime(std::string("fixed ") + console)) continue;
    c.Opens(console);
    if (!c.FileExists(console)) {
      c.Add(TSeverity::kWarning, "program-missing", console, "",
            std::string("The device console is not there: online installs on ") +
                (console[0] == 'i' ? "32-bit Windows" : "64-bit Windows") +
                " run without the hardware rescan.");
    }
  }
  const std::string service = ini.ReadString(s, "ServiceName", "");
  if (service.empty() || !c.FirstTime("fixed Setup.bat")) return;
  c.Opens("Setup.bat");
  if (!c.FileExists("Setup.bat")) {
    c.Add(TSeverity::kWarning, "program-missing", "Setup.bat",
          KeyPlace(ini, s, "ServiceName", c.CodePage()),
          "Setup.bat is not in the folder: when the service " + service +
              " does not start, the restart the installer falls back on cannot run.");
  }
}

void CheckDocuments(TContext& c, const TIniFile& ini, const std::string& s) {
  for (const TLanguageKeys* lang :
       {&kSimplifiedChineseKeys, &kTraditionalChineseKeys, &kEnglishKeys}) {
    for (const TIniKey* key : {lang->installGuide, lang->quickGuide, lang->handBook}) {
      CheckNamedFile(c, ini, s, *key, TSeverity::kWarning, "doc-missing",
                     "its link stays disabled for users of that language.");
    }
  }
}

}  // namespace

void CheckPrograms(TContext& c, const TIniFile& ini) {
  std::set<std::string> sections;
  for (const std::string& s : ini.ReadSections()) {
    if (!sections.insert(AsciiUpper(s, c.CodePage())).second) continue;
    CheckLibrary(c, ini, s, IniKey("InstallDll2K"), "inst2k.dll", kLibrary32);
    CheckLibrary(c, ini, s, IniKey("Installdll64"), "inst2k64.dll", kLibrary64);
    CheckHelper(c, ini, s);
    CheckNamedFile(c, ini, s, IniKey("ServiceExe"), TSeverity::kError, "file-missing",
                   "the print-monitor service cannot be installed.");
    CheckNamedFile(c, ini, s, IniKey("BeforeRun"), TSeverity::kWarning, "file-missing",
                   "nothing is opened when Install is pressed.");
    CheckNamedFile(c, ini, s, IniKey("AfterRun"), TSeverity::kWarning, "file-missing",
                   "nothing is started after the install.");
    CheckSettingsTool(c, ini, s);
    CheckFixedPrograms(c, ini, s);
    CheckDocuments(c, ini, s);
  }
}

}  // namespace pinst::verify
