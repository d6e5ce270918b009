// The program's four windows, created in their order and wired to each other:
// the main window, the search dialog, the connection prompt and the diagnostic
// window.
#pragma once

#include <string>
#include <vector>

#include "app/main_form.h"
#include "diag/diag_window.h"
#include "dialogs/prompt_form.h"
#include "dialogs/search_form.h"
#include "ui/application.h"

namespace pinst {

struct TInstallerWindows {
  // args: the command-line arguments after the program name.
  explicit TInstallerWindows(const std::vector<std::string>& args)
      : Main(args),
        Searching({
            .debugMode = [this] { return Main.FDebugMode; },
            .findOnlinePort = [this](std::string& port) { Main.FindOnlinePort(port); },
            // Hidden stays hidden: the dialog's close does not show the main window then.
            .mainWindow = Main.FHideMode ? nullptr : &Main,
        }) {
    // The program's words for the errors an install raises.
    ui::Application().ErrorText = InstallErrorText;
    Searching.PromptForm = &Prompt;
    Main.SearchDialog = &Searching;
    Main.TestWindow = &Test;
  }
  ~TInstallerWindows() { ui::Application().ErrorText = nullptr; }
  TInstallerWindows(const TInstallerWindows&) = delete;
  TInstallerWindows& operator=(const TInstallerWindows&) = delete;

  TMainForm Main;
  TFormSearching Searching;
  TFormPromptCheck Prompt;
  TFormTest Test;
};

}  // namespace pinst
