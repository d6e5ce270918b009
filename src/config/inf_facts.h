// What the installer takes from a model's INF: the name the list shows, the
// serial-port mark, and the version and provider the Apps & features entry shows.
// Read in one go when a model first needs them, then kept.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pinst {

struct TInfFacts {
  std::string modelName;      // empty when the INF is missing or names no model
  bool serial = false;        // "SERENUM" anywhere in it, even in a comment
  std::string driverVersion;  // [Version] DriverVer after its date ("1.0.0.0"); may be empty
  std::string provider;       // [Version] Provider, a "%token%" taken from [Strings]
};

// The version part of a DriverVer value ("12/01/2026,1.0.0.0"); empty without one.
std::string DriverVerVersion(const std::string& driverVer);

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
