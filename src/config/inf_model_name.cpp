#include "config/inf_model_name.h"

#include "config/ini_file.h"
#include "platform/files.h"
#include "platform/platform.h"

namespace pinst {

bool ReadInfModelName(const std::string& infPath, std::string& modelName) {
  modelName.clear();
  IFiles& files = *Os().files;
  if (!files.FileExists(infPath)) return false;
  std::optional<TIniFile> inf = TIniFile::Load(files.FullPath(infPath));
  if (!inf) return false;
  const std::string models = inf->ReadString("Strings", "ProviderName", "");
  if (models.empty()) return false;
  const std::vector<std::string> keys = inf->ReadSectionKeys(models);
  if (keys.empty()) return false;
  std::string name = keys.front();
  if (!name.empty() && name.front() == '"') name.erase(0, 1);
  if (!name.empty() && name.back() == '"') name.pop_back();
  modelName = name;
  return true;
}

}  // namespace pinst
