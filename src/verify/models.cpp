// Each model's INF as the installer reads it: its name, its hardware id, its offline
// prefix, and what Windows asks of a printer driver's INF.
#include <stdexcept>

#include "base/ansi_text.h"
#include "base/win_path.h"
#include "config/inf_model_name.h"
#include "config/ini_keys.h"
#include "engine/hardware_ids.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "verify/checks.h"
#include "verify/inf_lines.h"

namespace pinst::verify {

namespace {

// Why InfModelNameFromBytes found no name, in the terms of the INF.
void ExplainNoModel(TContext& c, const std::string& file, const TIniFile& inf) {
  const std::string models = inf.ReadString("Strings", "ProviderName", "");
  if (models.empty()) {
    c.Add(TSeverity::kError, "inf-no-model", file, "[Strings]",
          "No ProviderName in [Strings]: the installer finds no models section, lists the model "
          "without a name and cannot install it.");
    return;
  }
  std::string decorated;
  for (const TIniFile::Section& s : inf.Sections()) {
    const std::string prefix = s.name.substr(0, models.size() + 1);
    if (s.name.size() > models.size() && EqualsNoCase(prefix, models + ".", c.CodePage())) {
      decorated += (decorated.empty() ? "[" : ", [") + s.name + "]";
    }
  }
  if (!decorated.empty() && inf.ReadSectionKeys(models).empty()) {
    c.Add(TSeverity::kError, "inf-decorated-only", file, "[Strings] ProviderName",
          "The models section [" + models + "] exists only decorated (" + decorated +
              "); the installer reads the undecorated one and finds no model name.");
    return;
  }
  c.Add(TSeverity::kError, "inf-no-model", file, "[Strings] ProviderName",
        "ProviderName names [" + models +
            "], which has no model line: the model is listed without a name and cannot be "
            "installed.");
}

// "[Tessaly], line 12": the line the model name comes from.
std::string FirstModelPlace(const TIniFile& inf, uint32_t codePage) {
  const std::string models = inf.ReadString("Strings", "ProviderName", "");
  for (const TIniFile::Section& s : inf.Sections()) {
    if (!EqualsNoCase(s.name, models, codePage)) continue;
    if (!s.keys.empty()) return KeyPlace(s.name, "", s.keys.front().line);
    break;  // the first section of the name is the one read
  }
  return "[" + models + "]";
}

// A name Windows takes as a printer name, and one that is not a %token% left unresolved.
void CheckModelName(TContext& c, const std::string& file, const std::string& place,
                    const std::string& name) {
  const uint32_t cp = c.CodePage();
  if (name.empty()) {
    c.Add(TSeverity::kError, "model-name-invalid", file, place,
          "The model name is empty; Windows takes no printer of that name.");
  } else if (FindSingleByte(name, '\\', cp) != std::string::npos ||
             FindSingleByte(name, ',', cp) != std::string::npos) {
    c.Add(TSeverity::kError, "model-name-invalid", file, place,
          "The model name \"" + name +
              "\" holds a backslash or a comma; Windows takes no printer of that name.");
  } else if (name.size() > 2 && name.front() == '%' && name.back() == '%') {
    c.Add(TSeverity::kError, "model-name-token", file, place,
          "The model name " + name +
              " is a token that [Strings] does not define; the printer "
              "would be called so.");
  }
}

void CheckHardwareId(TContext& c, const std::string& file, const std::string& bytes) {
  std::string hardwareId;
  std::string compatibleId;
  int count = 0;
  try {
    count = ReadInfHardwareIds(c.Full(file), hardwareId, compatibleId);
  } catch (const std::runtime_error&) {
    return;  // the INF was readable a moment ago; its reading is reported there
  }
  const TInfLines inf(bytes, c.CodePage());
  const int lptLine = inf.FirstLineWith("LPTENUM\\", true);
  if (hardwareId.empty() && lptLine > 0) {
    c.Add(TSeverity::kError, "hwid-no-comma", file, "line " + std::to_string(lptLine),
          "The model line's LPTENUM\\ id has no comma after it: the installer reads an empty "
          "id, looks for the printer and installs the driver with it.");
  } else if (count == 0 || hardwareId.empty()) {
    c.Add(TSeverity::kError, "hwid-missing", file, "",
          "No model line with an LPTENUM\\ or USBPRINT\\ hardware id: the installer looks for the "
          "printer and "
          "installs the driver with an empty id.");
  }
  // The reader's rule: "SERENUM" anywhere, even in a comment, makes a serial model.
  const TInfLines lines(bytes, c.CodePage());
  const int upper = lines.FirstLineWith("SERENUM", false);
  const int upperOutsideComments = lines.FirstLineWith("SERENUM", true);
  if (upper > 0 && upperOutsideComments == 0) {
    c.Add(TSeverity::kWarning, "offline-prefix", file, "line " + std::to_string(upper),
          "SERENUM appears only in a comment, yet it makes an install without the printer use "
          "SERENUM\\" +
              hardwareId + " instead of LPTOFFLINE\\" + hardwareId + ".");
  } else if (upper == 0) {
    const int lower = lines.FirstLineWithNoCase("SERENUM");
    if (lower > 0) {
      c.Add(TSeverity::kWarning, "offline-prefix", file, "line " + std::to_string(lower),
            "SERENUM is written in lower case here, which the installer does not take as a "
            "serial model: an install without the printer uses LPTOFFLINE\\" +
                hardwareId + ".");
    }
  }
}

void CheckVersionSection(TContext& c, const std::string& file, const TIniFile& inf,
                         const TInfLines& lines) {
  const int versionLine = lines.SectionLine("Version");
  const std::string place =
      versionLine > 0 ? "[Version], line " + std::to_string(versionLine) : "[Version]";
  const std::string cls = inf.ReadString("Version", "Class", "");
  if (!EqualsNoCase(cls, "Printer", c.CodePage())) {
    c.Add(TSeverity::kError, "inf-class", file, place,
          cls.empty() ? "No Class=Printer: Windows does not take it as a printer driver."
                      : "Class=" + cls +
                            " is not Printer: Windows does not take it as a printer "
                            "driver.");
  }
  bool anyCatalog = false;
  bool catalog64 = false;  // one that 64-bit Windows reads
  for (const std::string& key : inf.ReadSectionKeys("Version")) {
    const std::string prefix = key.substr(0, 11);
    if (!EqualsNoCase(prefix, "CatalogFile", c.CodePage())) continue;
    anyCatalog = true;
    for (const char* name : {"CatalogFile", "CatalogFile.NT", "CatalogFile.NTamd64"}) {
      catalog64 = catalog64 || EqualsNoCase(key, name, c.CodePage());
    }
    const std::string cat = inf.ReadString("Version", key, "");
    const std::string path = FolderOf(c.Full(file), c.CodePage()) + cat;
    c.Opens(path);
    if (cat.empty() || !Os().files->FileExists(path)) {
      c.Add(TSeverity::kWarning, "inf-catalog-missing", file, "[Version] " + key,
            "The catalog " + (cat.empty() ? std::string("(empty)") : cat) +
                " is not beside the INF: unsigned drivers do not install on 64-bit Windows.");
    }
  }
  if (!anyCatalog) {
    c.Add(TSeverity::kWarning, "inf-catalog", file, place,
          "No CatalogFile: unsigned drivers do not install on 64-bit Windows.");
  } else if (!catalog64) {
    c.Add(TSeverity::kWarning, "inf-catalog", file, place,
          "No CatalogFile, CatalogFile.NT or CatalogFile.NTamd64: 64-bit Windows finds no "
          "catalog, and unsigned drivers do not install there.");
  }
}

}  // namespace

void CheckModels(TContext& c, const TIniFile& ini) {
  const uint32_t cp = c.CodePage();
  std::vector<std::pair<std::string, std::string>> names;  // (name, section) so far
  std::set<std::string> sections;
  for (const std::string& s : ini.ReadSections()) {
    if (!sections.insert(AsciiUpper(s, cp)).second) continue;  // reported as a duplicate
    const TIniKey& key = IniKey("InstallSettingFile2K");
    const std::string file = ini.ReadString(s, std::string(key.name), "");
    const std::string place = KeyPlace(ini, s, std::string(key.name), cp);
    if (file.empty() || !c.FileExists(file)) {
      c.Add(TSeverity::kError, "inf-missing", "install.ini", place,
            (file.empty() ? std::string("No INF is named") : file + " does not exist") +
                ": the model is listed without a name and cannot be installed.");
      continue;
    }
    c.Opens(file);
    const std::optional<std::string> bytes = Os().files->ReadWholeFile(c.Full(file));
    if (!bytes) {
      c.Add(TSeverity::kError, "inf-unreadable", file, "",
            "The INF cannot be read: the model is listed without a name and cannot be "
            "installed.");
      continue;
    }
    // The installer's own rule. Where the INF reader learns further rules for the
    // name, the rule that gave it is to be named here.
    std::string name;
    const TIniFile inf = TIniFile::Parse(*bytes, cp);
    const TInfLines lines(*bytes, cp);
    if (!InfModelNameFromBytes(*bytes, cp, name)) {
      ExplainNoModel(c, file, inf);
    } else {
      const std::string place = FirstModelPlace(inf, cp);
      CheckModelName(c, file, place, name);
      for (const auto& [other, otherSection] : names) {
        if (!name.empty() && EqualsNoCase(other, name, cp)) {
          c.Add(TSeverity::kError, "model-name-duplicate", file, place,
                "[" + s + "] and [" + otherSection + "] both install a printer called \"" + name +
                    "\"; the second install replaces the first printer.");
          break;
        }
      }
      names.emplace_back(name, s);
    }
    CheckHardwareId(c, file, *bytes);
    CheckVersionSection(c, file, inf, lines);
    // An INF that names no model is reported as such; the library would fail on it too.
    if (!name.empty()) CheckDriverFiles(c, ini, s, file, *bytes);
  }
}

}  // namespace pinst::verify
