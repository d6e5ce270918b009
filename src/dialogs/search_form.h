// The search dialog: about ten seconds of asking whether a connected printer of
// the selected model can be found, then the port found (and a count-down that
// continues by itself) or a not-found message. Its modal result tells the install
// which way to go: Cancel offline, OK or Yes online.
#pragma once

#include <functional>
#include <string>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace pinst {

class TFormPromptCheck;

// What the dialog needs from the main window.
struct TSearchHost {
  // The main window's debug mode: the search ends after one step.
  std::function<bool()> debugMode;
  // The online-port query for the selected model: port in and out, emptied when
  // nothing is found.
  std::function<void(std::string&)> findOnlinePort;
  // Shown again when the dialog closes, if it is hidden.
  ui::TForm* mainWindow = nullptr;
};

class TFormSearching : public ui::TForm {
 public:
  explicit TFormSearching(TSearchHost host);

  // The connection prompt, shown first when PromptCheck is on (set once it exists).
  TFormPromptCheck* PromptForm = nullptr;

  bool PromptCheck = false;
  bool Found = false;
  std::string PortName;
  int CountDown = 0;

  ui::TLabel lblSearch;
  ui::TProgressBar pbSteps;
  ui::TLabel lblNotFound;
  ui::TButton btnReSearch;
  ui::TButton btnCancelSearch;
  ui::TTimer tmrSteps;
  ui::TTimer tmrClickOK;

  void StartSearch();
  void FinishSearch();

  void FormCreate();
  void FormShow();
  void FormActivate();
  void FormClose();
  void btnReSearchClick();
  void btnCancelSearchClick();
  void tmrStepsTimer();
  void tmrClickOKTimer();

 private:
  TSearchHost host_;
};

}  // namespace pinst
