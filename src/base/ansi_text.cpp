#include "base/ansi_text.h"

namespace pinst {

bool IsDbcsLeadByte(uint32_t codePage, unsigned char byte) {
  switch (codePage) {
    case 932:
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
      return byte >= 0x81 && byte <= 0xFE;
    default:
      return false;
  }
}

size_t CharLength(std::string_view text, size_t pos, uint32_t codePage) {
  if (pos + 1 < text.size() && IsDbcsLeadByte(codePage, static_cast<unsigned char>(text[pos])) &&
      text[pos + 1] != '\0') {
    return 2;
  }
  return 1;
}

std::string AsciiUpper(std::string_view text, uint32_t codePage) {
  std::string out(text);
  for (size_t i = 0; i < out.size();) {
    const size_t len = CharLength(out, i, codePage);
    if (len == 1 && out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 'a' + 'A');
    i += len;
  }
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b, uint32_t codePage) {
  if (a.size() != b.size()) return false;
  const auto upper = [](char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  };
  // While both agree they split into the same characters, so no copies are needed.
  for (size_t i = 0; i < a.size();) {
    const size_t len = CharLength(a, i, codePage);
    if (len == 1 ? upper(a[i]) != upper(b[i]) : a.substr(i, len) != b.substr(i, len)) return false;
    i += len;
  }
  return true;
}

size_t FindSingleByte(std::string_view text, char ch, uint32_t codePage, size_t from) {
  for (size_t i = from; i < text.size();) {
    const size_t len = CharLength(text, i, codePage);
    if (len == 1 && text[i] == ch) return i;
    i += len;
  }
  return std::string_view::npos;
}

std::string_view TrimControls(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
  return text.substr(begin, end - begin);
}

}  // namespace pinst
