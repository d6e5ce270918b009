// Words of a command line as the installer and its companion programs read them.
#pragma once

#include <string>
#include <vector>

namespace pinst {

// Blanks and tabs separate; double quotes group (and are removed). No other byte
// is special, so a DBCS trail byte 0x5C stays a plain byte.
std::vector<std::string> SplitCommandWords(const std::string& line);

}  // namespace pinst
