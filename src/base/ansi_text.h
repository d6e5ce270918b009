// Byte strings in the ANSI code page. Double-byte code pages (936, 950, 932, 949)
// keep a second byte in the ASCII range (Big5 A5 5C), so every scan here steps
// over whole characters and never folds or splits a trail byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pinst {

bool IsDbcsLeadByte(uint32_t codePage, unsigned char byte);

// Length in bytes of the character that starts at text[pos] (1 or 2).
size_t CharLength(std::string_view text, size_t pos, uint32_t codePage);

// ASCII letters a-z upper-cased, everything else (and every trail byte) unchanged.
std::string AsciiUpper(std::string_view text, uint32_t codePage);
bool EqualsNoCase(std::string_view a, std::string_view b, uint32_t codePage);

// Position of the first single-byte character ch at or after from, or npos.
size_t FindSingleByte(std::string_view text, char ch, uint32_t codePage, size_t from = 0);

// Blanks and control characters (bytes <= 0x20) dropped at both ends.
std::string_view TrimControls(std::string_view text);

}  // namespace pinst
