#include "base/ansi_text.h"
#include "base/win_path.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "verify/checks.h"

namespace pinst::verify {

TContext::TContext(std::string folder, uint32_t codePage)
    : folder_(std::move(folder)), codePage_(codePage) {}

std::string TContext::Full(const std::string& path) const {
  return AbsolutePath(folder_, path, codePage_);
}

bool TContext::FileExists(const std::string& path) const {
  return !path.empty() && Os().files->FileExists(Full(path));
}

void TContext::Opens(const std::string& path) {
  if (!path.empty()) opened_.insert(Full(path));
}

void TContext::Add(TSeverity severity, std::string code, std::string file, std::string where,
                   std::string message) {
  findings_.push_back(
      {severity, std::move(code), std::move(file), std::move(where), std::move(message)});
}

std::string KeyPlace(const std::string& section, const std::string& key, int line) {
  std::string place = "[" + section + "]";
  if (!key.empty()) place += " " + key;
  if (line > 0) place += ", line " + std::to_string(line);
  return place;
}

std::string KeyPlace(const TIniFile& ini, const std::string& section, const std::string& key,
                     uint32_t codePage) {
  for (const TIniFile::Section& s : ini.Sections()) {
    if (!EqualsNoCase(s.name, section, codePage)) continue;
    for (const TIniFile::Key& k : s.keys) {
      if (EqualsNoCase(k.name, key, codePage)) return KeyPlace(section, k.name, k.line);
    }
    break;  // the reader looks in the first section of the name only
  }
  return KeyPlace(section, key, 0);
}

}  // namespace pinst::verify
