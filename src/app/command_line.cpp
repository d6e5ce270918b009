#include "app/command_line.h"

#include <string_view>

namespace pinst {

namespace {

// The value after a switch's "=": quotes a shell left in place are dropped.
std::string SwitchValue(std::string_view arg, std::string_view name) {
  std::string value;
  for (char c : arg.substr(name.size())) {
    if (c != '"') value += c;
  }
  return value;
}

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  TCommandLine line;
  for (const std::string& arg : args) {
    const std::string_view text = arg;
    if (text == kHideSwitch) {
      line.hide = true;
    } else if (text == kQuietSwitch) {
      line.quiet = line.hide = true;
    } else if (text == kHelpSwitch) {
      line.help = true;
    } else if (text.starts_with(kModelSwitch)) {
      line.model = SwitchValue(text, kModelSwitch);
    } else if (text.starts_with(kLogSwitch)) {
      line.logFile = SwitchValue(text, kLogSwitch);
    }
  }
  return line;
}

}  // namespace pinst
