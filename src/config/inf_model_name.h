// The name a model is shown and installed under, taken from its driver INF.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pinst {

// The first key of the INF's models section (the section named by ProviderName in
// [Strings]), without its surrounding double quotes; a "%token%" key gives the
// token's [Strings] value. False and an empty name when
// the INF is missing or names no model.
bool ReadInfModelName(const std::string& infPath, std::string& modelName);
// The INF's bytes; nullopt when no file is there or it cannot be read.
std::optional<std::string> ReadInfBytes(const std::string& infPath);
// The same from INF bytes already read (ANSI code page, or UTF-16LE with a BOM).
bool InfModelNameFromBytes(const std::string& bytes, uint32_t codePage, std::string& modelName);

}  // namespace pinst
