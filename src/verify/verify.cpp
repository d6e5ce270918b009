#include "verify/verify.h"

#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "verify/checks.h"

namespace pinst {

std::vector<TFinding> VerifyDistribution(const std::string& folder) {
  IFiles& files = *Os().files;
  verify::TContext c(files.FullPath(folder), Os().system->GetAnsiCodePage());
  if (!files.DirectoryExists(c.Folder())) {
    c.Add(TSeverity::kError, kFolderUnreadable, folder, "", "The folder cannot be read.");
    return c.Findings();
  }
  const std::string ini = "install.ini";
  c.Opens(ini);
  if (!c.FileExists(ini)) {
    c.Add(TSeverity::kError, "ini-missing", ini, "",
          "There is no install.ini: the installer lists no model.");
    verify::CheckPathLengths(c);
    return c.Findings();
  }
  const std::optional<std::string> bytes = files.ReadWholeFile(c.Full(ini));
  if (!bytes) {
    c.Add(TSeverity::kError, "ini-unreadable", ini, "",
          "install.ini cannot be read: the installer lists no model.");
    return c.Findings();
  }
  const TIniFile parsed = TIniFile::Parse(*bytes, c.CodePage());
  verify::CheckIniText(c, *bytes, parsed);
  verify::CheckModels(c, parsed);
  verify::CheckPrograms(c, parsed);
  verify::CheckBrand(c);
  verify::CheckPathLengths(c);
  return c.Findings();
}

}  // namespace pinst
