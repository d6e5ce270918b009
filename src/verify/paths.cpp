// Paths the "A" file calls cannot take: MAX_PATH counts the whole path and its
// terminator, wherever the user puts the folder.
#include "base/win_path.h"
#include "verify/checks.h"

namespace pinst::verify {

namespace {

constexpr size_t kMaxPath = 260;
// Where a downloaded folder usually lands: C:\Users\<20 characters>\Downloads\<folder>\.
constexpr size_t kTypicalPrefix = sizeof("C:\\Users\\") - 1 + 20 + sizeof("\\Downloads\\") - 1;
constexpr size_t kRootPrefix = sizeof("D:\\") - 1;  // the folder is a CD's root

}  // namespace

void CheckPathLengths(TContext& c) {
  const uint32_t cp = c.CodePage();
  std::string folder = c.Folder();
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  const std::string folderName = folder.size() > 3 ? FileNameOf(folder, cp) : "";
  for (const std::string& full : c.OpenedPaths()) {
    const std::string relative = RelativePath(folder, full, cp);
    // A path outside the folder does not move with it.
    if (relative == full || relative.starts_with("..")) continue;
    const size_t atRoot = kRootPrefix + relative.size();
    const size_t typical = kTypicalPrefix + folderName.size() + 1 + relative.size();
    if (atRoot >= kMaxPath) {
      c.Add(TSeverity::kError, "path-too-long", relative, "",
            "The path is " + std::to_string(atRoot) +
                " characters long even with the folder at a drive root; Windows cannot open "
                "paths of 260 characters or more with the calls the installer makes.");
    } else if (typical >= kMaxPath) {
      c.Add(TSeverity::kWarning, "path-long", relative, "",
            "With the folder at C:\\Users\\<name>\\Downloads\\" + folderName + " the path is " +
                std::to_string(typical) +
                " characters long; Windows cannot open paths of 260 characters or more with the "
                "calls the installer makes.");
    }
  }
}

}  // namespace pinst::verify
