// How an install run ended, and what follows from it: the process exit code,
// the box that tells the user and the log's outcome line, each made here once.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "sys/log_kind.h"

namespace pinst {

enum class TRunOutcome : uint8_t {
  kNone,  // no run, or one that has not reached the driver install
  kInstalled,
  kInstalledRestart,  // installed; the model's print processor wants a restart
  kCancelled,
  kFailed,
  kAwaitingHelper,  // the 64-bit helper works and has not reported yet
};

// Why a run ended as it did, where the outcome and its code do not say it all.
enum class TRunReason : uint8_t {
  kNone,
  kNoPrinterCreated,    // the install reported success but left no printer
  kSpoolerNotRunning,   // found before anything was changed
  kUnsupportedMachine,  // Windows on ARM, an INF without NTarm64 models: found before anything
                        // changed
  kProtectedPrint,      // Windows protected print mode is on: found before anything was changed
  kTimedOut,            // a program the run waited on did not end in time
  kRestartStarted,      // installed; Setup.bat restarts the computer
  kPrinterNotRecorded,  // the printer of the model's name could not be read: kept as it was
  kUnsignedPackage,     // unattended: the package has no catalog, which only a person may accept
  kPortUnknown,         // /Port= names no port and is no address: found before anything changed
  kPortMonitorFailed,   // the TCP/IP port could not be made: found before the driver install
};

// What became of a printer of the model's name that the run removed.
enum class TOldPrinter : uint8_t { kNotRemoved, kRemoved, kRestored, kNotRestored };

struct TRunResult {
  TRunResult() = default;
  explicit TRunResult(TRunOutcome ended, uint32_t endCode = 0, std::string endPort = {})
      : outcome(ended), code(endCode), port(std::move(endPort)) {}

  TRunOutcome outcome = TRunOutcome::kNone;
  // kFailed: the Windows or SetupAPI code (0: none known); kCancelled: the
  // library's cancel code when the cancel is to be told, else 0.
  uint32_t code = 0;
  std::string port;  // kInstalled, kInstalledRestart: where the printer went
  TRunReason reason = TRunReason::kNone;
  std::string printer;     // the printer the reason or the old printer's fate speaks of
  std::string failedCall;  // kPortMonitorFailed: the monitor's call that failed, with code
  TOldPrinter oldPrinter = TOldPrinter::kNotRemoved;

  bool Installed() const {
    return outcome == TRunOutcome::kInstalled || outcome == TRunOutcome::kInstalledRestart;
  }
};

struct TResultBox {
  std::string text;
  uint32_t flags = 0;
};

// The box a run's end shows; nothing for an end the user chose without a word
// (a declined question) or a failure that was told already. What became of an
// old printer the run removed is said on a line of its own.
std::optional<TResultBox> ResultBox(const TRunResult& result);

// The process exit code. Only an automatic install reports its outcome; a run a
// person started ends the program with 0 whatever became of it.
int ExitCodeFor(const TRunResult& result, bool automaticRun);

// The log's outcome line ("Outcome: installed"), and how it reads: a failure, a
// warning for a cancel or an asked-for restart.
std::string OutcomeLine(const TRunResult& result);
TLogKind OutcomeKind(const TRunResult& result);

// The words for an error raised during a run, from the text table; what() for
// an error the installer did not raise itself.
std::string InstallErrorText(const std::exception& error);

}  // namespace pinst
