// The installer's command-line switches. Each is matched as exact text in any
// position; /Model= and /Log= take the rest of their argument, quotes removed.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pinst {

inline constexpr const char* kHideSwitch = "/Hide";
inline constexpr const char* kQuietSwitch = "/Quiet";
inline constexpr const char* kHelpSwitch = "/?";
inline constexpr const char* kModelSwitch = "/Model=";
inline constexpr const char* kLogSwitch = "/Log=";

struct TCommandLine {
  bool hide = false;   // no window (also set by /Quiet)
  bool quiet = false;  // no window and no box: fixed answers, messages to the log
  bool help = false;
  std::optional<std::string> model;    // the model to install automatically
  std::optional<std::string> logFile;  // where the run log goes
};

// args: the arguments after the program name. A later /Model= or /Log= wins.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace pinst
