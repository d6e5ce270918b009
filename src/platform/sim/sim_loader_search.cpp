#include "platform/sim/sim_loader_search.h"

#include "base/win_path.h"

namespace pinst::sim {

std::optional<std::string> FindLoaderFile(SimFiles& files, uint32_t codePage,
                                          const std::string& name, SearchOrder order,
                                          const std::string& defaultExtension) {
  if (name.empty()) return std::nullopt;
  std::string withExtension = name;
  if (FileNameOf(name, codePage).find('.') == std::string::npos) withExtension += defaultExtension;
  // A full path is taken as it is. The loader searches for any other library path
  // (bare or relative); a program path with a folder part is taken from the
  // current directory.
  const bool fullPath = (withExtension.size() > 2 && withExtension[1] == ':' &&
                         (withExtension[2] == '\\' || withExtension[2] == '/')) ||
                        withExtension[0] == '\\' || withExtension[0] == '/';
  const bool bare = FileNameStart(withExtension, codePage) == 0;
  if (fullPath || (!bare && order == SearchOrder::kProgram)) {
    if (!files.HasFile(withExtension)) return std::nullopt;
    return files.FullPath(withExtension);
  }
  const std::string programFolder = FolderOf(files.ModuleFileName(), codePage);
  const std::string current = files.CurrentDirectory() + "\\";
  const std::string system = files.SystemDirectory() + "\\";
  const std::string folders[] = {programFolder, order == SearchOrder::kLibrary ? system : current,
                                 order == SearchOrder::kLibrary ? current : system};
  for (const std::string& folder : folders) {
    const std::string candidate = files.FullPath(folder + withExtension);
    if (files.HasFile(candidate)) return candidate;
  }
  return std::nullopt;
}

}  // namespace pinst::sim
