#include "config/ini_options.h"

#include <utility>

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

template <typename Exists>
TOption ReadOption(const TIniFile& ini, const std::string& s, const TLanguageKeys& lang,
                   Exists&& exists) {
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
  Adopt(ini ? std::move(*ini) : TIniFile());
}

void TIniOptions::ReadAll(const TIniFile* ini) {
  if (ini) Adopt(*ini);
}

void TIniOptions::Adopt(TIniFile ini) {
  ini_ = std::move(ini);
  Sections = ini_->ReadSections();
  lang_ = &KeysFor(Os().system->GetSystemDefaultLangID());
  Count = static_cast<int32_t>(Sections.size());
  records_.assign(Sections.size(), std::nullopt);
  exists_.clear();
  infs_.Reset(records_.size());
}

const TOption& TIniOptions::Record(int32_t index) const {
  std::optional<TOption>& record = records_.at(static_cast<size_t>(index));
  if (!record) {
    const auto exists = [this](const std::string& path) {
      const auto [it, added] = exists_.try_emplace(path, false);
      if (added) it->second = Os().files->FileExists(path);
      return it->second;
    };
    record = ReadOption(*ini_, Sections[static_cast<size_t>(index)], *lang_, exists);
  }
  return *record;
}

int32_t TIniOptions::FindModel(const std::string& name) const {
  if (name.empty()) return -1;
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  // The INFs are read in order, up to the model whose name matches.
  for (int32_t i = 0; Holds(i); ++i) {
    if (EqualsNoCase(ModelName(i), name, codePage)) return i;
  }
  for (int32_t i = 0; Holds(i); ++i) {
    if (EqualsNoCase(Sections[static_cast<size_t>(i)], name, codePage)) return i;
  }
  return -1;
}

int32_t TIniOptions::FirstAutoModel() const {
  const std::string key(IniKey("AutoMode").name);
  for (int32_t i = 0; Holds(i); ++i) {
    const size_t at = static_cast<size_t>(i);
    if (records_[at] ? records_[at]->AutoMode : ini_->ReadBool(Sections[at], key, false)) {
      return i;
    }
  }
  return -1;
}

bool TIniOptions::GetOption(int32_t index, TOption& option) const {
  if (!Holds(index)) {
    option = TOption();
    return false;
  }
  option = Record(index);
  const TInfFacts& facts = infs_.Get(static_cast<size_t>(index), option.InstallSettingFile2K);
  option.ModelName = facts.modelName;
  option.DriverVersion = facts.driverVersion;
  option.Provider = facts.provider;
  if (facts.serial) option.OfflineEnumPrefix = "SERENUM\\";
  return true;
}

const std::string& TIniOptions::ModelName(int32_t index) const {
  static const std::string kNone;
  if (!Holds(index)) return kNone;
  return infs_.Get(static_cast<size_t>(index), Record(index).InstallSettingFile2K).modelName;
}

}  // namespace pinst
