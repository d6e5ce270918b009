#include "config/inf_model_name.h"

#include <string_view>
#include <vector>

#include "base/ansi_text.h"
#include "config/inf_decoration.h"
#include "config/ini_file.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"

namespace pinst {

namespace {

// Values are cut at a NUL byte, so no value read from the file equals this default.
const std::string kAbsent(1, '\0');

std::string StripQuotes(std::string name) {
  if (!name.empty() && name.front() == '"') name.erase(0, 1);
  if (!name.empty() && name.back() == '"') name.pop_back();
  return name;
}

bool IsToken(const std::string& name) {
  return name.size() > 2 && name.front() == '%' && name.back() == '%';
}

const char* LocalStringsSection(TextLanguage language) {
  switch (language) {
    case TextLanguage::kSimplifiedChinese:
      return "Strings.0804";
    case TextLanguage::kTraditionalChinese:
      return "Strings.0404";
    case TextLanguage::kEnglish:
      break;
  }
  return nullptr;
}

// "%token%" from the language's strings section, then [Strings]; a token found in
// neither stays as written, as setup shows it.
std::string ResolveToken(const TIniFile& inf, TextLanguage language, const std::string& name) {
  if (!IsToken(name)) return name;
  const std::string token = name.substr(1, name.size() - 2);
  if (const char* local = LocalStringsSection(language)) {
    std::string value = inf.ReadString(local, token, kAbsent);
    if (value != kAbsent) return value;
  }
  return inf.ReadString("Strings", token, name);
}

bool ProviderNameRule(const TIniFile& inf, std::string& modelName) {
  const std::string models = inf.ReadString("Strings", "ProviderName", "");
  if (models.empty()) return false;
  const std::vector<std::string> keys = inf.ReadSectionKeys(models);
  if (keys.empty()) return false;
  std::string name = StripQuotes(keys.front());
  // "%token%" stands for its [Strings] value, the name setup gives the model.
  if (IsToken(name)) name = inf.ReadString("Strings", name.substr(1, name.size() - 2), name);
  modelName = name;
  return true;
}

// "Models, NTx86, NTamd64.6.0" split at its commas, each field trimmed.
std::vector<std::string> SplitFields(std::string_view value, uint32_t codePage) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t comma = FindSingleByte(value, ',', codePage, start);
    fields.emplace_back(TrimControls(value.substr(start, comma - start)));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

bool ManufacturerRule(const TIniFile& inf, const InfTarget& target, std::string& modelName) {
  const std::vector<std::string> entries = inf.ReadSectionKeys("Manufacturer");
  if (entries.empty()) return false;
  const std::string value = inf.ReadString("Manufacturer", entries.front(), "");
  std::vector<std::string> fields = SplitFields(value, target.codePage);
  // An entry without a value is a maker's name that is its own models section.
  std::string section = value.empty() ? StripQuotes(entries.front()) : fields.front();
  if (section.empty()) return false;
  fields.erase(fields.begin());
  if (const std::optional<std::string> decoration =
          PickInfDecoration(fields, target.machine, target.version)) {
    section += "." + *decoration;
  }
  const std::vector<std::string> models = inf.ReadSectionKeys(section);
  if (models.empty()) return false;
  std::string name = ResolveToken(inf, target.language, StripQuotes(models.front()));
  if (name.empty()) return false;
  modelName = std::move(name);
  return true;
}

}  // namespace

bool InfListsModelsForMachine(const TIniFile& inf, const InfTarget& target) {
  for (const std::string& entry : inf.ReadSectionKeys("Manufacturer")) {
    std::vector<std::string> fields =
        SplitFields(inf.ReadString("Manufacturer", entry, ""), target.codePage);
    if (fields.size() < 2 || fields.front().empty()) continue;
    const std::string section = fields.front();
    fields.erase(fields.begin());
    const std::optional<std::string> picked =
        PickInfDecoration(fields, target.machine, target.version);
    if (!picked) continue;
    const std::optional<InfDecoration> decoration = ParseInfDecoration(*picked);
    if (!decoration || decoration->anyMachine) continue;
    if (!inf.ReadSectionKeys(section + "." + *picked).empty()) return true;
  }
  return false;
}

std::string ResolveInfToken(const TIniFile& inf, TextLanguage language, const std::string& name) {
  return ResolveToken(inf, language, name);
}

InfTarget CurrentInfTarget() {
  ISystem& system = *Os().system;
  InfTarget target;
  target.machine = system.GetNativeMachine();
  target.version = system.GetVersion();
  target.language = LanguageForLangId(system.GetSystemDefaultLangID());
  target.codePage = system.GetAnsiCodePage();
  return target;
}

InfNameRule InfModelName(const TIniFile& inf, const InfTarget& target, std::string& modelName) {
  modelName.clear();
  if (ProviderNameRule(inf, modelName)) return InfNameRule::kProviderName;
  if (ManufacturerRule(inf, target, modelName)) return InfNameRule::kManufacturer;
  return InfNameRule::kNone;
}

bool InfModelNameFromBytes(const std::string& bytes, uint32_t codePage, std::string& modelName) {
  InfTarget target = CurrentInfTarget();
  target.codePage = codePage;
  return InfModelName(TIniFile::Parse(bytes, codePage), target, modelName) != InfNameRule::kNone;
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
