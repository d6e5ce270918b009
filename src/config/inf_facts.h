// What the installer takes from a model's INF: the name the list shows and the
// serial-port mark. Read in one go when a model first needs them, then kept.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pinst {

struct TInfFacts {
  std::string modelName;  // empty when the INF is missing or names no model
  bool serial = false;    // "SERENUM" anywhere in it, even in a comment
};

class TInfFactsCache {
 public:
  // Holds count models, none read yet.
  void Reset(size_t count);
  // Model index's facts, reading infPath the first time; an index outside the
  // models gives empty facts.
  const TInfFacts& Get(size_t index, const std::string& infPath);

 private:
  std::vector<std::optional<TInfFacts>> facts_;
  TInfFacts none_;
};

}  // namespace pinst
