// The name a model is shown and installed under, taken from its driver INF.
#pragma once

#include <string>

namespace pinst {

// The first key of the INF's models section (the section named by ProviderName in
// [Strings]), without its surrounding double quotes. False and an empty name when
// the INF is missing or names no model.
bool ReadInfModelName(const std::string& infPath, std::string& modelName);

}  // namespace pinst
