// The text table's format strings filled in: "%s" takes a string, "%x" an
// unsigned 32-bit code in upper-case hexadecimal, "%.8x" the same with at least
// eight digits, "%%" a percent sign.
#pragma once

#include <cstdint>
#include <string>

namespace pinst {

std::string FormatText(const std::string& format, const std::string& text);
std::string FormatCode(const std::string& format, uint32_t code);

}  // namespace pinst
