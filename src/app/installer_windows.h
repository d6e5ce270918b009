// The program's windows, made in their order and wired to each other: the main
// window, the search dialog, the connection prompt and the diagnostic window.
// Under /Quiet only the main window is made: the others are made when first asked
// for, which a quiet run never does.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "diag/diag_window.h"
#include "dialogs/prompt_form.h"
#include "dialogs/search_form.h"

namespace pinst {

class TInstallerWindows {
 public:
  // args: the command-line arguments after the program name.
  explicit TInstallerWindows(const std::vector<std::string>& args);
  ~TInstallerWindows();
  TInstallerWindows(const TInstallerWindows&) = delete;
  TInstallerWindows& operator=(const TInstallerWindows&) = delete;

  // The search dialog, its prompt made with it; and the dialog only if it exists.
  TFormSearching& Searching();
  TFormSearching* SearchingMade() const { return searching_.get(); }

  TMainForm Main;

 private:
  TFormPromptCheck& Prompt();
  TFormTest& Test();

  // Declared after Main: they close before it.
  std::unique_ptr<TFormPromptCheck> prompt_;
  std::unique_ptr<TFormSearching> searching_;
  std::unique_ptr<TFormTest> test_;
};

}  // namespace pinst
