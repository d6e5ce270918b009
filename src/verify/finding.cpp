#include "verify/finding.h"

#include <cstdio>

namespace pinst {

namespace {

const char* SeverityName(TSeverity severity) {
  return severity == TSeverity::kError ? "error" : "warning";
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

std::string FormatFinding(const TFinding& f) {
  std::string line = std::string(SeverityName(f.severity)) + " " + f.code + ": " + f.file;
  if (!f.where.empty()) line += " " + f.where;
  return line + ": " + f.message;
}

std::string FindingsJson(const std::vector<TFinding>& findings) {
  std::string out = "[";
  for (size_t i = 0; i < findings.size(); ++i) {
    const TFinding& f = findings[i];
    out += i == 0 ? "\n" : ",\n";
    out += "  {\"severity\": " + JsonString(SeverityName(f.severity)) +
           ", \"code\": " + JsonString(f.code) + ", \"file\": " + JsonString(f.file) +
           ", \"where\": " + JsonString(f.where) + ", \"message\": " + JsonString(f.message) + "}";
  }
  return out + (findings.empty() ? "]\n" : "\n]\n");
}

int VerifyExitCode(const std::vector<TFinding>& findings) {
  int code = 0;
  for (const TFinding& f : findings) {
    if (f.code == kFolderUnreadable) return 2;
    if (f.severity == TSeverity::kError) code = 1;
  }
  return code;
}

}  // namespace pinst
