#include "config/ini_options.h"

#include <map>

#include "base/ansi_text.h"
#include "config/lang_strings.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "sys/run_log.h"

namespace pinst {

namespace {

struct LanguageKeys {
  const char* installGuide;
  const char* quickGuide;
  const char* handBook;
  const char* hint;
  const char* defaultGuide;
};

LanguageKeys KeysFor(uint16_t langId) {
  switch (LanguageForLangId(langId)) {
    case TextLanguage::kTraditionalChinese:
      return {"InstallGuide0", "QuickGuide0", "HandBook0", "Hint0", "ReadmeCHT.txt"};
    case TextLanguage::kSimplifiedChinese:
      return {"InstallGuide", "QuickGuide", "HandBook", "Hint", "ReadmeCN.txt"};
    case TextLanguage::kEnglish:
      break;
  }
  return {"InstallGuide2", "QuickGuide2", "HandBook2", "Hint2", "ReadmeEN.txt"};
}

// Most models name the same libraries: each path is looked for once per load.
class TExistsOnce {
 public:
  bool operator()(const std::string& path) {
    const auto [it, added] = known_.try_emplace(path, false);
    if (added) it->second = Os().files->FileExists(path);
    return it->second;
  }

 private:
  std::map<std::string, bool> known_;
};

TOption ReadOption(const TIniFile& ini, const std::string& s, const LanguageKeys& lang,
                   TExistsOnce& exists) {
  TOption o;
  o.InstallSettingFile2K = ini.ReadString(s, "InstallSettingFile2K", "");
  o.InstallGuide = ini.ReadString(s, lang.installGuide, lang.defaultGuide);
  o.QuickGuide = ini.ReadString(s, lang.quickGuide, "");
  o.HandBook = ini.ReadString(s, lang.handBook, "");
  o.Hint = ini.ReadString(s, lang.hint, "");
  o.SelectPort = ini.ReadBool(s, "SelectPort", false);
  o.DefaultPortName = ini.ReadString(s, "DefaultPortName", "");
  o.ForceOnlineCheck = ini.ReadBool(s, "ForceOnlineCheck", false);
  o.PromptCheck = ini.ReadBool(s, "PromptCheck", false);
  o.InstallDll2K = ini.ReadString(s, "InstallDll2K", "i386\\inst2k.dll");
  // A missing library falls back to its bare name, for the loader's own search.
  if (!exists(o.InstallDll2K)) o.InstallDll2K = "inst2k.dll";
  o.UnInstallImage2K = ini.ReadString(s, "UnInstallImage2K", "i386\\NvPrnUni.exe");
  o.RegSetImage2000 = ini.ReadString(s, "RegSetImage2000", "i386\\Setup");
  o.InstallImage64 = ini.ReadString(s, "InstallImage64", "X64\\Instavo64.exe");
  o.Installdll64 = ini.ReadString(s, "Installdll64", "X64\\inst2k64.dll");
  if (!exists(o.Installdll64)) {
    o.Installdll64 = exists("inst2k64.dll") ? "inst2k64.dll" : "";
  }
  o.UnInstallImage2KCopy = ini.ReadString(s, "UnInstallImage2K", o.UnInstallImage2K);
  o.AutoMode = ini.ReadBool(s, "AutoMode", false);
  o.QuiteMode = ini.ReadBool(s, "QuiteMode", false);
  o.PrintProcess = ini.ReadString(s, "PrintProcess", "WinPrint");
  o.BeforeRun = ini.ReadString(s, "BeforeRun", "");
  o.AfterRun = ini.ReadString(s, "AfterRun", "");
  o.ServiceName = ini.ReadString(s, "ServiceName", "");
  o.ServiceExe = ini.ReadString(s, "ServiceExe", "");
  o.ForceUninstallService = ini.ReadBool(s, "ForceUninstallService", false);
  o.NTX86FilesPath = ini.ReadString(s, "NTX86FilesPath", "I386");
  o.NTX64FilesPath = ini.ReadString(s, "NTX64FilesPath", "X64");
  o.NTIA64FilesPath = ini.ReadString(s, "NTIA64FilesPath", "IA64");
  return o;
}

}  // namespace

void TIniOptions::LoadFromFile(const std::string& fileName) {
  IFiles& files = *Os().files;
  if (!files.FileExists(fileName)) {
    DebugLine("Cannot find the file " + fileName);
    return;
  }
  // A file that exists but cannot be read is treated as empty rather than kept stale.
  std::optional<TIniFile> ini = TIniFile::Load(files.FullPath(fileName));
  if (!ini) DebugLine("Cannot read the file " + fileName);
  const TIniFile empty;
  ReadAll(ini ? &*ini : &empty);
}

void TIniOptions::ReadAll(const TIniFile* ini) {
  if (!ini) return;
  const std::vector<std::string> sections = ini->ReadSections();
  const LanguageKeys lang = KeysFor(Os().system->GetSystemDefaultLangID());
  Count = static_cast<int32_t>(sections.size());
  Options.assign(sections.size(), TOption());
  Sections = sections;
  TExistsOnce exists;
  for (size_t i = 0; i < sections.size(); ++i) {
    Options[i] = ReadOption(*ini, sections[i], lang, exists);
  }
  infs_.Reset(Options.size());
}

int32_t TIniOptions::FindModel(const std::string& name) const {
  if (name.empty()) return -1;
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  // The INFs are read in order, up to the model whose name matches.
  for (size_t i = 0; i < Options.size(); ++i) {
    if (EqualsNoCase(ModelName(static_cast<int32_t>(i)), name, codePage)) {
      return static_cast<int32_t>(i);
    }
  }
  for (size_t i = 0; i < Sections.size() && i < Options.size(); ++i) {
    if (EqualsNoCase(Sections[i], name, codePage)) return static_cast<int32_t>(i);
  }
  return -1;
}

bool TIniOptions::GetOption(int32_t index, TOption& option) const {
  if (index < 0 || index >= Count || static_cast<size_t>(index) >= Options.size()) {
    option = TOption();
    return false;
  }
  option = Options[static_cast<size_t>(index)];
  const TInfFacts& facts = infs_.Get(static_cast<size_t>(index), option.InstallSettingFile2K);
  option.ModelName = facts.modelName;
  if (facts.serial) option.OfflineEnumPrefix = "SERENUM\\";
  return true;
}

const std::string& TIniOptions::ModelName(int32_t index) const {
  static const std::string kNone;
  if (index < 0 || static_cast<size_t>(index) >= Options.size()) return kNone;
  return infs_
      .Get(static_cast<size_t>(index), Options[static_cast<size_t>(index)].InstallSettingFile2K)
      .modelName;
}

}  // namespace pinst
