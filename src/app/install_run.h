// One install of the selected model, from the USB question to the result: the
// removal of a printer of the same name, the search dialog, the rescan, the
// print-monitor service, the driver install in process (32-bit Windows) or
// through the 64-bit helper (WOW64), and the completion with its retries. It
// reaches the window and the person only through IRunHost.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/port_switch.h"
#include "app/run_host.h"
#include "app/run_result.h"
#include "config/ini_options.h"
#include "platform/processes.h"
#include "removal/printer_snapshot.h"

namespace pinst {

// FInstallState values.
enum : uint8_t { kInstallIdle = 0, kInstalling = 1, kInstallFinished = 2 };

struct TRunMode {
  bool hidden = false;     // /Hide or /Quiet: the window is never shown
  bool quiet = false;      // /Quiet: no question, message or dialog is shown
  bool noRestart = false;  // /NoRestart: Setup.bat's restart is never started
  // How long console commands may run (unattended runs only) and how long the
  // 64-bit helper may work before it is ended.
  std::optional<uint64_t> commandLimitMs;
  uint64_t helperLimitMs = 900000;
  // /Port=: every install goes offline onto this port (made first when it is an
  // address whose port does not exist).
  std::optional<TPortSwitch> port;
};

// What one run knows; a new run starts from these values.
struct TRunState {
  uint8_t FInstallState = kInstallIdle;
  std::string FPrinterName;
  std::string FRemovedDriver;  // Windows 2000: the driver of the printer removed for the run
  ProcessHandle FSetup64Process;
  uint32_t FErrorCode = 0;
  std::string FFoundPort;
  std::string FFinalPort;
  TRunResult result;
  bool runEndedEarly = false;    // the attempt already told its end (declined, busy, not removed)
  bool runOnline = false;        // whether the last attempt looked for a connected printer
  uint32_t helperStarts = 0;     // helpers started in this run (a retry starts another)
  uint32_t helperStartedAt = 0;  // tick count of the last helper start
  // A printer of the model's name the run removed, to put back if no new one
  // takes its place, and what became of it.
  std::optional<TPrinterSnapshot> FRemovedPrinter;
  TOldPrinter oldPrinter = TOldPrinter::kNotRemoved;
  bool restartNeeded = false;   // the service did not start and /NoRestart kept Setup.bat
  bool restartStarted = false;  // Setup.bat restarts the computer under /Hide
  std::string FChosenPort;      // /Port=: the port the printer goes on
  std::string madePort;         // a TCP/IP port this run made, removed again if the run fails
};

class TInstallRun : public TRunState {
 public:
  TInstallRun(IRunHost& host, TRunMode mode) : host_(host), mode_(mode) {}
  TInstallRun(const TInstallRun&) = delete;
  TInstallRun& operator=(const TInstallRun&) = delete;

  // Keeps the run on the stack while a caller works for it (the Install button's
  // own steps): a close waits, and no new run starts.
  class TScope {
   public:
    explicit TScope(TInstallRun& run) : run_(run) { ++run_.depth_; }
    ~TScope() { run_.Leave(); }
    TScope(const TScope&) = delete;
    TScope& operator=(const TScope&) = delete;

   private:
    TInstallRun& run_;
  };

  // A new run: every value of the last one forgotten. Only while none is in progress.
  void Reset();
  // What must hold before anything is changed (Windows protected print mode off,
  // models for the machine, the spooler answers); false when
  // the run ended here, told why.
  bool CanStart();
  // /Port=: finds the port, or makes the TCP/IP port through its monitor; false
  // when the run ended here, told why. Nothing else has changed by then.
  bool PreparePort();
  // Whether installs go offline onto a port /Port= chose.
  bool PortChosen() const { return !FChosenPort.empty(); }
  // The window is idle again (activated between runs).
  void ReturnToIdle();

  void RunInstall(bool online);
  bool InstallDriver(int index, bool online, bool quiet);
  // The completion handlers: called by the run itself on 32-bit Windows, by the
  // window for the helper's reports under WOW64.
  void WMInstallSucceeded();
  void WMInstallFailed(uint32_t errorCode) { EndFailed(errorCode, true); }
  // The helper watchdog's tick.
  void TimerSetup64ErrorTimer();

  // True from the start of a run until its result is known: while the run is on
  // the stack, and while the 64-bit helper has not reported.
  bool InProgress() const { return depth_ > 0 || AwaitingHelper(); }
  bool OnStack() const { return depth_ > 0; }
  bool AwaitingHelper() const { return result.outcome == TRunOutcome::kAwaitingHelper; }
  const TRunResult& Result() const { return result; }

  // Whether a printer of the model's name is replaced; set by the first online
  // run and kept for the rest of the program's life.
  bool FReplaceExisting = false;

 private:
  void Leave();
  // Windows on ARM: false when the run ended here because the INF has no models
  // for the machine.
  bool MachineHasModels();
  // Ends a run that changed nothing; always false, for CanStart to return.
  bool Refuse(TRunReason reason, uint32_t error = 0);
  // A run that did not install takes away the port it made.
  void RemoveMadePort();
  bool SelectedOption(TOption& option) const;
  std::string SectionName(int index) const;
  int Ask(const std::string& text, const std::string& caption, uint32_t flags, int quietAnswer);
  void Tell(const std::string& text, const std::string& caption, uint32_t flags);
  // The end of the run: the result kept, its box shown (or logged), its log line.
  void End(TRunResult ended);
  // A completion handler's start: the watchdog stops and the window is given back.
  void EndHelperWait();
  void FinishRun();
  // The failure handler; byLibrary false for a cancel the person gave the run itself.
  void EndFailed(uint32_t errorCode, bool byLibrary);
  // True when the printer of that name is gone (removed after the question).
  bool RemoveSameNamePrinter(const std::string& modelName, bool quiet);
  bool SearchDialogStep(const TOption& option, bool online);
  void RescanStep();
  // True when the library reported success.
  bool InstallInProcess(const TOption& option, const std::string& infPath, bool online);
  void StartMonitorServiceOrRestart(const TOption& option);
  // The Apps & features entry of the model installed under that name; a warning in
  // the log when it cannot be written.
  void WriteEntryOf(TOption option, const std::string& name);
  // Adds back, as it was, the printer the run removed when no new one took its place.
  void PutBackRemovedPrinter();
  // The old printer's fate in a box of its own, for an end that shows no result box.
  void TellOldPrinterFate(TOldPrinter before);
  // After a step that waits on other programs: true when one ran past the limit,
  // and the run has then ended with 1460.
  bool EndedByTimeout();
  void EndTimedOut(const std::string& what);

  IRunHost& host_;
  const TRunMode mode_;
  int depth_ = 0;  // run steps on the stack (a retry nests)
};

}  // namespace pinst
