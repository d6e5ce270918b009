#include "base/command_words.h"

namespace pinst {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> SplitCommandWords(const std::string& line) {
  std::vector<std::string> words;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at >= line.size()) break;
    std::string word;
    bool quoted = false;
    for (; at < line.size() && (quoted || !IsBlank(line[at])); ++at) {
      if (line[at] == '"') {
        quoted = !quoted;
      } else {
        word += line[at];
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

}  // namespace pinst
