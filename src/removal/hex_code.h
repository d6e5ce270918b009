// Error codes in debugger lines: eight upper-case hexadecimal digits.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace pinst {

inline std::string HexCode8(uint32_t code) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(code));
  return text;
}

}  // namespace pinst
