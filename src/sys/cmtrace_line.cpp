#include "sys/cmtrace_line.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace pinst {

namespace {

bool StartsNoCase(std::string_view text, size_t at, std::string_view marker) {
  if (text.size() - at < marker.size()) return false;
  for (size_t i = 0; i < marker.size(); ++i) {
    char c = text[at + i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != marker[i]) return false;
  }
  return true;
}

// The viewer ends a message at the first "]LOG]!>" and starts an entry at
// "<![LOG["; a blank inside either keeps the text one message of one entry.
std::string Escaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (StartsNoCase(text, i, "]LOG]!>")) {
      out += "] ";
    } else if (StartsNoCase(text, i, "<![LOG[")) {
      out += "<! ";
      i += 1;  // the "!" is written already
    } else {
      out += text[i];
    }
  }
  return out;
}

int TypeOf(TLogKind kind) {
  switch (kind) {
    case TLogKind::kWarning:
      return 2;
    case TLogKind::kFailure:
      return 3;
    default:
      return 1;
  }
}

}  // namespace

std::string CmTraceLine(const std::string& text, TLogKind kind, const LocalTimeStamp& time,
                        uint32_t processId) {
  char attributes[192];
  std::snprintf(attributes, sizeof attributes,
                "<time=\"%02u:%02u:%02u.%03u%c%03d\" date=\"%02u-%02u-%04u\" "
                "component=\"PrinterInstaller\" context=\"\" type=\"%d\" thread=\"%lu\" file=\"\">",
                unsigned{time.hour}, unsigned{time.minute}, unsigned{time.second},
                unsigned{time.milliseconds}, time.biasMinutes < 0 ? '-' : '+',
                std::abs(time.biasMinutes), unsigned{time.month}, unsigned{time.day},
                unsigned{time.year}, TypeOf(kind), static_cast<unsigned long>(processId));
  return "<![LOG[" + Escaped(text) + "]LOG]!>" + attributes;
}

}  // namespace pinst
