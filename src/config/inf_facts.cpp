#include "config/inf_facts.h"

#include "config/inf_model_name.h"
#include "config/ini_file.h"
#include "platform/platform.h"
#include "platform/system.h"

namespace pinst {

std::string DriverVerVersion(const std::string& driverVer) {
  const size_t comma = driverVer.find(',');
  if (comma == std::string::npos) return std::string();
  std::string_view version(driverVer);
  version.remove_prefix(comma + 1);
  while (!version.empty() && (version.front() == ' ' || version.front() == '\t')) {
    version.remove_prefix(1);
  }
  while (!version.empty() && (version.back() == ' ' || version.back() == '\t')) {
    version.remove_suffix(1);
  }
  return std::string(version);
}

void TInfFactsCache::Reset(size_t count) { facts_.assign(count, std::nullopt); }

const TInfFacts& TInfFactsCache::Get(size_t index, const std::string& infPath) {
  if (index >= facts_.size()) return none_ = TInfFacts();
  std::optional<TInfFacts>& facts = facts_[index];
  if (facts) return *facts;
  facts.emplace();
  if (const std::optional<std::string> bytes = ReadInfBytes(infPath)) {
    facts->serial = bytes->find("SERENUM") != std::string::npos;
    InfTarget target = CurrentInfTarget();
    target.codePage = Os().system->GetAnsiCodePage();
    const TIniFile inf = TIniFile::Parse(*bytes, target.codePage);
    InfModelName(inf, target, facts->modelName);
    facts->driverVersion = DriverVerVersion(inf.ReadString("Version", "DriverVer", ""));
    facts->provider =
        ResolveInfToken(inf, target.language, inf.ReadString("Version", "Provider", ""));
  }
  return *facts;
}

}  // namespace pinst
