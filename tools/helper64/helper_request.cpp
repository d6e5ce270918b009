#include "helper64/helper_request.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "common/tool_support.h"

namespace pinst::tools {

namespace {

uint64_t ParseWindow(const std::string& text) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return 0;
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
  return (errno != 0 || *end != '\0') ? 0 : value;
}

}  // namespace

HelperRequest ParseHelperCommandLine(const std::string& commandLine) {
  const std::vector<std::string> words = SplitCommandLine(commandLine);
  HelperRequest request;
  bool seenSwitch = false, hasDll = false, hasInf = false, hasId = false, stray = false;
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& word = words[i];
    const bool isSwitch = EqualsNoCase(word, "/Handle") || EqualsNoCase(word, "/Dll") ||
                          EqualsNoCase(word, "/Inf") || EqualsNoCase(word, "/HWID");
    if (!isSwitch) {
      stray = stray || seenSwitch;
      continue;
    }
    seenSwitch = true;
    if (i + 1 >= words.size()) {
      stray = true;
      break;
    }
    const std::string& value = words[++i];
    if (EqualsNoCase(word, "/Handle")) {
      request.window = ParseWindow(value);
    } else if (EqualsNoCase(word, "/Dll")) {
      request.dll = value;
      hasDll = true;
    } else if (EqualsNoCase(word, "/Inf")) {
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

}  // namespace pinst::tools
