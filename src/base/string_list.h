// A list of byte strings: command output chunks, printer names, port names.
#pragma once

#include <string>
#include <vector>

namespace pinst {

using StringList = std::vector<std::string>;

}  // namespace pinst
