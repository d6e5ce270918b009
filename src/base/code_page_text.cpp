#include "base/code_page_text.h"

namespace pinst {

namespace {

bool GbkTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
bool Big5Trail(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE); }

}  // namespace

bool IsCodePageText(std::string_view text, uint32_t codePage) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b < 0x20 || b == 0x7F) return false;
    if (b < 0x80) continue;
    switch (codePage) {
      case 936:
        if (b == 0x80) continue;  // the euro sign
        if (b == 0xFF || i + 1 >= text.size() ||
            !GbkTrail(static_cast<unsigned char>(text[i + 1]))) {
          return false;
        }
        ++i;
        break;
      case 950:
        if (b == 0x80 || b == 0xFF || i + 1 >= text.size() ||
            !Big5Trail(static_cast<unsigned char>(text[i + 1]))) {
          return false;
        }
        ++i;
        break;
      case 1252:
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) return false;
        break;
      default:
        break;
    }
  }
  return true;
}

bool LooksLikeUtf8(std::string_view b) {
  bool wide = false;
  for (size_t i = 0; i < b.size();) {
    const unsigned char lead = static_cast<unsigned char>(b[i]);
    const size_t length = lead < 0x80                    ? 1
                          : lead >= 0xC2 && lead <= 0xDF ? 2
                          : lead >= 0xE0 && lead <= 0xEF ? 3
                          : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                         : 0;
    if (length == 0 || i + length > b.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(b[i + k]) & 0xC0) != 0x80) return false;
    }
    wide = wide || length > 1;
    i += length;
  }
  return wide;
}

}  // namespace pinst
