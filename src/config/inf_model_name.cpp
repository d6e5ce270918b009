#include "config/inf_model_name.h"

#include "config/ini_file.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"

namespace pinst {

bool InfModelNameFromBytes(const std::string& bytes, uint32_t codePage, std::string& modelName) {
  modelName.clear();
  const TIniFile inf = TIniFile::Parse(bytes, codePage);
  const std::string models = inf.ReadString("Strings", "ProviderName", "");
  if (models.empty()) return false;
  const std::vector<std::string> keys = inf.ReadSectionKeys(models);
  if (keys.empty()) return false;
  std::string name = keys.front();
  if (!name.empty() && name.front() == '"') name.erase(0, 1);
  if (!name.empty() && name.back() == '"') name.pop_back();
  // "%token%" stands for its [Strings] value, the name setup gives the model.
  if (name.size() > 2 && name.front() == '%' && name.back() == '%') {
    name = inf.ReadString("Strings", name.substr(1, name.size() - 2), name);
  }
  modelName = name;
  return true;
}

std::optional<std::string> ReadInfBytes(const std::string& infPath) {
  IFiles& files = *Os().files;
  if (!files.FileExists(infPath)) return std::nullopt;
  return files.ReadWholeFile(files.FullPath(infPath));
}

bool ReadInfModelName(const std::string& infPath, std::string& modelName) {
  modelName.clear();
  const std::optional<std::string> bytes = ReadInfBytes(infPath);
  return bytes && InfModelNameFromBytes(*bytes, Os().system->GetAnsiCodePage(), modelName);
}

}  // namespace pinst
