// Where the simulated loader finds a program or library named on a command line
// or by LoadLibraryA.
#pragma once

#include <optional>
#include <string>

#include "platform/sim/sim_files.h"

namespace pinst::sim {

enum class SearchOrder {
  kLibrary,  // LoadLibraryA: program folder, system folder, current directory
  kProgram,  // CreateProcessA: program folder, current directory, system folder
};

// The full path of the existing file name stands for. A full path is taken as it
// is; a library path that is not full, and a bare program name, are searched for
// in the folders of order; a program path with a folder part is taken from the
// current directory. defaultExtension is appended to a name without one.
std::optional<std::string> FindLoaderFile(SimFiles& files, uint32_t codePage,
                                          const std::string& name, SearchOrder order,
                                          const std::string& defaultExtension);

}  // namespace pinst::sim
