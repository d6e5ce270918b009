// The distribution check: install.ini against the INF files, libraries and other
// files it names, read with the installer's own readers, so what it reports is what
// the installer will do.
#pragma once

#include <string>
#include <vector>

#include "verify/finding.h"

namespace pinst {

// Checks the distribution folder (absolute, as Os().files takes it; relative paths
// in install.ini are taken from it). A folder that cannot be read gives one finding
// with the code kFolderUnreadable.
std::vector<TFinding> VerifyDistribution(const std::string& folder);

}  // namespace pinst
