// One thing the distribution check found, and the ways it is reported.
#pragma once

#include <string>
#include <vector>

namespace pinst {

enum class TSeverity {
  kError,    // the installer will fail or do the wrong thing
  kWarning,  // it works, but something is off
};

struct TFinding {
  TSeverity severity = TSeverity::kError;
  std::string code;     // short and stable, for scripts: "ini-unknown-key"
  std::string file;     // relative to the distribution folder
  std::string where;    // "[XP100] InstalDll2K, line 12", "line 14", "" for the whole file
  std::string message;  // one English sentence
};

// The code of the one finding given when the folder itself cannot be read.
inline constexpr const char* kFolderUnreadable = "folder-unreadable";

// "error ini-unknown-key: install.ini [XP100] InstalDll2K, line 12: ..."
std::string FormatFinding(const TFinding& finding);
// One JSON array of objects with the fields above; text is escaped byte by byte and
// otherwise left in its code page.
std::string FindingsJson(const std::vector<TFinding>& findings);
// 0 without errors, 1 with errors, 2 when the folder could not be read.
int VerifyExitCode(const std::vector<TFinding>& findings);

}  // namespace pinst
