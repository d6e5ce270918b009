#include "app/uninstall_entry.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "base/ansi_text.h"
#include "base/win_path.h"
#include "config/ini_file.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "removal/hex_code.h"
#include "sys/run_log.h"

namespace pinst {

namespace {

constexpr char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr char kProgramName[] = "PrinterInstaller.exe";
constexpr char kIniName[] = "install.ini";

std::string EntryKey(const std::string& modelName) {
  return std::string(kUninstallRoot) + "\\" + UninstallKeyName(modelName);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Today() {
  const LocalDay day = Os().system->Today();
  char text[16];
  std::snprintf(text, sizeof text, "%04u%02u%02u", unsigned{day.year}, unsigned{day.month},
                unsigned{day.day});
  return text;
}

// Copies unless the install runs from the copy itself (a reinstall from the entry's
// folder): a file cannot be copied onto itself.
bool CopyInto(const std::string& from, const std::string& to) {
  IFiles& files = *Os().files;
  if (EqualsNoCase(files.FullPath(from), files.FullPath(to), Os().system->GetAnsiCodePage())) {
    return true;
  }
  return files.Copy(from, to, false);
}

uint64_t SizeOf(const std::string& path) { return Os().files->FileSize(path).value_or(0); }

struct TEntryValue {
  const char* name;
  std::string text;  // a REG_SZ, unless dword
  std::optional<uint32_t> dword;
};

bool WriteEntry(const std::string& key, const std::vector<TEntryValue>& values,
                std::string& problem) {
  IRegistry& registry = *Os().registry;
  // Written anew: nothing an earlier install wrote stays behind.
  registry.DeleteKey(RegistryView::k64, key);
  for (const TEntryValue& value : values) {
    const uint32_t error =
        value.dword ? registry.WriteDword(RegistryView::k64, key, value.name, *value.dword)
                    : registry.WriteString(RegistryView::k64, key, value.name, value.text);
    if (error != 0) {
      problem = std::string("the value ") + value.name + " cannot be written (error 0x" +
                HexCode8(error) + ")";
      // Half an entry would show a line in Settings that cannot be trusted.
      registry.DeleteKey(RegistryView::k64, key);
      return false;
    }
  }
  return true;
}

// Deletes now, or asks Windows to at its next start; logs what it could not.
void EraseOrAtRestart(const std::string& path, bool folder) {
  IFiles& files = *Os().files;
  if (folder ? files.RemoveEmptyFolder(path) : files.Erase(path)) return;
  if (files.EraseAtRestart(path)) {
    LogLine("Left for Windows to delete at its next start: " + path);
  } else {
    LogLine("Warning: " + path + " cannot be deleted, now or at the next start",
            TLogKind::kWarning);
  }
}

}  // namespace

std::string SafeModelName(const std::string& modelName) {
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  std::string safe;
  for (size_t i = 0; i < modelName.size();) {
    const size_t length = CharLength(modelName, i, codePage);
    const unsigned char c = static_cast<unsigned char>(modelName[i]);
    if (length == 1 && (c < 0x20 || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) !=
                                        std::string_view::npos)) {
      safe += '_';
    } else {
      safe.append(modelName, i, length);
    }
    i += length;
  }
  while (!safe.empty() && (safe.back() == '.' || safe.back() == ' ')) safe.pop_back();
  return safe;
}

std::string UninstallKeyName(const std::string& modelName) {
  return "PrinterInstaller_" + SafeModelName(modelName);
}

std::string NativeProgramFiles() {
  std::string folder;
  if (!Os().registry || Os().registry->ReadString(RegistryView::k64, kCurrentVersion,
                                                  "ProgramFilesDir", folder) != 0) {
    return std::string();
  }
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string CopyFolderOf(const std::string& modelName) {
  const std::string root = NativeProgramFiles();
  const std::string name = SafeModelName(modelName);
  if (root.empty() || name.empty()) return std::string();
  return root + "\\" + kCopyFolderName + "\\" + name;
}

namespace {

// The folder that holds every model's copy.
std::string CopiesFolder(const std::string& copyFolder) {
  std::string folder = FolderOf(copyFolder, Os().system->GetAnsiCodePage());
  if (!folder.empty()) folder.pop_back();
  return folder;
}

}  // namespace

bool WriteUninstallEntry(const TOption& option, const std::string& section, std::string& problem) {
  IFiles& files = *Os().files;
  const std::string& model = option.ModelName;
  const std::string folder = CopyFolderOf(model);
  if (!Os().registry || folder.empty()) {
    problem = model.empty() ? "the model has no name"
                            : "the Program Files folder cannot be read (ProgramFilesDir)";
    return false;
  }
  if (!files.CreateFolder(CopiesFolder(folder)) || !files.CreateFolder(folder)) {
    problem = "the folder " + folder + " cannot be made";
    return false;
  }
  const std::string program = folder + "\\" + kProgramName;
  const std::string infSource = files.FullPath(option.InstallSettingFile2K);
  const std::string inf = folder + "\\" + FileNameOf(infSource, Os().system->GetAnsiCodePage());
  const std::string ini = folder + "\\" + kIniName;
  if (!CopyInto(files.ModuleFileName(), program)) {
    problem = "the program cannot be copied to " + program;
    return false;
  }
  if (!CopyInto(infSource, inf)) {
    problem = "the INF cannot be copied to " + inf;
    return false;
  }
  // Only what /Uninstall reads: the model's section, its INF by full path (the
  // entry's command runs from any folder).
  if (!files.WriteWholeFile(ini, "[" + section + "]\r\nInstallSettingFile2K=" + inf + "\r\n")) {
    problem = "the file " + ini + " cannot be written";
    return false;
  }
  const uint64_t bytes = SizeOf(program) + SizeOf(inf) + SizeOf(ini);
  const std::string command = Quoted(program) + " /Uninstall /Model=" + Quoted(model);
  const std::vector<TEntryValue> values = {
      {"DisplayName", model, {}},
      {"DisplayVersion", option.DriverVersion, {}},
      {"Publisher", option.Provider, {}},
      {"InstallDate", Today(), {}},
      {"InstallLocation", folder, {}},
      {"DisplayIcon", program, {}},
      {"UninstallString", command, {}},
      {"QuietUninstallString", command + " /Quiet", {}},
      {"NoModify", "", 1},
      {"NoRepair", "", 1},
      {"EstimatedSize", "", static_cast<uint32_t>((bytes + 1023) / 1024)},
  };
  if (!WriteEntry(EntryKey(model), values, problem)) return false;
  LogLine("Apps & features entry HKLM\\" + EntryKey(model) + " (64-bit view) written; copy in " +
          folder);
  return true;
}

void RemoveUninstallEntry(const std::string& modelName) {
  if (!Os().registry || modelName.empty()) return;
  const std::string key = EntryKey(modelName);
  const uint32_t error = Os().registry->DeleteKey(RegistryView::k64, key);
  if (error == 0) {
    LogLine("Apps & features entry HKLM\\" + key + " removed");
  } else if (error != 2) {
    LogLine("Warning: the Apps & features entry HKLM\\" + key + " cannot be removed (error 0x" +
                HexCode8(error) + ")",
            TLogKind::kWarning);
  }
  const std::string folder = CopyFolderOf(modelName);
  IFiles& files = *Os().files;
  if (folder.empty() || !files.DirectoryExists(folder)) return;
  const std::string ini = folder + "\\" + kIniName;
  // The INF the copy's install.ini names, when it lies in the copy's folder.
  if (const std::optional<TIniFile> copy = TIniFile::Load(ini)) {
    const uint32_t codePage = Os().system->GetAnsiCodePage();
    for (const std::string& section : copy->ReadSections()) {
      const std::string inf = copy->ReadString(section, "InstallSettingFile2K", "");
      if (!inf.empty() && EqualsNoCase(FolderOf(inf, codePage), folder + "\\", codePage)) {
        EraseOrAtRestart(inf, false);
      }
    }
  }
  EraseOrAtRestart(ini, false);
  // The running program, when the entry started it, is deleted at the next start.
  EraseOrAtRestart(folder + "\\" + kProgramName, false);
  EraseOrAtRestart(folder, true);
  // The copies' folder too, once no other model's copy is in it (at the next start
  // when this copy is still there; Windows skips a folder that is not empty).
  const std::string copies = CopiesFolder(folder);
  if (!files.RemoveEmptyFolder(copies) && files.DirectoryExists(folder)) {
    files.EraseAtRestart(copies);
  }
}

}  // namespace pinst
