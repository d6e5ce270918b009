// The installer's command-line switches. Each may stand in any position, starts
// with "/" or "-", and is matched without regard to ASCII case; /Model=, /Log=,
// /Timeout=, /Port= and /LogFormat= take the rest of their argument, quotes removed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sys/log_kind.h"

namespace pinst {

// How long an unattended run waits on another program unless /Timeout= says.
constexpr uint32_t kDefaultTimeoutSeconds = 900;

struct TCommandLine {
  bool hide = false;   // no window (also set by /Quiet)
  bool quiet = false;  // no window and no box: fixed answers, messages to the log
  bool help = false;
  bool noRestart = false;              // never start Setup.bat's restart; exit 3010 instead
  bool check = false;                  // /Check: is the /Model= printer installed?
  bool list = false;                   // /List: the models and whether each is installed
  bool uninstall = false;              // /Uninstall: remove the /Model= printer and its driver
  bool verify = false;                 // /Verify: check the distribution folder
  std::optional<std::string> model;    // the model to install automatically
  std::optional<std::string> logFile;  // where the run log goes
  // /LogFormat=Plain (the default) or /LogFormat=CMTrace; any other value is a bad switch.
  std::optional<TLogFormat> logFormat;
  std::optional<uint32_t> timeoutSeconds;
  // /Port=: the port (or the printer's address) the /Model= printer is installed
  // on, offline; portRefusal says why the value or its company was refused.
  std::optional<std::string> port;
  std::string portRefusal;
  // Arguments that are no switch of ours, as given.
  std::vector<std::string> unknown;
  // An unknown argument that ends the program (1639): a near miss of a switch,
  // any unknown argument beside a switch of an unattended run, or a /Timeout=
  // that is no number of seconds, or a /Port= refused.
  bool invalid = false;
  // The near misses, each with the switch it was probably meant to be.
  struct TNearMiss {
    std::string argument;
    std::string meant;  // "/Quiet", "/Model="
  };
  std::vector<TNearMiss> nearMisses;
  // /Hide, /Quiet, /Model=, /Log=, /LogFormat=, /Timeout=, /Port= or /NoRestart given
  bool unattendedSwitch = false;
  bool unattendedMiss = false;  // a near miss of /Quiet or /Hide

  // Whether anyone may be there to read a box: not when the line shows that the
  // run was meant to be unattended, however mistyped.
  bool NobodyWatches() const { return unattendedSwitch || unattendedMiss; }

  // A switch of the set a deployment tool uses (not /?).
  bool Unattended() const {
    return hide || quiet || noRestart || check || list || uninstall || verify || model || logFile ||
           logFormat || timeoutSeconds || port;
  }
  uint32_t TimeoutSeconds() const { return timeoutSeconds.value_or(kDefaultTimeoutSeconds); }
};

// args: the arguments after the program name. A later /Model=, /Log=, /LogFormat=,
// /Timeout= or /Port= wins.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

// Every switch as the usage text writes it ("/Hide", "/Model=" ...), in the order
// the parser knows them.
std::vector<std::string> SwitchNames();

}  // namespace pinst
