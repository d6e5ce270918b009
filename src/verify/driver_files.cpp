#include <string>

#include "base/win_path.h"
#include "engine/hardware_ids.h"
#include "library/inf_driver.h"
#include "library/install_log.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "verify/checks.h"
#include "verify/inf_lines.h"

namespace pinst::verify {

namespace {

const char* MachineName(NativeMachine machine) {
  return machine == NativeMachine::kX64 ? "64-bit Windows" : "32-bit Windows";
}

// "[TP58.NTamd64], line 30", without the line when there is none.
std::string SectionPlace(const std::string& section, int line) {
  return KeyPlace(section, "", line);
}

// Where the library stopped: the section it found nothing in, or the line that named
// what it did not find.
std::string StopPlace(const TInfDriver& driver, const TInfLines& lines) {
  if (driver.matchedId.empty())
    return SectionPlace("Manufacturer", lines.SectionLine("Manufacturer"));
  if (driver.installSection.empty()) return SectionPlace(driver.modelsSection, driver.modelLine);
  return SectionPlace(driver.installSection, lines.SectionLine(driver.installSection));
}

// What the installer library will read from the INF for one machine: the model line
// and install section, and every file of the maker's package where the INF's source
// disks put it.
void CheckForMachine(TContext& c, const std::string& file, const TInfLines& lines,
                     const std::string& hardwareId, NativeMachine machine) {
  InfTarget target;
  target.machine = machine;
  target.version = {6, 1};
  target.codePage = c.CodePage();
  TInstallLog log;
  TInfDriver driver;
  const uint32_t code =
      ReadInfDriver(c.Full(file), hardwareId, target, log, driver, TCoreDriver::kSkip);
  if (code != 0) {
    c.Add(TSeverity::kError, "inf-driver", file, StopPlace(driver, lines),
          std::string("For ") + MachineName(machine) + " the installer library stops with " +
              HexCode(code) + ": " + (log.Lines().empty() ? "" : log.Lines().back()) + ".");
    return;
  }
  for (const TPackageFile& f : driver.files) {
    c.Opens(f.source);
    if (Os().files->FileExists(f.source)) continue;
    const std::string where =
        RelativePath(FolderOf(c.Full("install.ini"), c.CodePage()), f.source, c.CodePage());
    c.Add(TSeverity::kError, "driver-file-missing", file,
          SectionPlace(f.section.empty() ? driver.installSection : f.section, f.line),
          f.name + " is not at " + where +
              ", where [SourceDisksNames] and [SourceDisksFiles] put "
              "it: the install fails on " +
              MachineName(machine) + " with 0x00000002.");
  }
}

}  // namespace

void CheckDriverFiles(TContext& c, const TIniFile& ini, const std::string& section,
                      const std::string& file, const std::string& bytes) {
  std::string hardwareId, compatibleId;
  try {
    if (ReadInfHardwareIds(c.Full(file), hardwareId, compatibleId) == 0) return;
  } catch (const std::runtime_error&) {
    return;  // reported by the INF's own checks
  }
  if (hardwareId.empty()) return;
  // A platform is checked where the distribution ships its library.
  const std::string dll32 = ini.ReadString(section, "InstallDll2K", "i386\\inst2k.dll");
  const std::string dll64 = ini.ReadString(section, "Installdll64", "X64\\inst2k64.dll");
  const TInfLines lines(bytes, c.CodePage());
  if (c.FileExists(dll32)) CheckForMachine(c, file, lines, hardwareId, NativeMachine::kX86);
  if (c.FileExists(dll64)) CheckForMachine(c, file, lines, hardwareId, NativeMachine::kX64);
}

}  // namespace pinst::verify
