// The run's host under /Quiet: the window's, except that no question, message or
// dialog reaches the screen. Questions take their quiet answers.
#pragma once

#include <optional>

#include "app/run_host.h"

namespace pinst {

// A box's answer as the log writes it ("OK", "Cancel", "Yes", "No").
std::string AnswerName(int answer);

// Under /Quiet, every box the run did not answer itself: logged, not shown, and
// answered with the button that does the least (OK, Cancel or No).
std::optional<int> QuietBoxAnswer(const std::string& text, const std::string& caption,
                                  uint32_t flags);

class TQuietHost : public IRunHost {
 public:
  explicit TQuietHost(IRunHost& window) : window_(window) {}

  const TIniOptions* Options() const override { return window_.Options(); }
  int SelectedModel() const override { return window_.SelectedModel(); }
  bool AutomaticInstall() const override { return window_.AutomaticInstall(); }
  uintptr_t OwnerWindow() const override { return window_.OwnerWindow(); }

  int Ask(const std::string&, const std::string&, uint32_t, int quietAnswer) override {
    return quietAnswer;
  }
  void Tell(const std::string&, const std::string&, uint32_t) override {}
  TSearchAnswer SearchForPrinter(bool) override { return TSearchAnswer::kNotShown; }

  void SetRunControlsEnabled(bool enabled) override { window_.SetRunControlsEnabled(enabled); }
  void SetWaitCursor(bool busy) override { window_.SetWaitCursor(busy); }
  void StartInstallingHint() override { window_.StartInstallingHint(); }
  void GiveWindowBack() override { window_.GiveWindowBack(); }
  void SetHelperWatchdog(bool enabled) override { window_.SetHelperWatchdog(enabled); }
  void ProcessMessages() override { window_.ProcessMessages(); }
  void RunUnwound() override { window_.RunUnwound(); }

 private:
  IRunHost& window_;
};

}  // namespace pinst
