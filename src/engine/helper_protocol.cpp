#include "engine/helper_protocol.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "base/command_words.h"

namespace pinst {

namespace {

// Switch names are ASCII, so an ASCII fold is exact here.
bool IsSwitch(const std::string& word, const char* name) {
  size_t i = 0;
  for (; name[i] != '\0'; ++i) {
    if (i >= word.size()) return false;
    char c = word[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    char n = name[i];
    if (n >= 'A' && n <= 'Z') n = static_cast<char>(n - 'A' + 'a');
    if (c != n) return false;
  }
  return i == word.size();
}

uint64_t ParseWindow(const std::string& text) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return 0;
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
  return (errno != 0 || *end != '\0') ? 0 : value;
}

}  // namespace

std::string BuildHelperCommandLine(const std::string& helperPath, const THelperRequest& request) {
  const bool quoteId = request.hardwareId.find_first_of(" \t") != std::string::npos;
  const std::string id = quoteId ? "\"" + request.hardwareId + "\"" : request.hardwareId;
  return helperPath + " /Handle " + std::to_string(request.window) + " /Dll \"" + request.dll +
         "\" /Inf \"" + request.inf + "\" /HWID " + id;
}

THelperRequest ParseHelperCommandLine(const std::string& commandLine) {
  const std::vector<std::string> words = SplitCommandWords(commandLine);
  THelperRequest request;
  bool seenSwitch = false, hasDll = false, hasInf = false, hasId = false, stray = false;
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& word = words[i];
    const bool handle = IsSwitch(word, "/Handle"), dll = IsSwitch(word, "/Dll"),
               inf = IsSwitch(word, "/Inf"), id = IsSwitch(word, "/HWID");
    if (!handle && !dll && !inf && !id) {
      stray = stray || seenSwitch;
      continue;
    }
    seenSwitch = true;
    if (i + 1 >= words.size()) {
      stray = true;
      break;
    }
    const std::string& value = words[++i];
    if (handle) {
      request.window = ParseWindow(value);
    } else if (dll) {
      request.dll = value;
      hasDll = true;
    } else if (inf) {
      request.inf = value;
      hasInf = true;
    } else {
      request.hardwareId = value;
      hasId = true;
    }
  }
  request.complete = request.window != 0 && hasDll && hasInf && hasId && !stray;
  return request;
}

}  // namespace pinst
