#include "config/ini_options.h"

#include <map>

#include "base/ansi_text.h"
#include "config/ini_keys.h"
#include "config/lang_strings.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "sys/run_log.h"

namespace pinst {

namespace {

const TLanguageKeys& KeysFor(uint16_t langId) {
  switch (LanguageForLangId(langId)) {
    case TextLanguage::kTraditionalChinese:
      return kTraditionalChineseKeys;
    case TextLanguage::kSimplifiedChinese:
      return kSimplifiedChineseKeys;
    case TextLanguage::kEnglish:
      break;
  }
  return kEnglishKeys;
}

std::string Text(const TIniFile& ini, const std::string& s, const TIniKey& key) {
  return ini.ReadString(s, std::string(key.name), std::string(key.defaultValue));
}

bool Flag(const TIniFile& ini, const std::string& s, const TIniKey& key) {
  return ini.ReadBool(s, std::string(key.name), false);
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

TOption ReadOption(const TIniFile& ini, const std::string& s, const TLanguageKeys& lang,
                   TExistsOnce& exists) {
  TOption o;
  o.InstallSettingFile2K = Text(ini, s, IniKey("InstallSettingFile2K"));
  o.InstallGuide = Text(ini, s, *lang.installGuide);
  o.QuickGuide = Text(ini, s, *lang.quickGuide);
  o.HandBook = Text(ini, s, *lang.handBook);
  o.Hint = Text(ini, s, *lang.hint);
  o.SelectPort = Flag(ini, s, IniKey("SelectPort"));
  o.DefaultPortName = Text(ini, s, IniKey("DefaultPortName"));
  o.ForceOnlineCheck = Flag(ini, s, IniKey("ForceOnlineCheck"));
  o.PromptCheck = Flag(ini, s, IniKey("PromptCheck"));
  o.InstallDll2K = Text(ini, s, IniKey("InstallDll2K"));
  // A missing library falls back to its bare name, for the loader's own search.
  if (!exists(o.InstallDll2K)) o.InstallDll2K = "inst2k.dll";
  o.UnInstallImage2K = Text(ini, s, IniKey("UnInstallImage2K"));
  o.RegSetImage2000 = Text(ini, s, IniKey("RegSetImage2000"));
  o.InstallImage64 = Text(ini, s, IniKey("InstallImage64"));
  o.Installdll64 = Text(ini, s, IniKey("Installdll64"));
  if (!exists(o.Installdll64)) {
    o.Installdll64 = exists("inst2k64.dll") ? "inst2k64.dll" : "";
  }
  o.UnInstallImage2KCopy =
      ini.ReadString(s, std::string(IniKey("UnInstallImage2K").name), o.UnInstallImage2K);
  o.AutoMode = Flag(ini, s, IniKey("AutoMode"));
  o.QuiteMode = Flag(ini, s, IniKey("QuiteMode"));
  o.PrintProcess = Text(ini, s, IniKey("PrintProcess"));
  o.BeforeRun = Text(ini, s, IniKey("BeforeRun"));
  o.AfterRun = Text(ini, s, IniKey("AfterRun"));
  o.ServiceName = Text(ini, s, IniKey("ServiceName"));
  o.ServiceExe = Text(ini, s, IniKey("ServiceExe"));
  o.ForceUninstallService = Flag(ini, s, IniKey("ForceUninstallService"));
  o.NTX86FilesPath = Text(ini, s, IniKey("NTX86FilesPath"));
  o.NTX64FilesPath = Text(ini, s, IniKey("NTX64FilesPath"));
  o.NTIA64FilesPath = Text(ini, s, IniKey("NTIA64FilesPath"));
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
  const TLanguageKeys& lang = KeysFor(Os().system->GetSystemDefaultLangID());
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

int32_t TIniOptions::FirstAutoModel() const {
  for (int32_t i = 0; i < Count && static_cast<size_t>(i) < Options.size(); ++i) {
    if (Options[static_cast<size_t>(i)].AutoMode) return i;
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
