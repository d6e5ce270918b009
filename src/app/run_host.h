// What an install run needs of the window it runs in and of the person in front
// of it. The main window implements it; under /Quiet a stand-in answers the
// questions itself and shows nothing.
#pragma once

#include <cstdint>
#include <string>

namespace pinst {

class TIniOptions;

// How the search dialog for a connected printer ended.
enum class TSearchAnswer : uint8_t {
  kOnline,    // left with OK: the install goes on online
  kOffline,   // cancelled: the install goes on offline
  kNotShown,  // no one to show it to: the install goes on online
  kNoDialog,  // the program has no such dialog: the install goes on online
};

class IRunHost {
 public:
  virtual ~IRunHost() = default;

  // The configuration (null once the window has closed) and the model chosen in
  // the list (-1: none).
  virtual const TIniOptions* Options() const = 0;
  virtual int SelectedModel() const = 0;
  // Whether the automatic install started this run: its end is logged, not shown.
  virtual bool AutomaticInstall() const = 0;
  // The window the installer library and the 64-bit helper report to.
  virtual uintptr_t OwnerWindow() const = 0;

  // A question; returns the button pressed. quietAnswer is the answer of a run
  // that no one watches.
  virtual int Ask(const std::string& text, const std::string& caption, uint32_t flags,
                  int quietAnswer) = 0;
  // A message; shown unless no one watches.
  virtual void Tell(const std::string& text, const std::string& caption, uint32_t flags) = 0;
  // The dialog that waits for the switched-on printer, the window hidden meanwhile.
  virtual TSearchAnswer SearchForPrinter(bool promptCheck) = 0;

  // The window during a run: controls off, wait cursor, the installing hint; at
  // the end shown again (unless hidden), controls on, focus on Exit.
  virtual void SetRunControlsEnabled(bool enabled) = 0;
  virtual void SetWaitCursor(bool busy) = 0;
  virtual void StartInstallingHint() = 0;
  virtual void GiveWindowBack() = 0;
  // The watchdog that notices a 64-bit helper that ended without reporting.
  virtual void SetHelperWatchdog(bool enabled) = 0;
  // Handles the window messages that are waiting.
  virtual void ProcessMessages() = 0;
  // The run's last step has left the stack: a close asked for meanwhile can go on.
  virtual void RunUnwound() = 0;
};

}  // namespace pinst
