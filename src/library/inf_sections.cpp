#include "library/inf_sections.h"

#include "base/ansi_text.h"

namespace pinst {

std::vector<std::string> SplitInfFields(std::string_view text, uint32_t codePage) {
  std::vector<std::string> fields;
  std::string field;
  bool quoted = false;
  bool any = false;
  for (size_t pos = 0; pos < text.size();) {
    const size_t length = CharLength(text, pos, codePage);
    const char c = text[pos];
    if (length == 1 && c == '"') {
      // "" inside quotes stands for one quote.
      if (quoted && pos + 1 < text.size() && text[pos + 1] == '"') {
        field += '"';
        pos += 2;
        continue;
      }
      quoted = !quoted;
    } else if (length == 1 && !quoted && c == ';') {
      break;
    } else if (length == 1 && !quoted && c == ',') {
      fields.emplace_back(TrimControls(field));
      field.clear();
    } else {
      field.append(text.substr(pos, length));
    }
    any = true;
    pos += length;
  }
  if (any || !fields.empty()) fields.emplace_back(TrimControls(field));
  return fields;
}

std::vector<TInfLine> InfSectionLines(const TIniFile& inf, std::string_view name,
                                      uint32_t codePage) {
  std::vector<TInfLine> lines;
  for (const TIniFile::Section& section : inf.Sections()) {
    if (!EqualsNoCase(section.name, name, codePage)) continue;
    for (const TIniFile::Key& key : section.keys) {
      TInfLine line;
      line.line = key.line;
      const std::vector<std::string> keyFields = SplitInfFields(key.name, codePage);
      line.key = keyFields.empty() ? std::string() : keyFields.front();
      line.assigned = !key.value.empty();
      line.fields = line.assigned ? SplitInfFields(key.value, codePage) : keyFields;
      if (line.key.empty() && line.fields.empty()) continue;
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

bool InfHasSection(const TIniFile& inf, std::string_view name, uint32_t codePage) {
  for (const TIniFile::Section& section : inf.Sections()) {
    if (EqualsNoCase(section.name, name, codePage)) return true;
  }
  return false;
}

std::vector<std::string> InfDirectiveValues(const std::vector<TInfLine>& lines,
                                            std::string_view name, uint32_t codePage) {
  std::vector<std::string> values;
  for (const TInfLine& line : lines) {
    if (!line.assigned || !EqualsNoCase(line.key, name, codePage)) continue;
    for (const std::string& field : line.fields) {
      if (!field.empty()) values.push_back(field);
    }
  }
  return values;
}

std::string InfDirective(const std::vector<TInfLine>& lines, std::string_view name,
                         uint32_t codePage) {
  for (const TInfLine& line : lines) {
    if (line.assigned && EqualsNoCase(line.key, name, codePage) && !line.fields.empty()) {
      return line.fields.front();
    }
  }
  return "";
}

const char* InstallDecoration(NativeMachine machine) {
  switch (machine) {
    case NativeMachine::kX64:
      return "NTamd64";
    case NativeMachine::kArm64:
      return "NTarm64";
    case NativeMachine::kX86:
      break;
  }
  return "NTx86";
}

const char* SourceDecoration(NativeMachine machine) {
  switch (machine) {
    case NativeMachine::kX64:
      return "amd64";
    case NativeMachine::kArm64:
      return "arm64";
    case NativeMachine::kX86:
      break;
  }
  return "x86";
}

}  // namespace pinst
