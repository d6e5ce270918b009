#include "config/inf_facts.h"

#include "config/inf_model_name.h"
#include "platform/platform.h"
#include "platform/system.h"

namespace pinst {

void TInfFactsCache::Reset(size_t count) { facts_.assign(count, std::nullopt); }

const TInfFacts& TInfFactsCache::Get(size_t index, const std::string& infPath) {
  if (index >= facts_.size()) return none_ = TInfFacts();
  std::optional<TInfFacts>& facts = facts_[index];
  if (facts) return *facts;
  facts.emplace();
  if (const std::optional<std::string> bytes = ReadInfBytes(infPath)) {
    facts->serial = bytes->find("SERENUM") != std::string::npos;
    InfModelNameFromBytes(*bytes, Os().system->GetAnsiCodePage(), facts->modelName);
  }
  return *facts;
}

}  // namespace pinst
