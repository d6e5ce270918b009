// What an INF says about the driver of one hardware id: the model line (its name
// is the driver's), the install section Windows picks, the driver's files in their
// roles, where each of the maker's files comes from, and the files Windows' own core
// driver adds (Include= / Needs=, read from the INF folder of Windows).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/inf_model_name.h"

namespace pinst {

class TInstallLog;

// A file of the maker's package: its name in the driver directory and where it is.
struct TPackageFile {
  std::string name;
  std::string source;  // full path
  // The INF's line that puts it there: its [SourceDisksFiles] entry, else the line
  // that names it (a CopyFiles= list, or the role's directive); line 0 when unknown.
  std::string section;
  int line = 0;
};

struct TInfDriver {
  std::string driverName;      // the model line's name, "%token%" resolved
  std::string installSection;  // as found: "TP58.NTamd64", "TP58", ...
  std::string matchedId;       // the model line's id that matched
  std::string modelsSection;   // where the model line stands, and its line
  int modelLine = 0;
  // The roles, as file names.
  std::string driverFile;
  std::string dataFile;
  std::string configFile;
  std::string helpFile;
  std::vector<TPackageFile> files;          // the maker's files, to copy, each once
  std::vector<std::string> coreFiles;       // named by Windows' core driver, Windows' own
  std::vector<std::string> dependentFiles;  // every file but the four roles
};

// Reads the driver for hardwareId (an offline enumerator already stripped) from the
// INF at infPath (full path) for that target. 0, or: kLibFileNotFound (the INF, or a
// core INF Include= names), kLibLineNotFound (no model line for the id, or no
// DriverFile), kLibSectionNotFound (the install section, or a Needs= section).
// Every finding goes to the log.
// kSkip (the distribution check, on a machine without Windows' INF folder): core
// sections are not read, and the roles they would give may stay empty.
enum class TCoreDriver { kRead, kSkip };
uint32_t ReadInfDriver(const std::string& infPath, const std::string& hardwareId,
                       const InfTarget& target, TInstallLog& log, TInfDriver& driver,
                       TCoreDriver core = TCoreDriver::kRead);

// The folder where Windows keeps its own INFs ("C:\WINDOWS\inf\").
std::string WindowsInfFolder();

}  // namespace pinst
