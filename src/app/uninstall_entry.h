// The Apps & features entry of an installed model: a key under Windows' Uninstall
// key in the 64-bit view (where Settings and deployment tools look, whatever the
// program's bitness), and a copy of what /Uninstall needs (the program, the
// model's install.ini section, its INF) in a folder of its own under the native
// Program Files, so that the entry still works when the CD is gone.
#pragma once

#include <string>

#include "config/ini_options.h"

namespace pinst {

// Where Windows keeps the entries, below HKEY_LOCAL_MACHINE.
inline constexpr char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The copies' folder under Program Files.
inline constexpr char kCopyFolderName[] = "Printer Installer";

// A model's name as a key and folder name: characters no file name may hold
// ("\/:*?\"<>|" and control characters) become "_"; trailing dots and blanks go.
std::string SafeModelName(const std::string& modelName);
// "PrinterInstaller_" and the safe name: the same key for every install of the model.
std::string UninstallKeyName(const std::string& modelName);
// The native Program Files folder (ProgramFilesDir in the 64-bit view: on 64-bit
// Windows not the "Program Files (x86)" a 32-bit program is otherwise given);
// empty when it cannot be read.
std::string NativeProgramFiles();
// "<Program Files>\Printer Installer\<safe name>"; empty without Program Files.
std::string CopyFolderOf(const std::string& modelName);

// After a successful install: the copy made (replaced) and the entry written anew.
// False with the reason in problem when anything failed; the install stays a success.
bool WriteUninstallEntry(const TOption& option, const std::string& section, std::string& problem);

// After /Uninstall removed the model (or found nothing left): the entry and the copy
// go. What cannot go now (the running program, its folder) Windows deletes at its
// next start. Every step is logged; nothing here changes the removal's result.
void RemoveUninstallEntry(const std::string& modelName);

}  // namespace pinst
