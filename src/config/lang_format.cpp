#include "config/lang_format.h"

#include <cstdio>

namespace pinst {

namespace {

// Replaces each directive that fill() recognises; the rest is copied. '%' is
// never a trail byte in GBK or Big5, so the bytes can be scanned one by one.
template <typename Fill>
std::string Expand(const std::string& format, Fill fill) {
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      out += format[i];
      continue;
    }
    if (format[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    size_t end = i + 1;
    unsigned precision = 0;
    if (format[end] == '.') {
      ++end;
      while (end < format.size() && format[end] >= '0' && format[end] <= '9' && precision < 100) {
        precision = precision * 10 + static_cast<unsigned>(format[end++] - '0');
      }
    }
    if (end < format.size() && fill(format[end], precision, out)) {
      i = end;
    } else {
      out += format[i];
    }
  }
  return out;
}

}  // namespace

std::string FormatText(const std::string& format, const std::string& text) {
  return Expand(format, [&](char kind, unsigned, std::string& out) {
    if (kind != 's') return false;
    out += text;
    return true;
  });
}

std::string FormatCode(const std::string& format, uint32_t code) {
  return Expand(format, [&](char kind, unsigned precision, std::string& out) {
    if (kind != 'x' && kind != 'X') return false;
    char digits[112];
    std::snprintf(digits, sizeof digits, "%.*X", static_cast<int>(precision),
                  static_cast<unsigned>(code));
    out += digits;
    return true;
  });
}

}  // namespace pinst
