// Whether bytes are text of a code page: every byte a character of it, every
// double-byte character whole. What MultiByteToWideChar would refuse with
// MB_ERR_INVALID_CHARS, from the code pages' byte ranges.
#pragma once

#include <cstdint>
#include <string_view>

namespace pinst {

// 936 (GBK) and 950 (Big5) by their lead and trail byte ranges, 1252 without its
// five unassigned bytes; any other code page takes every byte. Control characters
// are no text in any of them.
bool IsCodePageText(std::string_view text, uint32_t codePage);

// Text that decodes as UTF-8 and has at least one character beyond ASCII: a file
// saved in UTF-8 that the installer reads in a code page.
bool LooksLikeUtf8(std::string_view text);

}  // namespace pinst
