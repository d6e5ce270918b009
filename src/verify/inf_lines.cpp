#include "verify/inf_lines.h"

#include "base/ansi_text.h"

namespace pinst::verify {

namespace {

bool Contains(std::string_view line, std::string_view text, uint32_t codePage) {
  for (size_t i = 0; i < line.size(); i += CharLength(line, i, codePage)) {
    if (line.substr(i, text.size()) == text) return true;
  }
  return false;
}

}  // namespace

TInfLines::TInfLines(std::string_view text, uint32_t codePage) : codePage_(codePage) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines_.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
}

int TInfLines::FirstLineWith(std::string_view text, bool skipComments) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    std::string_view line = lines_[i];
    if (skipComments) line = line.substr(0, FindSingleByte(line, ';', codePage_));
    if (Contains(line, text, codePage_)) return static_cast<int>(i + 1);
  }
  return 0;
}

int TInfLines::FirstLineWithNoCase(std::string_view text) const {
  const std::string upper = AsciiUpper(text, codePage_);
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (Contains(AsciiUpper(lines_[i], codePage_), upper, codePage_))
      return static_cast<int>(i + 1);
  }
  return 0;
}

int TInfLines::SectionLine(std::string_view name) const {
  const std::string header = AsciiUpper("[" + std::string(name) + "]", codePage_);
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (AsciiUpper(TrimControls(lines_[i]), codePage_) == header) return static_cast<int>(i + 1);
  }
  return 0;
}

}  // namespace pinst::verify
