// Small Windows helpers shared by the companion programs: where a module lives,
// INI values beside it, a log of calls, and plain text utilities.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pinst::tools {

// Folder of a loaded module (nullptr: the program), with its trailing backslash.
std::string ModuleFolder(HMODULE module);

// The absolute form of path; a relative path is taken from folder (with its trailing
// backslash), or from the current directory when folder is empty.
std::string AbsoluteFrom(const std::string& folder, const std::string& path);

bool FileExists(const std::string& path);  // empty folder: the current directory

// A value of an INI file, or fallback when the key (or the file) is missing.
std::string IniString(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& fallback = "");

// Key names of an INI section, in file order.
std::vector<std::string> IniKeys(const std::string& file, const std::string& section);

// Decimal, 0x hexadecimal or negative numbers; nothing for text that is no number.
std::optional<int32_t> ParseInt32(const std::string& text);
std::optional<uint32_t> ParseUInt32(const std::string& text);

// Appends text and CR LF to a file, creating it if needed.
void AppendLine(const std::string& path, const std::string& text);

bool EqualsNoCase(const std::string& a, const std::string& b);
bool ContainsNoCase(const std::string& text, const std::string& part);

// Wildcard match of text against a pattern of '*' and '?', ignoring ASCII case.
bool WildcardMatch(const std::string& pattern, const std::string& text);

std::string Unquote(const std::string& text);
std::string Hex32(uint32_t value);  // "0x" and eight upper-case digits

}  // namespace pinst::tools
