// The Install button, the install run and its completion. The run itself and the
// completion handlers and timers are filled in with the install sequence; until
// then they are empty and the button only does its own part around the run.
#include "app/main_form.h"

namespace pinst {

namespace {

// How long the automatic install waits once the user has taken over.
constexpr uint32_t kAutoInstallParkedMs = 3600000;

}  // namespace

void TMainForm::BbtnStartClick() {
  TmrAutoInstall.SetInterval(kAutoInstallParkedMs);
  TmrAutoInstall.SetEnabled(false);
  if (!FHideMode) SetTopMost(true);
  if (LvPrinters.ItemIndex() >= 0) RunInstall(true);
  if (!FHideMode) SetTopMost(false);
}

// The install run of the selected model: empty until the install sequence exists.
void TMainForm::RunInstall(bool /*online*/) {}

// Completion of a run (called directly, or sent by the 64-bit helper): empty until
// the install sequence exists.
void TMainForm::WMInstallSucceeded(ui::TMessage& /*message*/) {}
void TMainForm::WMInstallFailed(ui::TMessage& /*message*/) {}

// The automatic install, the helper watchdog and the installing hint: empty until
// the install sequence exists.
void TMainForm::TmrAutoInstallTimer() {}
void TMainForm::TimerSetup64ErrorTimer() {}
void TMainForm::TimerInstallingHintsTimer() {}

}  // namespace pinst
