// install.ini as a file: what the reader makes of its bytes, sections and keys.
#include <algorithm>
#include <map>

#include "base/ansi_text.h"
#include "base/code_page_text.h"
#include "config/ini_keys.h"
#include "verify/checks.h"

namespace pinst::verify {

namespace {

constexpr const char* kIni = "install.ini";

bool HasBom(const std::string& b) {
  return b.compare(0, 2, "\xFF\xFE") == 0 || b.compare(0, 2, "\xFE\xFF") == 0 ||
         b.compare(0, 3, "\xEF\xBB\xBF") == 0;
}

void CheckEncoding(TContext& c, const std::string& bytes) {
  if (HasBom(bytes)) return;  // UTF-16 either way round and UTF-8 with a BOM are read
  const size_t nul = bytes.find('\0');
  if (nul != std::string::npos) {
    const bool utf16 = bytes.size() >= 2 && (bytes[0] == '\0' || bytes[1] == '\0');
    c.Add(TSeverity::kError, "ini-encoding", kIni, "",
          utf16 ? "The file looks like UTF-16 without a byte-order mark; the installer reads it "
                  "as ANSI text and finds nothing. Save it with a byte-order mark."
                : "The file holds NUL bytes; the installer ends a name or value at the first one.");
  } else if (LooksLikeUtf8(bytes)) {
    c.Add(TSeverity::kWarning, "ini-encoding", kIni, "",
          "The file looks like UTF-8 without a byte-order mark; the installer reads it in the "
          "ANSI code page, so text beyond ASCII comes out garbled. Add a byte-order mark or save "
          "it in the code page of its users.");
  }
}

}  // namespace

size_t Distance(std::string_view a, std::string_view b, uint32_t codePage) {
  const std::string x = AsciiUpper(a, codePage);
  const std::string y = AsciiUpper(b, codePage);
  std::vector<size_t> row(y.size() + 1);
  for (size_t j = 0; j <= y.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= x.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= y.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[y.size()];
}

namespace {

bool IsKnownKey(const std::string& name, uint32_t codePage) {
  return std::any_of(std::begin(kIniKeys), std::end(kIniKeys),
                     [&](const TIniKey& k) { return EqualsNoCase(k.name, name, codePage); });
}

std::string UnknownKeyMessage(const std::string& name, uint32_t codePage) {
  const TIniKey* nearest = nullptr;
  size_t best = 3;  // two edits at most: a typo, not another word
  for (const TIniKey& k : kIniKeys) {
    const size_t d = Distance(k.name, name, codePage);
    if (d < best) {
      best = d;
      nearest = &k;
    }
  }
  std::string message = "The installer does not know this key and ignores it";
  if (nearest) message += "; did you mean " + std::string(nearest->name) + "?";
  return message + (nearest ? "" : ".");
}

// The switches the reader reads as on only for a number other than 0.
bool IsFlagKey(const std::string& name, uint32_t codePage) {
  for (const char* flag :
       {"AutoMode", "QuiteMode", "ForceOnlineCheck", "PromptCheck", "ForceUninstallService"}) {
    if (EqualsNoCase(flag, name, codePage)) return true;
  }
  return false;
}

void CheckKeys(TContext& c, const TIniFile& ini, const TIniFile::Section& s) {
  const uint32_t cp = c.CodePage();
  std::map<std::string, int> seen;  // folded name -> line of its first occurrence
  for (const TIniFile::Key& k : s.keys) {
    const std::string place = KeyPlace(s.name, k.name, k.line);
    if (k.name.empty()) {
      c.Add(TSeverity::kWarning, "ini-unknown-key", kIni, place,
            "A value without a key name is ignored.");
      continue;
    }
    const auto [first, added] = seen.emplace(AsciiUpper(k.name, cp), k.line);
    if (!added) {
      c.Add(TSeverity::kWarning, "ini-duplicate-key", kIni, place,
            "The key is given again; the installer reads only the first one, on line " +
                std::to_string(first->second) + ".");
    } else if (!IsKnownKey(k.name, cp)) {
      c.Add(TSeverity::kWarning, "ini-unknown-key", kIni, place, UnknownKeyMessage(k.name, cp));
    } else if (IsFlagKey(k.name, cp) && !k.value.empty() &&
               ini.ReadBool(s.name, k.name, false) != ini.ReadBool(s.name, k.name, true)) {
      // "yes" or "on" is no number: the reader takes the default, off.
      c.Add(TSeverity::kWarning, "ini-flag-value", kIni, place,
            "The installer reads " + k.value +
                " as off: a flag is on only as a number other "
                "than 0, such as 1.");
    }
    if (k.cut) {
      c.Add(TSeverity::kWarning, "ini-value-cut", kIni, place,
            "The value is longer than 2,047 bytes; the installer reads only the first 2,047.");
    }
  }
}

}  // namespace

void CheckIniText(TContext& c, const std::string& bytes, const TIniFile& ini) {
  const uint32_t cp = c.CodePage();
  CheckEncoding(c, bytes);
  const std::vector<std::string> listed = ini.ReadSections();
  if (listed.empty()) {
    c.Add(TSeverity::kError, "ini-no-sections", kIni, "",
          "The file has no [section]: the installer lists no model.");
  }
  std::map<std::string, int> seen;  // folded section name -> its first line
  size_t named = 0;
  for (const TIniFile::Section& s : ini.Sections()) {
    const std::string place = KeyPlace(s.name, "", s.line);
    if (s.name.empty()) {
      c.Add(TSeverity::kWarning, "ini-section-name", kIni, place,
            "A section without a name is no model; its keys are never read.");
      continue;
    }
    ++named;
    const auto [first, added] = seen.emplace(AsciiUpper(s.name, cp), s.line);
    if (!added) {
      c.Add(TSeverity::kError, "ini-duplicate-section", kIni, place,
            "The section name is used again; the installer lists a second model with the "
            "settings of the first [" +
                s.name + "] (line " + std::to_string(first->second) + ").");
    }
    CheckKeys(c, ini, s);
  }
  if (listed.size() < named) {
    c.Add(TSeverity::kWarning, "ini-too-many-sections", kIni, "",
          "The section names pass 16,384 bytes; the installer lists only the first " +
              std::to_string(listed.size()) + " models.");
  }
}

}  // namespace pinst::verify
