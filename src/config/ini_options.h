// The installer's configuration: install.ini, one section per printer model.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "config/inf_facts.h"
#include "config/ini_file.h"

namespace pinst {

// One model's settings.
struct TOption {
  std::string InstallSettingFile2K;  // the model's driver INF
  std::string InstallGuide;          // language variant of InstallGuide0/InstallGuide/InstallGuide2
  std::string QuickGuide;
  std::string HandBook;
  std::string Hint;
  std::string OfflineEnumPrefix = "LPTOFFLINE\\";  // "SERENUM\" when the INF mentions SERENUM
  std::string ModelName;  // the INF's model name (empty when it names none), read with the prefix
  std::string DriverVersion;  // the INF's DriverVer version, read with the name
  std::string Provider;       // the INF's Provider, read with the name
  bool SelectPort = false;
  std::string DefaultPortName;
  bool ForceOnlineCheck = false;
  bool PromptCheck = false;
  std::string InstallDll2K;
  std::string UnInstallImage2K;
  std::string RegSetImage2000;
  std::string InstallImage64;
  std::string Installdll64;  // empty: no 64-bit library available
  std::string UnInstallImage2KCopy;
  bool AutoMode = false;
  bool QuiteMode = false;  // spelled as the key is
  std::string PrintProcess;
  std::string BeforeRun;
  std::string AfterRun;
  std::string ServiceName;
  std::string ServiceExe;
  bool ForceUninstallService = false;
  std::string NTX86FilesPath;
  std::string NTX64FilesPath;
  std::string NTIA64FilesPath;
};

struct TLanguageKeys;

class TIniOptions {
 public:
  // A model's record is read from the parsed install.ini when the model first needs
  // it, and kept; what comes from its INF (its name and the serial-port prefix) too:
  // GetOption and ModelName add it. A thousand models cost their parse at start-up,
  // not a thousand records.
  int32_t Count = 0;
  std::vector<std::string> Sections;  // the section name of each record

  // The index of the model of that name: the name its INF gives (as the list
  // shows it), else its section's name; both compared as Windows compares
  // names, without regard to ASCII case. -1 when none matches.
  int32_t FindModel(const std::string& name) const;
  // The first model marked AutoMode; -1 when none is. Reads that key alone.
  int32_t FirstAutoModel() const;

  // Loads the file when it exists (as written, against the current directory);
  // otherwise keeps what the object holds.
  void LoadFromFile(const std::string& fileName);
  // Replaces every record with the sections of ini; does nothing without one.
  void ReadAll(const TIniFile* ini);
  // Record index as install.ini gives it; index must be within 0..Count-1.
  const TOption& Record(int32_t index) const;
  // Copies record index into option, with what its INF gives. An index outside
  // 0..Count-1 gives a record of defaults and false.
  bool GetOption(int32_t index, TOption& option) const;
  // The name record index's INF gives ("" when none), read once and kept.
  const std::string& ModelName(int32_t index) const;
  // Forgets what was read from the INFs: each is read again on its next need.
  void ForgetInfs() { infs_.Reset(records_.size()); }

 private:
  void Adopt(TIniFile ini);
  bool Holds(int32_t index) const {
    return index >= 0 && index < Count && static_cast<size_t>(index) < records_.size();
  }

  std::optional<TIniFile> ini_;
  const TLanguageKeys* lang_ = nullptr;
  mutable std::vector<std::optional<TOption>> records_;
  // Most models name the same libraries: each path is looked for once.
  mutable std::map<std::string, bool> exists_;
  mutable TInfFactsCache infs_;
};

}  // namespace pinst
