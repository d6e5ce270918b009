// The parts of the distribution check, each adding what it finds to one context.
// Paths are taken from the distribution folder, as the installer takes them from
// its current directory.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "config/ini_file.h"
#include "verify/finding.h"

namespace pinst::verify {

class TContext {
 public:
  TContext(std::string folder, uint32_t codePage);

  const std::string& Folder() const { return folder_; }
  uint32_t CodePage() const { return codePage_; }
  // The absolute form of a path written in install.ini or an INF.
  std::string Full(const std::string& path) const;
  bool FileExists(const std::string& path) const;
  // Notes a file the installer would open, for the check of path lengths.
  void Opens(const std::string& path);
  const std::set<std::string>& OpenedPaths() const { return opened_; }
  // True the first time a check asks with this key: for files several models share.
  bool FirstTime(const std::string& key) { return done_.insert(key).second; }

  void Add(TSeverity severity, std::string code, std::string file, std::string where,
           std::string message);
  std::vector<TFinding>& Findings() { return findings_; }

 private:
  std::string folder_;
  uint32_t codePage_;
  std::set<std::string> opened_;  // absolute paths
  std::set<std::string> done_;
  std::vector<TFinding> findings_;
};

// "[XP100] InstalDll2K, line 12": where a key stands in install.ini.
std::string KeyPlace(const std::string& section, const std::string& key, int line);
// The same for the key the reader reads: its line when it is written, none when the
// default applies.
std::string KeyPlace(const TIniFile& ini, const std::string& section, const std::string& key,
                     uint32_t codePage);

// Edits (insert, delete, replace) turning one name into the other, without regard to case.
size_t Distance(std::string_view a, std::string_view b, uint32_t codePage);

// install.ini as a file: its encoding, sections and keys.
void CheckIniText(TContext& context, const std::string& bytes, const TIniFile& ini);
// Each model's INF: its name, hardware id, offline prefix, class and catalog.
void CheckModels(TContext& context, const TIniFile& ini);
// The model's driver as the installer library reads it, for each platform the
// distribution ships a library for: its install section and every file of it.
void CheckDriverFiles(TContext& context, const TIniFile& ini, const std::string& section,
                      const std::string& infFile, const std::string& infBytes);
// Each model's libraries, 64-bit helper, service, programs and documents.
void CheckPrograms(TContext& context, const TIniFile& ini);
// brand.ini, when there is one: its keys, texts and pictures.
void CheckBrand(TContext& context);
// Every file the installer would open, at a typical depth and at a drive root.
void CheckPathLengths(TContext& context);

}  // namespace pinst::verify
