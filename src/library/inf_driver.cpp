#include "library/inf_driver.h"

#include <algorithm>
#include <optional>

#include "base/ansi_text.h"
#include "base/win_path.h"
#include "config/inf_decoration.h"
#include "config/ini_file.h"
#include "library/device_search.h"
#include "library/inf_sections.h"
#include "library/install_log.h"
#include "library/library_codes.h"
#include "platform/files.h"
#include "platform/platform.h"

namespace pinst {

namespace {

// The printer driver directory's DIRID: files elsewhere are not the driver's.
constexpr const char* kDriverDirId = "66000";

struct TInfDocument {
  std::string path;
  TIniFile inf;
};

class TReader {
 public:
  TReader(const InfTarget& target, TInstallLog& log, TCoreDriver core)
      : target_(target), log_(log), core_mode_(core) {}

  uint32_t Read(const std::string& infPath, const std::string& hardwareId, TInfDriver& driver);

 private:
  uint32_t cp() const { return target_.codePage; }
  std::vector<TInfLine> Lines(const TIniFile& inf, std::string_view name) const {
    return InfSectionLines(inf, name, cp());
  }
  std::vector<std::string> ModelSections(const TIniFile& inf) const;
  bool FindModelLine(const TIniFile& inf, const std::string& id, TInfDriver& driver,
                     std::string& installBase) const;
  uint32_t ReadCore(const std::vector<std::string>& includes, const std::vector<std::string>& needs,
                    TInfDriver& driver);
  void TakeRoles(const std::vector<TInfLine>& lines, TInfDriver& driver) const;
  // A file the CopyFiles= lines name, in the directory of the driver, and its line.
  struct TCopyEntry {
    std::string name;
    std::string source;
    std::string section;
    int line = 0;
  };
  std::vector<TCopyEntry> CopyFileNames(const TIniFile& inf, const std::string& section,
                                        const std::vector<TInfLine>& lines) const;
  bool InDriverDirectory(const TIniFile& inf, const std::string& copySection) const;
  // Fills file.source, and the place when [SourceDisksFiles] lists the file.
  void SourceOf(const std::string& sourceName, TPackageFile& file) const;

  const InfTarget& target_;
  TInstallLog& log_;
  TCoreDriver core_mode_;
  std::optional<TInfDocument> own_;
  std::vector<TInfDocument> core_;
};

std::string NoQuotes(std::string text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

void AddOnce(std::vector<std::string>& list, const std::string& name, uint32_t codePage) {
  for (const std::string& have : list) {
    if (EqualsNoCase(have, name, codePage)) return;
  }
  list.push_back(name);
}

std::vector<std::string> TReader::ModelSections(const TIniFile& inf) const {
  std::vector<std::string> sections;
  for (const TInfLine& entry : Lines(inf, "Manufacturer")) {
    if (!entry.assigned) {
      sections.push_back(entry.key);  // a maker's name that is its own models section
      continue;
    }
    std::vector<std::string> fields = entry.fields;
    std::string section = fields.front();
    fields.erase(fields.begin());
    if (const auto decoration = PickInfDecoration(fields, target_.machine, target_.version)) {
      section += "." + *decoration;
    }
    sections.push_back(section);
  }
  // The installer's first rule names a models section directly.
  const std::string provider = inf.ReadString("Strings", "ProviderName", "");
  if (!provider.empty()) sections.push_back(provider);
  return sections;
}

bool TReader::FindModelLine(const TIniFile& inf, const std::string& id, TInfDriver& driver,
                            std::string& installBase) const {
  for (const std::string& section : ModelSections(inf)) {
    for (const TInfLine& line : Lines(inf, section)) {
      if (!line.assigned || line.fields.size() < 2) continue;
      for (size_t i = 1; i < line.fields.size(); ++i) {
        if (!DeviceIdMatches(line.fields[i], id)) continue;
        driver.driverName = ResolveInfToken(inf, target_.language, NoQuotes(line.key));
        driver.matchedId = line.fields[i];
        driver.modelsSection = section;
        driver.modelLine = line.line;
        installBase = line.fields.front();
        log_.Line("model line [" + section + "] line " + std::to_string(line.line) + ": \"" +
                  driver.driverName + "\" = " + installBase + ", " + driver.matchedId);
        return true;
      }
    }
  }
  return false;
}

void TReader::TakeRoles(const std::vector<TInfLine>& lines, TInfDriver& driver) const {
  auto take = [&](std::string& role, std::string_view key) {
    if (role.empty()) role = InfDirective(lines, key, cp());
  };
  take(driver.driverFile, "DriverFile");
  take(driver.dataFile, "DataFile");
  take(driver.configFile, "ConfigFile");
  take(driver.helpFile, "HelpFile");
}

bool TReader::InDriverDirectory(const TIniFile& inf, const std::string& copySection) const {
  const std::vector<TInfLine> dirs = Lines(inf, "DestinationDirs");
  std::string dirId = InfDirective(dirs, copySection, cp());
  if (dirId.empty()) dirId = InfDirective(dirs, "DefaultDestDir", cp());
  return dirId.empty() || dirId == kDriverDirId;
}

std::vector<TReader::TCopyEntry> TReader::CopyFileNames(const TIniFile& inf,
                                                        const std::string& section,
                                                        const std::vector<TInfLine>& lines) const {
  std::vector<TCopyEntry> names;
  for (const TInfLine& copyLine : lines) {
    if (!copyLine.assigned || !EqualsNoCase(copyLine.key, "CopyFiles", cp())) continue;
    for (const std::string& entry : copyLine.fields) {
      if (entry.empty()) continue;
      if (entry.front() == '@') {
        if (InDriverDirectory(inf, "")) {
          names.push_back({entry.substr(1), entry.substr(1), section, copyLine.line});
        }
        continue;
      }
      if (!InDriverDirectory(inf, entry)) {
        log_.Line("CopyFiles section " + entry + " is for another folder: left out");
        continue;
      }
      const std::vector<TInfLine> list = Lines(inf, entry);
      if (list.empty()) log_.Line("CopyFiles section " + entry + " is missing or empty");
      for (const TInfLine& line : list) {
        const std::string name = line.assigned ? line.key : line.fields.front();
        const std::string source =
            !line.assigned && line.fields.size() > 1 && !line.fields[1].empty() ? line.fields[1]
                                                                                : name;
        if (!name.empty()) names.push_back({name, source, entry, line.line});
      }
    }
  }
  return names;
}

// [SourceDisksFiles.<arch>] before [SourceDisksFiles]: the disk and sub-folder; the
// disk's path from [SourceDisksNames.<arch>] or [SourceDisksNames]. A file neither
// lists is beside the INF.
void TReader::SourceOf(const std::string& sourceName, TPackageFile& packageFile) const {
  const TIniFile& inf = own_->inf;
  const std::string arch = SourceDecoration(target_.machine);
  // The entry for key, and the section it stands in.
  auto lookup = [&](const std::string& base, const std::string& key) {
    for (const std::string& section : {base + "." + arch, base}) {
      for (const TInfLine& line : Lines(inf, section)) {
        if (line.assigned && EqualsNoCase(line.key, key, cp())) return std::pair(line, section);
      }
    }
    return std::pair(TInfLine(), std::string());
  };
  std::string folder = FolderOf(own_->path, cp());
  const auto [fileEntry, fileSection] = lookup("SourceDisksFiles", sourceName);
  const std::vector<std::string>& file = fileEntry.fields;
  if (!file.empty()) {
    packageFile.section = fileSection;
    packageFile.line = fileEntry.line;
    const std::vector<std::string> disk = lookup("SourceDisksNames", file.front()).first.fields;
    auto append = [&](std::string part) {
      while (!part.empty() && part.front() == '\\') part.erase(0, 1);
      while (!part.empty() && part.back() == '\\') part.pop_back();
      if (!part.empty()) folder += part + "\\";
    };
    if (disk.size() > 3) append(disk[3]);
    if (file.size() > 1) append(file[1]);
  }
  packageFile.source = folder + sourceName;
}

uint32_t TReader::ReadCore(const std::vector<std::string>& includes,
                           const std::vector<std::string>& needs, TInfDriver& driver) {
  for (const std::string& name : includes) {
    const std::string path = WindowsInfFolder() + name;
    const std::optional<std::string> bytes = Os().files->ReadWholeFile(path);
    if (!bytes) {
      log_.Line("core INF missing: " + path + " (Include=" + name + ")");
      return kLibFileNotFound;
    }
    core_.push_back({path, TIniFile::Parse(*bytes, cp())});
  }
  for (const std::string& section : needs) {
    const TInfDocument* found = nullptr;
    for (const TInfDocument& doc : core_) {
      if (InfHasSection(doc.inf, section, cp())) {
        found = &doc;
        break;
      }
    }
    if (!found) {
      log_.Line("core driver section missing: Needs=" + section);
      return kLibSectionNotFound;
    }
    const std::vector<TInfLine> lines = Lines(found->inf, section);
    TakeRoles(lines, driver);
    const std::string data = InfDirective(lines, "DataSection", cp());
    if (!data.empty()) TakeRoles(Lines(found->inf, data), driver);
    for (const TCopyEntry& entry : CopyFileNames(found->inf, section, lines)) {
      AddOnce(driver.coreFiles, entry.name, cp());
    }
    log_.Line("core driver " + section + " from " + found->path);
  }
  return 0;
}

uint32_t TReader::Read(const std::string& infPath, const std::string& hardwareId,
                       TInfDriver& driver) {
  driver = TInfDriver();
  const std::optional<std::string> bytes = Os().files->ReadWholeFile(infPath);
  if (!bytes) {
    log_.Line("INF cannot be read: " + infPath);
    return kLibFileNotFound;
  }
  own_ = TInfDocument{infPath, TIniFile::Parse(*bytes, cp())};
  const TIniFile& inf = own_->inf;
  std::string base;
  if (!FindModelLine(inf, hardwareId, driver, base)) {
    log_.Line("no model line for the id " + hardwareId);
    return kLibLineNotFound;
  }
  // The variants setup tries, the machine's own first.
  for (const std::string& candidate :
       {base + "." + InstallDecoration(target_.machine), base + ".NT", base}) {
    if (InfHasSection(inf, candidate, cp())) {
      driver.installSection = candidate;
      break;
    }
  }
  if (driver.installSection.empty()) {
    log_.Line("install section missing: " + base);
    return kLibSectionNotFound;
  }
  log_.Line("install section [" + driver.installSection + "]");
  const std::vector<TInfLine> lines = Lines(inf, driver.installSection);
  TakeRoles(lines, driver);
  const std::string data = InfDirective(lines, "DataSection", cp());
  if (!data.empty()) TakeRoles(Lines(inf, data), driver);
  for (const TCopyEntry& entry : CopyFileNames(inf, driver.installSection, lines)) {
    const bool known =
        std::any_of(driver.files.begin(), driver.files.end(),
                    [&](const TPackageFile& f) { return EqualsNoCase(f.name, entry.name, cp()); });
    if (known) continue;
    TPackageFile file{entry.name, "", entry.section, entry.line};
    SourceOf(entry.source, file);
    driver.files.push_back(file);
  }
  if (core_mode_ == TCoreDriver::kRead) {
    const uint32_t core = ReadCore(InfDirectiveValues(lines, "Include", cp()),
                                   InfDirectiveValues(lines, "Needs", cp()), driver);
    if (core != 0) return core;
  } else if (!InfDirectiveValues(lines, "Needs", cp()).empty()) {
    return 0;  // the roles may come from the core driver
  }

  if (driver.driverFile.empty()) {
    log_.Line("no DriverFile in [" + driver.installSection + "] or the core driver");
    return kLibLineNotFound;
  }
  // A driver that names no data or configuration file of its own is its own.
  if (driver.dataFile.empty()) driver.dataFile = driver.driverFile;
  if (driver.configFile.empty()) driver.configFile = driver.driverFile;
  // The roles are files of the package too, where no list names them.
  for (const std::string* role :
       {&driver.driverFile, &driver.dataFile, &driver.configFile, &driver.helpFile}) {
    if (role->empty()) continue;
    const bool listed =
        std::any_of(driver.files.begin(), driver.files.end(),
                    [&](const TPackageFile& f) { return EqualsNoCase(f.name, *role, cp()); }) ||
        std::any_of(driver.coreFiles.begin(), driver.coreFiles.end(),
                    [&](const std::string& f) { return EqualsNoCase(f, *role, cp()); });
    if (listed) continue;
    TPackageFile file{*role, "", driver.installSection, 0};
    // The directive that names it, in the install section or its data section.
    for (const auto& [section, ls] :
         {std::pair(driver.installSection, lines),
          std::pair(data, data.empty() ? std::vector<TInfLine>() : Lines(inf, data))}) {
      for (const TInfLine& l : ls) {
        if (file.line == 0 && l.assigned && !l.fields.empty() &&
            EqualsNoCase(l.fields.front(), *role, cp())) {
          file.section = section;
          file.line = l.line;
        }
      }
    }
    SourceOf(*role, file);
    driver.files.push_back(file);
  }
  std::vector<std::string> all;
  for (const TPackageFile& f : driver.files) AddOnce(all, f.name, cp());
  for (const std::string& f : driver.coreFiles) AddOnce(all, f, cp());
  for (const std::string& name : all) {
    const bool role =
        EqualsNoCase(name, driver.driverFile, cp()) || EqualsNoCase(name, driver.dataFile, cp()) ||
        EqualsNoCase(name, driver.configFile, cp()) || EqualsNoCase(name, driver.helpFile, cp());
    if (!role) driver.dependentFiles.push_back(name);
  }
  for (const TPackageFile& f : driver.files) log_.Line("file " + f.name + " from " + f.source);
  return 0;
}

}  // namespace

std::string WindowsInfFolder() {
  return FolderOf(Os().files->SystemDirectory(), Os().system->GetAnsiCodePage()) + "inf\\";
}

uint32_t ReadInfDriver(const std::string& infPath, const std::string& hardwareId,
                       const InfTarget& target, TInstallLog& log, TInfDriver& driver,
                       TCoreDriver core) {
  TReader reader(target, log, core);
  return reader.Read(infPath, hardwareId, driver);
}

}  // namespace pinst
