// The installer's configuration: install.ini, one section per printer model.
#pragma once

#include <cstdint>
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

class TIniOptions {
 public:
  // The records as install.ini gives them. What comes from a model's INF (its name
  // and the serial-port prefix) is read when the model first needs it: GetOption
  // and ModelName add it.
  std::vector<TOption> Options;
  int32_t Count = 0;
  std::vector<std::string> Sections;  // the section name of each record

  // The index of the model of that name: the name its INF gives (as the list
  // shows it), else its section's name; both compared as Windows compares
  // names, without regard to ASCII case. -1 when none matches.
  int32_t FindModel(const std::string& name) const;
  // The first model marked AutoMode; -1 when none is.
  int32_t FirstAutoModel() const;

  // Loads the file when it exists (as written, against the current directory);
  // otherwise keeps what the object holds.
  void LoadFromFile(const std::string& fileName);
  // Replaces every record with the sections of ini; does nothing without one.
  void ReadAll(const TIniFile* ini);
  // Copies record index into option, with what its INF gives. An index outside
  // 0..Count-1 gives a record of defaults and false.
  bool GetOption(int32_t index, TOption& option) const;
  // The name record index's INF gives ("" when none), read once and kept.
  const std::string& ModelName(int32_t index) const;
  // Forgets what was read from the INFs: each is read again on its next need.
  void ForgetInfs() { infs_.Reset(Options.size()); }

 private:
  mutable TInfFactsCache infs_;
};

}  // namespace pinst
